<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>memory</name>
    <message>
        <source>memory</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>MEMORY_MODULE_HELP</source>
        <translation>Checks the installed memory modules for faults.</translation>
    </message>
    <message>
        <source>DIMM_SLOT_A1</source>
        <translation>Memory slot A1</translation>
    </message>
    <message>
        <source>CAPACITY</source>
        <translation>Capacity</translation>
    </message>
    <message>
        <source>TYPE</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>FORM_FACTOR</source>
        <translation>Form factor</translation>
    </message>
    <message>
        <source>BANK</source>
        <translation>Bank</translation>
    </message>
    <message>
        <source>PART_NUMBER</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>SERIAL_NUMBER</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>ECC</source>
        <translation>Error correction</translation>
    </message>
    <message>
        <source>DIMM_SLOT_B1</source>
        <translation>Memory slot B1</translation>
    </message>
    <message>
        <source>MEMORY_TEST</source>
        <translation>Memory test</translation>
    </message>
    <message>
        <source>MEMORY_TEST_DESCRIPTION</source>
        <translation>Writes patterns to the memory and reads them back.</translation>
    </message>
    <message>
        <source>PATTERN_TEST</source>
        <translation>Pattern test</translation>
    </message>
    <message>
        <source>PATTERN_TEST_DESCRIPTION</source>
        <translation>Writes alternating bit patterns and checks that they read back unchanged.</translation>
    </message>
    <message>
        <source>ADDRESS_LINE_TEST</source>
        <translation>Address line test</translation>
    </message>
    <message>
        <source>ADDRESS_LINE_TEST_DESCRIPTION</source>
        <translation>Checks that every address reaches its own memory cell.</translation>
    </message>
    <message>
        <source>CORRECTABLE_ERRORS_DETECTED</source>
        <translation>Correctable errors were detected.</translation>
    </message>
    <message>
        <source>MEMORY</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>CHANNEL_A</source>
        <translation>Channel A</translation>
    </message>
    <message>
        <source>CHANNEL_B</source>
        <translation>Channel B</translation>
    </message>
</context>
</TS>
