// Parse speed and memory of the diagnostics log reader on generated logs: realistic logs from
// 1 MB to 200 MB, and three hostile shapes at N and 2N to show that the reader stays linear.
// Prints a summary against the targets (100 MB/s, peak memory at most 4 times the file, 2N/N time
// ratio under 2.3) and exits with 1 when one is missed. See README.md beside this file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "gui/logs/core/morva_log_reader.h"
#include "zerka/zerka.h"

// ---------------------------------------------------------------------------------------------
// Heap accounting: every operator new counts its block's usable size, so the peak of one parse
// can be read exactly.
// Counting is switched on only for the untimed memory pass.
namespace {
std::atomic<bool> g_counting{false};
std::atomic<int64_t> g_heap_now{0};
std::atomic<int64_t> g_heap_peak{0};

void* CountedAllocate(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  if (g_counting.load(std::memory_order_relaxed)) {
    const auto usable = static_cast<int64_t>(malloc_usable_size(block));
    const int64_t now = g_heap_now.fetch_add(usable) + usable;
    int64_t peak = g_heap_peak.load();
    while (now > peak && !g_heap_peak.compare_exchange_weak(peak, now)) {
    }
  }
  return block;
}

void CountedFree(void* block) noexcept {
  if (block == nullptr) return;
  if (g_counting.load(std::memory_order_relaxed)) {
    g_heap_now.fetch_sub(static_cast<int64_t>(malloc_usable_size(block)));
  }
  std::free(block);
}
}  // namespace

void* operator new(size_t size) { return CountedAllocate(size); }
void* operator new[](size_t size) { return CountedAllocate(size); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, size_t) noexcept { CountedFree(block); }

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kTargetMegabytesPerSecond = 100.0;
constexpr double kTargetMemoryFactor = 4.0;
constexpr double kTargetGrowthRatio = 2.3;

// Resident memory high-water mark, resettable on Linux through clear_refs.
long ResidentPeakKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

long ResidentNowKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

bool ResetResidentPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

// ---------------------------------------------------------------------------------------------
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

std::string Stamp(int64_t seconds) { return get_time_handler()->FormatDateTime(seconds); }

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

void WriteDeviceRun(LogWriter& log, std::mt19937_64& random, const std::string& module,
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

// Runs of 1 to 16 devices (mostly few) until the file reaches the size.
void WriteRealisticLog(const std::string& path, uint64_t bytes) {
  LogWriter log(path);
  std::mt19937_64 random(20240501);
  int64_t clock = 1714558830;
  const char* const modules[] = {"STORAGE_MODULE", "MEMORY_MODULE"};
  while (log.written() < bytes) {
    const int64_t group = clock;
    const std::string module = modules[random() % 4 == 0 ? 1 : 0];
    const int devices = random() % 4 == 0 ? 1 + static_cast<int>(random() % 16) : 1 + static_cast<int>(random() % 4);
    for (int device = 0; device < devices; ++device) {
      WriteDeviceRun(log, random, module, group, clock, device);
    }
    clock += 60 + static_cast<int64_t>(random() % 3600);
  }
}

enum Shape { kResourcesInOneEntry, kItemsInOneSection, kEntriesInOneGroup };
const char* const kShapeNames[] = {"resources_in_one_entry", "items_in_one_section", "entries_in_one_group"};

void WriteHostileLog(const std::string& path, Shape shape, int count) {
  LogWriter log(path);
  const std::string t = Stamp(1714558830);
  const std::string tests = "START TESTS\n" + t + " START QUICK_TEST\n" + t +
                            " STOP QUICK_TEST SUCCESS 1.0 S\nSTOP TESTS 0";
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
      log.Line("+++ " + t + " STORAGE_MODULE 1714558830");
      log.Line("UDI: DEVICE_0");
      log.Line("DISPLAY_NAME: DISK_0");
      for (int i = 0; i < count; ++i) {
        log.Line(">>> RESOURCE PARTITION");
        log.Line("INDEX: " + std::to_string(static_cast<uint64_t>(i) * 2654435761ULL));
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
  }
}

std::string TempPath(const std::string& name) {
  const char* folder = std::getenv("KOLV_BENCH_DIR");
  if (folder == nullptr) folder = std::getenv("TMPDIR");
  if (folder == nullptr) folder = "/tmp";
  return std::string(folder) + "/bench_log_parse_" + std::to_string(getpid()) + "_" + name + ".log";
}

uint64_t FileSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return static_cast<uint64_t>(in.tellg());
}

struct Result {
  double bytes = 0;
  double best_seconds = std::numeric_limits<double>::infinity();
  size_t heap_peak = 0;
  long resident_peak_kib = -1;
};
std::map<std::string, Result> g_results;

