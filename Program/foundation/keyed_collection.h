#pragma once
// The program's keyed collection: items in insertion order, each under a text key that is looked
// up case-blind. Keys are made with API::MakeKey ("k" & value) by the callers, so that numbers can
// serve as keys. A second Add under an existing key is refused (returns false) and changes
// nothing, so callers keep "the first wins" where they rely on it.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/text.h"

namespace parlavent {

template <typename T>
class KeyedCollection {
 public:
  /// Adds item under key at the end; false (and nothing added) when the key exists.
  bool Add(std::u16string_view key, T item) {
    std::u16string folded = LCase(key);
    if (index_.count(folded) != 0) return false;
    index_.emplace(std::move(folded), items_.size());
    items_.push_back({std::u16string(key), std::move(item), true});
    return true;
  }

  /// Adds without a key (such items can be reached by position only).
  void AddUnkeyed(T item) { items_.push_back({std::u16string(), std::move(item), false}); }

  bool Exists(std::u16string_view key) const { return index_.count(LCase(key)) != 0; }

  /// The item under key, or nullptr.
  T* Find(std::u16string_view key) {
    const auto it = index_.find(LCase(key));
    return it == index_.end() ? nullptr : &items_[it->second].value;
  }
  const T* Find(std::u16string_view key) const {
    const auto it = index_.find(LCase(key));
    return it == index_.end() ? nullptr : &items_[it->second].value;
  }

  /// The item at a 1-based position, as the system's collections count; nullptr outside 1..Count.
  T* ItemAt(std::size_t position) {
    return position >= 1 && position <= items_.size() ? &items_[position - 1].value : nullptr;
  }
  const T* ItemAt(std::size_t position) const {
    return position >= 1 && position <= items_.size() ? &items_[position - 1].value : nullptr;
  }

  /// Removes the item under key; false when there is none.
  bool Remove(std::u16string_view key) {
    const auto it = index_.find(LCase(key));
    if (it == index_.end()) return false;
    RemoveIndex(it->second);
    return true;
  }

  /// Removes the item at a 1-based position; false outside 1..Count.
  bool RemoveAt(std::size_t position) {
    if (position < 1 || position > items_.size()) return false;
    RemoveIndex(position - 1);
    return true;
  }

  void Clear() {
    items_.clear();
    index_.clear();
  }

  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }

  /// The key an item was added under ("" for unkeyed items), 0-based index.
  const std::u16string& KeyAtIndex(std::size_t index) const { return items_.at(index).key; }

  // Iteration over the items (values) in insertion order.
  struct Entry {
    std::u16string key;
    T value;
    bool keyed;
  };
  class iterator {
   public:
    using Inner = typename std::vector<Entry>::iterator;
    explicit iterator(Inner it) : it_(it) {}
    T& operator*() const { return it_->value; }
    T* operator->() const { return &it_->value; }
    iterator& operator++() { ++it_; return *this; }
    bool operator!=(const iterator& o) const { return it_ != o.it_; }
    bool operator==(const iterator& o) const { return it_ == o.it_; }
   private:
    Inner it_;
  };
  class const_iterator {
   public:
    using Inner = typename std::vector<Entry>::const_iterator;
    explicit const_iterator(Inner it) : it_(it) {}
    const T& operator*() const { return it_->value; }
    const T* operator->() const { return &it_->value; }
    const_iterator& operator++() { ++it_; return *this; }
    bool operator!=(const const_iterator& o) const { return it_ != o.it_; }
    bool operator==(const const_iterator& o) const { return it_ == o.it_; }
   private:
    Inner it_;
  };
  iterator begin() { return iterator(items_.begin()); }
  iterator end() { return iterator(items_.end()); }
  const_iterator begin() const { return const_iterator(items_.begin()); }
  const_iterator end() const { return const_iterator(items_.end()); }

 private:
  void RemoveIndex(std::size_t index) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    index_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].keyed) index_.emplace(LCase(items_[i].key), i);
    }
  }

  std::vector<Entry> items_;
  std::unordered_map<std::u16string, std::size_t> index_;
};

}  // namespace parlavent
