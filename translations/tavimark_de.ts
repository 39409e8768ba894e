<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>the printer&apos;s answer did not come in time</source>
        <translation>die Antwort des Druckers kam nicht rechtzeitig</translation>
    </message>
    <message>
        <source>not sent: the journal could not be written</source>
        <translation>nicht gesendet: das Protokoll konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>not sent: the printer stopped taking jobs</source>
        <translation>nicht gesendet: der Drucker nahm keine Aufträge mehr an</translation>
    </message>
    <message>
        <source>its job was going out when the run stopped</source>
        <translation>sein Auftrag wurde gerade gesendet, als der Lauf endete</translation>
    </message>
    <message>
        <source>the address holds a NUL character, which no document&apos;s address can</source>
        <translation>die Adresse enthält ein NUL-Zeichen, das keine Dokumentadresse enthalten kann</translation>
    </message>
    <message>
        <source>not a valid address</source>
        <translation>keine gültige Adresse</translation>
    </message>
    <message>
        <source>the address is too long to load</source>
        <translation>die Adresse ist zu lang zum Laden</translation>
    </message>
    <message>
        <source>the address holds a NUL character (%00), which no document&apos;s address can</source>
        <translation>die Adresse enthält ein NUL-Zeichen (%00), das keine Dokumentadresse enthalten kann</translation>
    </message>
    <message>
        <source>not a document address</source>
        <translation>keine Dokumentadresse</translation>
    </message>
    <message>
        <source>the server asks for a password</source>
        <translation>der Server verlangt ein Passwort</translation>
    </message>
    <message>
        <source>not a page that can be printed</source>
        <translation>keine Seite, die gedruckt werden kann</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the connection was refused</source>
        <translation>die Verbindung wurde abgelehnt</translation>
    </message>
    <message>
        <source>unknown host</source>
        <translation>unbekannter Host</translation>
    </message>
    <message>
        <source>browsers refuse that port</source>
        <translation>Browser lehnen diesen Port ab</translation>
    </message>
    <message>
        <source>the server answered with HTTP status %1</source>
        <translation>der Server antwortete mit HTTP-Status %1</translation>
    </message>
    <message>
        <source>the site&apos;s certificate is not trusted</source>
        <translation>dem Zertifikat der Website wird nicht vertraut</translation>
    </message>
    <message>
        <source>it could not be loaded</source>
        <translation>es konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>it could not be loaded (%1)</source>
        <translation>es konnte nicht geladen werden (%1)</translation>
    </message>
    <message>
        <source>the browser engine failed</source>
        <translation>das Browser-Modul ist ausgefallen</translation>
    </message>
    <message>
        <source>the print system did not answer</source>
        <translation>das Drucksystem hat nicht geantwortet</translation>
    </message>
    <message>
        <source>the print system&apos;s answer could not be read (%1)</source>
        <translation>die Antwort des Drucksystems konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>the address offered a file to download, not a page</source>
        <translation>die Adresse bot eine Datei zum Herunterladen an, keine Seite</translation>
    </message>
    <message>
        <source>the page was still busy after %1 s and stopped answering</source>
        <translation>die Seite war nach %1 s noch beschäftigt und antwortete nicht mehr</translation>
    </message>
    <message>
        <source>a folder, not a document</source>
        <translation>ein Ordner, kein Dokument</translation>
    </message>
    <message>
        <source>loading was stopped</source>
        <translation>das Laden wurde abgebrochen</translation>
    </message>
    <message>
        <source>preparing it for the printer took too long</source>
        <translation>die Vorbereitung für den Drucker dauerte zu lange</translation>
    </message>
    <message>
        <source>nothing of it arrived within %1 s</source>
        <translation>nichts davon kam innerhalb von %1 s an</translation>
    </message>
    <message>
        <source>still loading after %1 s</source>
        <translation>lud nach %1 s noch</translation>
    </message>
    <message>
        <source>the page could not be rendered for printing</source>
        <translation>die Seite konnte nicht für den Druck aufbereitet werden</translation>
    </message>
    <message>
        <source>the page&apos;s renderer crashed</source>
        <translation>der Renderer der Seite ist abgestürzt</translation>
    </message>
    <message>
        <source>its web fonts had not arrived</source>
        <translation>seine Webschriften waren noch nicht angekommen</translation>
    </message>
    <message>
        <source>1 request still open</source>
        <translation>1 Anfrage noch offen</translation>
    </message>
    <message>
        <source>%1 requests still open</source>
        <translation>%1 Anfragen noch offen</translation>
    </message>
    <message>
        <source>its timers had not run yet</source>
        <translation>seine Zeitgeber waren noch nicht abgelaufen</translation>
    </message>
    <message>
        <source>the page kept changing</source>
        <translation>die Seite änderte sich ständig</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <source>the printer is stopped</source>
        <translation>der Drucker ist angehalten</translation>
    </message>
    <message>
        <source>held until someone releases it</source>
        <translation>angehalten, bis jemand ihn freigibt</translation>
    </message>
    <message>
        <source>canceled by its owner</source>
        <translation>von seinem Eigentümer abgebrochen</translation>
    </message>
    <message>
        <source>canceled by the printer&apos;s operator</source>
        <translation>vom Bediener des Druckers abgebrochen</translation>
    </message>
    <message>
        <source>canceled at the printer</source>
        <translation>am Drucker abgebrochen</translation>
    </message>
    <message>
        <source>the print system gave it up</source>
        <translation>das Drucksystem hat ihn aufgegeben</translation>
    </message>
    <message>
        <source>the printer could not read it</source>
        <translation>der Drucker konnte ihn nicht lesen</translation>
    </message>
    <message>
        <source>the print system no longer knows the job</source>
        <translation>das Drucksystem kennt den Auftrag nicht mehr</translation>
    </message>
    <message>
        <source>the printer stopped it</source>
        <translation>der Drucker hat ihn angehalten</translation>
    </message>
    <message>
        <source>the printer is stopped: %1</source>
        <translation>der Drucker ist angehalten: %1</translation>
    </message>
    <message>
        <source>no answer came in time</source>
        <translation>es kam keine Antwort rechtzeitig</translation>
    </message>
    <message>
        <source>the print system asks for a password</source>
        <translation>das Drucksystem verlangt ein Passwort</translation>
    </message>
    <message>
        <source>no printer was chosen</source>
        <translation>es wurde kein Drucker gewählt</translation>
    </message>
    <message>
        <source>the print system cannot be reached</source>
        <translation>das Drucksystem ist nicht erreichbar</translation>
    </message>
    <message>
        <source>the answer was malformed</source>
        <translation>die Antwort war fehlerhaft</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>die Verbindung wurde geschlossen</translation>
    </message>
    <message>
        <source>the folder does not take its file name (%1)</source>
        <translation>der Ordner nimmt seinen Dateinamen nicht an (%1)</translation>
    </message>
    <message>
        <source>no free file name was left for it</source>
        <translation>es war kein freier Dateiname mehr übrig</translation>
    </message>
    <message>
        <source>its pages could not be read back</source>
        <translation>seine Seiten konnten nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>the printer did not take it</source>
        <translation>der Drucker hat ihn nicht angenommen</translation>
    </message>
    <message>
        <source>printing was abandoned</source>
        <translation>das Drucken wurde aufgegeben</translation>
    </message>
    <message>
        <source>the print system no longer answers</source>
        <translation>das Drucksystem antwortet nicht mehr</translation>
    </message>
    <message>
        <source>no page of it is in the range %1</source>
        <translation>keine seiner Seiten liegt im Bereich %1</translation>
    </message>
    <message>
        <source>its PDF could not be read</source>
        <translation>sein PDF konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the printer refused it: %1</source>
        <translation>der Drucker hat ihn abgelehnt: %1</translation>
    </message>
    <message>
        <source>not sent: %1</source>
        <translation>nicht gesendet: %1</translation>
    </message>
    <message>
        <source>not sent: the printer stopped taking jobs (%1)</source>
        <translation>nicht gesendet: der Drucker nahm keine Aufträge mehr an (%1)</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>angehalten</translation>
    </message>
    <message>
        <source>the element &quot;%1&quot; never appeared</source>
        <translation>das Element „%1“ erschien nie</translation>
    </message>
    <message>
        <source>the page never said it was ready</source>
        <translation>die Seite meldete nie, dass sie fertig war</translation>
    </message>
    <message>
        <source>ended at %1</source>
        <translation>endete bei %1</translation>
    </message>
    <message>
        <source>sign-in refused</source>
        <translation>Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>the combined job failed: %1</source>
        <translation>der gemeinsame Auftrag schlug fehl: %1</translation>
    </message>
    <message>
        <source>every name for it is taken</source>
        <translation>jeder Name dafür ist vergeben</translation>
    </message>
    <message>
        <source>the combined document could not be written</source>
        <translation>das gemeinsame Dokument konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the combined document could not be read</source>
        <translation>das gemeinsame Dokument konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>it could not be added to the combined document</source>
        <translation>es konnte dem gemeinsamen Dokument nicht hinzugefügt werden</translation>
    </message>
