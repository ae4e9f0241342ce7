<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Mendra_GUI</name>
    <message>
        <source>MENDRA</source>
        <translation>Bad sector tool</translation>
    </message>
    <message>
        <source>OPERATIONS_MDR</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>SCAN_BAD_SECTORS_LABEL</source>
        <translation>Scan for bad sectors</translation>
    </message>
    <message>
        <source>SCAN_AND_REPAIR_BAD_SECTORS_LABEL</source>
        <translation>Scan and repair bad sectors</translation>
    </message>
    <message>
        <source>FILESYSTEM_REPAIR_LABEL</source>
        <translation>Repair file system</translation>
    </message>
    <message>
        <source>UNKNOWN_OPERATION</source>
        <translation>Unknown operation</translation>
    </message>
    <message>
        <source>WARNING_TEXT</source>
        <translation>Scanning and repairing bad sectors may move data away from damaged areas of the disk.</translation>
    </message>
    <message>
        <source>WARNING_FILESYSTEM_TEXT</source>
        <translation>Repairing the file system may change the data stored on the partition.</translation>
    </message>
    <message>
        <source>WARNING_LOCK_PARTITION</source>
        <translation>The partitions of the chosen devices are locked while the tool works on them.</translation>
    </message>
    <message>
        <source>WARNING_DISMOUNT_PARTITION</source>
        <translation>The chosen partitions are dismounted while the tool works on them.</translation>
    </message>
    <message>
        <source>WARNING_POP_UP_TEXT</source>
        <translation>This operation can cause data loss. Make a backup before you go on. Do you want to continue?</translation>
    </message>
    <message>
        <source>PERFORM_BACKUP</source>
        <translation>Make a backup of your data before you continue.</translation>
    </message>
    <message>
        <source>CLICK_NEXT_TO_CONTINUE</source>
        <translation>Click Next to continue.</translation>
    </message>
    <message>
        <source>PARTITION_STEP</source>
        <translation>Partitions</translation>
    </message>
    <message>
        <source>RUN_TASKS</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>CANNOT_EXECUTE_ON_OPERATING_SYSTEM_DISK</source>
        <translation>No device can be offered for this operation. The disk that holds the operating system cannot be repaired while it is in use.</translation>
    </message>
    <message>
        <source>SYSTEM_DISK_NEVER_OFFERED</source>
        <translation>The disk that holds the operating system is never offered for repair.</translation>
    </message>
    <message>
        <source>SYSTEM_DRIVE_NOT_KNOWN</source>
        <translation>No device can be offered for repair: the drive that holds the operating system cannot be told, so any disk might hold it.</translation>
    </message>
    <message>
        <source>TOOL_FINISHED</source>
        <translation>Tool finished</translation>
    </message>
    <message>
        <source>RECOMMEND_OTHER_PROCEDURE</source>
        <translation>Bad sectors were found. It is recommended to run Scan and repair bad sectors.</translation>
    </message>
    <message>
        <source>CANT_ABORT_OPERATION_BUT_IT_WILL_BE</source>
        <translation>The running repair cannot be stopped at once; it ends after the current partition.</translation>
    </message>
    <message>
        <source>TOTAL_READ_SECTORS</source>
        <translation>Sectors read</translation>
    </message>
    <message>
        <source>TOTAL_BAD_SECTORS</source>
        <translation>Bad sectors found</translation>
    </message>
    <message>
        <source>TOTAL_FIXED_SECTORS</source>
        <translation>Bad sectors corrected</translation>
    </message>
    <message>
        <source>TOTAL_NON_FIXED_SECTORS</source>
        <translation>Bad sectors left uncorrected</translation>
    </message>
    <message>
        <source>MESSAGE_</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>NO_ERRORS_FOUND</source>
        <translation>No errors were found</translation>
    </message>
    <message>
        <source>PARTITION_LOCKED</source>
        <translation>The partition is locked</translation>
    </message>
    <message>
        <source>UNABLE_TO_UNMOUNT_DEVICE</source>
        <translation>The device could not be locked or unmounted</translation>
    </message>
    <message>
        <source>SCHEDULLED_SUCCESFULLY</source>
        <translation>Scheduled for the next restart</translation>
    </message>
    <message>
        <source>SCHEDULLED_FAILED</source>
        <translation>Scheduling failed</translation>
    </message>
    <message>
        <source>FILESYSTEM_NOT_SUPPORTED</source>
        <translation>The file system is not supported</translation>
    </message>
    <message>
        <source>OPERATION_FAILED</source>
        <translation>The operation failed</translation>
    </message>
    <message>
        <source>NOT_ENOUGH_PRIVILEGES</source>
        <translation>Not enough privileges</translation>
    </message>
    <message>
        <source>ERRORS_FOUND_AND_FIXED</source>
        <translation>The errors were corrected</translation>
    </message>
    <message>
        <source>ERRORS_FOUND_BUT_NOT_FIXED</source>
        <translation>Some errors could not be corrected</translation>
    </message>
    <message>
        <source>ERRORS_CORRECTED_BUT_NEED_TO_REBOOT</source>
        <translation>The errors were corrected; restart the computer now</translation>
    </message>
    <message>
        <source>UNABLE_TO_EXECUTE</source>
        <translation>Unable to execute</translation>
    </message>
    <message>
        <source>SOME_ERRORS_COULD_NOT_BE_FIXED</source>
        <translation>Some errors could not be fixed</translation>
    </message>
    <message>
        <source>ERRORS_FOUND</source>
        <translation>Errors were found</translation>
    </message>
    <message>
        <source>UNDEFINED_STATUS</source>
        <translation>Undefined status</translation>
    </message>
    <message>
        <source>LOG_SAVED_HEADER</source>
        <translation>Log saved</translation>
    </message>
    <message>
        <source>LOG_SAVED_OK</source>
        <translation>The log was saved.</translation>
    </message>
    <message>
        <source>LOG_SAVE_FAILED</source>
        <translation>The log could not be saved.</translation>
    </message>
</context>
<context>
    <name>MdrOperationsScreen</name>
    <message>
        <source>TASK_LIST_DESCRIPTION</source>
        <translation>Choose the operation to run:</translation>
    </message>
    <message>
        <source>SCAN_BAD_SECTORS_LABEL</source>
        <translation>Scan for bad sectors</translation>
    </message>
    <message>
        <source>SCAN_AND_REPAIR_BAD_SECTORS_LABEL</source>
        <translation>Scan and repair bad sectors</translation>
    </message>
    <message>
        <source>FILESYSTEM_REPAIR_LABEL</source>
        <translation>Repair file system</translation>
    </message>
</context>
<context>
    <name>MdrWarningScreen</name>
    <message>
        <source>WARNING_TEXT</source>
        <translation>Scanning and repairing bad sectors may move data away from damaged areas of the disk.</translation>
    </message>
    <message>
        <source>WARNING_LOCK_PARTITION</source>
        <translation>The partitions of the chosen devices are locked while the tool works on them.</translation>
    </message>
    <message>
        <source>PERFORM_BACKUP</source>
        <translation>Make a backup of your data before you continue.</translation>
    </message>
    <message>
        <source>CLICK_NEXT_TO_CONTINUE</source>
        <translation>Click Next to continue.</translation>
    </message>
</context>
</TS>
