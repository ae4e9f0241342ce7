// Faults at the machine's edges, made on demand inside a test: a thread that cannot start, an open
// or a write of a named file that fails, or a process killed at that write. Link the test program
// with kolv_fault for faults in its own process; FaultEnvironment carries them into a child.
//
// Rules: "kind:N[+][:ERRNO|KILL][:path-part]", several separated by ';'.
//   kind       thread (the start fails with EAGAIN), open, or write (write, writev, pwrite, and the
//              buffered fwrite, fputs, fputc, fprintf and fflush)
//   N, N+      the Nth counted call fails; with '+' that one and every later one
//   ERRNO      ENOSPC (a write's default), EMFILE (an open's default), EFBIG, ENFILE, EIO, EACCES;
//              KILL: the process kills itself at that call, as a power cut would stop it
//   path-part  opens and writes count only on files whose path holds it; without it, a write
//              counts on any regular file and an open on any path
#pragma once

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

extern "C" {
void kolv_fault_set(const char* rules);
int kolv_fault_fired(void);
const char* kolv_fault_library(void);
}

namespace test_support {

// In this process; the counts start again at zero.
inline void SetFaults(const std::string& rules) { kolv_fault_set(rules.c_str()); }
inline void ClearFaults() { kolv_fault_set(""); }
// Faults fired in this process since the last SetFaults.
inline int FaultsFired() { return kolv_fault_fired(); }

// Clears the faults when the scope ends, whatever a failed assertion left.
class FaultScope {
 public:
  explicit FaultScope(const std::string& rules) { SetFaults(rules); }
  ~FaultScope() { ClearFaults(); }
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;
};

// Environment entries that make a child program run under the rules; each fault that fires in it
// appends a line to log_file. A sanitizer runtime then no longer comes first in the child, which is
// what the ASan option allows.
inline std::map<std::string, std::string> FaultEnvironment(const std::string& rules, const std::string& log_file) {
  const char* asan = std::getenv("ASAN_OPTIONS");
  std::string asan_options = asan && *asan ? std::string(asan) + ":" : std::string();
  return {{"LD_PRELOAD", kolv_fault_library()},
          {"KOLV_FAULT", rules},
          {"KOLV_FAULT_LOG", log_file},
          {"ASAN_OPTIONS", asan_options + "verify_asan_link_order=0"}};
}

// Faults fired in children run with FaultEnvironment(..., log_file).
inline int FaultsFiredIn(const std::string& log_file) {
  std::ifstream log(log_file);
  int lines = 0;
  for (std::string line; std::getline(log, line);) ++lines;
  return lines;
}

}  // namespace test_support