</context>
<context>
    <name>SignIn</name>
    <message>
        <source>the netrc file %1 can be read by other users; make it private with chmod 600</source>
        <translation>die netrc-Datei %1 ist für andere Benutzer lesbar; mit chmod 600 privat machen</translation>
    </message>
    <message>
        <source>the profile folder %1 cannot be made</source>
        <translation>der Profilordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>the cookies file %1 is not a regular file</source>
        <translation>die Cookie-Datei %1 ist keine normale Datei</translation>
    </message>
    <message>
        <source>the cookies file %1 cannot be read: %2</source>
        <translation>die Cookie-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the cookies file %1 is too large to be a cookies file</source>
        <translation>die Cookie-Datei %1 ist zu groß für eine Cookie-Datei</translation>
    </message>
    <message>
        <source>line %1 of the cookies file %2 is too long to be a cookie</source>
        <translation>Zeile %1 der Cookie-Datei %2 ist zu lang für ein Cookie</translation>
    </message>
    <message>
        <source>line %1 of the cookies file %2 is not a cookie</source>
        <translation>Zeile %1 der Cookie-Datei %2 ist kein Cookie</translation>
    </message>
    <message>
        <source>the netrc file %1 is not a regular file</source>
        <translation>die netrc-Datei %1 ist keine normale Datei</translation>
    </message>
    <message>
        <source>the netrc file %1 cannot be read: %2</source>
        <translation>die netrc-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the netrc file %1 is too large to be a netrc file</source>
        <translation>die netrc-Datei %1 ist zu groß für eine netrc-Datei</translation>
    </message>
    <message>
        <source>the netrc file %1 is not text</source>
        <translation>die netrc-Datei %1 ist kein Text</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 holds a word netrc files do not know</source>
        <translation>Zeile %1 der netrc-Datei %2 enthält ein Wort, das netrc-Dateien nicht kennen</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 names no value after a keyword</source>
        <translation>Zeile %1 der netrc-Datei %2 nennt keinen Wert nach einem Schlüsselwort</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 names a login or password before any machine</source>
        <translation>Zeile %1 der netrc-Datei %2 nennt einen Benutzernamen oder ein Passwort vor jedem „machine“</translation>
    </message>
    <message>
        <source>--header wants &quot;Name: value&quot;</source>
        <translation>--header erwartet „Name: Wert“</translation>
    </message>
    <message>
        <source>--header wants a header name of letters, digits and -, not %1</source>
        <translation>--header erwartet einen Kopfzeilennamen aus Buchstaben, Ziffern und -, nicht %1</translation>
    </message>
    <message>
        <source>--header cannot set %1: the browser engine sets it for each connection</source>
        <translation>--header kann %1 nicht setzen: der Browser setzt es für jede Verbindung</translation>
    </message>
    <message>
        <source>--header %1 wants a value of printable ASCII on one line</source>
        <translation>--header %1 erwartet einen Wert aus druckbarem ASCII in einer Zeile</translation>
    </message>
</context>
<context>
    <name>SignInWindow</name>
    <message>
        <source>Sign in to %1</source>
        <translation>Bei %1 anmelden</translation>
    </message>
    <message>
        <source>%1 asks for a user name and password.</source>
        <translation>%1 fragt nach Benutzername und Passwort.</translation>
    </message>
    <message>
        <source>%1 asks for a user name and password for &quot;%2&quot;.</source>
        <translation>%1 fragt nach Benutzername und Passwort für „%2“.</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
