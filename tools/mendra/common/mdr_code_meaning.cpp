#include "tools/mendra/common/mdr_code_meaning.h"

namespace {

const MdrCodeMeaning kMeanings[] = {
    {kMdrOutcomeSuccess, "NO_ERRORS_FOUND", "NO_ERRORS_FOUND"},
    {kMdrOutcomeNotApplicable, "PARTITION_LOCKED", "PARTITION_LOCKED"},
    {kMdrOutcomeAborted, "UNABLE_TO_UNMOUNT_DEVICE", "UNABLE_TO_UNMOUNT_DEVICE"},
    {kMdrOutcomeSuccess, "SCHEDULLED_SUCCESFULLY", "SCHEDULLED_SUCCESFULLY"},
    {kMdrOutcomeFailed, "SCHEDULLED_FAILED", "SCHEDULLED_FAILED"},
    {kMdrOutcomeNotApplicable, "FILESYSTEM_NOT_SUPPORTED", "UNABLE_TO_EXECUTE"},
    {kMdrOutcomeAborted, "OPERATION_FAILED", "UNABLE_TO_EXECUTE"},
    {kMdrOutcomeNotApplicable, "NOT_ENOUGH_PRIVILEGES", "UNABLE_TO_EXECUTE"},
    {kMdrOutcomeAborted, "", "ABORTED"},
    {kMdrOutcomeSuccess, "ERRORS_FOUND_AND_FIXED", "ERRORS_FOUND_AND_FIXED"},
    {kMdrOutcomeWarning, "ERRORS_FOUND_BUT_NOT_FIXED", "SOME_ERRORS_COULD_NOT_BE_FIXED"},
    {kMdrOutcomeWarning, "ERRORS_CORRECTED_BUT_NEED_TO_REBOOT", "ERRORS_FOUND_AND_FIXED"},
    {kMdrOutcomeFailed, "", "ERRORS_FOUND"},
};

}  // namespace

MdrCodeMeaning MdrMeaningOf(int code) {
  const auto index = static_cast<unsigned>(code);
  if (index < sizeof(kMeanings) / sizeof(kMeanings[0])) return kMeanings[index];
  return {kMdrOutcomeInvalid, "", "UNDEFINED_STATUS"};
}
