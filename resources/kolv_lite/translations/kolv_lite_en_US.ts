<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Translations</name>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>INFORMATION</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>WARNING</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>INPUT</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>NOT_ENOUGH_PRIVILEGES_TEXT</source>
        <translation>You need administrator rights to run the diagnostics. Start the application again as an administrator.</translation>
    </message>
    <message>
        <source>NOT_FIRST_APPLICATION_INSTANCE</source>
        <translation>The application is already running. Only one copy can run at a time.</translation>
    </message>
    <message>
        <source>MODULES_WITH_ERRORS</source>
        <translation>These modules could not be loaded:</translation>
    </message>
    <message>
        <source>PLEASE_REINSTALL_MESSAGE</source>
        <translation>Please reinstall the application.</translation>
    </message>
    <message>
        <source>NOT_AVAILABLE</source>
        <translation>Not available</translation>
    </message>
    <message>
        <source>CLOSE_CONFIRMATION_MESSAGE</source>
        <translation>Tests are still running. Do you want to stop them and close the application?</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>About</translation>
    </message>
    <message>
        <source>DEVICE_INFORMATION</source>
        <translation>Device information</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>No</translation>
    </message>
    <message>
        <source>BACK</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>BACK_TOOLTIP</source>
        <translation>Go back to the previous step</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>NEXT_TOOLTIP</source>
        <translation>Go on to the next step</translation>
    </message>
    <message>
        <source>RUN_TESTS</source>
        <translation>Run tests</translation>
    </message>
    <message>
        <source>RUN_TESTS_TOOLTIP</source>
        <translation>Start the selected tests</translation>
    </message>
    <message>
        <source>OF</source>
        <translation>of</translation>
    </message>
    <message>
        <source>RESULT(S)</source>
        <translation>result(s)</translation>
    </message>
    <message>
        <source>RESULT_CODE</source>
        <translation>Result code</translation>
    </message>
    <message>
        <source>ITERATION</source>
        <translation>Iteration</translation>
    </message>
    <message>
        <source>DEVICES_LOADING_FAILED</source>
        <translation>The devices could not be loaded.</translation>
    </message>
    <message>
        <source>NO_DEVICE_FOUND</source>
        <translation>No device was found.</translation>
    </message>
    <message>
        <source>TRY_REFRESHING_THE_DEVICES</source>
        <translation>Try refreshing the devices.</translation>
    </message>
    <message>
        <source>SELECT_ALL</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>SELECT_ALL_DEVICES_TOOLTIP</source>
        <translation>Select or clear every device</translation>
    </message>
    <message>
        <source>WAITING</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>IN_PROGRESS</source>
        <translation>In progress</translation>
    </message>
    <message>
        <source>FINISHED</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>SUCCESS</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>UNRECOGNIZED</source>
        <translation>Unrecognized</translation>
    </message>
    <message>
        <source>NOT_APPLICABLE</source>
        <translation>Not applicable</translation>
    </message>
    <message>
        <source>INVALID</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>ABORTED</source>
        <translation>Aborted</translation>
    </message>
    <message>
        <source>UNKNOWN</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>RUNNING</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>STOP_TESTS</source>
        <translation>Stop tests</translation>
    </message>
    <message>
        <source>STOP_TESTS_TOOLTIP</source>
        <translation>Stop the running tests</translation>
    </message>
    <message>
        <source>VIEW_LOG</source>
        <translation>View log</translation>
    </message>
    <message>
        <source>VIEW_LOG_TOOLTIP</source>
        <translation>Show the log of this run</translation>
    </message>
    <message>
        <source>TESTS_RESULT</source>
        <translation>Test results</translation>
    </message>
    <message>
        <source>LOG_SAVED_OK</source>
        <translation>The log was saved.</translation>
    </message>
    <message>
        <source>LOG_SAVE_FAILED</source>
        <translation>The log could not be saved.</translation>
    </message>
    <message>
        <source>LOG_SAVED_HEADER</source>
        <translation>Save log</translation>
    </message>
    <message>
        <source>HTML_FILES</source>
        <translation>HTML files </translation>
    </message>
    <message>
        <source>SAVE_FILE</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>NO_LOGS_FOUND_ON_INTERVAL</source>
        <translation>No logs were found for this period.</translation>
    </message>
    <message>
        <source>LOG_FILE_NOT_FOUND</source>
        <translation>The log file was not found.</translation>
    </message>
    <message>
        <source>LOG_BROKEN</source>
        <translation>The log file is damaged.</translation>
    </message>
    <message>
        <source>EXPORT_ENTRY</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>EXPORT_ENTRY_TOOLTIP</source>
        <translation>Save this entry as an HTML report</translation>
    </message>
    <message>
        <source>EXPORT_ALL_ENTRIES</source>
        <translation>Export all</translation>
    </message>
    <message>
        <source>EXPORT_ALL_ENTRIES_TOOLTIP</source>
        <translation>Save every entry as an HTML report</translation>
    </message>
    <message>
        <source>BACK_TO_RESULTS</source>
        <translation>Back to results</translation>
    </message>
    <message>
        <source>BACK_TO_RESULTS_TOOLTIP</source>
        <translation>Return to the list of results</translation>
    </message>
    <message>
        <source>BOOTABLE_POUP_UP_TEXT</source>
        <translation>Enter a name for the log file:</translation>
    </message>
    <message>
        <source>BOOTABLE_POP_UP_TITLE</source>
        <translation>Save log</translation>
    </message>
    <message>
        <source>LOG_FILE_NAME</source>
        <translation>Log file name</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_HEADER</source>
        <translation>System information</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_DESCRIPTION</source>
        <translation>Information about this computer</translation>
    </message>
    <message>
        <source>SYSTEM_BUTTON</source>
        <translation>System</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON_TOOLTIP</source>
        <translation>Save the information as an HTML report</translation>
    </message>
    <message>
        <source>GENERAL_BUTTON</source>
        <translation>General</translation>
    </message>
    <message>
        <source>EXPORT_CAPTION</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>EXPORT_NOTICE_CAPTION</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>EXPORT_SUCCESS_INFO</source>
        <translation>The report was saved.</translation>
    </message>
    <message>
        <source>EXPORT_FAILED_INFO</source>
        <translation>The report could not be saved.</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>SYSTEM_SERIAL_NUMBER</source>
        <translation>System serial number</translation>
    </message>
    <message>
        <source>SYSTEM_VENDOR</source>
        <translation>System vendor</translation>
    </message>
    <message>
        <source>SYSTEM_MANUFACTURER</source>
        <translation>System manufacturer</translation>
    </message>
    <message>
        <source>BIOS_VERSION</source>
        <translation>BIOS version</translation>
    </message>
    <message>
        <source>PROCESSOR_LABEL</source>
        <translation>Processor</translation>
    </message>
    <message>
        <source>PROCESSOR_MANUFACTURER</source>
        <translation>Processor manufacturer</translation>
    </message>
    <message>
        <source>DEVICE_STEP</source>
        <translation>Devices</translation>
    </message>
    <message>
        <source>DEVICES_SELECTED</source>
        <translation>Devices chosen</translation>
    </message>
    <message>
        <source>TESTS_STEP</source>
        <translation>Tests</translation>
    </message>
    <message>
        <source>TESTS_SELECTED</source>
        <translation>Tests chosen</translation>
    </message>
    <message>
        <source>OPERATION_SELECTION</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>MAIN_MODULE_OPERATION</source>
        <translation>Diagnostics</translation>
    </message>
    <message>
        <source>DESCRIPTION_MAIN_MODULE_OPERATION</source>
        <translation>Run the module's diagnostics and tests on its devices.</translation>
    </message>
    <message>
        <source>EXECUTION_STEP</source>
        <translation>Execution</translation>
    </message>
    <message>
        <source>DIAGNOSTIC_SELECTION_STEP</source>
        <translation>Diagnostics</translation>
    </message>
    <message>
        <source>RECOMMENDED_TESTS</source>
        <translation>Recommended tests</translation>
    </message>
    <message>
        <source>CUSTOM_TESTS</source>
        <translation>Custom tests</translation>
    </message>
    <message>
        <source>SERVICE_NOT_AVAILABLE_TEXT</source>
        <translation>The diagnostics service could not be started. Try to reinstall the application.</translation>
    </message>
    <message>
        <source>INSTANCE_LOCK_FAILED_TEXT</source>
        <translation>The application could not make sure that it runs only once. Check that the lock file can be written and start it again.</translation>
    </message>
    <message>
        <source>ENTRY</source>
        <translation>Entry</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Diagnostics log</translation>
    </message>
    <message>
        <source>LOG_ENTRY_FAILED_MESSAGE</source>
        <translation>At least one test found a fault. See the details below.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_WARNING_MESSAGE</source>
        <translation>The tests finished with warnings. See the details below.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_ABORTED_MESSAGE</source>
        <translation>The tests were stopped before they finished.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_SUCCESS_MESSAGE</source>
        <translation>All tests passed.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_INVALID_MESSAGE</source>
        <translation>The tests could not give a valid result.</translation>
    </message>
    <message>
        <source>LOG_INCOMPLETE_MESSAGE</source>
        <translation>The log of this run is incomplete: the results of some of its devices are missing.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_NOT_APPLICABLE_MESSAGE</source>
        <translation>The tests do not apply to this device.</translation>
    </message>
    <message>
        <source>RESOURCES</source>
        <translation>Resources</translation>
    </message>
    <message>
        <source>RESOURCE_TYPE</source>
        <translation>Resource type</translation>
    </message>
    <message>
        <source>INDEX</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>MESSAGE</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>TEST_PARAMETERS</source>
        <translation>Test parameters:</translation>
    </message>
    <message>
        <source>TEST_NOT_SUPPORTED_ON_DEVICE</source>
        <translation>The test is not supported on this device.</translation>
    </message>
    <message>
        <source>INVALID_TEST_PARAMETERS</source>
        <translation>The test parameters are not valid.</translation>
    </message>
