// What the CLI tests read back: the console banner, text a sink wrote, files a run left.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "tests/support/scratch.h"

namespace clitest {

// Printed first on the console; the protocol form has none.
inline constexpr char kBanner[] =
    "\n==========================================================\n"
    " Tarvex Quorsa - CLI\n"
    " Press ESC To Abort The Diagnostics\n"
    "==========================================================\n\n";

bool Contains(const std::string& text, const std::string& part);
// Occurrences of part in text, overlapping ones included.
size_t Count(const std::string& text, const std::string& part);
using test_support::ReadFile;
// Waits until the file holds part, looking every step; false after 30 s (a hang guard only).
// The protocol prints nothing while it scans: the engine's trace tells where the run is.
bool FileShows(const std::string& path, const std::string& part, int step_ms = 10);

// A stream a sink writes to, read back as text.
class Capture {
 public:
  Capture();
  ~Capture();
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  FILE* file() { return file_; }
  // Everything written so far.
  std::string text();

 private:
  FILE* file_;
};

}  // namespace clitest
