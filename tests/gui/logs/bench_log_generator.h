// Generated diagnostics logs for the benchmarks: realistic runs written as the engine writes
// them, and hostile shapes that a quadratic reader would choke on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "zerka/zerka.h"

namespace bench_log {

// Log generation, following the engine's writer line for line: one block per device run, all
// blocks of one run with the same module name and start time.
class LogWriter {
 public:
  explicit LogWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) {
      std::perror(path.c_str());
      std::exit(2);
    }
  }
  ~LogWriter() { Close(); }

  void Line(const std::string& text) {
    buffer_ += text;
    buffer_ += '\n';
    if (buffer_.size() > (1 << 20)) Flush();
  }
  void Close() {
    if (file_ == nullptr) return;
    Flush();
    std::fclose(file_);
    file_ = nullptr;
  }
  uint64_t written() const { return written_ + buffer_.size(); }

 private:
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    written_ += buffer_.size();
    buffer_.clear();
  }

  FILE* file_;
  std::string buffer_;
  uint64_t written_ = 0;
};

inline std::string Stamp(int64_t seconds) { return get_time_handler()->FormatDateTime(seconds); }

const char* const kTests[] = {"SMART_STATUS_CHECK",   "SMART_SELF_TEST_SHORT", "SEQUENTIAL_READ_TEST",
                              "RANDOM_READ_TEST",     "BUTTERFLY_SEEK_TEST",   "FUNNEL_SEEK_TEST",
                              "TEMPERATURE_CHECK",    "SURFACE_SCAN_TEST",     "FILE_SYSTEM_CHECK",
                              "PARTITION_TABLE_CHECK"};
const char* const kResults[] = {"SUCCESS", "SUCCESS", "SUCCESS", "SUCCESS", "SUCCESS",
                                "SUCCESS", "WARNING", "FAILED",  "ABORTED", "NOT_APPLICABLE"};
const char* const kKinds[] = {"MESSAGE", "MESSAGE", "MESSAGE", "WARNING", "ERROR", "CRITICAL"};
const char* const kWords[] = {"SECTOR_REMAPPED", "TEMPERATURE_ABOVE_LIMIT", "READ_RETRY",
                              "AT_LBA",          "SMART_ATTRIBUTE_CHANGED", "SLOW_RESPONSE",
                              "DEVICE_BUSY",     "CHECK_PASSED",            "VALUE"};

inline void WriteDeviceRun(LogWriter& log, std::mt19937_64& random, const std::string& module,
                    int64_t group, int64_t& clock, int device) {
  auto pick = [&random](size_t count) { return static_cast<size_t>(random() % count); };
  const std::string id = std::to_string(1000 + device);
  log.Line("+++ " + Stamp(clock) + " " + module + " " + std::to_string(group));
  log.Line("UDI: PCI\\VEN_1234&DEV_5678&SUBSYS_0001\\4&2B1F&0&00" + id);
  log.Line("DISPLAY_NAME: EXAMPLE_SSD_" + id);
  log.Line("MODEL: EXAMPLE-SSD-512G-" + id);
  log.Line("SERIAL_NUMBER: SN7F3A0C" + id + "X");
  log.Line("FIRMWARE_REVISION: 2B2QEXM7");
  log.Line("CAPACITY: 512110190592");
  log.Line("INTERFACE: NVME");
  log.Line("BUS_TYPE: PCI_EXPRESS");
  log.Line("VENDOR: EXAMPLE");
  log.Line("ROTATION_RATE: 0");
  log.Line("LOGICAL_SECTOR_SIZE: 512");
  log.Line("PHYSICAL_SECTOR_SIZE: 4096");
  log.Line("PARTITION_STYLE: GPT");
  log.Line("HEALTH: GOOD");
  const size_t partitions = pick(5);
  for (size_t p = 0; p < partitions; ++p) {
    log.Line(">>> RESOURCE PARTITION");
    log.Line("INDEX: " + std::to_string(p));
    log.Line("MOUNT_POINT: /mnt/volume" + std::to_string(p));
    log.Line("FILE_SYSTEM: EXT4");
    log.Line("SIZE: " + std::to_string(1000000000ULL + random() % 100000000000ULL));
    log.Line("LABEL: DATA_" + std::to_string(p));
    log.Line("<<< RESOURCE");
  }
  log.Line("START TESTS");
  size_t messages = pick(21);
  for (const char* test : kTests) {
    const int64_t start = clock;
    log.Line(Stamp(clock) + " START " + test);
    while (messages > 0 && pick(3) != 0) {
      --messages;
      clock += static_cast<int64_t>(pick(3));
      std::string line = Stamp(clock) + " " + kKinds[pick(6)] + " " + kWords[pick(9)];
      for (size_t w = pick(3); w > 0; --w) line += " " + std::string(kWords[pick(9)]);
      if (pick(4) == 0) line += " CODE " + std::to_string(pick(200));
      log.Line(line);
    }
    clock += 1 + static_cast<int64_t>(pick(90));
    const double seconds = static_cast<double>(clock - start) + static_cast<double>(pick(10)) / 10.0;
    log.Line(Stamp(clock) + " STOP " + test + " " + kResults[pick(10)] + " " +
             get_number_handler()->ToString(seconds, 1) + " S");
  }
  log.Line("STOP TESTS " + std::to_string(pick(4) == 0 ? pick(13) : 0));
  log.Line("--- " + module);
}

