<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>Archivo de idioma no cargado</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>No se encontró el archivo de recursos. Intente reinstalar la aplicación.</translation>
    </message>
</context>
</TS>
