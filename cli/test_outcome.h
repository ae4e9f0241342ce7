// What the console host makes of one test's outcome. Every sink and the exit status read the same
// row, so a status cannot mean one thing on the console and another to a script.
#pragma once

#include <cstdint>

struct TestOutcome {
  const char* word;      // console key ("PASSED", "FAIL", ...)
  char letter;           // what the protocol's EndDiag line carries
  unsigned exit_status;  // its share in kolv_cli's exit status

  // The row of an engine status. One the engine could not recognise, or that the host does not
  // know, is no pass: it writes the invalid letter and counts as invalid.
  static const TestOutcome& Of(uint32_t status);
};
