#include "tools/mendra/cli/cli_option_parser.h"

#include <getopt.h>

#include <algorithm>

#include "tools/mendra/cli/console_display.h"

namespace {

const char* const kShortOptions = "o::srlhb";
const struct option kLongOptions[] = {
    {"scan", no_argument, nullptr, 's'},
    {"repair", no_argument, nullptr, 'r'},
    {"list-devices-and-partitions", no_argument, nullptr, 'l'},
    {"help", no_argument, nullptr, 'h'},
    {"output", optional_argument, nullptr, 'o'},
    {"background", no_argument, nullptr, 'b'},
    {nullptr, 0, nullptr, 0},
};

const char* const kBothOperationsWarning =
    "|IGNORING_THE_'S'_OPTION_BECAUSE_THE_'R'_OPTION_WAS_SPECIFIED";

std::vector<std::string> Split(const std::string& word) {
  std::vector<std::string> items;
  size_t start = 0;
  while (true) {
    size_t comma = word.find(',', start);
    items.push_back(word.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return items;
}

// An empty word or item is shown, so that a warning never ends in nothing.
std::string Shown(const std::string& typed) { return typed.empty() ? "\"\"" : typed; }

}  // namespace

int CliOptionParser::ParseOptions(int argc, char** argv, int& flags,
                                  std::vector<std::string>& errors,
                                  std::vector<std::string>& warnings) {
  flags = 0;
  errors.clear();
  warnings.clear();
  if (argc > 3) {
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1) {
      switch (c) {
        case '?':
          errors.push_back("|UNRECOGNIZED_OPTION_FOUND");
          return 1;
        case 'b':
          errors.push_back("IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE");
          return 1;
        case 'o':
          errors.push_back("IT_IS_NOT_POSSIBLE_TO_REDIRECT_THE_OUTPUT_WHILE_RUNNING_A_TOOL");
          return 1;
        case 'h':
          flags |= kFlagUsage | kFlagInformation;
          break;
        case 'l':
          flags |= kFlagListing | kFlagInformation;
          break;
        case 's':
          if (!(flags & kFlagPhysical)) {
            flags |= kFlagPhysical | kFlagScan;
          } else if (flags & kFlagRepair) {
            warnings.push_back(kBothOperationsWarning);
          } else {
            flags |= kFlagScan;
          }
          break;
        case 'r':
          if (!(flags & kFlagPhysical)) {
            flags |= kFlagPhysical | kFlagRepair;
          } else {
            if (flags & kFlagScan) {
              warnings.push_back(kBothOperationsWarning);
              flags &= ~kFlagScan;
            }
            flags |= kFlagRepair;
          }
          break;
        default:
          break;
      }
    }
    if (!errors.empty()) return 1;

    if (!NeedsDevices(flags)) {
      std::string ignored;
      for (int i = 2; i < argc; ++i) {
        if (argv[i][0] == '-') continue;
        if (!ignored.empty()) ignored += ", ";
        ignored += Shown(argv[i]);
      }
      if (!ignored.empty()) warnings.push_back("|IGNORING: " + VerbatimKey(ignored));
    }
  }
  if (!(flags & (kFlagInformation | kFlagPhysical))) {
    flags |= kFlagUsage | kFlagInformation;
    if (!warnings.empty()) warnings.push_back("|NO_VALID_OPTION_SPECIFIED");
  }
  return 0;
}

int CliOptionParser::ValidateTargets(int argc, char** argv, int flags,
                                     std::vector<std::string>& errors,
                                     std::vector<std::string>& warnings,
                                     PartitionSelection& selection) {
  target_ids_.clear();
  had_target_words_ = false;
  std::vector<std::string> invalid;
  if ((flags & kFlagRepair) && !model_->system_drive_known())
    warnings.push_back("|THE_OPERATING_SYSTEM_DRIVE_CANNOT_BE_TOLD,_SO_NO_DEVICE_IS_OFFERED_FOR_REPAIR");
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    // An empty word ("$DEV" unset) or item ("0,,2") names no device: it is an invalid target,
    // never a way to choose every device.
    if (!word.empty() && word[0] == '-') continue;
    had_target_words_ = true;
    for (const std::string& item : Split(word)) {
      if (item == "_") {
        warnings.push_back("|IGNORING: ^_$");
        continue;
      }
      const MdrDevice* device = model_->FindDevice(item);
      if (device == nullptr) {
        if (std::find(invalid.begin(), invalid.end(), item) == invalid.end()) invalid.push_back(item);
        continue;
      }
      if ((flags & kFlagPhysical) && device->non_rotating) {
        warnings.push_back("|DEVICE " + VerbatimKey(item) +
                           " IS_A_|S|S|D_AND_|S|S|Ds_ARE_NOT_SUPPORTED_IN_PHYSICAL_SCAN_AND_"
                           "SCAN_AND_FIX_OPERATIONS");
        continue;
      }
      // An unknown system drive was told once above.
      if ((flags & kFlagRepair) && model_->system_drive_known() && !model_->MayRepair(*device)) {
        warnings.push_back("|THE DEVICE '" + VerbatimKey(item) +
                           "' IS_THE_OPERATING_SYSTEM_DEVICE_AND_THE_SCAN_AND_FIX_OPERATION_"
                           "CANNOT_BE_EXECUTED_ON_IT");
        continue;
      }
      if (selection.find(item) == selection.end()) {
        selection[item] = std::vector<std::string>();
        target_ids_.push_back(item);
      }
    }
  }
  if (!invalid.empty()) {
    std::string list;
    for (size_t i = 0; i < invalid.size(); ++i) list += (i ? ", " : "") + Shown(invalid[i]);
    warnings.push_back("|Following are not available or not applicable devices: " +
                       VerbatimKey(list));
  }
  if (had_target_words_ && selection.empty()) {
    selection.clear();
    errors.push_back("|ALL_DEVICES_AND_PARTITIONS_SPECIFIED_ARE_INVALID_TO_THAT_OPERATION");
    return 1;
  }
  return 0;
}
