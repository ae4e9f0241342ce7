// Small helpers shared by the engine's parts: the call trace and sliced waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace morva_service {
namespace detail {

// Opens path for appending (and reading, when readable), creating it, without ever waiting: a
// FIFO or a device in its place would hold the caller (and whatever lock it holds) for good. Only
// a regular file is opened; otherwise -1 with the reason in error.
int OpenLogFile(const std::string& path, std::string& error, bool readable = false);

// Opens (appending) the file named by $MORVA_TRACE; an unset or empty name turns tracing off.
void OpenTrace();
void CloseTrace();
// One line per call made into the engine: the text followed by " tid=<kernel thread id>".
void Trace(const std::string& text);

// Waits the given seconds in slices of at most 20 ms; false as soon as stop() returns true.
bool SleepSliced(double seconds, const std::function<bool()>& stop);

// Monotonic seconds.
double MonotonicSeconds();
// Seconds since 1970, as the log's times are written.
int64_t WallSeconds();

}  // namespace detail
}  // namespace morva_service
