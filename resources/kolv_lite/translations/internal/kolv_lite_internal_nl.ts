<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Fout</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>Taalbestand niet geladen</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>Bronbestand niet gevonden. Probeer de toepassing opnieuw te installeren.</translation>
    </message>
</context>
</TS>