</context>
<context>
    <name>app</name>
    <message>
        <source>These could not be added:</source>
        <translation>Diese konnten nicht hinzugefügt werden:</translation>
    </message>
    <message>
        <source>tavimark: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); to print without a window, use --print</source>
        <translation>tavimark: keine Anzeige, auf der das Fenster erscheinen kann (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt); zum Drucken ohne Fenster --print verwenden</translation>
    </message>
</context>
<context>
    <name>app::BatchPrint</name>
    <message>
        <source>tavimark: cannot use %1</source>
        <translation>tavimark: %1 kann nicht verwendet werden</translation>
    </message>
    <message>
        <source>tavimark: the print system cannot be reached</source>
        <translation>tavimark: das Drucksystem ist nicht erreichbar</translation>
    </message>
    <message>
        <source>tavimark: no printer is set up</source>
        <translation>tavimark: es ist kein Drucker eingerichtet</translation>
    </message>
    <message>
        <source>tavimark: no contents page: %1</source>
        <translation>tavimark: keine Inhaltsseite: %1</translation>
    </message>
</context>
<context>
    <name>app::BatchReport</name>
    <message>
        <source>written to %1</source>
        <translation>geschrieben nach %1</translation>
    </message>
    <message>
        <source>(written before it finished loading: %1)</source>
        <translation>(geschrieben, bevor es fertig geladen war: %1)</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>gesendet</translation>
    </message>
    <message>
        <source>sent (printed before it finished loading: %1)</source>
        <translation>gesendet (gedruckt, bevor es fertig geladen war: %1)</translation>
    </message>
    <message>
        <source>may have printed (%1)</source>
        <translation>vielleicht gedruckt (%1)</translation>
    </message>
    <message>
        <source>not printed (%1)</source>
        <translation>nicht gedruckt (%1)</translation>
    </message>
    <message>
        <source>printed</source>
        <translation>gedruckt</translation>
    </message>
    <message>
        <source>aborted by the printer</source>
        <translation>vom Drucker abgebrochen</translation>
    </message>
    <message>
        <source>canceled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>still held</source>
        <translation>noch angehalten</translation>
    </message>
    <message>
        <source>sent; the printer&apos;s answer is unknown</source>
        <translation>gesendet; die Antwort des Druckers ist unbekannt</translation>
    </message>
    <message>
        <source>already sent to %1 as job %2 (found in the queue)</source>
        <translation>bereits an %1 gesendet als Auftrag %2 (in der Warteschlange gefunden)</translation>
    </message>
    <message>
        <source>already sent as job %1 (found in the queue)</source>
        <translation>bereits gesendet als Auftrag %1 (in der Warteschlange gefunden)</translation>
    </message>
    <message>
        <source>already sent to %1 (journal)</source>
        <translation>bereits an %1 gesendet (Protokoll)</translation>
    </message>
    <message>
        <source>already sent (journal)</source>
        <translation>bereits gesendet (Protokoll)</translation>
    </message>
    <message>
        <source>may have printed (journal)</source>
        <translation>vielleicht gedruckt (Protokoll)</translation>
    </message>
    <message>
        <source>sent; %1</source>
        <translation>gesendet; %1</translation>
    </message>
    <message>
        <source>may have printed</source>
        <translation>vielleicht gedruckt</translation>
    </message>
    <message>
        <source>with the printer&apos;s answer unknown</source>
        <translation>mit unbekannter Antwort des Druckers</translation>
    </message>
    <message>
        <source>with no answer in time</source>
        <translation>ohne rechtzeitige Antwort</translation>
    </message>
    <message>
        <source>written</source>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>tavimark: nothing to print</source>
        <translation>tavimark: nichts zu drucken</translation>
    </message>
    <message>
        <source>printing was stopped (%1)</source>
        <translation>das Drucken wurde abgebrochen (%1)</translation>
    </message>
    <message>
        <source>the printer stopped taking jobs (%1)</source>
        <translation>der Drucker nahm keine Aufträge mehr an (%1)</translation>
    </message>
    <message>
        <source>not printed</source>
        <translation>nicht gedruckt</translation>
    </message>
    <message>
        <source>%1 written before they finished loading</source>
        <translation>%1 geschrieben, bevor sie fertig geladen waren</translation>
    </message>
    <message>
        <source>%1 printed before they finished loading</source>
        <translation>%1 gedruckt, bevor sie fertig geladen waren</translation>
    </message>
    <message>
        <source>%1 of 1 entry %2</source>
        <translation>%1 von 1 Eintrag %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n entries %2</source>
        <translation>
            <numerusform>%1 von %n Einträgen %2</numerusform>
            <numerusform>%1 von %n Einträgen %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>app::CommandLine</name>
    <message>
        <source>Print without a window (no display needed), then exit.</source>
        <translation>Ohne Fenster drucken (keine Anzeige nötig), dann beenden.</translation>
    </message>
    <message>
        <source>Add the addresses in the URL list FILE. May repeat.</source>
        <translation>Die Adressen aus der URL-Liste FILE hinzufügen. Wiederholbar.</translation>
    </message>
    <message>
        <source>Add every file of the extension under DIR and its subfolders. May repeat.</source>
        <translation>Jede Datei mit der Endung unter DIR und seinen Unterordnern hinzufügen. Wiederholbar.</translation>
    </message>
    <message>
        <source>The extension --folder looks for (default: htm, which finds .html too). Applies to the --folder options after it.</source>
        <translation>Die Endung, nach der --folder sucht (Vorgabe: htm, das auch .html findet). Gilt für die --folder-Optionen danach.</translation>
    </message>
    <message>
        <source>Print on the CUPS queue NAME instead of the default.</source>
        <translation>Auf der CUPS-Warteschlange NAME statt der Standardwarteschlange drucken.</translation>
    </message>
    <message>
        <source>Print N copies of each document.</source>
        <translation>N Exemplare jedes Dokuments drucken.</translation>
    </message>
    <message>
        <source>Print with the job option NAME=VALUE, as lp takes it: sides=two-sided-long-edge, media=A4, landscape, print-color-mode=monochrome, page-ranges=1-3,7, number-up=2, ... The printer must offer it. May repeat.</source>
        <translation>Mit der Auftragsoption NAME=VALUE drucken, wie lp sie annimmt: sides=two-sided-long-edge, media=A4, landscape, print-color-mode=monochrome, page-ranges=1-3,7, number-up=2, ... Der Drucker muss sie anbieten. Wiederholbar.</translation>
    </message>
    <message>
        <source>List the printers, one a line, the default marked, and exit.</source>
        <translation>Die Drucker auflisten, einen pro Zeile, den Standarddrucker markiert, dann beenden.</translation>
    </message>
    <message>
        <source>Give each document at most SECONDS to load and render (default: 30).</source>
        <translation>Jedem Dokument höchstens SECONDS Sekunden zum Laden und Aufbereiten geben (Vorgabe: 30).</translation>
    </message>
    <message>
        <source>Write each document as a PDF file into DIR instead of printing it.</source>
        <translation>Jedes Dokument als PDF-Datei nach DIR schreiben, statt es zu drucken.</translation>
    </message>
    <message>
        <source>Keep a record of the run in FILE, on the disk before each next job; run the same command again to print only what it does not show as sent.</source>
        <translation>Ein Protokoll des Laufs in FILE führen, vor jedem nächsten Auftrag auf der Platte; denselben Befehl erneut ausführen, um nur zu drucken, was es nicht als gesendet zeigt.</translation>
    </message>
    <message>
        <source>With --journal: print again the entries it shows may have printed.</source>
        <translation>Mit --journal: die Einträge erneut drucken, die es als vielleicht gedruckt zeigt.</translation>
    </message>
    <message>
        <source>Write a JSON object per entry on standard output as it settles, then a summary.</source>
        <translation>Für jeden Eintrag, sobald er feststeht, ein JSON-Objekt auf die Standardausgabe schreiben, dann eine Zusammenfassung.</translation>
    </message>
    <message>
        <source>After the run, wait for the printer to finish, hold or give up every job.</source>
        <translation>Nach dem Lauf warten, bis der Drucker jeden Auftrag beendet, anhält oder aufgibt.</translation>
    </message>
    <message>
        <source>Let --wait wait at most SECONDS (default: 600).</source>
        <translation>--wait höchstens SECONDS Sekunden warten lassen (Vorgabe: 600).</translation>
    </message>
    <message>
        <source>Print pages without the title, address, page number and date.</source>
        <translation>Seiten ohne Titel, Adresse, Seitenzahl und Datum drucken.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Prints many HTML documents in one run: local files, folders of them, and web addresses.</source>
        <translation>Druckt viele HTML-Dokumente in einem Lauf: lokale Dateien, ganze Ordner davon und Webadressen.</translation>
    </message>
    <message>
        <source>Files, folders or addresses to add, in order; a folder is walked as --folder walks it, with the --ext before it.</source>
        <translation>Hinzuzufügende Dateien, Ordner oder Adressen, der Reihe nach; ein Ordner wird durchsucht wie mit --folder, mit dem --ext davor.</translation>
    </message>
    <message>
        <source>prepare up to K documents at once, each in a browser process of its own
      (1 to 8; default: one per processor core, at least 2)</source>
        <translation>bis zu K Dokumente zugleich vorbereiten, jedes in einem eigenen Browser-Prozess
      (1 bis 8; Vorgabe: eines je Prozessorkern, mindestens 2)</translation>
    </message>
    <message>
        <source>print pages without the title, address, page number and date</source>
        <translation>Seiten ohne Titel, Adresse, Seitenzahl und Datum drucken</translation>
    </message>
    <message>
        <source>give each document this long instead of 30 seconds (1 to 86400)</source>
        <translation>jedem Dokument so viele Sekunden statt 30 geben (1 bis 86400)</translation>
    </message>
    <message>
        <source>keep the browser engine&apos;s and Qt&apos;s own remarks on standard error</source>
        <translation>die eigenen Meldungen des Browser-Moduls und von Qt auf der Standardfehlerausgabe behalten</translation>
    </message>
    <message>
        <source>Environment:</source>
        <translation>Umgebung:</translation>
    </message>
    <message>
        <source>Exit status:
  0   every entry printed
  1   some entries not printed, or may have printed (with --wait: aborted, canceled, or unknown)
  2   the printer or the browser engine failed, nothing could be done,
      the journal could not be written, or --wait ran out of time
  64  a usage error, or a journal of another list
  75  the journal is in use by another run
