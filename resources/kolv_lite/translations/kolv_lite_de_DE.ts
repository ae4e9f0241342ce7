<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Translations</name>
    <message>
        <source>ERROR</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>INFORMATION</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>WARNING</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>INPUT</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>NOT_ENOUGH_PRIVILEGES_TEXT</source>
        <translation>Für die Diagnose sind Administratorrechte nötig. Starten Sie die Anwendung als Administrator erneut.</translation>
    </message>
    <message>
        <source>NOT_FIRST_APPLICATION_INSTANCE</source>
        <translation>Die Anwendung läuft bereits. Es kann nur eine Kopie gleichzeitig laufen.</translation>
    </message>
    <message>
        <source>MODULES_WITH_ERRORS</source>
        <translation>Diese Module konnten nicht geladen werden:</translation>
    </message>
    <message>
        <source>PLEASE_REINSTALL_MESSAGE</source>
        <translation>Bitte installieren Sie die Anwendung erneut.</translation>
    </message>
    <message>
        <source>NOT_AVAILABLE</source>
        <translation>Nicht verfügbar</translation>
    </message>
    <message>
        <source>CLOSE_CONFIRMATION_MESSAGE</source>
        <translation>Es laufen noch Tests. Möchten Sie sie abbrechen und die Anwendung schließen?</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>DEVICE_INFORMATION</source>
        <translation>Geräteinformationen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>BACK</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>BACK_TOOLTIP</source>
        <translation>Zum vorigen Schritt</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>NEXT_TOOLTIP</source>
        <translation>Zum nächsten Schritt</translation>
    </message>
    <message>
        <source>RUN_TESTS</source>
        <translation>Tests starten</translation>
    </message>
    <message>
        <source>RUN_TESTS_TOOLTIP</source>
        <translation>Die gewählten Tests starten</translation>
    </message>
    <message>
        <source>OF</source>
        <translation>von</translation>
    </message>
    <message>
        <source>RESULT(S)</source>
        <translation>Ergebnis(se)</translation>
    </message>
    <message>
        <source>RESULT_CODE</source>
        <translation>Ergebniscode</translation>
    </message>
    <message>
        <source>ITERATION</source>
        <translation>Durchlauf</translation>
    </message>
    <message>
        <source>DEVICES_LOADING_FAILED</source>
        <translation>Die Geräte konnten nicht geladen werden.</translation>
    </message>
    <message>
        <source>NO_DEVICE_FOUND</source>
        <translation>Es wurde kein Gerät gefunden.</translation>
    </message>
    <message>
        <source>TRY_REFRESHING_THE_DEVICES</source>
        <translation>Aktualisieren Sie die Geräteliste.</translation>
    </message>
    <message>
        <source>SELECT_ALL</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>SELECT_ALL_DEVICES_TOOLTIP</source>
        <translation>Alle Geräte aus- oder abwählen</translation>
    </message>
    <message>
        <source>WAITING</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>IN_PROGRESS</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>FINISHED</source>
        <translation>Beendet</translation>
    </message>
    <message>
        <source>SUCCESS</source>
        <translation>Bestanden</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>UNRECOGNIZED</source>
        <translation>Nicht erkannt</translation>
    </message>
    <message>
        <source>NOT_APPLICABLE</source>
        <translation>Nicht anwendbar</translation>
    </message>
    <message>
        <source>INVALID</source>
        <translation>Ungültig</translation>
    </message>
    <message>
        <source>ABORTED</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>UNKNOWN</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>RUNNING</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>STOP_TESTS</source>
        <translation>Tests anhalten</translation>
    </message>
    <message>
        <source>STOP_TESTS_TOOLTIP</source>
        <translation>Die laufenden Tests anhalten</translation>
    </message>
    <message>
        <source>VIEW_LOG</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>VIEW_LOG_TOOLTIP</source>
        <translation>Das Protokoll dieses Laufs zeigen</translation>
    </message>
    <message>
        <source>TESTS_RESULT</source>
        <translation>Testergebnisse</translation>
    </message>
    <message>
        <source>LOG_SAVED_OK</source>
        <translation>Das Protokoll wurde gespeichert.</translation>
    </message>
    <message>
        <source>LOG_SAVE_FAILED</source>
        <translation>Das Protokoll konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>LOG_SAVED_HEADER</source>
        <translation>Protokoll speichern</translation>
    </message>
    <message>
        <source>HTML_FILES</source>
        <translation>HTML-Dateien </translation>
    </message>
    <message>
        <source>SAVE_FILE</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>NO_LOGS_FOUND_ON_INTERVAL</source>
        <translation>Für diesen Zeitraum gibt es keine Protokolle.</translation>
    </message>
    <message>
        <source>LOG_FILE_NOT_FOUND</source>
        <translation>Die Protokolldatei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>LOG_BROKEN</source>
        <translation>Die Protokolldatei ist beschädigt.</translation>
    </message>
    <message>
        <source>EXPORT_ENTRY</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>EXPORT_ENTRY_TOOLTIP</source>
        <translation>Diesen Eintrag als HTML-Bericht speichern</translation>
    </message>
    <message>
        <source>EXPORT_ALL_ENTRIES</source>
        <translation>Alle exportieren</translation>
    </message>
    <message>
        <source>EXPORT_ALL_ENTRIES_TOOLTIP</source>
        <translation>Alle Einträge als HTML-Bericht speichern</translation>
    </message>
    <message>
        <source>BACK_TO_RESULTS</source>
        <translation>Zurück zu den Ergebnissen</translation>
    </message>
    <message>
        <source>BACK_TO_RESULTS_TOOLTIP</source>
        <translation>Zur Ergebnisliste zurückkehren</translation>
    </message>
    <message>
        <source>BOOTABLE_POUP_UP_TEXT</source>
        <translation>Geben Sie einen Namen für die Protokolldatei ein:</translation>
    </message>
    <message>
        <source>BOOTABLE_POP_UP_TITLE</source>
        <translation>Protokoll speichern</translation>
    </message>
    <message>
        <source>LOG_FILE_NAME</source>
        <translation>Name der Protokolldatei</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_HEADER</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_DESCRIPTION</source>
        <translation>Informationen über diesen Computer</translation>
    </message>
    <message>
        <source>SYSTEM_BUTTON</source>
        <translation>System</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON_TOOLTIP</source>
        <translation>Die Informationen als HTML-Bericht speichern</translation>
    </message>
    <message>
        <source>GENERAL_BUTTON</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>EXPORT_CAPTION</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>EXPORT_NOTICE_CAPTION</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>EXPORT_SUCCESS_INFO</source>
        <translation>Der Bericht wurde gespeichert.</translation>
    </message>
    <message>
        <source>EXPORT_FAILED_INFO</source>
        <translation>Der Bericht konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>SYSTEM_SERIAL_NUMBER</source>
        <translation>Seriennummer des Systems</translation>
    </message>
    <message>
        <source>SYSTEM_VENDOR</source>
        <translation>Systemanbieter</translation>
    </message>
    <message>
        <source>SYSTEM_MANUFACTURER</source>
        <translation>Systemhersteller</translation>
    </message>
    <message>
        <source>BIOS_VERSION</source>
        <translation>BIOS-Version</translation>
    </message>
    <message>
        <source>PROCESSOR_LABEL</source>
        <translation>Prozessor</translation>
    </message>
    <message>
        <source>PROCESSOR_MANUFACTURER</source>
        <translation>Prozessorhersteller</translation>
    </message>
    <message>
        <source>DEVICE_STEP</source>
        <translation>Geräte</translation>
    </message>
    <message>
        <source>DEVICES_SELECTED</source>
        <translation>Gerät(e) gewählt</translation>
    </message>
    <message>
        <source>TESTS_STEP</source>
        <translation>Tests</translation>
    </message>
    <message>
        <source>TESTS_SELECTED</source>
        <translation>Test(s) gewählt</translation>
    </message>
    <message>
        <source>OPERATION_SELECTION</source>
        <translation>Vorgang</translation>
    </message>
    <message>
        <source>MAIN_MODULE_OPERATION</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>DESCRIPTION_MAIN_MODULE_OPERATION</source>
        <translation>Die Diagnosen und Tests des Moduls auf seinen Geräten ausführen.</translation>
    </message>
    <message>
        <source>EXECUTION_STEP</source>
        <translation>Ausführung</translation>
    </message>
    <message>
        <source>DIAGNOSTIC_SELECTION_STEP</source>
        <translation>Diagnosen</translation>
    </message>
    <message>
        <source>RECOMMENDED_TESTS</source>
        <translation>Empfohlene Tests</translation>
    </message>
    <message>
        <source>CUSTOM_TESTS</source>
        <translation>Eigene Testauswahl</translation>
    </message>
    <message>
        <source>SERVICE_NOT_AVAILABLE_TEXT</source>
        <translation>Der Diagnosedienst konnte nicht gestartet werden. Versuchen Sie, die Anwendung erneut zu installieren.</translation>
    </message>
    <message>
        <source>INSTANCE_LOCK_FAILED_TEXT</source>
        <translation>Die Anwendung konnte nicht sicherstellen, dass sie nur einmal läuft. Prüfen Sie, ob die Sperrdatei beschrieben werden kann, und starten Sie sie erneut.</translation>
    </message>
    <message>
        <source>ENTRY</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Diagnoseprotokoll</translation>
    </message>
    <message>
        <source>LOG_ENTRY_FAILED_MESSAGE</source>
        <translation>Mindestens ein Test hat einen Fehler gefunden. Einzelheiten siehe unten.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_WARNING_MESSAGE</source>
        <translation>Die Tests wurden mit Warnungen beendet. Einzelheiten siehe unten.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_ABORTED_MESSAGE</source>
        <translation>Die Tests wurden vor ihrem Ende abgebrochen.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_SUCCESS_MESSAGE</source>
        <translation>Alle Tests wurden bestanden.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_INVALID_MESSAGE</source>
        <translation>Die Tests konnten kein gültiges Ergebnis liefern.</translation>
    </message>
    <message>
        <source>LOG_INCOMPLETE_MESSAGE</source>
        <translation>Das Protokoll dieses Laufs ist unvollständig: Die Ergebnisse einiger seiner Geräte fehlen.</translation>
    </message>
    <message>
        <source>LOG_ENTRY_NOT_APPLICABLE_MESSAGE</source>
        <translation>Die Tests gelten nicht für dieses Gerät.</translation>
    </message>
    <message>
        <source>RESOURCES</source>
        <translation>Ressourcen</translation>
    </message>
    <message>
        <source>RESOURCE_TYPE</source>
        <translation>Ressourcentyp</translation>
    </message>
    <message>
        <source>INDEX</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>MESSAGE</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>TEST_PARAMETERS</source>
        <translation>Testparameter:</translation>
    </message>
    <message>
        <source>TEST_NOT_SUPPORTED_ON_DEVICE</source>
        <translation>Der Test wird auf diesem Gerät nicht unterstützt.</translation>
    </message>
    <message>
        <source>INVALID_TEST_PARAMETERS</source>
        <translation>Die Testparameter sind ungültig.</translation>
    </message>
