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
    <message>
        <source>Om Ringvakt</source>
        <translation>About Ringvakt</translation>
    </message>
    <message>
        <source>Ringvakt V%1 (Norsk)</source>
        <translation>Ringvakt V%1 (English)</translation>
    </message>
    <message>
        <source>Ikke glem å sende feedback.txt !
Norsk oversettelse ved Tornholt,
med takk til alle som har prøvd og rettet.</source>
        <translation>Don&apos;t forget to send feedback.txt!
English translation by Tornholt,
with thanks to everyone who tried it and put it right.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Ingen ISDN kort og/eller CAPI 2.0 32-bit driver installert !</source>
        <translation>No ISDN card and/or CAPI 2.0 32-bit driver installed!</translation>
    </message>
    <message>
        <source>Ringvakt ikke registrert av CAPI!</source>
        <translation>Ringvakt was not registered by CAPI!</translation>
    </message>
    <message>
        <source>Ringvakt ikke deregistrert av CAPI !</source>
        <translation>Ringvakt was not deregistered by CAPI!</translation>
    </message>
    <message>
        <source>Ukjent antall ISDN-kort !</source>
        <translation>Unknown number of ISDN cards!</translation>
    </message>
    <message>
        <source>Ingen LISTEN_CONF !</source>
        <translation>No LISTEN_CONF!</translation>
    </message>
    <message>
        <source>FEIL</source>
        <translation>ERROR</translation>
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
    <message>
        <source>Dato</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Klokkeslett</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>MSN</source>
        <translation>MSN</translation>
    </message>
    <message>
        <source>Hvem ringte</source>
        <translation>Caller</translation>
    </message>
    <message>
        <source>Navn</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Ukjent nummer</source>
        <translation>Unknown number</translation>
    </message>
    <message>
        <source>???</source>
        <translation>???</translation>
    </message>
</context>
<context>
    <name>CallLogWindow</name>
    <message>
        <source>Siste innringere</source>
        <translation>Recent callers</translation>
    </message>
    <message>
        <source>Slett liste</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Phone book</translation>
    </message>
    <message>
        <source>Slett innlegg</source>
        <translation>Delete entry</translation>
    </message>
    <message>
        <source>Eksporter…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen…</source>
        <translation>Export call log…</translation>
    </message>
    <message>
        <source>Vil du virklig slette dette innlegget?</source>
        <translation>Do you really want to delete this entry?</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen</source>
        <translation>Export call log</translation>
    </message>
    <message>
        <source>Samtalelogg.csv</source>
        <translation>CallLog.csv</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Samtaleloggen er eksportert til %1.</source>
        <translation>The call log has been exported to %1.</translation>
    </message>
    <message>
        <source>Telefonsvarer 0:40</source>
        <translation>Answering machine 0:40</translation>
    </message>
</context>
<context>
    <name>CallPopup</name>
    <message>
        <source>Du blir oppringt av:</source>
        <translation>You are being called by:</translation>
    </message>
    <message>
        <source>Navn:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Tlf.Nummer:</source>
        <translation>Phone number:</translation>
    </message>
    <message>
        <source>Ringer til MSN:</source>
        <translation>Called MSN:</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Phone book</translation>
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
    <message>
        <source>%1
Tlf.Nummer: %2
Ringer til MSN: %3</source>
        <translation>%1
Phone number: %2
Called MSN: %3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ringvakt - Liste over de siste innringerene</source>
        <translation>Ringvakt - List of recent callers</translation>
    </message>
    <message>
        <source>Fil</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Importer kontakter…</source>
        <translation>Import contacts…</translation>
    </message>
    <message>
        <source>Eksporter katalogen…</source>
        <translation>Export phone book…</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen…</source>
        <translation>Export call log…</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nei</source>
        <translation>No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PhoneBookEditor</name>
    <message>
        <source>Ringvakt - Katalog innlegg</source>
        <translation>Ringvakt - Phone book entry</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Etternavn:</source>
        <translation>Surname:</translation>
    </message>
    <message>
        <source>Fornavn:</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>Tlf.Nummer:</source>
        <translation>Phone number:</translation>
    </message>
    <message>
        <source>Personlig melding (f.eks. Navnet):</source>
        <translation>Personal message (e.g. the name):</translation>
    </message>
    <message>
        <source>Spill av</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Ta opp</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Slett lydfilen</source>
        <translation>Delete the sound file</translation>
    </message>
    <message>
        <source>Tlf.Nummeret kan ikke brukes som navn på en lydfil.</source>
        <translation>The phone number cannot be used as the name of a sound file.</translation>
    </message>
    <message>
        <source>Vil du virkelig slette denne lydfilen ?</source>
        <translation>Do you really want to delete this sound file?</translation>
    </message>
    <message>
        <source>Feil i Etternavn !</source>
        <translation>Error in the surname!</translation>
    </message>
    <message>
        <source>Feil i Tlf.Nummer !</source>
        <translation>Error in the phone number!</translation>
    </message>
    <message>
        <source>Tlf.Nummeret er alerede i katalogen !</source>
        <translation>The phone number is already in the phone book!</translation>
    </message>
