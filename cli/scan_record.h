// Done flag and result of a device scan run on the service thread.
#pragma once

#include <atomic>
#include <cstdint>

struct ScanRecord {
  std::atomic<uint8_t> done{0};
  std::atomic<uint64_t> result{0};
};