</source>
        <translation>Rückgabewert:
  0   jeder Eintrag gedruckt
  1   einige Einträge nicht oder vielleicht gedruckt (mit --wait: abgebrochen, storniert oder unbekannt)
  2   der Drucker oder das Browser-Modul ist ausgefallen, nichts konnte getan werden,
      das Protokoll konnte nicht geschrieben werden, oder --wait lief aus der Zeit
  64  ein Bedienfehler, oder ein Protokoll einer anderen Liste
  75  das Protokoll wird von einem anderen Lauf verwendet
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>%1 wants a %2, not an empty one</source>
        <translation>%1 braucht ein %2, kein leeres</translation>
    </message>
    <message>
        <source>-o page-ranges=%1 names no pages; write them as 1-3,7 or 5-</source>
        <translation>-o page-ranges=%1 nennt keine Seiten; schreiben Sie sie als 1-3,7 oder 5-</translation>
    </message>
    <message>
        <source>--wait-timeout wants a number of seconds from 1 to %1</source>
        <translation>--wait-timeout braucht eine Anzahl Sekunden von 1 bis %1</translation>
    </message>
    <message>
        <source>--wait-timeout goes with --wait: add --wait</source>
        <translation>--wait-timeout gehört zu --wait: --wait hinzufügen</translation>
    </message>
    <message>
        <source>--copies wants a whole number from 1 to %1</source>
        <translation>--copies braucht eine ganze Zahl von 1 bis %1</translation>
    </message>
    <message>
        <source>--timeout wants a number of seconds from %1 to %2</source>
        <translation>--timeout braucht eine Anzahl Sekunden von %1 bis %2</translation>
    </message>
    <message>
        <source>--ext wants an extension such as htm</source>
        <translation>--ext braucht eine Endung wie htm</translation>
    </message>
    <message>
        <source>%1 is for printing from the command line: add --print</source>
        <translation>%1 ist zum Drucken von der Befehlszeile: --print hinzufügen</translation>
    </message>
    <message>
        <source>--resend-uncertain goes with --journal: add --journal FILE</source>
        <translation>--resend-uncertain gehört zu --journal: --journal FILE hinzufügen</translation>
    </message>
    <message>
        <source>--printer and --output do not go together: a run either prints or writes files</source>
        <translation>--printer und --output passen nicht zusammen: ein Lauf druckt entweder oder schreibt Dateien</translation>
    </message>
    <message>
        <source>tavimark: %1; try &apos;tavimark --help&apos;</source>
        <translation>tavimark: %1; siehe &apos;tavimark --help&apos;</translation>
    </message>
    <message>
        <source>(the current folder cannot be read, so a relative name cannot be resolved)</source>
        <translation>(der aktuelle Ordner kann nicht gelesen werden, daher kann ein relativer Name nicht aufgelöst werden)</translation>
    </message>
    <message>
        <source>folder %1 (it could not be read)</source>
        <translation>Ordner %1 (er konnte nicht gelesen werden)</translation>
    </message>
    <message>
        <source>list file %1 (%2)</source>
        <translation>Listendatei %1 (%2)</translation>
    </message>
    <message>
        <source>%1 in list file %2 (%3)</source>
        <translation>%1 in Listendatei %2 (%3)</translation>
    </message>
    <message>
        <source>folder %1</source>
        <translation>Ordner %1</translation>
    </message>
    <message>
        <source>--wait-for wants a CSS selector: &quot;%1&quot; is not one</source>
        <translation>--wait-for erwartet einen CSS-Selektor: „%1“ ist keiner</translation>
    </message>
    <message>
        <source>Print each document once an element matching the CSS SELECTOR exists and the page has settled; else as it stands at its time bound.</source>
        <translation>Jedes Dokument drucken, sobald ein Element zum CSS-SELECTOR existiert und die Seite zur Ruhe gekommen ist; sonst so, wie es bei Ablauf seiner Zeit steht.</translation>
    </message>
    <message>
        <source>Wait MS milliseconds more after a document has settled, within its time bound (0 to 60000).</source>
        <translation>Nach dem Zur-Ruhe-Kommen eines Dokuments noch MS Millisekunden warten, innerhalb seiner Zeitgrenze (0 bis 60000).</translation>
    </message>
    <message>
        <source>Sign in with the cookies in FILE, a cookies.txt file as browsers export it.</source>
        <translation>Mit den Cookies aus FILE anmelden, einer cookies.txt-Datei, wie Browser sie exportieren.</translation>
    </message>
    <message>
        <source>Send the header &quot;Name: value&quot; with every request to the hosts of the list&apos;s own entries, and to no other. May repeat.</source>
        <translation>Die Kopfzeile „Name: Wert“ mit jeder Anfrage an die Hosts der Einträge der Liste senden, an keinen anderen. Wiederholbar.</translation>
    </message>
    <message>
        <source>Answer a site&apos;s request for a password from the netrc FILE instead of ~/.netrc.</source>
        <translation>Die Passwortanfrage einer Website aus der netrc-Datei FILE statt aus ~/.netrc beantworten.</translation>
    </message>
    <message>
        <source>Keep the browser&apos;s profile (cookies, storage) in DIR, made if missing, so that a sign-in serves later runs.</source>
        <translation>Das Profil des Browsers (Cookies, Speicher) in DIR halten, angelegt falls nötig, damit eine Anmeldung späteren Läufen dient.</translation>
    </message>
    <message>
        <source>Write PDF files without bookmarks for the documents&apos; headings.</source>
        <translation>PDF-Dateien ohne Lesezeichen für die Überschriften der Dokumente schreiben.</translation>
    </message>
    <message>
        <source>Make the run&apos;s documents one job, in list order, sent once the last is ready; with --output, one PDF file, --output naming it.</source>
        <translation>Die Dokumente des Laufs zu einem Auftrag machen, in Listenreihenfolge, gesendet sobald das letzte fertig ist; mit --output eine PDF-Datei, die --output benennt.</translation>
    </message>
    <message>
        <source>--wait-for wants a CSS selector such as #report-done</source>
        <translation>--wait-for erwartet einen CSS-Selektor wie #report-done</translation>
    </message>
    <message>
        <source>--delay wants a whole number of milliseconds from 0 to %1</source>
        <translation>--delay erwartet eine ganze Zahl von Millisekunden von 0 bis %1</translation>
    </message>
    <message>
        <source>With --combine, begin with a contents page listing the documents and the page each starts on.</source>
        <translation>Mit --combine mit einer Inhaltsseite beginnen, die die Dokumente und ihre erste Seite nennt.</translation>
    </message>
    <message>
        <source>--contents goes with --combine</source>
        <translation>--contents gehört zu --combine</translation>
    </message>