</context>
<context>
    <name>KolvLiteWindow</name>
    <message>
        <source>BIOS_SERIAL</source>
        <translation>BIOS serial</translation>
    </message>
    <message>
        <source>MINIMIZE_TOOLTIP</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>MAXIMIZE_TOOLTIP</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>RESTORE_TOOLTIP</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>CLOSE_TOOLTIP</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>LOG_HISTORY_TOOLTIP</source>
        <translation>Previous logs</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_TOOLTIP</source>
        <translation>System information</translation>
    </message>
    <message>
        <source>HELP_TOOLTIP</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>KolvLiteController</name>
    <message>
        <source>HOME_TOOLTIP</source>
        <translation>Back to the modules</translation>
    </message>
</context>
<context>
    <name>OverlayForm</name>
    <message>
        <source>Overlay</source>
        <translation>Overlay</translation>
    </message>
</context>
<context>
    <name>DiagnosticWidget</name>
    <message>
        <source>RESULT_CODE</source>
        <translation>Result code</translation>
    </message>
</context>
<context>
    <name>ProgressWidget</name>
    <message>
        <source>OVERALL_STATUS</source>
        <translation>Overall status</translation>
    </message>
</context>
<context>
    <name>ModulesScreen</name>
    <message>
        <source>NO_MODULES_INSTALLED</source>
        <translation>No diagnostic modules are installed. Please reinstall the application.</translation>
    </message>