</context>
<context>
    <name>KolvLiteWindow</name>
    <message>
        <source>BIOS_SERIAL</source>
        <translation>BIOS-Seriennummer</translation>
    </message>
    <message>
        <source>MINIMIZE_TOOLTIP</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>MAXIMIZE_TOOLTIP</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>RESTORE_TOOLTIP</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>CLOSE_TOOLTIP</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>LOG_HISTORY_TOOLTIP</source>
        <translation>Frühere Protokolle</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_TOOLTIP</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>HELP_TOOLTIP</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>KolvLiteController</name>
    <message>
        <source>HOME_TOOLTIP</source>
        <translation>Zurück zu den Modulen</translation>
    </message>
</context>
<context>
    <name>OverlayForm</name>
    <message>
        <source>Overlay</source>
        <translation>Überlagerung</translation>
    </message>
</context>
<context>
    <name>DiagnosticWidget</name>
    <message>
        <source>RESULT_CODE</source>
        <translation>Ergebniscode</translation>
    </message>
</context>
<context>
    <name>ProgressWidget</name>
    <message>
        <source>OVERALL_STATUS</source>
        <translation>Gesamtstatus</translation>
    </message>
</context>
<context>
    <name>ModulesScreen</name>
    <message>
        <source>NO_MODULES_INSTALLED</source>
        <translation>Es sind keine Diagnosemodule installiert. Bitte installieren Sie die Anwendung neu.</translation>
    </message>