</context>
<context>
    <name>app::Form1</name>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move bar to right and out of window to reveal full names.</source>
        <translation>Dateien hierher ziehen und ablegen. Doppelklick auf einen Eintrag entfernt ihn. Trennlinie nach rechts aus dem Fenster ziehen, um ganze Namen zu sehen.</translation>
    </message>
    <message>
        <source>HTML files to print</source>
        <translation>Zu druckende HTML-Dateien</translation>
    </message>
    <message>
        <source>Entries print from top to bottom. Delete removes the selected entry; Ctrl+Up and Ctrl+Down move it.</source>
        <translation>Einträge werden von oben nach unten gedruckt. Entf entfernt den gewählten Eintrag; Strg+Hoch und Strg+Runter verschieben ihn.</translation>
    </message>
    <message>
        <source>Choose HTML files on this computer and add them to the list.</source>
        <translation>HTML-Dateien auf diesem Computer wählen und der Liste hinzufügen.</translation>
    </message>
    <message>
        <source>Choose plain-text files of web addresses and add every address in them to the list.</source>
        <translation>Textdateien mit Webadressen wählen und jede Adresse darin der Liste hinzufügen.</translation>
    </message>
    <message>
        <source>Type a file extension and choose a folder: every file with that extension in the folder and the folders below it is added to the list.</source>
        <translation>Eine Dateiendung eingeben und einen Ordner wählen: jede Datei mit dieser Endung im Ordner und den Ordnern darunter wird der Liste hinzugefügt.</translation>
    </message>
    <message>
        <source>Add Local HTML File(s)</source>
        <translation>HTML-Datei(en) hinzufügen</translation>
    </message>
    <message>
        <source>Add Remote HTML URLs From Text File</source>
        <translation>Webadressen aus Textdatei</translation>
    </message>
    <message>
        <source> Add All HTML Files In Folder</source>
        <translation> Alle HTML-Dateien im Ordner</translation>
    </message>
    <message>
        <source>Print HTML Files</source>
        <translation>HTML-Dateien drucken</translation>
    </message>
    <message>
        <source>HTML File(s)</source>
        <translation>HTML-Datei(en)</translation>
    </message>
    <message>
        <source>Prints nowhere until a printer is chosen with Ctrl+P: the printer settings could not be read</source>
        <translation>Druckt nirgends, bis mit Strg+P ein Drucker gewählt ist: die Druckereinstellungen konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a CSS selector, so the loading settings were left as they were.</source>
        <translation>„%1“ ist kein CSS-Selektor, daher blieben die Ladeeinstellungen unverändert.</translation>
    </message>
    <message>
        <source>All documents go out as one job.</source>
        <translation>Alle Dokumente gehen als ein Auftrag hinaus.</translation>
    </message>
    <message>
        <source>It begins with a contents page.</source>
        <translation>Er beginnt mit einer Inhaltsseite.</translation>
    </message>
