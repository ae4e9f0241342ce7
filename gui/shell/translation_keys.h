// Translation contexts and the keys of the text the GUI shows. The texts live in the translation
// catalogues; code only ever holds these keys. Shared with the GUI tool plug-ins.
#pragma once

namespace TranslationKeys {

// Context of every key below.
inline constexpr char TRANSLATIONS[] = "Translations";
// Contexts of the window's and the controller's own form texts.
inline constexpr char KOLV_LITE_WINDOW_CONTEXT[] = "KolvLiteWindow";
inline constexpr char KOLV_LITE_CONTROLLER_CONTEXT[] = "KolvLiteController";

inline constexpr char ERROR[] = "ERROR";
inline constexpr char INFORMATION[] = "INFORMATION";
inline constexpr char WARNING[] = "WARNING";
inline constexpr char INPUT[] = "INPUT";
inline constexpr char NOT_ENOUGH_PRIVILEGES_TEXT[] = "NOT_ENOUGH_PRIVILEGES_TEXT";
inline constexpr char NOT_FIRST_APPLICATION_INSTANCE[] = "NOT_FIRST_APPLICATION_INSTANCE";
inline constexpr char MODULES_WITH_ERRORS[] = "MODULES_WITH_ERRORS";
inline constexpr char PLEASE_REINSTALL_MESSAGE[] = "PLEASE_REINSTALL_MESSAGE";
inline constexpr char NOT_AVAILABLE[] = "NOT_AVAILABLE";
inline constexpr char CLOSE_CONFIRMATION_MESSAGE[] = "CLOSE_CONFIRMATION_MESSAGE";
inline constexpr char ABOUT[] = "ABOUT";
inline constexpr char DEVICE_INFORMATION[] = "DEVICE_INFORMATION";
inline constexpr char OK[] = "OK";
inline constexpr char CANCEL[] = "CANCEL";
inline constexpr char YES[] = "YES";
inline constexpr char NO[] = "NO";
inline constexpr char BACK[] = "BACK";
inline constexpr char BACK_TOOLTIP[] = "BACK_TOOLTIP";
inline constexpr char NEXT[] = "NEXT";
inline constexpr char NEXT_TOOLTIP[] = "NEXT_TOOLTIP";
inline constexpr char RUN_TESTS[] = "RUN_TESTS";
inline constexpr char RUN_TESTS_TOOLTIP[] = "RUN_TESTS_TOOLTIP";
inline constexpr char OF[] = "OF";
inline constexpr char RESULTS[] = "RESULT(S)";
inline constexpr char RESULT_CODE[] = "RESULT_CODE";
inline constexpr char ITERATION[] = "ITERATION";
inline constexpr char DEVICES_LOADING_FAILED[] = "DEVICES_LOADING_FAILED";
inline constexpr char NO_DEVICE_FOUND[] = "NO_DEVICE_FOUND";
inline constexpr char TRY_REFRESHING_THE_DEVICES[] = "TRY_REFRESHING_THE_DEVICES";
inline constexpr char SELECT_ALL[] = "SELECT_ALL";
inline constexpr char SELECT_ALL_DEVICES_TOOLTIP[] = "SELECT_ALL_DEVICES_TOOLTIP";
inline constexpr char WAITING[] = "WAITING";
inline constexpr char IN_PROGRESS[] = "IN_PROGRESS";
inline constexpr char FINISHED[] = "FINISHED";
inline constexpr char SUCCESS[] = "SUCCESS";
inline constexpr char FAILED[] = "FAILED";
inline constexpr char UNRECOGNIZED[] = "UNRECOGNIZED";
inline constexpr char NOT_APPLICABLE[] = "NOT_APPLICABLE";
inline constexpr char INVALID[] = "INVALID";
inline constexpr char ABORTED[] = "ABORTED";
// Same text as WARNING, used as a test status rather than a dialog title.
inline constexpr char WARNING_STATUS[] = "WARNING";
inline constexpr char UNKNOWN[] = "UNKNOWN";
// Same text as WAITING, used as a test status.
inline constexpr char WAITING_STATUS[] = "WAITING";
inline constexpr char RUNNING[] = "RUNNING";
inline constexpr char STOP_TESTS[] = "STOP_TESTS";
inline constexpr char STOP_TESTS_TOOLTIP[] = "STOP_TESTS_TOOLTIP";
inline constexpr char VIEW_LOG[] = "VIEW_LOG";
inline constexpr char VIEW_LOG_TOOLTIP[] = "VIEW_LOG_TOOLTIP";
inline constexpr char TESTS_RESULT[] = "TESTS_RESULT";
inline constexpr char LOG_SAVED_OK[] = "LOG_SAVED_OK";
inline constexpr char LOG_SAVE_FAILED[] = "LOG_SAVE_FAILED";
inline constexpr char LOG_SAVED_HEADER[] = "LOG_SAVED_HEADER";
inline constexpr char HTML_FILES[] = "HTML_FILES";
inline constexpr char SAVE_FILE[] = "SAVE_FILE";
inline constexpr char NO_LOGS_FOUND_ON_INTERVAL[] = "NO_LOGS_FOUND_ON_INTERVAL";
inline constexpr char LOG_FILE_NOT_FOUND[] = "LOG_FILE_NOT_FOUND";
inline constexpr char LOG_BROKEN[] = "LOG_BROKEN";
inline constexpr char EXPORT_ENTRY[] = "EXPORT_ENTRY";
inline constexpr char EXPORT_ENTRY_TOOLTIP[] = "EXPORT_ENTRY_TOOLTIP";
inline constexpr char EXPORT_ALL_ENTRIES[] = "EXPORT_ALL_ENTRIES";
inline constexpr char EXPORT_ALL_ENTRIES_TOOLTIP[] = "EXPORT_ALL_ENTRIES_TOOLTIP";
inline constexpr char BACK_TO_RESULTS[] = "BACK_TO_RESULTS";
inline constexpr char BACK_TO_RESULTS_TOOLTIP[] = "BACK_TO_RESULTS_TOOLTIP";
// The catalogues carry this key with exactly this spelling.
inline constexpr char BOOTABLE_POUP_UP_TEXT[] = "BOOTABLE_POUP_UP_TEXT";
inline constexpr char BOOTABLE_POP_UP_TITLE[] = "BOOTABLE_POP_UP_TITLE";
inline constexpr char LOG_FILE_NAME[] = "LOG_FILE_NAME";
inline constexpr char SYSTEM_INFORMATION_HEADER[] = "SYSTEM_INFORMATION_HEADER";
inline constexpr char SYSTEM_INFORMATION_DESCRIPTION[] = "SYSTEM_INFORMATION_DESCRIPTION";
inline constexpr char SYSTEM_BUTTON[] = "SYSTEM_BUTTON";
inline constexpr char EXPORT_BUTTON[] = "EXPORT_BUTTON";
inline constexpr char EXPORT_BUTTON_TOOLTIP[] = "EXPORT_BUTTON_TOOLTIP";
inline constexpr char GENERAL_BUTTON[] = "GENERAL_BUTTON";
inline constexpr char EXPORT_CAPTION[] = "EXPORT_CAPTION";
inline constexpr char EXPORT_NOTICE_CAPTION[] = "EXPORT_NOTICE_CAPTION";
inline constexpr char EXPORT_SUCCESS_INFO[] = "EXPORT_SUCCESS_INFO";
inline constexpr char EXPORT_FAILED_INFO[] = "EXPORT_FAILED_INFO";
inline constexpr char MODEL[] = "MODEL";
inline constexpr char SYSTEM_SERIAL_NUMBER[] = "SYSTEM_SERIAL_NUMBER";
inline constexpr char SYSTEM_VENDOR[] = "SYSTEM_VENDOR";
inline constexpr char SYSTEM_MANUFACTURER[] = "SYSTEM_MANUFACTURER";
inline constexpr char BIOS_VERSION[] = "BIOS_VERSION";
inline constexpr char PROCESSOR_LABEL[] = "PROCESSOR_LABEL";
inline constexpr char PROCESSOR_MANUFACTURER[] = "PROCESSOR_MANUFACTURER";
inline constexpr char DEVICE_STEP[] = "DEVICE_STEP";
inline constexpr char DEVICES_SELECTED[] = "DEVICES_SELECTED";
inline constexpr char TESTS_STEP[] = "TESTS_STEP";
inline constexpr char TESTS_SELECTED[] = "TESTS_SELECTED";
inline constexpr char OPERATION_SELECTION[] = "OPERATION_SELECTION";
inline constexpr char MAIN_MODULE_OPERATION[] = "MAIN_MODULE_OPERATION";
inline constexpr char DESCRIPTION_MAIN_MODULE_OPERATION[] = "DESCRIPTION_MAIN_MODULE_OPERATION";
inline constexpr char EXECUTION_STEP[] = "EXECUTION_STEP";
inline constexpr char DIAGNOSTIC_SELECTION_STEP[] = "DIAGNOSTIC_SELECTION_STEP";
inline constexpr char RECOMMENDED_TESTS[] = "RECOMMENDED_TESTS";
inline constexpr char CUSTOM_TESTS[] = "CUSTOM_TESTS";

// Start-up failures beyond the four checks: the diagnostics service cannot be obtained, and the
// single-instance lock fails for a reason other than another running instance.
inline constexpr char SERVICE_NOT_AVAILABLE_TEXT[] = "SERVICE_NOT_AVAILABLE_TEXT";
inline constexpr char INSTANCE_LOCK_FAILED_TEXT[] = "INSTANCE_LOCK_FAILED_TEXT";

// Form texts of the main window (context KOLV_LITE_WINDOW_CONTEXT).
inline constexpr char BIOS_SERIAL[] = "BIOS_SERIAL";
inline constexpr char MINIMIZE_TOOLTIP[] = "MINIMIZE_TOOLTIP";
inline constexpr char MAXIMIZE_TOOLTIP[] = "MAXIMIZE_TOOLTIP";
inline constexpr char RESTORE_TOOLTIP[] = "RESTORE_TOOLTIP";
inline constexpr char CLOSE_TOOLTIP[] = "CLOSE_TOOLTIP";
inline constexpr char LOG_HISTORY_TOOLTIP[] = "LOG_HISTORY_TOOLTIP";
inline constexpr char SYSTEM_INFORMATION_TOOLTIP[] = "SYSTEM_INFORMATION_TOOLTIP";
inline constexpr char HELP_TOOLTIP[] = "HELP_TOOLTIP";
// Form text of the controller (context KOLV_LITE_CONTROLLER_CONTEXT).
inline constexpr char HOME_TOOLTIP[] = "HOME_TOOLTIP";

}  // namespace TranslationKeys

// Keys of the catalogue compiled into the program, for the failures that happen before the
// external resource file or the language file is available.
namespace InternalTranslationKeys {

inline constexpr char INTERNAL_TRANSLATIONS[] = "InternalTranslations";
inline constexpr char ERROR[] = "ERROR";
inline constexpr char NO_LANGUAGE_FILE_LOADED[] = "NO_LANGUAGE_FILE_LOADED";
inline constexpr char RESOURCE_FILE_NOT_FOUND_TEXT[] = "RESOURCE_FILE_NOT_FOUND_TEXT";

}  // namespace InternalTranslationKeys

// Where the translation catalogues are found.
namespace TranslatorPaths {

inline constexpr char MAIN_FOLDER[] = ":/kolv_lite/Resources/Translations";
inline constexpr char MAIN_PREFIX[] = "kolv_lite_";
inline constexpr char INTERNAL_FOLDER[] =
    ":/kolv_lite_internal/Resources/Translations/InternalTranslations";
inline constexpr char INTERNAL_PREFIX[] = "kolv_lite_internal_";
inline constexpr char FALLBACK_LOCALE[] = "en_US";

}  // namespace TranslatorPaths
