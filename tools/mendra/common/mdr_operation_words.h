// The words the engine's "Operation" parameter takes for a run, and reports back in every
// event of that run.
#pragma once

inline constexpr char kMdrOperationScan[] = "scan";
inline constexpr char kMdrOperationRepair[] = "repair";
inline constexpr char kMdrOperationFilesystem[] = "filesystem";