</context>
<context>
    <name>DevicesLoadingScreen</name>
    <message>
        <source>LOADING</source>
        <translation>Loading devices...</translation>
    </message>
</context>
<context>
    <name>ExecutionScreen</name>
    <message>
        <source>RUNNING_TESTS</source>
        <translation>Running tests</translation>
    </message>
</context>
<context>
    <name>DiagnosticSelectionScreen</name>
    <message>
        <source>RECOMMENDED_TESTS</source>
        <translation>Recommended tests</translation>
    </message>
    <message>
        <source>RECOMMENDED_BRIEF_DESCRIPTION</source>
        <translation>Runs the module's recommended tests on every device it finds.</translation>
    </message>
    <message>
        <source>CUSTOM_TESTS</source>
        <translation>Custom tests</translation>
    </message>
    <message>
        <source>ADVANCED_USERS_HINT</source>
        <translation>(for advanced users)</translation>
    </message>
    <message>
        <source>CUSTOM_BRIEF_DESCRIPTION</source>
        <translation>Choose the devices, the diagnostics and tests, and how many times to run them.</translation>
    </message>
    <message>
        <source>NO_APPLICABLE_RECOMMENDED_TESTS</source>
        <translation>None of the recommended tests applies to the devices found so far.</translation>
    </message>
