// The bad-sector tool's own options and targets, read from the host's command line where the
// host's getopt scan stopped.
#pragma once

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
  explicit CliOptionParser(MdrUtils* model) : model_(model) {}

  // 0 on success, 1 when errors were recorded. Target words are only read by ValidateTargets,
  // once the devices are known.
  int ParseOptions(int argc, char** argv, int& flags, std::vector<std::string>& errors,
                   std::vector<std::string>& warnings);
  // The options ask for the device list: a run or the listing.
  static bool NeedsDevices(int flags) { return (flags & (kFlagPhysical | kFlagListing)) != 0; }
  // 0, or 1 when target words were given and none is valid for the operation.
  int ValidateTargets(int argc, char** argv, int flags, std::vector<std::string>& errors,
                      std::vector<std::string>& warnings, PartitionSelection& selection);

  // The target words in the order given (for the listing); empty without target words.
  const std::vector<std::string>& target_ids() const { return target_ids_; }
  bool had_target_words() const { return had_target_words_; }

 private:
  MdrUtils* model_;
  std::vector<std::string> target_ids_;
  bool had_target_words_ = false;
};
