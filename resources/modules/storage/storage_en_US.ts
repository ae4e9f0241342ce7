<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>storage</name>
    <message>
        <source>storage</source>
        <translation>Storage</translation>
    </message>
    <message>
        <source>STORAGE_MODULE_HELP</source>
        <translation>Checks hard disks, solid-state drives and removable disks for faults.</translation>
    </message>
    <message>
        <source>SATA_HDD_1TB</source>
        <translation>SATA hard disk (1 TB)</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>SERIAL_NUMBER</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>FIRMWARE_REVISION</source>
        <translation>Firmware revision</translation>
    </message>
    <message>
        <source>CAPACITY</source>
        <translation>Capacity</translation>
    </message>
    <message>
        <source>INTERFACE</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>MEDIA_TYPE</source>
        <translation>Media type</translation>
    </message>
    <message>
        <source>REMOVABLE</source>
        <translation>Removable</translation>
    </message>
    <message>
        <source>BYTES_PER_SECTOR</source>
        <translation>Bytes per sector</translation>
    </message>
    <message>
        <source>TOTAL_SECTORS</source>
        <translation>Total sectors</translation>
    </message>
    <message>
        <source>PARTITION_STYLE</source>
        <translation>Partition style</translation>
    </message>
    <message>
        <source>SMART_SUPPORTED</source>
        <translation>Self-monitoring supported</translation>
    </message>
    <message>
        <source>TEMPERATURE</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>POWER_ON_HOURS</source>
        <translation>Power-on hours</translation>
    </message>
    <message>
        <source>NVME_SSD_512GB</source>
        <translation>NVMe solid-state drive (512 GB)</translation>
    </message>
    <message>
        <source>SATA_HDD_2TB</source>
        <translation>SATA hard disk (2 TB)</translation>
    </message>
    <message>
        <source>USB_FLASH_DISK_32GB</source>
        <translation>USB flash disk (32 GB)</translation>
    </message>
    <message>
        <source>QUICK_TEST</source>
        <translation>Quick test</translation>
    </message>
    <message>
        <source>QUICK_TEST_DESCRIPTION</source>
        <translation>A few minutes of the most telling checks.</translation>
    </message>
    <message>
        <source>SMART_STATUS_CHECK</source>
        <translation>Self-monitoring status</translation>
    </message>
    <message>
        <source>SMART_STATUS_CHECK_DESCRIPTION</source>
        <translation>Reads the drive&#x27;s own health report and its warning thresholds.</translation>
    </message>
    <message>
        <source>SHORT_SELF_TEST</source>
        <translation>Short self-test</translation>
    </message>
    <message>
        <source>SHORT_SELF_TEST_DESCRIPTION</source>
        <translation>Has the drive run its built-in short self-test.</translation>
    </message>
    <message>
        <source>RANDOM_SEEK_TEST</source>
        <translation>Random seek test</translation>
    </message>
    <message>
        <source>RANDOM_SEEK_TEST_DESCRIPTION</source>
        <translation>Reads sectors at random places to check the drive&#x27;s seeking.</translation>
    </message>
    <message>
        <source>EXTENDED_TEST</source>
        <translation>Extended test</translation>
    </message>
    <message>
        <source>EXTENDED_TEST_DESCRIPTION</source>
        <translation>Thorough checks that can take a long time on large drives.</translation>
    </message>
    <message>
        <source>SURFACE_READ_SCAN</source>
        <translation>Surface read scan</translation>
    </message>
    <message>
        <source>SURFACE_READ_SCAN_DESCRIPTION</source>
        <translation>Reads every sector of the drive and reports the ones that cannot be read.</translation>
    </message>
    <message>
        <source>BUTTERFLY_SEEK_TEST</source>
        <translation>Butterfly seek test</translation>
    </message>
    <message>
        <source>BUTTERFLY_SEEK_TEST_DESCRIPTION</source>
        <translation>Moves between the outer and the inner sectors alternately to stress the heads.</translation>
    </message>
    <message>
        <source>REMOVABLE_MEDIA_WRITE_TEST</source>
        <translation>Removable media write test</translation>
    </message>
    <message>
        <source>REMOVABLE_MEDIA_WRITE_TEST_DESCRIPTION</source>
        <translation>Writes and reads back test data on removable media.</translation>
    </message>
    <message>
        <source>WRITE_TEST_TITLE</source>
        <translation>Write test</translation>
    </message>
    <message>
        <source>WRITE_TEST_CONFIRMATION</source>
        <translation>The test writes to the disk. Do you want to continue?</translation>
    </message>
    <message>
        <source>WRITE_TEST_DATA_WARNING</source>
        <translation>Data on the disk may be lost. Back up your files first.</translation>
    </message>
    <message>
        <source>Mendra</source>
        <translation>Bad sector recovery</translation>
    </message>
    <message>
        <source>BAD_SECTORS_TOOL_DESCRIPTION</source>
        <translation>Finds unreadable sectors on a disk and tries to repair them.</translation>
    </message>
    <message>
        <source>PARTITION</source>
        <translation>Partition</translation>
    </message>
    <message>
        <source>LABEL</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>MOUNT_POINT</source>
        <translation>Mount point</translation>
    </message>
    <message>
        <source>FILESYSTEM</source>
        <translation>File system</translation>
    </message>
    <message>
        <source>PARTITION_TYPE</source>
        <translation>Partition type</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>USED</source>
        <translation>Used</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>PRIMARY</source>
        <translation>Primary</translation>
    </message>
    <message>
        <source>EXTENDED</source>
        <translation>Extended</translation>
    </message>
    <message>
        <source>UNABLE_TO_OBTAIN</source>
        <translation>Unavailable</translation>
    </message>
    <message>
        <source>FIXED_HARD_DISK</source>
        <translation>Fixed hard disk</translation>
    </message>
    <message>
        <source>SOLID_STATE_DRIVE</source>
        <translation>Solid-state drive</translation>
    </message>
    <message>
        <source>REMOVABLE_MEDIA</source>
        <translation>Removable media</translation>
    </message>
    <message>
        <source>READING_SMART_ATTRIBUTES</source>
        <translation>Reading the self-monitoring attributes...</translation>
    </message>
    <message>
        <source>SMART_ATTRIBUTES_WITHIN_LIMITS</source>
        <translation>All self-monitoring attributes are within their limits.</translation>
    </message>
    <message>
        <source>REALLOCATED_SECTOR_COUNT_ABOVE_THRESHOLD</source>
        <translation>The count of reallocated sectors is above its threshold.</translation>
    </message>
    <message>
        <source>SEEK_TIME_ABOVE_EXPECTED</source>
        <translation>The seek time is longer than expected.</translation>
    </message>
    <message>
        <source>SLOW_RESPONSE_TIME</source>
        <translation>The device responds slowly.</translation>
    </message>
    <message>
        <source>SLOW_SECTORS_FOUND</source>
        <translation>Slow sectors were found.</translation>
    </message>
    <message>
        <source>READ_ERRORS_FOUND</source>
        <translation>Read errors were found.</translation>
    </message>
    <message>
        <source>UNREADABLE_SECTORS_FOUND</source>
        <translation>Unreadable sectors were found.</translation>
    </message>
    <message>
        <source>SOME_SECTORS_COULD_NOT_BE_REMAPPED</source>
        <translation>Some sectors could not be remapped.</translation>
    </message>
    <message>
        <source>NO_ERRORS_FOUND</source>
        <translation>No errors were found.</translation>
    </message>
    <message>
        <source>ERRORS_FOUND_AND_FIXED</source>
        <translation>Errors were found and fixed.</translation>
    </message>
    <message>
        <source>TWO_DIRECTORY_ENTRIES_REPAIRED</source>
        <translation>Two directory entries were repaired.</translation>
    </message>
    <message>
        <source>WRITE_TEST_CONFIRMED_BY_USER</source>
        <translation>The write test was confirmed.</translation>
    </message>
    <message>
        <source>WRITE_TEST_SKIPPED_BY_USER</source>
        <translation>The write test was skipped.</translation>
    </message>
    <message>
        <source>STORAGE</source>
        <translation>Storage devices</translation>
    </message>
    <message>
        <source>SATA_CONTROLLER_0</source>
        <translation>SATA controller</translation>
    </message>
    <message>
        <source>NVME_CONTROLLER_0</source>
        <translation>NVMe controller</translation>
    </message>
    <message>
        <source>USB_HUB_0</source>
        <translation>USB hub</translation>
    </message>
</context>
</TS>
