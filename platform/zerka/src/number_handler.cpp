#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "zerka/zerka_number_handler.h"

namespace {

// std::from_chars and std::to_chars never consult the process locale.
class NumberHandler : public ZerkaNumberHandler {
 public:
  bool ToDouble(const std::string& text, double& value) override {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    double parsed = 0;
    auto [ptr, ec] = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
  }

  bool ToInt64(const std::string& text, int64_t& value) override {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    int64_t parsed = 0;
    auto [ptr, ec] = std::from_chars(text.data(), end, parsed, 10);
    if (ec != std::errc() || ptr != end) return false;
    value = parsed;
    return true;
  }

  std::string ToString(long long number) override {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
  }

  std::string ToString(double number, int decimals) override {
    if (decimals < 0) decimals = 0;
    if (decimals > 100) decimals = 100;
    std::vector<char> buffer(420 + static_cast<size_t>(decimals));
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number,
                                std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return std::string();
    return std::string(buffer.data(), result.ptr);
  }
};

}  // namespace

ZerkaNumberHandler* get_number_handler() {
  static NumberHandler* instance = new NumberHandler;
  return instance;
}