</context>
<context>
    <name>LogsScreen</name>
    <message>
        <source>PREVIOUS_LOGS_SCREEN_TITLE</source>
        <translation>Previous logs</translation>
    </message>
    <message>
        <source>LOGS_DATE_SELECTION_TITLE</source>
        <translation>Choose the days whose diagnostic runs you want to see, then press Search.</translation>
    </message>
    <message>
        <source>FROM_LABEL</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>INITIAL_DATE_TOOLTIP</source>
        <translation>First day of the search</translation>
    </message>
    <message>
        <source>TO_LABEL</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>FINAL_DATE_TOOLTIP</source>
        <translation>Last day of the search</translation>
    </message>
    <message>
        <source>SEARCH_BUTTON</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>SEARCH_BUTTON_TOOLTIP</source>
        <translation>Search the diagnostics log for runs between the two days</translation>
    </message>
    <message>
        <source>PREVIOUS_LOG_ENTRY_TOOLTIP</source>
        <translation>Previous entry</translation>
    </message>
    <message>
        <source>NEXT_LOG_ENTRY_TOOLTIP</source>
        <translation>Next entry</translation>
    </message>
    <message>
        <source>LOADING</source>
        <translation>Searching the diagnostics log...</translation>
    </message>
</context>
<context>
    <name>SystemInformationsScreen</name>
    <message>
        <source>SYSTEM_INFORMATION_HEADER</source>
        <translation>System information</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_DESCRIPTION</source>
        <translation>Choose an entry on the left to see its details. Export saves the details shown as an HTML page.</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON_TOOLTIP</source>
        <translation>Save the details shown as an HTML page</translation>
    </message>
</context>
<context>
    <name>DevicesScreen</name>
    <message>
        <source>SELECT_ALL</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>SELECT_ALL_TOOLTIP</source>
        <translation>Select or clear every device</translation>
    </message>
    <message>
        <source>REFRESH_DEVICES_TOOLTIP</source>
        <translation>Search for the devices again</translation>
    </message>
</context>
<context>
    <name>DeviceSelectionEntry</name>
    <message>
        <source>DEVICE_INFORMATION_TOOLTIP</source>
        <translation>Show the details</translation>
    </message>
</context>
<context>
    <name>TestsScreen</name>
    <message>
        <source>SELECT_ALL</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>SELECT_ALL_TOOLTIP</source>
        <translation>Select or clear every test</translation>
    </message>
    <message>
        <source>NUMBER_OF_TIMES_TO_RUN</source>
        <translation>Number of runs:</translation>
    </message>
    <message>
        <source>NO_APPLICABLE_TESTS</source>
        <translation>None of the tests applies to the chosen devices: there is nothing to run.</translation>
    </message>
</context>
<context>
    <name>ExecutionLogScreen</name>
    <message>
        <source>EXECUTION_LOG</source>
        <translation>Execution log</translation>
    </message>
</context>
</TS>