// Peak heap and resident memory of one parse, with the heap counted.
void MeasureMemory(const std::string& path, Result& result) {
  malloc_trim(0);
  const long resident_before = ResidentNowKiB();
  const bool resident_known = ResetResidentPeak() && resident_before >= 0;
  g_heap_now.store(0);
  g_heap_peak.store(0);
  g_counting.store(true);
  auto reader = std::make_unique<MorvaLogReader>(true);
  if (reader->OpenFile(path) == kLogOpened) reader->Parse();
  g_counting.store(false);
  result.heap_peak = static_cast<size_t>(g_heap_peak.load());
  if (resident_known) result.resident_peak_kib = ResidentPeakKiB() - resident_before;
  reader.reset();
  malloc_trim(0);
}

// Times Parse alone; the reader's construction, opening and destruction are outside the clock.
void MeasureParse(benchmark::State& state, const std::string& label, const std::string& path) {
  Result& result = g_results[label];
  result.bytes = static_cast<double>(FileSize(path));
  MeasureMemory(path, result);
  for (auto _ : state) {
    auto reader = std::make_unique<MorvaLogReader>(true);
    if (reader->OpenFile(path) != kLogOpened) {
      state.SkipWithError("cannot open the generated log");
      break;
    }
    const auto start = std::chrono::steady_clock::now();
    reader->Parse();
    const auto stop = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(stop - start).count();
    state.SetIterationTime(seconds);
    benchmark::DoNotOptimize(reader->groups().size());
    result.best_seconds = std::min(result.best_seconds, seconds);
    reader.reset();
  }
  state.SetBytesProcessed(static_cast<int64_t>(result.bytes) * state.iterations());
  state.counters["peak_heap_x"] = static_cast<double>(result.heap_peak) / result.bytes;
  if (result.resident_peak_kib >= 0) {
    state.counters["peak_rss_x"] = static_cast<double>(result.resident_peak_kib) * 1024.0 / result.bytes;
  }
}

void BM_RealisticLog(benchmark::State& state) {
  const uint64_t megabytes = static_cast<uint64_t>(state.range(0));
  const std::string path = TempPath("realistic_" + std::to_string(megabytes));
  WriteRealisticLog(path, megabytes << 20);
  MeasureParse(state, "realistic " + std::to_string(megabytes) + " MB", path);
  std::remove(path.c_str());
}
BENCHMARK(BM_RealisticLog)->Arg(1)->Arg(10)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HostileLog(benchmark::State& state) {
  const Shape shape = static_cast<Shape>(state.range(0));
  const int count = static_cast<int>(state.range(1));
  const std::string label = std::string(kShapeNames[shape]) + " " + std::to_string(count);
  const std::string path = TempPath(kShapeNames[shape] + std::string("_") + std::to_string(count));
  WriteHostileLog(path, shape, count);
  MeasureParse(state, label, path);
  std::remove(path.c_str());
}
BENCHMARK(BM_HostileLog)
    ->ArgsProduct({{kResourcesInOneEntry, kItemsInOneSection, kEntriesInOneGroup}, {100000, 200000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

bool Summarise() {
  bool met = true;
  std::printf("\nSummary (best time per parse; targets: >= %.0f MB/s, peak <= %.0fx the file, 2N/N < %.1f)\n",
              kTargetMegabytesPerSecond, kTargetMemoryFactor, kTargetGrowthRatio);
  for (const auto& [label, result] : g_results) {
    if (result.best_seconds == std::numeric_limits<double>::infinity()) continue;
    const double speed = result.bytes / kMiB / result.best_seconds;
    const double heap_factor = static_cast<double>(result.heap_peak) / result.bytes;
    const double resident_factor = result.resident_peak_kib >= 0
                                       ? static_cast<double>(result.resident_peak_kib) * 1024.0 / result.bytes
                                       : heap_factor;
    // Small files are dominated by fixed costs (the 1 MB read buffer): shown, not judged.
    const bool judged = result.bytes >= 5 * kMiB;
    const bool ok = !judged || (speed >= kTargetMegabytesPerSecond &&
                                std::max(heap_factor, resident_factor) <= kTargetMemoryFactor);
    met = met && ok;
    std::printf("  %-32s %8.1f MB  %8.1f MB/s  peak heap %4.2fx  peak rss %4.2fx  %s\n", label.c_str(),
                result.bytes / kMiB, speed, heap_factor, resident_factor,
                judged ? (ok ? "ok" : "MISSED") : "");
  }
  for (const char* shape : kShapeNames) {
    const auto n = g_results.find(std::string(shape) + " 100000");
    const auto two_n = g_results.find(std::string(shape) + " 200000");
    if (n == g_results.end() || two_n == g_results.end()) continue;
    const double ratio = two_n->second.best_seconds / n->second.best_seconds;
    const bool ok = ratio < kTargetGrowthRatio;
    met = met && ok;
    std::printf("  2N/N %-27s %8.2f  %s\n", shape, ratio, ok ? "ok" : "MISSED");
  }
  const auto small = g_results.find("realistic 100 MB");
  const auto large = g_results.find("realistic 200 MB");
  if (small != g_results.end() && large != g_results.end()) {
    std::printf("  2N/N %-27s %8.2f\n", "realistic 100 MB", large->second.best_seconds / small->second.best_seconds);
  }
  std::printf("%s\n", met ? "All targets met." : "Some targets were missed.");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return Summarise() ? 0 : 1;
}
