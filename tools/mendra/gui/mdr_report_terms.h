// The words of the tool's report: status words and operation labels (translation keys), and
// which of two row statuses weighs more.
#pragma once

#include <string>

// "SUCCESS", "FAILED", ...; "INVALID" for anything outside 0-5.
const char* MdrStatusWord(int row_status);
// "scan" -> "SCAN_BAD_SECTORS_LABEL", ...; "UNKNOWN_OPERATION" for anything else.
std::string OperationLabel(const std::string& operation);
// The graver of two row statuses; equal gravity keeps a.
int MergeStatus(int a, int b);
