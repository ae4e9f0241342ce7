<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>optical</name>
    <message>
        <source>optical</source>
        <translation>Optical Drives</translation>
    </message>
    <message>
        <source>OPTICAL_MODULE_HELP</source>
        <translation>Checks optical drives and the discs in them.</translation>
    </message>
    <message>
        <source>DVD_WRITER</source>
        <translation>DVD writer</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>FIRMWARE_REVISION</source>
        <translation>Firmware revision</translation>
    </message>
    <message>
        <source>DISC_READ_TEST</source>
        <translation>Disc read test</translation>
    </message>
    <message>
        <source>DISC_READ_TEST_DESCRIPTION</source>
        <translation>Reads the disc in the drive from start to end.</translation>
    </message>
    <message>
        <source>MEDIA_READ_TEST</source>
        <translation>Media read test</translation>
    </message>
    <message>
        <source>MEDIA_READ_TEST_DESCRIPTION</source>
        <translation>Reads the inserted disc and reports read errors.</translation>
    </message>
    <message>
        <source>OPTICAL</source>
        <translation>Optical drives</translation>
    </message>
</context>
</TS>
