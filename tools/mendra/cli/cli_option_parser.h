// The bad-sector tool's own options and targets, read from the host's command line where the
// host's getopt scan stopped.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "tools/mendra/common/mdr_utils.h"

enum MdrCliFlags : int {
  kFlagUsage = 0x01,
  kFlagListing = 0x02,
  kFlagFilesystem = 0x04,
  kFlagScan = 0x08,
  kFlagRepair = 0x10,
  kFlagInformation = 0x20,
  kFlagPhysical = 0x40,
};

class CliOptionParser {
 public:
  // scanning is raised while the device filter runs, so a spinner can be drawn meanwhile.
  CliOptionParser(MdrUtils* model, bool bootable, std::atomic<bool>* scanning = nullptr);

  // The tool did not get to filter the devices: it was not to start any run.
  static constexpr int kParseStopped = 2;
  // The module's device scan failed (scan_result() has its result).
  static constexpr int kParseScanFailed = 3;

  // 0 on success, 1 when errors were recorded, or kParseStopped or kParseScanFailed.
  int ParseOptions(int argc, char** argv, int& flags, std::vector<std::string>& errors,
                   std::vector<std::string>& warnings, PartitionSelection& selection);
  // 0, or 1 when target words were given and none is valid for the operation.
  int ValidateTargets(int argc, char** argv, int flags, std::vector<std::string>& errors,
                      std::vector<std::string>& warnings, PartitionSelection& selection);

  // The target words in the order given (for the listing); empty without target words.
  const std::vector<std::string>& target_ids() const { return target_ids_; }
  bool had_target_words() const { return had_target_words_; }
  int scan_result() const { return scan_result_; }

 private:
  MdrUtils* model_;
  bool bootable_;
  std::atomic<bool>* scanning_;
  std::vector<std::string> target_ids_;
  bool had_target_words_ = false;
  int scan_result_ = 0;
};
