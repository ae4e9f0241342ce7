<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>Language file not loaded</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>Resource file not found. Try to reinstall the application.</translation>
    </message>
</context>
</TS>
