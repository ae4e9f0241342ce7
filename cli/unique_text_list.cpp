#include "cli/unique_text_list.h"

void UniqueTextList::Add(const std::string& text) {
  for (const std::string& item : items_)
    if (item == text) return;
  items_.push_back(text);
}

std::string UniqueTextList::Joined(const std::string& separator) const {
  std::string text;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i) text += separator;
    text += items_[i];
  }
  return text;
}
