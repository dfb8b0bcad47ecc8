<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="nb_NO">
<context>
    <name>AboutBox</name>
    <message>
        <source>Ringvakt - caller ID for your telephone line
Written by Tornholt</source>
        <translation>Ringvakt - caller ID for your telephone line
Written by Tornholt</translation>
    </message>
    <message>
        <source>Comments and wishes are welcome:
fill in feedback.txt and send it to us.</source>
        <translation>Comments and wishes are welcome:
fill in feedback.txt and send it to us.</translation>
    </message>
</context>
<context>
    <name>CallLogModel</name>
    <message>
        <source>Besvart %1</source>
        <translation>Answered %1</translation>
    </message>
    <message>
        <source>Telefonsvarer %1</source>
        <translation>Answering machine %1</translation>
    </message>
    <message>
        <source>Ubesvart</source>
        <translation>Missed</translation>
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
Phone number: %2</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Phone book</translation>
    </message>
    <message>
        <source>Ubesvart anrop</source>
        <translation>Missed call</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Språk:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Språket endres neste gang Ringvakt startes.</source>
        <translation>The language changes the next time Ringvakt starts.</translation>
    </message>
    <message>
        <source>Automatisk</source>
        <translation>Automatic</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message numerus="yes">
        <source>%n ubesvart anrop (siste: %1 %2)</source>
        <translation>
            <numerusform>%n missed call (last: %1 %2)</numerusform>
            <numerusform>%n missed calls (last: %1 %2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ubesvarte anrop (siste: %1 %2)</source>
        <translation>
            <numerusform>%n missed call (last: %1 %2)</numerusform>
            <numerusform>%n missed calls (last: %1 %2)</numerusform>
        </translation>
    </message>
</context>
</TS>
