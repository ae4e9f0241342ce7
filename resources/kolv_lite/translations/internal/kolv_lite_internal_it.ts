<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>File della lingua non caricato</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>File delle risorse non trovato. Provare a reinstallare l'applicazione.</translation>
    </message>
</context>
</TS>
