// Add-if-absent list of texts, in insertion order.
#pragma once

#include <string>
#include <vector>

class UniqueTextList {
 public:
  void Add(const std::string& text);
  bool empty() const { return items_.empty(); }
  const std::vector<std::string>& items() const { return items_; }
  void clear() { items_.clear(); }
  std::string Joined(const std::string& separator) const;

 private:
  std::vector<std::string> items_;
};
