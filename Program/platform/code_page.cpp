#include "platform/code_page.h"

#include <mutex>
#include <unordered_map>

#include "text/text_tables.h"

namespace parlavent {
namespace {

class TableCodePage final : public CodePage {
 public:
  TableCodePage(unsigned id, const char16_t* high) : id_(id), high_(high) {
    for (int b = 0; b < 128; ++b) reverse_[high[b]] = static_cast<char>(0x80 + b);
  }
  unsigned Id() const override { return id_; }

  std::u16string Decode(std::string_view bytes) const override {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      out[i] = b < 0x80 ? b : high_[b - 0x80];
    }
    return out;
  }

  std::string Encode(std::u16string_view text, bool* lossless) const override {
    std::string out(text.size(), '\0');
    bool all = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      if (c < 0x80) {
        out[i] = static_cast<char>(c);
        continue;
      }
      const auto it = reverse_.find(c);
      if (it == reverse_.end()) {
        out[i] = '?';
        all = false;
      } else {
        out[i] = it->second;
      }
    }
    if (lossless) *lossless = all;
    return out;
  }

 private:
  unsigned id_;
  const char16_t* high_;
  std::unordered_map<char16_t, char> reverse_;
};

std::shared_ptr<const CodePage>& CurrentAnsi() {
  static std::shared_ptr<const CodePage> page;
  return page;
}

}  // namespace

std::unique_ptr<CodePage> MakeBuiltinCodePage(unsigned id) {
  switch (id) {
    case 1251: return std::make_unique<TableCodePage>(1251, tables::kCp1251High);
    case 1252: return std::make_unique<TableCodePage>(1252, tables::kCp1252High);
    default: return nullptr;
  }
}

#ifndef _WIN32
std::unique_ptr<CodePage> MakeCodePage(unsigned id) { return MakeBuiltinCodePage(id); }
#endif

const CodePage& AnsiCodePage() {
  static const std::unique_ptr<CodePage> fallback = MakeBuiltinCodePage(1251);
  const auto& current = CurrentAnsi();
  return current ? *current : *fallback;
}

void SetAnsiCodePage(std::shared_ptr<const CodePage> page) { CurrentAnsi() = std::move(page); }

}  // namespace parlavent
