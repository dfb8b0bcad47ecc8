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
    <message>
        <source>Om Ringvakt</source>
        <translation>Über Ringvakt</translation>
    </message>
    <message>
        <source>Ringvakt V%1 (Norsk)</source>
        <translation>Ringvakt V%1 (Deutsch)</translation>
    </message>
    <message>
        <source>Ikke glem å sende feedback.txt !
Norsk oversettelse ved Tornholt,
med takk til alle som har prøvd og rettet.</source>
        <translation>Vergessen Sie nicht, feedback.txt zu senden!
Deutsche Übersetzung von Tornholt,
mit Dank an alle, die getestet und verbessert haben.</translation>
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
        <translation>Keine ISDN-Karte und/oder kein CAPI-2.0-32-Bit-Treiber installiert!</translation>
    </message>
    <message>
        <source>Ringvakt ikke registrert av CAPI!</source>
        <translation>Ringvakt wurde von CAPI nicht registriert!</translation>
    </message>
    <message>
        <source>Ringvakt ikke deregistrert av CAPI !</source>
        <translation>Ringvakt wurde von CAPI nicht abgemeldet!</translation>
    </message>
    <message>
        <source>Ukjent antall ISDN-kort !</source>
        <translation>Unbekannte Anzahl von ISDN-Karten!</translation>
    </message>
    <message>
        <source>Ingen LISTEN_CONF !</source>
        <translation>Kein LISTEN_CONF!</translation>
    </message>
    <message>
        <source>FEIL</source>
        <translation>FEHLER</translation>
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
    <message>
        <source>Dato</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Klokkeslett</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>MSN</source>
        <translation>MSN</translation>
    </message>
    <message>
        <source>Hvem ringte</source>
        <translation>Anrufer</translation>
    </message>
    <message>
        <source>Navn</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Ukjent nummer</source>
        <translation>Unbekannte Nummer</translation>
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
        <translation>Letzte Anrufer</translation>
    </message>
    <message>
        <source>Slett liste</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Telefonbuch</translation>
    </message>
    <message>
        <source>Slett innlegg</source>
        <translation>Eintrag löschen</translation>
    </message>
    <message>
        <source>Eksporter…</source>
        <translation>Exportieren…</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen…</source>
        <translation>Anrufliste exportieren…</translation>
    </message>
    <message>
        <source>Vil du virklig slette dette innlegget?</source>
        <translation>Möchten Sie diesen Eintrag wirklich löschen?</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen</source>
        <translation>Anrufliste exportieren</translation>
    </message>
    <message>
        <source>Samtalelogg.csv</source>
        <translation>Anrufliste.csv</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Samtaleloggen er eksportert til %1.</source>
        <translation>Die Anrufliste wurde nach %1 exportiert.</translation>
    </message>
    <message>
        <source>Telefonsvarer 0:40</source>
        <translation>Anrufbeantworter 0:40</translation>
    </message>
</context>
<context>
    <name>CallPopup</name>
    <message>
        <source>Du blir oppringt av:</source>
        <translation>Sie werden angerufen von:</translation>
    </message>
    <message>
        <source>Navn:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Tlf.Nummer:</source>
        <translation>Telefonnummer:</translation>
    </message>
    <message>
        <source>Ringer til MSN:</source>
        <translation>Angerufene MSN:</translation>
    </message>
    <message>
        <source>-&gt; Katalog</source>
        <translation>-&gt; Telefonbuch</translation>
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
    <message>
        <source>%1
Tlf.Nummer: %2
Ringer til MSN: %3</source>
        <translation>%1
