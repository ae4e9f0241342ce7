// Parse speed and memory of the diagnostics log reader on generated logs: realistic logs from
// 1 MB to 200 MB, and nine hostile shapes at N and 2N to show that the reader stays linear.
// Prints a summary against the targets (400 MB/s, peak memory at most 2 times the file, 2N/N time
// ratio under 2.3) and exits with 1 when one is missed. See README.md beside this file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <ctime>
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
#include "tests/gui/logs/bench_log_generator.h"
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

using namespace bench_log;

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kTargetMegabytesPerSecond = 400.0;
constexpr double kTargetMemoryFactor = 2.0;
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
  uint64_t probes = 0;  // keys compared by the look-up tables' hashed searches, in one parse
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
  indexed_list::probes = 0;
  auto reader = std::make_unique<MorvaLogReader>(true);
  if (reader->OpenFile(path) == kLogOpened) reader->Parse();
  result.probes = indexed_list::probes;
  g_counting.store(false);
  result.heap_peak = static_cast<size_t>(g_heap_peak.load());
  if (resident_known) result.resident_peak_kib = ResidentPeakKiB() - resident_before;
  reader.reset();
  malloc_trim(0);
}

// CPU seconds of the process, so that a busy machine does not decide the figures.
double CpuSeconds() {
  timespec now {};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Times Parse alone (CPU time); the reader's construction, opening and destruction are outside the clock.
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
    const double start = CpuSeconds();
    reader->Parse();
    const double seconds = CpuSeconds() - start;
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
    ->ArgsProduct({{kResourcesInOneEntry, kItemsInOneSection, kEntriesInOneGroup, kDeviceBlocksInOneEntry,
                    kOneDeviceRepeatedInOneGroup, kOneItemRepeatedInOneSection, kPropertiesAfterTests,
                    kTestsAfterTestsStop, kItemsAimedAtAFixedHash},
                   {100000, 200000}})
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
    // Speed and memory are judged on realistic logs; small files are dominated by fixed costs.
    // The hostile shapes hold the smallest records the grammar allows, more of them per byte
    // than any run writes: they are there for their 2N/N ratios, their figures are shown.
    const bool judged = label.rfind("realistic", 0) == 0 && result.bytes >= 5 * kMiB;
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
    // The look-ups' work, counted rather than timed, grows as the time should.
    const double probe_ratio = n->second.probes == 0 ? 0.0
                                   : static_cast<double>(two_n->second.probes) /
                                         static_cast<double>(n->second.probes);
    const bool ok = ratio < kTargetGrowthRatio && probe_ratio < kTargetGrowthRatio;
    met = met && ok;
    std::printf("  2N/N %-27s %8.2f  probes %6.2f  %s\n", shape, ratio, probe_ratio,
                ok ? "ok" : "MISSED");
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
