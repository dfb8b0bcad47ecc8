<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="nb_NO">
<context>
    <name>AboutBox</name>
    <message>
        <source>Ringvakt - caller ID for your telephone line
Written by Tornholt</source>
        <translation>Ringvakt - Anruferkennung für Ihre Telefonleitung
Geschrieben von Tornholt</translation>
    </message>
    <message>
        <source>Comments and wishes are welcome:
fill in feedback.txt and send it to us.</source>
        <translation>Kommentare und Wünsche sind willkommen:
füllen Sie feedback.txt aus und senden Sie sie uns.</translation>
    </message>
</context>
<context>
    <name>CallLogModel</name>
    <message>
        <source>Besvart %1</source>
        <translation>Angenommen %1</translation>
    </message>
    <message>
        <source>Telefonsvarer %1</source>
        <translation>Anrufbeantworter %1</translation>
    </message>
    <message>
        <source>Ubesvart</source>
        <translation>Verpasst</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>%1
Tlf.Nummer: %2</source>
        <translation>%1
Telefonnummer: %2</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Telefonbuch</translation>
    </message>
    <message>
        <source>Ubesvart anrop</source>
        <translation>Verpasster Anruf</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Språk:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Språket endres neste gang Ringvakt startes.</source>
        <translation>Die Sprache ändert sich beim nächsten Start von Ringvakt.</translation>
    </message>
    <message>
        <source>Automatisk</source>
        <translation>Automatisch</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message numerus="yes">
        <source>%n ubesvart anrop (siste: %1 %2)</source>
        <translation>
            <numerusform>%n verpasster Anruf (zuletzt: %1 %2)</numerusform>
            <numerusform>%n verpasste Anrufe (zuletzt: %1 %2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ubesvarte anrop (siste: %1 %2)</source>
        <translation>
            <numerusform>%n verpasster Anruf (zuletzt: %1 %2)</numerusform>
            <numerusform>%n verpasste Anrufe (zuletzt: %1 %2)</numerusform>
        </translation>
    </message>
</context>
</TS>