Telefonnummer: %2
Angerufene MSN: %3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ringvakt - Liste over de siste innringerene</source>
        <translation>Ringvakt - Liste der letzten Anrufer</translation>
    </message>
    <message>
        <source>Fil</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Importer kontakter…</source>
        <translation>Kontakte importieren…</translation>
    </message>
    <message>
        <source>Eksporter katalogen…</source>
        <translation>Telefonbuch exportieren…</translation>
    </message>
    <message>
        <source>Eksporter samtaleloggen…</source>
        <translation>Anrufliste exportieren…</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nei</source>
        <translation>Nein</translation>
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
        <translation>Ringvakt - Telefonbucheintrag</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Etternavn:</source>
        <translation>Nachname:</translation>
    </message>
    <message>
        <source>Fornavn:</source>
        <translation>Vorname:</translation>
    </message>
    <message>
        <source>Tlf.Nummer:</source>
        <translation>Telefonnummer:</translation>
    </message>
    <message>
        <source>Personlig melding (f.eks. Navnet):</source>
        <translation>Persönliche Ansage (z. B. der Name):</translation>
    </message>
    <message>
        <source>Spill av</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Ta opp</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Slett lydfilen</source>
        <translation>Tondatei löschen</translation>
    </message>
    <message>
        <source>Tlf.Nummeret kan ikke brukes som navn på en lydfil.</source>
        <translation>Die Telefonnummer kann nicht als Name einer Tondatei verwendet werden.</translation>
    </message>
    <message>
        <source>Vil du virkelig slette denne lydfilen ?</source>
        <translation>Möchten Sie diese Tondatei wirklich löschen?</translation>
    </message>
    <message>
        <source>Feil i Etternavn !</source>
        <translation>Fehler im Nachnamen!</translation>
    </message>
    <message>
        <source>Feil i Tlf.Nummer !</source>
        <translation>Fehler in der Telefonnummer!</translation>
    </message>
    <message>
        <source>Tlf.Nummeret er alerede i katalogen !</source>
        <translation>Die Telefonnummer steht bereits im Telefonbuch!</translation>
    </message>
</context>
<context>
    <name>PhoneBookModel</name>
    <message>
        <source>Etternavn</source>
        <translation>Nachname</translation>
    </message>
    <message>
        <source>Fornavn</source>
        <translation>Vorname</translation>
    </message>
    <message>
        <source>Tlf.nummer</source>
        <translation>Telefonnummer</translation>
    </message>
