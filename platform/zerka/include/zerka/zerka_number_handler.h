#pragma once

#include <cstdint>
#include <string>

// Number conversions; independent of the process locale.
class ZerkaNumberHandler {
 public:
  virtual ~ZerkaNumberHandler() = default;
  // The whole text must be the number (no blanks); false on overflow, NaN, infinity or junk.
  virtual bool ToDouble(const std::string& text, double& value) = 0;
  virtual bool ToInt64(const std::string& text, int64_t& value) = 0;
  virtual std::string ToString(long long number) = 0;
  // Fixed notation with the given number of decimals and "." as separator.
  virtual std::string ToString(double number, int decimals) = 0;
};

// The process-wide object, never freed.
ZerkaNumberHandler* get_number_handler();