</context>
<context>
    <name>DevicesLoadingScreen</name>
    <message>
        <source>LOADING</source>
        <translation>Geräte werden geladen...</translation>
    </message>
</context>
<context>
    <name>ExecutionScreen</name>
    <message>
        <source>RUNNING_TESTS</source>
        <translation>Tests laufen</translation>
    </message>
</context>
<context>
    <name>DiagnosticSelectionScreen</name>
    <message>
        <source>RECOMMENDED_TESTS</source>
        <translation>Empfohlene Tests</translation>
    </message>
    <message>
        <source>RECOMMENDED_BRIEF_DESCRIPTION</source>
        <translation>Führt die empfohlenen Tests des Moduls auf jedem gefundenen Gerät aus.</translation>
    </message>
    <message>
        <source>CUSTOM_TESTS</source>
        <translation>Benutzerdefinierte Tests</translation>
    </message>
    <message>
        <source>ADVANCED_USERS_HINT</source>
        <translation>(für erfahrene Benutzer)</translation>
    </message>
    <message>
        <source>CUSTOM_BRIEF_DESCRIPTION</source>
        <translation>Wählen Sie die Geräte, die Diagnosen und Tests und die Anzahl der Durchläufe.</translation>
    </message>
    <message>
        <source>NO_APPLICABLE_RECOMMENDED_TESTS</source>
        <translation>Keiner der empfohlenen Tests passt zu den bisher gefundenen Geräten.</translation>
    </message>