</context>
<context>
    <name>PhoneBookWindow</name>
    <message>
        <source>Filen finnes ikke.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>Filen kan ikke leses.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Filen er for stor (over 256 MB).</source>
        <translation>Die Datei ist zu groß (über 256 MB).</translation>
    </message>
    <message>
        <source>Filen er tom.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>Filen er ikke en vCard-, CSV- eller ruterkatalogfil.</source>
        <translation>Die Datei ist keine vCard-, CSV- oder Router-Telefonbuchdatei.</translation>
    </message>
    <message>
        <source>Filen slutter midt i et kort: BEGIN:VCARD uten END:VCARD.</source>
        <translation>Die Datei endet mitten in einer Karte: BEGIN:VCARD ohne END:VCARD.</translation>
    </message>
    <message>
        <source>Ruterkatalogen er ikke gyldig XML (linje %1).</source>
        <translation>Das Router-Telefonbuch ist kein gültiges XML (Zeile %1).</translation>
    </message>
    <message>
        <source>Ruterkatalogen har en DTD (&lt;!DOCTYPE&gt;), som ingen ruters eksport har.</source>
        <translation>Das Router-Telefonbuch hat eine DTD (&lt;!DOCTYPE&gt;), die kein Router-Export hat.</translation>
    </message>
    <message>
        <source>CSV-filen har ingen overskriftsrad med kjente kolonner for navn og telefonnummer.</source>
        <translation>Die CSV-Datei hat keine Kopfzeile mit bekannten Spalten für Name und Telefonnummer.</translation>
    </message>
    <message>
        <source>CSV-filen slutter inne i et felt i anførselstegn.</source>
        <translation>Die CSV-Datei endet innerhalb eines Felds in Anführungszeichen.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Katalogen er ikke endret.</source>
        <translation>PhoneBk.dat konnte nicht gelesen werden. Das Telefonbuch wurde nicht geändert.</translation>
    </message>
    <message>
        <source>Katalogen kunne ikke lagres i PhoneBk.dat. Ingen oppføringer er lagt til.</source>
        <translation>Das Telefonbuch konnte nicht in PhoneBk.dat gespeichert werden. Es wurden keine Einträge hinzugefügt.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses.</source>
        <translation>PhoneBk.dat konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>CallID.dat kunne ikke leses.</source>
        <translation>CallID.dat konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 kunne ikke skrives.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message numerus="yes">
        <source>%n ny oppføring</source>
        <translation>
            <numerusform>%n neuer Eintrag</numerusform>
            <numerusform>%n neue Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n nye oppføringer</source>
        <translation>
            <numerusform>%n neuer Eintrag</numerusform>
            <numerusform>%n neue Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fantes fra før</source>
        <translation>
            <numerusform>%n war schon vorhanden</numerusform>
            <numerusform>%n waren schon vorhanden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n uten nummer</source>
        <translation>
            <numerusform>%n ohne Nummer</numerusform>
            <numerusform>%n ohne Nummer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n med tegn som ikke kan lagres</source>
        <translation>
            <numerusform>%n mit Zeichen, die nicht gespeichert werden können</numerusform>
            <numerusform>%n mit Zeichen, die nicht gespeichert werden können</numerusform>
        </translation>
    </message>
    <message>
        <source>Leser kontaktene…</source>
        <translation>Kontakte werden gelesen…</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ser etter nye oppføringer…</source>
        <translation>Neue Einträge werden gesucht…</translation>
    </message>
    <message>
        <source>Eksporter katalogen</source>
        <translation>Telefonbuch exportieren</translation>
    </message>
    <message>
        <source>Katalog.vcf</source>
        <translation>Telefonbuch.vcf</translation>
    </message>
    <message>
        <source>vCard (*.vcf)</source>
        <translation>vCard-Dateien (*.vcf)</translation>
    </message>
    <message>
        <source>Katalogen er eksportert til %1.</source>
        <translation>Das Telefonbuch wurde nach %1 exportiert.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Ingenting er eksportert.</source>
        <translation>PhoneBk.dat konnte nicht gelesen werden. Es wurde nichts exportiert.</translation>
    </message>
    <message>
        <source>Katalogen kunne ikke lagres i PhoneBk.dat. Endringen er ikke gjort.</source>
        <translation>Das Telefonbuch konnte nicht in PhoneBk.dat gespeichert werden. Die Änderung wurde nicht vorgenommen.</translation>
    </message>
    <message>
        <source>PhoneBk.dat kunne ikke leses. Katalogen lagres ikke, så filen ikke blir overskrevet. Endringen er ikke gjort.</source>
        <translation>PhoneBk.dat konnte nicht gelesen werden. Das Telefonbuch wird nicht gespeichert, damit die Datei nicht überschrieben wird. Die Änderung wurde nicht vorgenommen.</translation>
    </message>
    <message>
        <source>Ringvakt - Katalog</source>
        <translation>Ringvakt - Telefonbuch</translation>
    </message>
    <message>
        <source>Endre</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Slett</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Legg til</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Importer kontakter…</source>
        <translation>Kontakte importieren…</translation>
    </message>
    <message>
        <source>Eksporter katalogen…</source>
        <translation>Telefonbuch exportieren…</translation>
    </message>
    <message>
        <source>Slett alt</source>
        <translation>Alle löschen</translation>
    </message>
    <message>
        <source>Importer…</source>
        <translation>Importieren…</translation>
    </message>
    <message>
        <source>Eksporter…</source>
        <translation>Exportieren…</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Katalog</source>
        <translation>Telefonbuch</translation>
    </message>
    <message>
        <source>Vil du virklig slette alle innleggene?</source>
        <translation>Möchten Sie wirklich alle Einträge löschen?</translation>
    </message>
    <message>
        <source>Vil du virklig slette dette innlegget?</source>
        <translation>Möchten Sie diesen Eintrag wirklich löschen?</translation>
    </message>
    <message>
        <source>Importer kontakter</source>
        <translation>Kontakte importieren</translation>
    </message>
    <message>
        <source>Kontakter (*.vcf *.vcard *.xml *.csv *.txt);;Alle filer (*)</source>
        <translation>Kontakte (*.vcf *.vcard *.xml *.csv *.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Kontaktene i %1 kan ikke importeres.
%2</source>
        <translation>Die Kontakte in %1 können nicht importiert werden.
%2</translation>
    </message>
    <message>
        <source>Ingen nye oppføringer å importere (%1).</source>
        <translation>Keine neuen Einträge zu importieren (%1).</translation>
    </message>
    <message>
        <source>Importer</source>
        <translation>Importieren</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>Ringvakt - Lydopptak</source>
        <translation>Ringvakt - Tonaufnahme</translation>
    </message>
    <message>
        <source>Fil: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Ta opp</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Spill av</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Lagre</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Trykk «Ta opp» for å ta opp lyden.</source>
        <translation>Drücken Sie „Aufnehmen“, um den Ton aufzunehmen.</translation>
    </message>
    <message>
        <source>Lyden kan ikke brukes: %1</source>
        <translation>Der Ton kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>Fant ingen mikrofon som kunne åpnes: %1</source>
        <translation>Es konnte kein Mikrofon geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Tar opp ... %1</source>
        <translation>Aufnahme läuft ... %1</translation>
    </message>
    <message>
        <source>Opptak på %1. Trykk «Lagre» for å lagre det.</source>
        <translation>Aufnahme von %1. Drücken Sie „Speichern“, um sie zu speichern.</translation>
    </message>
    <message>
        <source>Avspillingen er stoppet.</source>
        <translation>Die Wiedergabe wurde angehalten.</translation>
    </message>
    <message>
        <source>Kan ikke spille av: %1</source>
        <translation>Wiedergabe nicht möglich: %1</translation>
    </message>
    <message>
        <source>Spiller av ...</source>
        <translation>Wiedergabe läuft ...</translation>
    </message>
    <message>
        <source>Kunne ikke lagre %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Lagret (%1).</source>
        <translation>Gespeichert (%1).</translation>
    </message>
    <message>
        <source>Opptaket stoppet ved %1 minutter. Trykk «Lagre» for å lagre det.</source>
        <translation>Die Aufnahme wurde nach %1 Minuten beendet. Drücken Sie „Speichern“, um sie zu speichern.</translation>
    </message>
    <message>
        <source>Ferdig. Trykk «Lagre» for å lagre opptaket.</source>
        <translation>Fertig. Drücken Sie „Speichern“, um die Aufnahme zu speichern.</translation>
    </message>
    <message>
        <source>Ferdig.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>Opptaket er ikke lagret. Vil du lagre det?</source>
        <translation>Die Aufnahme wurde nicht gespeichert. Möchten Sie sie speichern?</translation>
    </message>
    <message>
        <source>Forkast</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Abbrechen</translation>
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
    <message>
        <source>Message timeout to high !</source>
        <translation>Anzeigedauer der Meldung zu lang!</translation>
    </message>
    <message>
        <source>Vil du virklig slette denne lyd-filen ?</source>
        <translation>Möchten Sie diese Tondatei wirklich löschen?</translation>
    </message>
    <message>
        <source>Ruterens samtalemonitor</source>
        <translation>Anrufmonitor des Routers</translation>
    </message>
    <message>
        <source>Samtalemonitorens port</source>
        <translation>Port des Anrufmonitors</translation>
    </message>
    <message>
        <source>Land for telefonnumre</source>
        <translation>Land der Telefonnummern</translation>
    </message>
    <message>
        <source>Check country !</source>
        <translation>Land prüfen!</translation>
    </message>
    <message>
        <source>Check call monitor host !</source>
        <translation>Host des Anrufmonitors prüfen!</translation>
    </message>
    <message>
        <source>Check call monitor port !</source>
        <translation>Port des Anrufmonitors prüfen!</translation>
    </message>
    <message>
        <source>Check MSN 1 !</source>
        <translation>MSN 1 prüfen!</translation>
    </message>
    <message>
        <source>Check MSN 2 !</source>
        <translation>MSN 2 prüfen!</translation>
    </message>
    <message>
        <source>Check MSN 3 !</source>
        <translation>MSN 3 prüfen!</translation>
    </message>
    <message>
        <source>Vis melding ved Ring</source>
        <translation>Meldung bei Anruf</translation>
    </message>
    <message>
        <source>Alltid</source>
        <translation>Immer</translation>
    </message>
    <message>
        <source>Hvis Innringer ble gjenkjent</source>
        <translation>Wenn der Anrufer erkannt wurde</translation>
    </message>
    <message>
        <source>Aldri</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Lukk meldingen</source>
        <translation>Meldung schließen</translation>
    </message>
    <message>
        <source>Etter (sekunder):</source>
        <translation>Nach (Sekunden):</translation>
    </message>
    <message>
        <source>Gi et PIP ved ring</source>
        <translation>Piepton bei Anruf</translation>
    </message>
    <message>
        <source>Hvis Innringer blir gjenkjent</source>
        <translation>Wenn der Anrufer erkannt wird</translation>
    </message>
    <message>
        <source>Hvis ingen personlig lyd ligger inne</source>
        <translation>Wenn kein persönlicher Ton vorliegt</translation>
    </message>
    <message>
        <source>MSN&apos;er</source>
        <translation>MSNs</translation>
    </message>
    <message>
        <source>Logg alle MSN&apos;er</source>
        <translation>Alle MSNs protokollieren</translation>
    </message>
    <message>
        <source>Logg MSN 1:</source>
        <translation>MSN 1 protokollieren:</translation>
    </message>
    <message>
        <source>Logg MSN 2:</source>
        <translation>MSN 2 protokollieren:</translation>
    </message>
    <message>
        <source>Logg MSN 3:</source>
        <translation>MSN 3 protokollieren:</translation>
    </message>
    <message>
        <source>Personlige Alarmer</source>
        <translation>Persönliche Ansagen</translation>
    </message>
    <message>
        <source>Spill Personlig Alarm</source>
        <translation>Persönliche Ansage abspielen</translation>
    </message>
    <message>
        <source>Spill intro:</source>
        <translation>Intro abspielen:</translation>
    </message>
    <message>
        <source>Spill outro:</source>
        <translation>Outro abspielen:</translation>
    </message>
    <message>
        <source>Linje</source>
        <translation>Leitung</translation>
    </message>
    <message>
        <source>CAPI (ISDN-kort, eller ruter med CAPI over TCP)</source>
        <translation>CAPI (ISDN-Karte oder Router mit CAPI über TCP)</translation>
    </message>
    <message>
        <source>Ruterens samtalemonitor:</source>
        <translation>Anrufmonitor des Routers:</translation>
    </message>
    <message>
        <source>Vis varsel på skrivebordet</source>
        <translation>Benachrichtigung auf dem Desktop anzeigen</translation>
    </message>
    <message>
        <source>Land for telefonnumre:</source>
        <translation>Land der Telefonnummern:</translation>
    </message>
    <message>
        <source>Deling</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Del anrop via MQTT</source>
        <translation>Anrufe über MQTT teilen</translation>
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
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Passord:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Bruk TLS</source>
        <translation>TLS verwenden</translation>
    </message>
    <message>
        <source>CA-fil:</source>
        <translation>CA-Datei:</translation>
    </message>
    <message>
        <source>Emne:</source>
        <translation>Topic:</translation>
    </message>
    <message>
        <source>Meld til hjemmeautomasjon</source>
        <translation>An Hausautomation melden</translation>
    </message>
    <message>
        <source>Anrop fra en annen Ringvakt (MQTT)</source>
        <translation>Anrufe von einem anderen Ringvakt (MQTT)</translation>
    </message>
    <message>
        <source>Bare fra maskin:</source>
        <translation>Nur von Rechner:</translation>
    </message>
    <message>
        <source>Ringvakt Oppsett</source>
        <translation>Ringvakt Einstellungen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Avbryt</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Oppsettet kunne ikke lagres.
Endringene gjelder bare til Ringvakt avsluttes.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.
Die Änderungen gelten nur, bis Ringvakt beendet wird.</translation>
    </message>
    <message>
        <source>Meglerens port</source>
        <translation>Port des Brokers</translation>
    </message>
    <message>
        <source>Velg CA-fil</source>
        <translation>CA-Datei auswählen</translation>
    </message>
    <message>
        <source>Check MQTT broker !</source>
        <translation>MQTT-Broker prüfen!</translation>
    </message>
    <message>
        <source>Check MQTT port !</source>
        <translation>MQTT-Port prüfen!</translation>
    </message>
    <message>
        <source>Check MQTT CA file !</source>
        <translation>MQTT-CA-Datei prüfen!</translation>
    </message>
    <message>
        <source>Check MQTT topic ! It cannot hold # or +, an empty level, or spaces at its ends.</source>
        <translation>MQTT-Topic prüfen! Es darf weder # oder + noch eine leere Ebene oder Leerzeichen an seinen Enden enthalten.</translation>
    </message>
    <message>
        <source>Velg CA-sertifikat</source>
        <translation>CA-Zertifikat auswählen</translation>
    </message>
    <message>
        <source>Sertifikater (*.pem *.crt *.cer);;Alle filer (*)</source>
        <translation>Zertifikate (*.pem *.crt *.cer);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Spill av %1</source>
        <translation>%1 abspielen</translation>
    </message>
    <message>
        <source>Ta opp %1</source>
        <translation>%1 aufnehmen</translation>
    </message>
    <message>
        <source>Slett lydfilen %1</source>
        <translation>Tondatei %1 löschen</translation>
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
    <message>
        <source>samtalemonitor %1:%2</source>
        <translation>Anrufmonitor %1:%2</translation>
    </message>
    <message>
        <source>Samtalemonitoren på %1:%2 svarer ikke.
Den slås på ved å ringe #96*5* fra en telefon som er koblet til ruteren.</source>
        <translation>Der Anrufmonitor auf %1:%2 antwortet nicht.
Sie schalten ihn ein, indem Sie an einem Telefon am Router #96*5* wählen.</translation>
    </message>
    <message>
        <source>Kunne ikke skrive CallID.dat</source>
        <translation>CallID.dat konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Deling: ingen forbindelse med MQTT-megleren %1 siden %2</source>
        <translation>Teilen: keine Verbindung zum MQTT-Broker %1 seit %2</translation>
    </message>
    <message>
        <source>Deling: ingen forbindelse med MQTT-megleren %1</source>
        <translation>Teilen: keine Verbindung zum MQTT-Broker %1</translation>
    </message>
    <message>
        <source>MQTT-megleren %1 slipper ikke Ringvakt inn: %2</source>
        <translation>Der MQTT-Broker %1 lässt Ringvakt nicht zu: %2</translation>
    </message>
    <message>
        <source>Siste Innringere</source>
        <translation>Anrufliste</translation>
    </message>
    <message>
        <source>Katalog</source>
        <translation>Telefonbuch</translation>
    </message>
    <message>
        <source>Oppsett</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Om Ringvakt</source>
        <translation>Über Ringvakt</translation>
    </message>
    <message>
        <source>Avslutt</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Aktiver Ringvakt</source>
        <translation>Ringvakt aktivieren</translation>
    </message>
    <message>
        <source>Slå av Listefunksjon</source>
        <translation>Ansagen ausschalten</translation>
    </message>
    <message>
        <source>Slå av Ringvakt</source>
        <translation>Ringvakt ausschalten</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja siden %1</source>
        <translation>Ringvakt - keine Verbindung zur Leitung seit %1</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja</source>
        <translation>Ringvakt - keine Verbindung zur Leitung</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja (%1) siden %2</source>
        <translation>Ringvakt - keine Verbindung zur Leitung (%1) seit %2</translation>
    </message>
    <message>
        <source>Ringvakt - ingen forbindelse med linja (%1)</source>
        <translation>Ringvakt - keine Verbindung zur Leitung (%1)</translation>
    </message>
</context>
</TS>
