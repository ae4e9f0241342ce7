// Small value types of the diagnostics engine.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

namespace morva_service {

class ProductVersion {
 public:
  ProductVersion(uint32_t major_number = 0, uint32_t minor_number = 0, uint32_t build_number = 0,
                 uint32_t revision_number = 0)
      : major_(major_number), minor_(minor_number), build_(build_number), revision_(revision_number) {}
  uint32_t major_number() const { return major_; }
  uint32_t minor_number() const { return minor_; }
  uint32_t build_number() const { return build_; }
  uint32_t revision_number() const { return revision_; }

 private:
  uint32_t major_, minor_, build_, revision_;
};

// Identifies a diagnostic or a test; written as low16(first).second.low32(third). The whole
// triple is the key that option maps and look-ups compare.
struct ItemIdentifier {
  uint32_t first = 0;
  uint32_t second = 0;
  uint64_t third = 0;

  bool operator<(const ItemIdentifier& o) const {
    return std::tie(first, second, third) < std::tie(o.first, o.second, o.third);
  }
  bool operator==(const ItemIdentifier& o) const {
    return first == o.first && second == o.second && third == o.third;
  }
  bool operator!=(const ItemIdentifier& o) const { return !(*this == o); }
};

// Outcome of one test.
enum TestStatus : int32_t {
  kTestPassed = 0,
  kTestFailed = 1,
  kTestUnrecognized = 2,
  kTestNotApplicable = 3,
  kTestCancelled = 4,
  kTestWarning = 5,
  kTestInvalid = 6,
};

}  // namespace morva_service