</context>
<context>
    <name>LogsScreen</name>
    <message>
        <source>PREVIOUS_LOGS_SCREEN_TITLE</source>
        <translation>Frühere Protokolle</translation>
    </message>
    <message>
        <source>LOGS_DATE_SELECTION_TITLE</source>
        <translation>Wählen Sie die Tage, deren Diagnoseläufe Sie sehen möchten, und klicken Sie auf Suchen.</translation>
    </message>
    <message>
        <source>FROM_LABEL</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>INITIAL_DATE_TOOLTIP</source>
        <translation>Erster Tag der Suche</translation>
    </message>
    <message>
        <source>TO_LABEL</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>FINAL_DATE_TOOLTIP</source>
        <translation>Letzter Tag der Suche</translation>
    </message>
    <message>
        <source>SEARCH_BUTTON</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>SEARCH_BUTTON_TOOLTIP</source>
        <translation>Das Diagnoseprotokoll nach Läufen zwischen den beiden Tagen durchsuchen</translation>
    </message>
    <message>
        <source>PREVIOUS_LOG_ENTRY_TOOLTIP</source>
        <translation>Vorheriger Eintrag</translation>
    </message>
    <message>
        <source>NEXT_LOG_ENTRY_TOOLTIP</source>
        <translation>Nächster Eintrag</translation>
    </message>
    <message>
        <source>LOADING</source>
        <translation>Das Diagnoseprotokoll wird durchsucht...</translation>
    </message>
</context>
<context>
    <name>SystemInformationsScreen</name>
    <message>
        <source>SYSTEM_INFORMATION_HEADER</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>SYSTEM_INFORMATION_DESCRIPTION</source>
        <translation>Wählen Sie links einen Eintrag, um seine Einzelheiten zu sehen. Exportieren speichert die angezeigten Einzelheiten als HTML-Seite.</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>EXPORT_BUTTON_TOOLTIP</source>
        <translation>Die angezeigten Einzelheiten als HTML-Seite speichern</translation>
    </message>
</context>
<context>
    <name>DevicesScreen</name>
    <message>
        <source>SELECT_ALL</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>SELECT_ALL_TOOLTIP</source>
        <translation>Alle Geräte auswählen oder abwählen</translation>
    </message>
    <message>
        <source>REFRESH_DEVICES_TOOLTIP</source>
        <translation>Erneut nach Geräten suchen</translation>
    </message>
</context>
<context>
    <name>DeviceSelectionEntry</name>
    <message>
        <source>DEVICE_INFORMATION_TOOLTIP</source>
        <translation>Einzelheiten anzeigen</translation>
    </message>
</context>
<context>
    <name>TestsScreen</name>
    <message>
        <source>SELECT_ALL</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>SELECT_ALL_TOOLTIP</source>
        <translation>Alle Tests auswählen oder abwählen</translation>
    </message>
    <message>
        <source>NUMBER_OF_TIMES_TO_RUN</source>
        <translation>Anzahl der Durchläufe:</translation>
    </message>
    <message>
        <source>NO_APPLICABLE_TESTS</source>
        <translation>Keiner der Tests passt zu den gewählten Geräten: Es gibt nichts auszuführen.</translation>
    </message>
</context>
<context>
    <name>ExecutionLogScreen</name>
    <message>
        <source>EXECUTION_LOG</source>
        <translation>Ausführungsprotokoll</translation>
    </message>
</context>
</TS>
