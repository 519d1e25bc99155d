#pragma once
// A set of 64-bit fingerprints with open addressing: the importer and the builder remember millions
// of texts (links written, words seen, phrase beginnings) in 8 bytes each instead of a node and a
// copy of the text.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace parlavent::dictool {

/// Fingerprint of bytes; never 0 (0 marks a free slot). Two texts share one with a chance of about
/// 1 in 2^64 per pair.
inline std::uint64_t Fingerprint(std::string_view bytes, std::uint64_t seed = 0) {
  constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
  // The seed and the length are spread over all bits before any text is mixed in: texts that
  // differ only where two seeds differ must not meet.
  std::uint64_t h = (seed + 0x632BE59BD9B4E019ull) * 0xBF58476D1CE4E5B9ull;
  h ^= h >> 31;
  h = (h ^ bytes.size()) * kMul;
  h ^= h >> 29;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, bytes.data() + i, 8);
    h = (h ^ chunk) * kMul;
    h ^= h >> 29;
  }
  std::uint64_t tail = 0;
  if (i < bytes.size()) std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
  h = (h ^ tail) * kMul;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  h ^= h >> 32;
  return h == 0 ? 1 : h;
}

class FingerprintSet {
 public:
  /// True when the fingerprint was new.
  bool Insert(std::uint64_t f) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    std::size_t i = f & (slots_.size() - 1);
    while (slots_[i] != 0) {
      if (slots_[i] == f) return false;
      i = (i + 1) & (slots_.size() - 1);
    }
    slots_[i] = f;
    ++size_;
    return true;
  }
  bool Contains(std::uint64_t f) const {
    if (slots_.empty()) return false;
    std::size_t i = f & (slots_.size() - 1);
    while (slots_[i] != 0) {
      if (slots_[i] == f) return true;
      i = (i + 1) & (slots_.size() - 1);
    }
    return false;
  }
  std::size_t Size() const { return size_; }

 private:
  void Grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    size_ = 0;
    for (std::uint64_t f : old) {
      if (f != 0) Insert(f);
    }
  }

  std::vector<std::uint64_t> slots_;
  std::size_t size_ = 0;
};

}  // namespace parlavent::dictool
