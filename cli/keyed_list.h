#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Insertion-ordered list of (key, owned pointer), searched from the front for an equal key.
template <typename T>
class KeyedList {
 public:
  KeyedList() = default;
  KeyedList(const KeyedList&) = delete;
  KeyedList& operator=(const KeyedList&) = delete;
  ~KeyedList() {
    for (auto& entry : entries_) delete entry.second;
  }
  T* Find(const std::string& key) const {
    for (const auto& entry : entries_)
      if (entry.first == key) return entry.second;
    return nullptr;
  }
  T* Add(const std::string& key, T* value) {
    entries_.emplace_back(key, value);
    return value;
  }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  typename std::vector<std::pair<std::string, T*>>::const_iterator begin() const {
    return entries_.begin();
  }
  typename std::vector<std::pair<std::string, T*>>::const_iterator end() const {
    return entries_.end();
  }

 private:
  std::vector<std::pair<std::string, T*>> entries_;
};