</context>
<context>
    <name>app::Journal</name>
    <message>
        <source>the journal %1 is in use by another run</source>
        <translation>das Protokoll %1 wird von einem anderen Lauf verwendet</translation>
    </message>
    <message>
        <source>the journal %1 is not a regular file</source>
        <translation>das Protokoll %1 ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the journal %1 cannot be opened: %2</source>
        <translation>das Protokoll %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the journal %1 cannot be read: %2</source>
        <translation>das Protokoll %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>line %1 of the journal %2 is damaged</source>
        <translation>Zeile %1 des Protokolls %2 ist beschädigt</translation>
    </message>
    <message>
        <source>the journal %1 was written by a newer Tavimark</source>
        <translation>das Protokoll %1 wurde von einem neueren Tavimark geschrieben</translation>
    </message>
    <message>
        <source>the journal %1 was written for another list</source>
        <translation>das Protokoll %1 wurde für eine andere Liste geschrieben</translation>
    </message>
</context>
<context>
    <name>app::ListMenu</name>
    <message>
        <source>Remove printed entries</source>
        <translation>Gedruckte Einträge entfernen</translation>
    </message>
    <message>
        <source>Save list as...</source>
        <translation>Liste speichern unter...</translation>
    </message>
    <message>
        <source>Copy outcomes</source>
        <translation>Ergebnisse kopieren</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Forget sign-ins</source>
        <translation>Anmeldungen vergessen</translation>
    </message>
    <message>
        <source>Forgets the cookies sites set, the pages visited, and the passwords given in this window</source>
        <translation>Vergisst die Cookies der Websites, die besuchten Seiten und die in diesem Fenster eingegebenen Passwörter</translation>
    </message>
    <message>
        <source>Sign in to %1...</source>
        <translation>Bei %1 anmelden...</translation>
    </message>
</context>
<context>
    <name>app::PrinterSettingsStore</name>
    <message>
        <source>it is not a file</source>
        <translation>es ist keine Datei</translation>
    </message>
    <message>
        <source>it is not a settings file</source>
        <translation>es ist keine Einstellungsdatei</translation>
    </message>
    <message>
        <source>a line of it is damaged</source>
        <translation>eine Zeile darin ist beschädigt</translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation>es konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The printer settings in &quot;%1&quot; could not be read (%2), so nothing was printed; choose the printer again with Ctrl+P.</source>
        <translation>Die Druckereinstellungen in „%1“ konnten nicht gelesen werden (%2), daher wurde nichts gedruckt; wählen Sie den Drucker mit Strg+P erneut.</translation>
    </message>
    <message>
        <source>The printer settings could not be kept for the next start (&quot;%1&quot;: %2), so they hold only until %3 closes.</source>
        <translation>Die Druckereinstellungen konnten nicht für den nächsten Start gespeichert werden („%1“: %2), daher gelten sie nur, bis %3 geschlossen wird.</translation>
    </message>
    <message>
        <source>The loading settings could not be kept for the next start (&quot;%1&quot;: %2), so they hold only until %3 closes.</source>
        <translation>Die Ladeeinstellungen konnten nicht für den nächsten Start gespeichert werden („%1“: %2), sie gelten daher nur, bis %3 geschlossen wird.</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weitere.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 Eintrag</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n Einträge</numerusform>
            <numerusform>%n Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>The print system did not answer, so nothing was printed.</source>
        <translation>Das Drucksystem hat nicht geantwortet, daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>No default printer is set up, so nothing was printed.</source>
        <translation>Es ist kein Standarddrucker eingerichtet, daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>Choose a default printer and print again.</source>
        <translation>Wählen Sie einen Standarddrucker und drucken Sie erneut.</translation>
    </message>
</context>
<context>
    <name>core::PrinterSettings</name>
    <message>
        <source>-o copies wants a whole number from 1 to %1</source>
        <translation>-o copies braucht eine ganze Zahl von 1 bis %1</translation>
    </message>
    <message>
        <source>-o number-up wants a whole number of pages a sheet, such as 2</source>
        <translation>-o number-up braucht eine ganze Zahl von Seiten pro Blatt, etwa 2</translation>
    </message>
    <message>
        <source>-o media=%1 names no paper size; use a name such as A4, Letter or iso_a4_210x297mm</source>
        <translation>-o media=%1 nennt kein Papierformat; verwenden Sie einen Namen wie A4, Letter oder iso_a4_210x297mm</translation>
    </message>
    <message>
        <source>-o orientation-requested=%1 is no orientation Tavimark lays pages out in: use 3 (portrait) or 4 (landscape)</source>
        <translation>-o orientation-requested=%1 ist keine Ausrichtung, in der Tavimark Seiten anlegt: verwenden Sie 3 (Hochformat) oder 4 (Querformat)</translation>
    </message>
    <message>
        <source>two-sided</source>
        <translation>beidseitig</translation>
    </message>
    <message>
        <source>two-sided, short edge</source>
        <translation>beidseitig, kurze Kante</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>pages %1</source>
        <translation>Seiten %1</translation>
    </message>
    <message>
        <source>%1 pages a sheet</source>
        <translation>%1 Seiten pro Blatt</translation>
    </message>
    <message>
        <source>-o wants NAME=VALUE, such as sides=two-sided-long-edge, not &quot;%1&quot;</source>
        <translation>-o braucht NAME=VALUE, etwa sides=two-sided-long-edge, nicht „%1“</translation>
    </message>
    <message>
        <source>-o %1 has a value no printer takes</source>
        <translation>-o %1 hat einen Wert, den kein Drucker annimmt</translation>
    </message>
    <message>
        <source>the default printer</source>
        <translation>dem Standarddrucker</translation>
    </message>
    <message numerus="yes">
        <source>%n copies</source>
        <translation>
            <numerusform>%n Exemplare</numerusform>
            <numerusform>%n Exemplare</numerusform>
        </translation>
    </message>
    <message>
        <source>Prints on %1</source>
        <translation>Druckt auf %1</translation>
    </message>
    <message>
        <source>Prints on %1: %2</source>
        <translation>Druckt auf %1: %2</translation>
    </message>
