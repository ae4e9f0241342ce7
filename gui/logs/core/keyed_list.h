// A list that keeps insertion order and finds an element by its key. Short lists are searched
// in place; once a list grows past a few elements it gets a hash index of positions, so that a
// log with a hundred thousand resources in one entry is still read in linear time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Key of an element stored as a (key, value) pair with a string key.
template <typename Value>
struct PairKeyTraits {
  using Element = std::pair<std::string, Value>;
  using Key = std::string_view;
  static Key KeyOf(const Element& element) { return element.first; }
  static size_t Hash(Key key) { return std::hash<std::string_view>()(key); }
};

template <typename Element, typename Traits>
class KeyedList {
 public:
  using Key = typename Traits::Key;
  using const_iterator = typename std::vector<Element>::const_iterator;
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const Element& operator[](size_t position) const { return items_[position]; }
  Element& operator[](size_t position) { return items_[position]; }
  const Element& at(size_t position) const { return items_.at(position); }
  const Element& back() const { return items_.back(); }
  Element& back() { return items_.back(); }

  // Position of the element with this key, or kNotFound.
  size_t IndexOf(Key key) const {
    if (slots_.empty()) {
      for (size_t i = 0; i < items_.size(); ++i) {
        if (Traits::KeyOf(items_[i]) == key) return i;
      }
      return kNotFound;
    }
    const size_t mask = slots_.size() - 1;
    for (size_t slot = Traits::Hash(key) & mask;; slot = (slot + 1) & mask) {
      const uint32_t stored = slots_[slot];
      if (stored == 0) return kNotFound;
      if (Traits::KeyOf(items_[stored - 1]) == key) return stored - 1;
    }
  }

  const Element* Find(Key key) const {
    const size_t position = IndexOf(key);
    return position == kNotFound ? nullptr : &items_[position];
  }

  // Appends an element whose key is not in the list yet; returns its position.
  size_t Append(Element element) {
    items_.push_back(std::move(element));
    const size_t position = items_.size() - 1;
    if (!slots_.empty() && (items_.size() + 1) * 2 <= slots_.size()) {
      Insert(position);
    } else if (items_.size() >= kIndexFrom) {
      Rebuild();
    }
    return position;
  }

  void clear() {
    items_.clear();
    slots_.clear();
  }

 private:
  static constexpr size_t kIndexFrom = 8;

  void Insert(size_t position) {
    const size_t mask = slots_.size() - 1;
    size_t slot = Traits::Hash(Traits::KeyOf(items_[position])) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<uint32_t>(position + 1);
  }

  void Rebuild() {
    size_t capacity = 16;
    while (capacity < items_.size() * 4) capacity *= 2;
    slots_.assign(capacity, 0);
    for (size_t i = 0; i < items_.size(); ++i) Insert(i);
  }

  std::vector<Element> items_;
  // Open addressing: a slot holds position + 1, 0 when empty. Kept at most half full.
  std::vector<uint32_t> slots_;
};
