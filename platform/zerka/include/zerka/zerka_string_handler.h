#pragma once

#include <string>

// Text conversions; independent of the process locale.
class ZerkaStringHandler {
 public:
  virtual ~ZerkaStringHandler() = default;
  // out = in without leading and trailing blanks, tabs, CR and LF.
  virtual void Trim(const std::string& in, std::string& out) = 0;
  // ASCII letters only.
  virtual void ToLower(std::string& text) = 0;
};

// The process-wide object, never freed.
ZerkaStringHandler* get_string_handler();
