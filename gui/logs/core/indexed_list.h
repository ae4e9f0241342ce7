// A list that keeps insertion order and finds an element by its key. Short lists are searched
// in place; once a list grows past a few elements it gets a hash index of positions, so that a
// log with a hundred thousand devices in one entry is still read in linear time. The keys come
// from the log: their hashes are keyed (keyed_hash.h), so that no log collides them on purpose.
//
// Elements live in blocks that never move (1, 2, 4, ... up to 1024 elements, then 1024 each), so
// a long list never holds two copies of itself while growing, and an element's address stays
// valid until the list is cleared or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/logs/core/keyed_hash.h"

namespace indexed_list {
// Keys compared by hashed look-ups and insertions on this thread: the work that colliding keys
// would make grow with the square of their number. Read by the tests and the benchmark.
inline thread_local uint64_t probes = 0;
}  // namespace indexed_list

// Key of an element stored as a (key, value) pair with a string key.
template <typename Value, typename Text = std::string>
struct PairKeyTraits {
  using Element = std::pair<Text, Value>;
  using Key = std::string_view;
  static Key KeyOf(const Element& element) { return element.first; }
  static size_t Hash(Key key) { return keyed_hash::Of(key); }
};

template <typename Element, typename Traits>
class IndexedList {
 public:
  using Key = typename Traits::Key;
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Element;
    using difference_type = std::ptrdiff_t;
    using pointer = const Element*;
    using reference = const Element&;

    const_iterator() = default;
    reference operator*() const { return (*list_)[position_]; }
    pointer operator->() const { return &(*list_)[position_]; }
    const_iterator& operator++() {
      ++position_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++position_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return position_ == other.position_; }
    bool operator!=(const const_iterator& other) const { return position_ != other.position_; }

   private:
    friend class IndexedList;
    const_iterator(const IndexedList* list, size_t position) : list_(list), position_(position) {}
    const IndexedList* list_ = nullptr;
    size_t position_ = 0;
  };

  IndexedList() = default;
  ~IndexedList() { clear(); }
  IndexedList(const IndexedList& other) {
    for (const Element& element : other) Append(element);
  }
  IndexedList(IndexedList&& other) noexcept
      : blocks_(std::move(other.blocks_)), size_(other.size_), slots_(std::move(other.slots_)) {
    other.blocks_.clear();
    other.size_ = 0;
    other.slots_.clear();
  }
  IndexedList& operator=(IndexedList other) noexcept {
    std::swap(blocks_, other.blocks_);
    std::swap(size_, other.size_);
    std::swap(slots_, other.slots_);
    return *this;
  }

  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Element& operator[](size_t position) const { return *Address(position); }
  Element& operator[](size_t position) { return *Address(position); }
  const Element& at(size_t position) const {
    if (position >= size_) throw std::out_of_range("IndexedList::at");
    return *Address(position);
  }
  const Element& back() const { return *Address(size_ - 1); }
  Element& back() { return *Address(size_ - 1); }

  // Position of the element with this key, or kNotFound.
  size_t IndexOf(Key key) const {
    size_t free_slot = kNotFound;
    return Search(key, free_slot);
  }

  const Element* Find(Key key) const {
    const size_t position = IndexOf(key);
    return position == kNotFound ? nullptr : Address(position);
  }

  // Appends an element whose key is not in the list yet; returns its position.
  size_t Append(Element element) { return Place(std::move(element), kNotFound); }

  // Position of the element with this key, appended as make() builds it when there is none
  // (appended tells which): the key is hashed once either way.
  template <typename Make>
  size_t FindOrAppend(Key key, Make make, bool& appended) {
    size_t free_slot = kNotFound;
    const size_t found = Search(key, free_slot);
    appended = found == kNotFound;
    return appended ? Place(make(), free_slot) : found;
  }

  void clear() {
    for (size_t i = size_; i > 0; --i) Address(i - 1)->~Element();
    for (Element* block : blocks_) ::operator delete(block);
    blocks_.clear();
    size_ = 0;
    slots_.clear();
  }

 private:
  static constexpr size_t kIndexFrom = 8;
  static constexpr unsigned kLargestShift = 10;  // blocks grow to 1024 elements
  static constexpr size_t kGrowingCapacity = (size_t{2} << kLargestShift) - 1;

  static size_t BlockSize(size_t block) {
    return block <= kLargestShift ? size_t{1} << block : size_t{1} << kLargestShift;
  }

  static void Locate(size_t position, size_t& block, size_t& offset) {
    if (position < kGrowingCapacity) {
      const unsigned long long shifted = position + 1;
      block = 63 - static_cast<size_t>(__builtin_clzll(shifted));
      offset = static_cast<size_t>(shifted) - (size_t{1} << block);
    } else {
      const size_t beyond = position - kGrowingCapacity;
      block = kLargestShift + 1 + (beyond >> kLargestShift);
      offset = beyond & ((size_t{1} << kLargestShift) - 1);
    }
  }

  Element* Address(size_t position) const {
    size_t block, offset;
    Locate(position, block, offset);
    return blocks_[block] + offset;
  }

  // The element's position, or kNotFound and, in an indexed list, the free slot where the
  // search ended: the one an element with this key takes.
  size_t Search(Key key, size_t& free_slot) const {
    if (slots_.empty()) {
      for (size_t i = 0; i < size_; ++i) {
        if (Traits::KeyOf(*Address(i)) == key) return i;
      }
      return kNotFound;
    }
    const size_t mask = slots_.size() - 1;
    uint64_t probes = 0;
    size_t found = kNotFound;
    for (size_t slot = Traits::Hash(key) & mask;; slot = (slot + 1) & mask) {
      const uint32_t stored = slots_[slot];
      if (stored == 0) {
        free_slot = slot;
        break;
      }
      ++probes;
      if (Traits::KeyOf(*Address(stored - 1)) == key) {
        found = stored - 1;
        break;
      }
    }
    indexed_list::probes += probes;
    return found;
  }

  // free_slot: where the new element's key was searched for in vain, when it is known.
  size_t Place(Element element, size_t free_slot) {
    const size_t position = size_;
    size_t block, offset;
    Locate(position, block, offset);
    if (block == blocks_.size()) {
      blocks_.reserve(block + 1);
      blocks_.push_back(static_cast<Element*>(::operator new(BlockSize(block) * sizeof(Element))));
    }
    new (blocks_[block] + offset) Element(std::move(element));
    ++size_;
    if (!slots_.empty() && (size_ + 1) * 2 <= slots_.size()) {
      if (free_slot != kNotFound) {
        slots_[free_slot] = static_cast<uint32_t>(position + 1);
      } else {
        Insert(position);
      }
    } else if (size_ >= kIndexFrom) {
      Rebuild();
    }
    return position;
  }

  void Insert(size_t position) {
    const size_t mask = slots_.size() - 1;
    size_t slot = Traits::Hash(Traits::KeyOf(*Address(position))) & mask;
    uint64_t probes = 0;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) ++probes;
    indexed_list::probes += probes;
    slots_[slot] = static_cast<uint32_t>(position + 1);
  }

  void Rebuild() {
    size_t capacity = 16;
    while (capacity < size_ * 4) capacity *= 2;
    slots_.assign(capacity, 0);
    for (size_t i = 0; i < size_; ++i) Insert(i);
  }

  std::vector<Element*> blocks_;
  size_t size_ = 0;
  // Open addressing: a slot holds position + 1, 0 when empty. Kept at most half full.
  std::vector<uint32_t> slots_;
};