// Runs of 1 to 16 devices (mostly few) until the file reaches the size or holds that many runs.
inline void WriteRealisticLog(const std::string& path, uint64_t bytes, int runs = -1) {
  LogWriter log(path);
  std::mt19937_64 random(20240501);
  int64_t clock = 1714558830;
  const char* const modules[] = {"STORAGE_MODULE", "MEMORY_MODULE"};
  for (int run = 0; log.written() < bytes && run != runs; ++run) {
    const int64_t group = clock;
    const std::string module = modules[random() % 4 == 0 ? 1 : 0];
    const int devices = random() % 4 == 0 ? 1 + static_cast<int>(random() % 16) : 1 + static_cast<int>(random() % 4);
    for (int device = 0; device < devices; ++device) {
      WriteDeviceRun(log, random, module, group, clock, device);
    }
    clock += 60 + static_cast<int64_t>(random() % 3600);
  }
}

enum Shape {
  kResourcesInOneEntry,
  kItemsInOneSection,
  kEntriesInOneGroup,
  kDeviceBlocksInOneEntry,
  kOneDeviceRepeatedInOneGroup,
  kOneItemRepeatedInOneSection,
  kPropertiesAfterTests,
  kTestsAfterTestsStop,
  kItemsAimedAtAFixedHash,
};
const char* const kShapeNames[] = {"resources_in_one_entry",    "items_in_one_section",
                                   "entries_in_one_group",      "device_blocks_in_one_entry",
                                   "one_device_repeated",       "one_item_repeated",
                                   "properties_after_tests",    "tests_after_tests_stop",
                                   "items_aimed_at_a_hash"};

// The i-th of a series of item indices that a fixed, invertible hash (k ^= k >> 33;
// k *= 0xff51afd7ed558ccd; k ^= k >> 33) sends to one slot of every table: the inverse of that
// hash applied to values whose low bits are all zero.
inline uint64_t IndexAimedAtAFixedHash(uint64_t i) {
  constexpr uint64_t kMultiplier = 0xff51afd7ed558ccdULL;
  uint64_t inverse = kMultiplier;  // Newton's iteration doubles the correct low bits each time
  for (int step = 0; step < 5; ++step) inverse *= 2 - kMultiplier * inverse;
  uint64_t key = (i + 1) << 40;
  key ^= key >> 33;
  key *= inverse;
  key ^= key >> 33;
  return key;
}

