// The tool's result codes, the row outcomes they end in, and the words that name its operations.
#pragma once

// Result codes the tool reports per device and per partition.
enum MdrResultCode : int {
  kMdrNoErrorsFound = 0,
  kMdrPartitionLocked = 1,
  kMdrUnableToUnmountDevice = 2,
  kMdrScheduledSuccessfully = 3,
  kMdrScheduleFailed = 4,
  kMdrFilesystemNotSupported = 5,
  kMdrOperationFailed = 6,
  kMdrNotEnoughPrivileges = 7,
  kMdrAborted = 8,
  kMdrErrorsFoundAndFixed = 9,
  kMdrErrorsFoundButNotFixed = 10,
  kMdrErrorsCorrectedNeedReboot = 11,
  kMdrErrorsFound = 12,
};

// Code of an outcome nobody reported, or reported so that it cannot be read.
inline constexpr int kMdrUnknownCode = -1;

// How a result code ends a row, numbered as the report's row statuses.
enum MdrOutcome : int {
  kMdrOutcomeSuccess = 0,
  kMdrOutcomeFailed = 1,
  kMdrOutcomeNotApplicable = 2,
  kMdrOutcomeAborted = 3,
  kMdrOutcomeWarning = 4,
  kMdrOutcomeInvalid = 5,
};

// The words the engine's "Operation" parameter takes for a run, and reports back in every
// event of that run.
inline constexpr char kMdrOperationScan[] = "scan";
inline constexpr char kMdrOperationRepair[] = "repair";
inline constexpr char kMdrOperationFilesystem[] = "filesystem";
