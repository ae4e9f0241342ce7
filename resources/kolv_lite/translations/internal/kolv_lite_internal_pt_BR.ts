<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>InternalTranslations</name>
    <message>
        <source>ERROR</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>NO_LANGUAGE_FILE_LOADED</source>
        <translation>Arquivo de idioma não carregado</translation>
    </message>
    <message>
        <source>RESOURCE_FILE_NOT_FOUND_TEXT</source>
        <translation>Arquivo de recursos não encontrado. Tente reinstalar o aplicativo.</translation>
    </message>
</context>
</TS>