inline void WriteHostileLog(const std::string& path, Shape shape, int count) {
  LogWriter log(path);
  const std::string t = Stamp(1714558830);
  const std::string quick_test = t + " START QUICK_TEST\n" + t + " STOP QUICK_TEST SUCCESS 1.0 S";
  const std::string tests = "START TESTS\n" + quick_test + "\nSTOP TESTS 0";
  const auto open_one_device = [&log, &t] {
    log.Line("+++ " + t + " STORAGE_MODULE 1714558830");
    log.Line("UDI: DEVICE_0");
    log.Line("DISPLAY_NAME: DISK_0");
  };
  switch (shape) {
    case kResourcesInOneEntry:
      log.Line("+++ " + t + " STORAGE_MODULE 1714558830");
      for (int i = 0; i < count; ++i) {
        log.Line("UDI: DEVICE_" + std::to_string(i * 7919));
        log.Line("DISPLAY_NAME: DISK_" + std::to_string(i));
        log.Line(tests);
      }
      log.Line("--- STORAGE_MODULE");
      break;
    case kItemsInOneSection:
    case kOneItemRepeatedInOneSection:
    case kItemsAimedAtAFixedHash:
      open_one_device();
      for (int i = 0; i < count; ++i) {
        const uint64_t index = shape == kItemsInOneSection        ? static_cast<uint64_t>(i) * 2654435761ULL
                               : shape == kItemsAimedAtAFixedHash ? IndexAimedAtAFixedHash(static_cast<uint64_t>(i))
                                                                  : 0;
        log.Line(">>> RESOURCE PARTITION");
        log.Line("INDEX: " + std::to_string(index));
        log.Line("SIZE: 1048576");
        log.Line("<<< RESOURCE");
      }
      log.Line(tests);
      log.Line("--- STORAGE_MODULE");
      break;
    case kEntriesInOneGroup:
      for (int i = 0; i < count; ++i) {
        const std::string name = "MODULE_" + std::to_string(i * 7919);
        log.Line("+++ " + t + " " + name + " 1714558830");
        log.Line("UDI: DEVICE_0");
        log.Line("DISPLAY_NAME: DISK_0");
        log.Line(tests);
        log.Line("--- " + name);
      }
      break;
    case kDeviceBlocksInOneEntry:
      // The engine writes one block per device, all of one run: they make a single entry.
      for (int i = 0; i < count; ++i) {
        log.Line("+++ " + t + " STORAGE_MODULE 1714558830");
        log.Line("UDI: DEVICE_" + std::to_string(i * 7919));
        log.Line("DISPLAY_NAME: DISK_" + std::to_string(i));
        log.Line(tests);
        log.Line("--- STORAGE_MODULE");
      }
      break;
    case kOneDeviceRepeatedInOneGroup:
      // Runs of one device started in the same second (or given one group number): every block
      // adds its tests and messages to the one device.
      for (int i = 0; i < count; ++i) {
        open_one_device();
        log.Line("START TESTS");
        log.Line(t + " MESSAGE RUN_STARTED");
        log.Line(quick_test);
        log.Line("STOP TESTS 0");
        log.Line("--- STORAGE_MODULE");
      }
      break;
    case kPropertiesAfterTests:
      // Each property reopens the device, each tests block starts afresh.
      open_one_device();
      for (int i = 0; i < count; ++i) {
        log.Line("KEY_" + std::to_string(i) + ": VALUE");
        log.Line(tests);
      }
      log.Line("--- STORAGE_MODULE");
      break;
    case kTestsAfterTestsStop:
      // Broken: tests and messages behind the tests block's end, each run closed again.
      open_one_device();
      log.Line(tests);
      for (int i = 0; i < count; ++i) {
        log.Line(quick_test);
        log.Line(t + " MESSAGE RUN_ENDED");
        log.Line("STOP TESTS 0");
      }
      log.Line("--- STORAGE_MODULE");
      break;
  }
}

}  // namespace bench_log