</context>
<context>
    <name>joblist::Marks</name>
    <message>
        <source>Printing</source>
        <translation>Wird gedruckt</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>Gedruckt</translation>
    </message>
    <message>
        <source>Printed before it finished loading</source>
        <translation>Gedruckt, bevor es fertig geladen war</translation>
    </message>
    <message>
        <source>Printed before it finished loading: %1</source>
        <translation>Gedruckt, bevor es fertig geladen war: %1</translation>
    </message>
    <message>
        <source>Not printed</source>
        <translation>Nicht gedruckt</translation>
    </message>
    <message>
        <source>Not printed: %1</source>
        <translation>Nicht gedruckt: %1</translation>
    </message>
    <message>
        <source>May have printed</source>
        <translation>Vielleicht gedruckt</translation>
    </message>
    <message>
        <source>May have printed: %1</source>
        <translation>Vielleicht gedruckt: %1</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Held</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Held: %1</source>
        <translation>Angehalten: %1</translation>
    </message>
    <message>
        <source>The printer aborted it</source>
        <translation>Der Drucker hat ihn abgebrochen</translation>
    </message>
    <message>
        <source>The printer aborted it: %1</source>
        <translation>Der Drucker hat ihn abgebrochen: %1</translation>
    </message>
    <message>
        <source>Sent; the printer&apos;s answer is unknown</source>
        <translation>Gesendet; die Antwort des Druckers ist unbekannt</translation>
    </message>
</context>
<context>
    <name>platform::LoadingDialog</name>
    <message>
        <source>Loading Settings</source>
        <translation>Ladeeinstellungen</translation>
    </message>
    <message>
        <source>A document is printed once it has loaded and settled. It can also wait for an element, and a while longer; never past its time bound.</source>
        <translation>Ein Dokument wird gedruckt, sobald es geladen und zur Ruhe gekommen ist. Es kann außerdem auf ein Element warten, und noch eine Weile länger; nie über seine Zeitgrenze hinaus.</translation>
    </message>
    <message>
        <source>a CSS selector, such as #report-done</source>
        <translation>ein CSS-Selektor, etwa #report-done</translation>
    </message>
    <message>
        <source>Wait for the &amp;element:</source>
        <translation>Auf das &amp;Element warten:</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Then &amp;wait:</source>
        <translation>Dann &amp;warten:</translation>
    </message>
    <message>
        <source>Print the whole run as one &amp;job</source>
        <translation>Den ganzen Lauf als einen &amp;Auftrag drucken</translation>
    </message>
    <message>
        <source>Every document goes out in one job, in list order, once the last one is ready; printed on both sides, each starts on a new sheet.</source>
        <translation>Alle Dokumente gehen in einem Auftrag hinaus, in Listenreihenfolge, sobald das letzte fertig ist; beidseitig gedruckt beginnt jedes auf einem neuen Blatt.</translation>
    </message>
    <message>
        <source>Begin it with a &amp;contents page</source>
        <translation>Mit einer &amp;Inhaltsseite beginnen</translation>
    </message>
</context>
<context>
    <name>platform::PrinterDialog</name>
    <message>
        <source>The default printer</source>
        <translation>Der Standarddrucker</translation>
    </message>
    <message>
        <source>Printer Settings</source>
        <translation>Druckereinstellungen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>tavimark: Qt&apos;s print dialog has no %1; the printer settings are edited without them</source>
        <translation>tavimark: Qts Druckdialog hat kein %1; die Druckereinstellungen werden ohne sie bearbeitet</translation>
    </message>
</context>
<context>
    <name>platform::Printers</name>
    <message>
        <source>The print system cannot be reached, so nothing was printed.</source>
        <translation>Das Drucksystem ist nicht erreichbar, daher wurde nichts gedruckt.</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weitere</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; is not accepting jobs, so nothing was printed.</source>
        <translation>Der Drucker „%1“ nimmt keine Aufträge an, daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>There is no printer called &quot;%1&quot;, so nothing was printed.</source>
        <translation>Es gibt keinen Drucker namens „%1“, daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The printer %1 offers no option %2 (it offers %3), so nothing was printed.</source>
        <translation>Der Drucker %1 bietet keine Option %2 (er bietet %3), daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The printer %1 does not offer %2 (it offers %3), so nothing was printed.</source>
        <translation>Der Drucker %1 bietet %2 nicht an (er bietet %3), daher wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; is a file, not a folder, so nothing was written.</source>
        <translation>Der Ordner „%1“ ist eine Datei, kein Ordner, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be made, so nothing was written.</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be written to, so nothing was written.</source>
        <translation>In den Ordner „%1“ kann nicht geschrieben werden, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>PDF files are written, not printed on &quot;%1&quot;, so nothing was written.</source>
        <translation>PDF-Dateien werden geschrieben, nicht auf „%1“ gedruckt, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>A PDF file is written once, not in copies, so nothing was written.</source>
        <translation>Eine PDF-Datei wird einmal geschrieben, nicht in Exemplaren, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>A PDF file has no option %1 (it has media, orientation-requested and page-ranges), so nothing was written.</source>
        <translation>Eine PDF-Datei hat keine Option %1 (sie hat media, orientation-requested und page-ranges), daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Only the default printer with its own options can be used here, so nothing was printed.</source>
        <translation>Hier kann nur der Standarddrucker mit seinen eigenen Optionen verwendet werden, daher wurde nichts gedruckt.</translation>
    </message>
