// The diagnostics log as the engine writes it: file names, line markers, special keys, result
// words and the status bits they stand for. The parser, the report builder and the migration all
// read these names from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace log_format {

// Folders in the Windows form the platform library maps to local paths; both begin behind the
// system drive's letter.
inline constexpr char kLogFolder[] = ":\\ProgramData\\Tarvex\\morva\\";
inline constexpr char kLegacyLogFolder[] = ":\\morva\\";
inline constexpr char kLogBaseName[] = "morva";
inline constexpr char kErrorLogSuffix[] = "_errors";
inline constexpr char kLogExtension[] = ".log";

// Markers, compared on the first characters of a line.
inline constexpr std::string_view kGroupStart = "+++ ";
inline constexpr std::string_view kGroupEnd = "--- ";
inline constexpr std::string_view kSectionStart = ">>> RESOURCE ";
inline constexpr std::string_view kSectionEnd = "<<< RESOURCE";
inline constexpr std::string_view kTestsStart = "START TESTS";
inline constexpr std::string_view kTestsStop = "STOP TESTS";

// No line the engine writes comes near this length; a longer one is garbage.
inline constexpr size_t kLongestLine = size_t{64} << 10;

// Separates a property's key from its value.
inline constexpr char kPropertySeparator = ':';
inline constexpr char kTokenSeparator = ' ';

// Property keys with a meaning of their own.
inline constexpr std::string_view kKeyUdi = "UDI";
inline constexpr std::string_view kKeyDisplayName = "DISPLAY_NAME";
inline constexpr std::string_view kKeyDisplayNameShort = "DISPLAYNAME";
inline constexpr std::string_view kKeyIndex = "INDEX";

// Second word of a timed line.
inline constexpr std::string_view kTestStart = "START";
inline constexpr std::string_view kTestStop = "STOP";
inline constexpr std::string_view kMessage = "MESSAGE";
inline constexpr std::string_view kWarning = "WARNING";
inline constexpr std::string_view kError = "ERROR";
inline constexpr std::string_view kCritical = "CRITICAL";
// Introduces a message's code; the duration's unit ends a test stop line.
inline constexpr std::string_view kCode = "CODE";
inline constexpr std::string_view kSeconds = "S";

// Result words of a test stop line.
inline constexpr std::string_view kResultNotApplicable = "NOT_APPLICABLE";
inline constexpr std::string_view kResultInvalid = "INVALID";
inline constexpr std::string_view kResultSuccess = "SUCCESS";
inline constexpr std::string_view kResultAborted = "ABORTED";
inline constexpr std::string_view kResultWarning = "WARNING";
inline constexpr std::string_view kResultFailed = "FAILED";

}  // namespace log_format

// Bits of a resource's or an entry's status mask, one per result word.
enum LogStatusMask : uint32_t {
  kLogStatusNone = 0,
  kLogStatusNotApplicable = 1,
  kLogStatusInvalid = 2,
  kLogStatusSuccess = 4,
  kLogStatusAborted = 8,
  kLogStatusWarning = 16,
  kLogStatusFailed = 32,
};

// The bit of a result word; words that do not count give kLogStatusNone.
inline uint32_t LogStatusBit(std::string_view result) {
  using namespace log_format;
  if (result == kResultSuccess) return kLogStatusSuccess;
  if (result == kResultFailed) return kLogStatusFailed;
  if (result == kResultWarning) return kLogStatusWarning;
  if (result == kResultAborted) return kLogStatusAborted;
  if (result == kResultNotApplicable) return kLogStatusNotApplicable;
  if (result == kResultInvalid) return kLogStatusInvalid;
  return kLogStatusNone;
}

// Results of opening and parsing a log.
enum LogReadResult : int {
  kLogOpened = 0,
  kLogParsed = 1,
  kLogNotFound = 4,
};