</context>
<context>
    <name>PhoneBookModel</name>
    <message>
        <source>Etternavn</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Fornavn</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Tlf.nummer</source>
        <translation>Phone number</translation>
    </message>
</context>
<context>
    <name>PhoneBookWindow</name>
    <message>
        <source>Filen finnes ikke.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>Filen kan ikke leses.</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>Filen er for stor (over 256 MB).</source>
        <translation>The file is too large (over 256 MB).</translation>
    </message>
    <message>
        <source>Filen er tom.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>Filen er ikke en vCard-, CSV- eller ruterkatalogfil.</source>
        <translation>The file is not a vCard, CSV or router phone book file.</translation>
    </message>
    <message>
        <source>Filen slutter midt i et kort: BEGIN:VCARD uten END:VCARD.</source>
        <translation>The file ends in the middle of a card: BEGIN:VCARD without END:VCARD.</translation>
    </message>
    <message>
        <source>Ruterkatalogen er ikke gyldig XML (linje %1).</source>
        <translation>The router phone book is not valid XML (line %1).</translation>
    </message>
    <message>
        <source>Ruterkatalogen har en DTD (&lt;!DOCTYPE&gt;), som ingen ruters eksport har.</source>
        <translation>The router phone book has a DTD (&lt;!DOCTYPE&gt;), which no router&apos;s export has.</translation>
    </message>
    <message>
        <source>CSV-filen har ingen overskriftsrad med kjente kolonner for navn og telefonnummer.</source>
        <translation>The CSV file has no header row with known columns for the name and the phone number.</translation>
    </message>
    <message>
        <source>CSV-filen slutter inne i et felt i anførselstegn.</source>
        <translation>The CSV file ends inside a quoted field.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Katalogen er ikke endret.</source>
        <translation>PhoneBk.dat could not be read. The phone book has not been changed.</translation>
    </message>
    <message>
        <source>Katalogen kunne ikke lagres i PhoneBk.dat. Ingen oppføringer er lagt til.</source>
        <translation>The phone book could not be saved in PhoneBk.dat. No entries have been added.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses.</source>
        <translation>PhoneBk.dat could not be read.</translation>
    </message>
    <message>
        <source>CallID.dat kunne ikke leses.</source>
        <translation>CallID.dat could not be read.</translation>
    </message>
    <message>
        <source>%1 kunne ikke skrives.</source>
        <translation>%1 could not be written.</translation>
    </message>
    <message numerus="yes">
        <source>%n ny oppføring</source>
        <translation>
            <numerusform>%n new entry</numerusform>
            <numerusform>%n new entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n nye oppføringer</source>
        <translation>
            <numerusform>%n new entry</numerusform>
            <numerusform>%n new entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fantes fra før</source>
        <translation>
            <numerusform>%n was already there</numerusform>
            <numerusform>%n were already there</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n uten nummer</source>
        <translation>
            <numerusform>%n without a number</numerusform>
            <numerusform>%n without a number</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n med tegn som ikke kan lagres</source>
        <translation>
            <numerusform>%n with characters that cannot be stored</numerusform>
            <numerusform>%n with characters that cannot be stored</numerusform>
        </translation>
    </message>
    <message>
        <source>Leser kontaktene…</source>
        <translation>Reading the contacts…</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ser etter nye oppføringer…</source>
        <translation>Looking for new entries…</translation>
    </message>
    <message>
        <source>Eksporter katalogen</source>
        <translation>Export phone book</translation>
    </message>
    <message>
        <source>Katalog.vcf</source>
        <translation>PhoneBook.vcf</translation>
    </message>
    <message>
        <source>vCard (*.vcf)</source>
        <translation>vCard (*.vcf)</translation>
    </message>
    <message>
        <source>Katalogen er eksportert til %1.</source>
        <translation>The phone book has been exported to %1.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Ingenting er eksportert.</source>
        <translation>PhoneBk.dat could not be read. Nothing has been exported.</translation>
    </message>
    <message>
        <source>Katalogen kunne ikke lagres i PhoneBk.dat. Endringen er ikke gjort.</source>
        <translation>The phone book could not be saved in PhoneBk.dat. The change has not been made.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Katalogen lagres ikke, så filen ikke blir overskrevet. Endringen er ikke gjort.</source>
        <translation>PhoneBk.dat could not be read. The phone book is not saved, so that the file is not overwritten. The change has not been made.</translation>
    </message>
    <message>
        <source>Ringvakt - Katalog</source>
        <translation>Ringvakt - Phone book</translation>
    </message>
    <message>
        <source>Endre</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Slett</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Legg til</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Importer kontakter…</source>
        <translation>Import contacts…</translation>
    </message>
    <message>
        <source>Eksporter katalogen…</source>
        <translation>Export phone book…</translation>
    </message>
    <message>
        <source>Slett alt</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>Importer…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>Eksporter…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Katalog</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>Vil du virklig slette alle innleggene?</source>
        <translation>Do you really want to delete all entries?</translation>
    </message>
    <message>
        <source>Vil du virklig slette dette innlegget?</source>
        <translation>Do you really want to delete this entry?</translation>
    </message>
    <message>
        <source>Importer kontakter</source>
        <translation>Import contacts</translation>
    </message>
    <message>
        <source>Kontakter (*.vcf *.vcard *.xml *.csv *.txt);;Alle filer (*)</source>
        <translation>Contacts (*.vcf *.vcard *.xml *.csv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Kontaktene i %1 kan ikke importeres.
%2</source>
        <translation>The contacts in %1 cannot be imported.
%2</translation>
    </message>
    <message>
        <source>Ingen nye oppføringer å importere (%1).</source>
        <translation>No new entries to import (%1).</translation>
    </message>
    <message>
        <source>Importer</source>
        <translation>Import</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>Ringvakt - Lydopptak</source>
        <translation>Ringvakt - Sound recording</translation>
    </message>
    <message>
        <source>Fil: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Ta opp</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Spill av</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Lagre</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Trykk «Ta opp» for å ta opp lyden.</source>
        <translation>Press “Record” to record the sound.</translation>
    </message>
    <message>
        <source>Lyden kan ikke brukes: %1</source>
        <translation>The sound cannot be used: %1</translation>
    </message>
    <message>
        <source>Fant ingen mikrofon som kunne åpnes: %1</source>
        <translation>No microphone could be opened: %1</translation>
    </message>
    <message>
        <source>Tar opp ... %1</source>
        <translation>Recording ... %1</translation>
    </message>
    <message>
        <source>Opptak på %1. Trykk «Lagre» for å lagre det.</source>
        <translation>A recording of %1. Press “Save” to save it.</translation>
    </message>
    <message>
        <source>Avspillingen er stoppet.</source>
        <translation>Playback has stopped.</translation>
    </message>
    <message>
        <source>Kan ikke spille av: %1</source>
        <translation>Cannot play: %1</translation>
    </message>
    <message>
        <source>Spiller av ...</source>
        <translation>Playing ...</translation>
    </message>
    <message>
        <source>Kunne ikke lagre %1: %2</source>
        <translation>Could not save %1: %2</translation>
    </message>
    <message>
        <source>Lagret (%1).</source>
        <translation>Saved (%1).</translation>
    </message>
    <message>
        <source>Opptaket stoppet ved %1 minutter. Trykk «Lagre» for å lagre det.</source>
        <translation>The recording stopped at %1 minutes. Press “Save” to save it.</translation>
    </message>
    <message>
        <source>Ferdig. Trykk «Lagre» for å lagre opptaket.</source>
        <translation>Done. Press “Save” to save the recording.</translation>
    </message>
    <message>
        <source>Ferdig.</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>Opptaket er ikke lagret. Vil du lagre det?</source>
        <translation>The recording has not been saved. Do you want to save it?</translation>
    </message>
    <message>
        <source>Forkast</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Cancel</translation>
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
    <message>
        <source>Message timeout to high !</source>
        <translation>Message timeout too high!</translation>
    </message>
    <message>
        <source>Vil du virklig slette denne lyd-filen ?</source>
        <translation>Do you really want to delete this sound file?</translation>
    </message>
    <message>
        <source>Ruterens samtalemonitor</source>
        <translation>Router&apos;s call monitor</translation>
    </message>
    <message>
        <source>Samtalemonitorens port</source>
        <translation>Call monitor port</translation>
    </message>
    <message>
        <source>Land for telefonnumre</source>
        <translation>Country of phone numbers</translation>
    </message>
    <message>
        <source>Check country !</source>
        <translation>Check the country!</translation>
    </message>
    <message>
        <source>Check call monitor host !</source>
        <translation>Check the call monitor host!</translation>
    </message>
    <message>
        <source>Check call monitor port !</source>
        <translation>Check the call monitor port!</translation>
    </message>
    <message>
        <source>Check MSN 1 !</source>
        <translation>Check MSN 1!</translation>
    </message>
    <message>
        <source>Check MSN 2 !</source>
        <translation>Check MSN 2!</translation>
    </message>
    <message>
        <source>Check MSN 3 !</source>
        <translation>Check MSN 3!</translation>
    </message>
    <message>
        <source>Vis melding ved Ring</source>
        <translation>Show message on ring</translation>
    </message>
    <message>
        <source>Alltid</source>
        <translation>Always</translation>
    </message>
    <message>
        <source>Hvis Innringer ble gjenkjent</source>
        <translation>If the caller was recognised</translation>
    </message>
    <message>
        <source>Aldri</source>
        <translation>Never</translation>
    </message>
    <message>
        <source>Lukk meldingen</source>
        <translation>Close the message</translation>
    </message>
    <message>
        <source>Etter (sekunder):</source>
        <translation>After (seconds):</translation>
    </message>
    <message>
        <source>Gi et PIP ved ring</source>
        <translation>Beep on ring</translation>
    </message>
    <message>
        <source>Hvis Innringer blir gjenkjent</source>
        <translation>If the caller is recognised</translation>
    </message>
    <message>
        <source>Hvis ingen personlig lyd ligger inne</source>
        <translation>If no personal sound is there</translation>
    </message>
    <message>
        <source>MSN&apos;er</source>
        <translation>MSNs</translation>
    </message>
    <message>
        <source>Logg alle MSN&apos;er</source>
        <translation>Log all MSNs</translation>
    </message>
    <message>
        <source>Logg MSN 1:</source>
        <translation>Log MSN 1:</translation>
    </message>
    <message>
        <source>Logg MSN 2:</source>
        <translation>Log MSN 2:</translation>
    </message>
    <message>
        <source>Logg MSN 3:</source>
        <translation>Log MSN 3:</translation>
    </message>
    <message>
        <source>Personlige Alarmer</source>
        <translation>Personal sounds</translation>
    </message>
    <message>
        <source>Spill Personlig Alarm</source>
        <translation>Play personal sound</translation>
    </message>
    <message>
        <source>Spill intro:</source>
        <translation>Play intro:</translation>
    </message>
    <message>
        <source>Spill outro:</source>
        <translation>Play outro:</translation>
    </message>
    <message>
        <source>Linje</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>CAPI (ISDN-kort, eller ruter med CAPI over TCP)</source>
        <translation>CAPI (ISDN card, or router with CAPI over TCP)</translation>
    </message>
    <message>
        <source>Ruterens samtalemonitor:</source>
        <translation>Router&apos;s call monitor:</translation>
    </message>
    <message>
        <source>Vis varsel på skrivebordet</source>
        <translation>Show a desktop notification</translation>
    </message>
    <message>
        <source>Land for telefonnumre:</source>
        <translation>Country of phone numbers:</translation>
    </message>
    <message>
        <source>Deling</source>
        <translation>Sharing</translation>
    </message>
    <message>
        <source>Del anrop via MQTT</source>
        <translation>Share calls over MQTT</translation>
    </message>
    <message>
        <source>Megler:</source>
        <translation>Broker:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Bruker:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Passord:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Bruk TLS</source>
        <translation>Use TLS</translation>
    </message>
    <message>
        <source>CA-fil:</source>
        <translation>CA file:</translation>
    </message>
    <message>
        <source>Emne:</source>
        <translation>Topic:</translation>
    </message>
    <message>
        <source>Meld til hjemmeautomasjon</source>
        <translation>Tell home automation</translation>
    </message>
    <message>
        <source>Anrop fra en annen Ringvakt (MQTT)</source>
        <translation>Calls from another Ringvakt (MQTT)</translation>
    </message>
    <message>
        <source>Bare fra maskin:</source>
        <translation>Only from host:</translation>
    </message>
    <message>
        <source>Ringvakt Oppsett</source>
        <translation>Ringvakt Settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Oppsettet kunne ikke lagres.
Endringene gjelder bare til Ringvakt avsluttes.</source>
        <translation>The settings could not be saved.
The changes hold only until Ringvakt ends.</translation>
    </message>
    <message>
        <source>Meglerens port</source>
        <translation>Broker port</translation>
    </message>
    <message>
        <source>Velg CA-fil</source>
        <translation>Choose CA file</translation>
    </message>
    <message>
        <source>Check MQTT broker !</source>
        <translation>Check the MQTT broker!</translation>
    </message>
    <message>
        <source>Check MQTT port !</source>
        <translation>Check the MQTT port!</translation>
    </message>
    <message>
        <source>Check MQTT CA file !</source>
        <translation>Check the MQTT CA file!</translation>
    </message>
    <message>
        <source>Check MQTT topic ! It cannot hold # or +, an empty level, or spaces at its ends.</source>
        <translation>Check the MQTT topic! It cannot hold # or +, an empty level, or spaces at its ends.</translation>
    </message>
    <message>
        <source>Velg CA-sertifikat</source>
        <translation>Choose CA certificate</translation>
    </message>
    <message>
        <source>Sertifikater (*.pem *.crt *.cer);;Alle filer (*)</source>
        <translation>Certificates (*.pem *.crt *.cer);;All files (*)</translation>
    </message>
    <message>
        <source>Spill av %1</source>
        <translation>Play %1</translation>
    </message>
    <message>
        <source>Ta opp %1</source>
        <translation>Record %1</translation>
    </message>
    <message>
        <source>Slett lydfilen %1</source>
        <translation>Delete the sound file %1</translation>
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
    <message>
        <source>samtalemonitor %1:%2</source>
        <translation>call monitor %1:%2</translation>
    </message>
    <message>
        <source>Samtalemonitoren på %1:%2 svarer ikke.
Den slås på ved å ringe #96*5* fra en telefon som er koblet til ruteren.</source>
        <translation>The call monitor at %1:%2 does not answer.
Switch it on by dialling #96*5* on a telephone connected to the router.</translation>
    </message>
    <message>
        <source>Kunne ikke skrive CallID.dat</source>
        <translation>Could not write CallID.dat</translation>
    </message>
    <message>
        <source>Deling: ingen forbindelse med MQTT-megleren %1 siden %2</source>
        <translation>Sharing: no connection to the MQTT broker %1 since %2</translation>
    </message>
    <message>
        <source>Deling: ingen forbindelse med MQTT-megleren %1</source>
        <translation>Sharing: no connection to the MQTT broker %1</translation>
    </message>
    <message>
        <source>MQTT-megleren %1 slipper ikke Ringvakt inn: %2</source>
        <translation>The MQTT broker %1 does not let Ringvakt in: %2</translation>
    </message>
    <message>
        <source>Siste Innringere</source>
        <translation>Recent Callers</translation>
    </message>
    <message>
        <source>Katalog</source>
        <translation>Phone Book</translation>
    </message>
    <message>
        <source>Oppsett</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Om Ringvakt</source>
        <translation>About Ringvakt</translation>
    </message>
    <message>
        <source>Avslutt</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Aktiver Ringvakt</source>
        <translation>Enable Ringvakt</translation>
    </message>
    <message>
        <source>Slå av Listefunksjon</source>
        <translation>Disable Announcements</translation>
    </message>
    <message>
        <source>Slå av Ringvakt</source>
        <translation>Disable Ringvakt</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja siden %1</source>
        <translation>Ringvakt - no connection to the line since %1</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja</source>
        <translation>Ringvakt - no connection to the line</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja (%1) siden %2</source>
        <translation>Ringvakt - no connection to the line (%1) since %2</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja (%1)</source>
        <translation>Ringvakt - no connection to the line (%1)</translation>
    </message>
</context>
</TS>
