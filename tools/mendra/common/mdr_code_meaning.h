// What each of the tool's result codes means to a row and to the report.
#pragma once

#include "tools/mendra/common/mdr_result_codes.h"

// One result code's outcome (an MdrOutcome), the message shown under its row (empty: none) and
// the result named in the report.
struct MdrCodeMeaning {
  int row_status;
  const char* message_key;
  const char* result_key;
};

// Codes outside the known range (negative ones included) are invalid.
MdrCodeMeaning MdrMeaningOf(int code);
