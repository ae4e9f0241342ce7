<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>Sprachdatei nicht geladen</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>Ressourcendatei nicht gefunden. Versuchen Sie, die Anwendung erneut zu installieren.</translation>
    </message>
</context>
</TS>