</context>
<context>
    <name>printing::Contents</name>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>no temporary folder could be made for it</source>
        <translation>für sie konnte kein temporärer Ordner angelegt werden</translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation>sie konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the engine could not make it</source>
        <translation>der Browser konnte sie nicht erzeugen</translation>
    </message>
    <message>
        <source>it could not be added</source>
        <translation>sie konnte nicht hinzugefügt werden</translation>
    </message>
    <message>
        <source>its length would not settle</source>
        <translation>ihre Länge kam nicht zur Ruhe</translation>
    </message>
</context>
<context>
    <name>printing::RunReport</name>
    <message>
        <source>Done. Print jobs sent to printer.</source>
        <translation>Fertig. Druckaufträge an den Drucker gesendet.</translation>
    </message>
    <message>
        <source>Print jobs sent to printer.</source>
        <translation>Druckaufträge an den Drucker gesendet.</translation>
    </message>
    <message>
        <source>1 entry was printed before it finished loading:</source>
        <translation>1 Eintrag wurde gedruckt, bevor er fertig geladen war:</translation>
    </message>
    <message numerus="yes">
        <source>%n entries were printed before they finished loading:</source>
        <translation>
            <numerusform>%n Einträge wurden gedruckt, bevor sie fertig geladen waren:</numerusform>
            <numerusform>%n Einträge wurden gedruckt, bevor sie fertig geladen waren:</numerusform>
        </translation>
    </message>
    <message>
        <source>This entry may have printed; check the printer before printing it again:</source>
        <translation>Dieser Eintrag wurde vielleicht gedruckt; prüfen Sie den Drucker, bevor Sie ihn erneut drucken:</translation>
    </message>
    <message numerus="yes">
        <source>These %n entries may have printed; check the printer before printing them again:</source>
        <translation>
            <numerusform>Diese %n Einträge wurden vielleicht gedruckt; prüfen Sie den Drucker, bevor Sie sie erneut drucken:</numerusform>
            <numerusform>Diese %n Einträge wurden vielleicht gedruckt; prüfen Sie den Drucker, bevor Sie sie erneut drucken:</numerusform>
        </translation>
    </message>
    <message>
        <source>Print jobs sent to printer, except for 1 entry that could not be printed:</source>
        <translation>Druckaufträge an den Drucker gesendet, außer 1 Eintrag, der nicht gedruckt werden konnte:</translation>
    </message>
    <message numerus="yes">
        <source>Print jobs sent to printer, except for %n entries that could not be printed:</source>
        <translation>
            <numerusform>Druckaufträge an den Drucker gesendet, außer %n Einträgen, die nicht gedruckt werden konnten:</numerusform>
            <numerusform>Druckaufträge an den Drucker gesendet, außer %n Einträgen, die nicht gedruckt werden konnten:</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped. 1 entry was not printed</source>
        <translation>Angehalten. 1 Eintrag wurde nicht gedruckt</translation>
    </message>
    <message numerus="yes">
        <source>Stopped. %n entries were not printed</source>
        <translation>
            <numerusform>Angehalten. %n Einträge wurden nicht gedruckt</numerusform>
            <numerusform>Angehalten. %n Einträge wurden nicht gedruckt</numerusform>
        </translation>
    </message>
    <message>
        <source>The printer stopped taking jobs (%1), so printing was stopped.</source>
        <translation>Der Drucker nahm keine Aufträge mehr an (%1), daher wurde das Drucken abgebrochen.</translation>
    </message>
    <message>
        <source>Sent to printer: %1</source>
        <translation>An den Drucker gesendet: %1</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>Nicht gesendet: %1</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Keine Dateien hinzugefügt.</translation>
    </message>
    <message>
        <source>The browser engine failed, so printing was stopped.</source>
        <translation>Das Browser-Modul ist ausgefallen, daher wurde das Drucken abgebrochen.</translation>
    </message>
    <message>
        <source>Sent to printer:</source>
        <translation>An den Drucker gesendet:</translation>
    </message>
    <message>
        <source>May have printed:</source>
        <translation>Vielleicht gedruckt:</translation>
    </message>
    <message>
        <source>Not sent:</source>
        <translation>Nicht gesendet:</translation>
    </message>
    <message>
        <source>Not printed:</source>
        <translation>Nicht gedruckt:</translation>
    </message>
    <message>
        <source>Printed before they finished loading:</source>
        <translation>Gedruckt, bevor sie fertig geladen waren:</translation>
    </message>
</context>
<context>
    <name>sources</name>
    <message>
        <source>These folders could not be read; their files were not added:</source>
        <translation>Diese Ordner konnten nicht gelesen werden; ihre Dateien wurden nicht hinzugefügt:</translation>
    </message>
    <message>
        <source>Enter file extension to load:</source>
        <translation>Dateiendung zum Laden eingeben:</translation>
    </message>
    <message>
        <source>Please select folder to add:</source>
        <translation>Bitte Ordner zum Hinzufügen wählen:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Datei(en) hinzufügen - Strg gedrückt halten, um mehrere Dateien zu wählen</translation>
    </message>
    <message>
        <source>HTML Files (*.htm *.html)</source>
        <translation>HTML-Dateien (*.htm *.html)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>These list files could not be read; nothing was added from them:</source>
        <translation>Diese Listendateien konnten nicht gelesen werden; aus ihnen wurde nichts hinzugefügt:</translation>
    </message>
    <message>
        <source>These addresses in the list files were not added:</source>
        <translation>Diese Adressen in den Listendateien wurden nicht hinzugefügt:</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Liste(n) laden - Strg gedrückt halten, um mehrere Listendateien zu wählen</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>too large for a list file</source>
        <translation>zu groß für eine Listendatei</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>not a text file</source>
        <translation>keine Textdatei</translation>
    </message>
    <message>
        <source>These entries were left out of the list file, which cannot hold them so that they read back as they are:</source>
        <translation>Diese Einträge wurden in der Listendatei ausgelassen, da sie sie nicht so aufnehmen kann, dass sie unverändert zurückgelesen werden:</translation>
    </message>
    <message>
        <source>The list could not be saved:</source>
        <translation>Die Liste konnte nicht gespeichert werden:</translation>
    </message>
    <message>
        <source>Save List As</source>
        <translation>Liste speichern unter</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
</context>
</TS>
