<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AbstractTreeItemDelegate</name>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="151"/>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="209"/>
        <source>Double %1</source>
        <translation>Doppel-VPN %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>VPN-Login:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>Auf der Website verlängern</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>VPN-Abonnement auf der Website kaufen</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Auf der Website akzeptieren wir Zahlungen über verschiedene Zahlungssysteme, darunter Bitcoin, PayPal, Yandex Money und weitere.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="37"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN-Abonnement gültig bis: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="341"/>
        <source>Location not selected</source>
        <translation>Kein Standort ausgewählt</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="127"/>
        <location filename="../pages/connectwindow.cpp" line="313"/>
        <location filename="../pages/connectwindow.cpp" line="482"/>
        <source>Select VPN Location</source>
        <translation>VPN-Standort wählen</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="177"/>
        <source>Renew on site</source>
        <translation>Auf der Website verlängern</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="183"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Auf der Website akzeptieren wir Zahlungen über verschiedene Zahlungssysteme, darunter Bitcoin, PayPal, Yandex Money und weitere.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="217"/>
        <source>Firewall does not support on your system.</source>
        <translation>Die Firewall wird auf Ihrem System nicht unterstützt.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="221"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Der Kill Switch konnte nicht eingeschaltet werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="225"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Der Kill Switch konnte nicht ausgeschaltet werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="394"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Der Systemdienst von Kestrova läuft nicht, daher kann der Kill Switch diese Verbindung nicht schützen. Starten Sie ihn mit:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="178"/>
        <source>Error of loading of the config.</source>
        <translation>Fehler beim Laden der Konfiguration.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="181"/>
        <source>Error of loading of the certificate.</source>
        <translation>Fehler beim Laden des Zertifikats.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="184"/>
        <source>Error of loading of the key.</source>
        <translation>Fehler beim Laden des Schlüssels.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="187"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Der Stealth-Tunnel konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="190"/>
        <source>The connection profile could not be written.</source>
        <translation>Das Verbindungsprofil konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Das Ändern der Zeitzone wird auf Ihrem System nicht unterstützt.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="237"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Die Zeitzone wurde nicht geändert, da keine Daten vorliegen.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="439"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN-Abonnement gültig bis: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="281"/>
        <location filename="../pages/connectwindow.cpp" line="481"/>
        <source>Show connection</source>
        <translation>Verbindung anzeigen</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="333"/>
        <location filename="../pages/connectwindow.cpp" line="359"/>
        <location filename="../pages/connectwindow.cpp" line="479"/>
        <source>Disconnecting</source>
        <translation>Verbindung wird getrennt</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="417"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>Internet durch den Kill Switch blockiert, bis Sie sich verbinden</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>Kill switch settings</source>
        <translation>Kill-Switch-Einstellungen</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="397"/>
        <source>Kestrova&apos;s system service is not running, so no connection can be made. Start it with:</source>
        <translation>Der Systemdienst von Kestrova läuft nicht, daher kann keine Verbindung hergestellt werden. Starten Sie ihn mit:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="193"/>
        <source>The server did not answer in time. Try again or choose another location.</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet. Versuchen Sie es erneut oder wählen Sie einen anderen Standort.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="350"/>
        <source>Connecting...</source>
        <translation>Verbinden...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Reconnecting...</source>
        <translation>Erneut verbinden...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="356"/>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="363"/>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <location filename="../../connection/connection.cpp" line="93"/>
        <source>Invalid username or password</source>
        <translation>Benutzername oder Passwort ungültig</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="95"/>
        <source>Not open openvpn socket</source>
        <translation>Der OpenVPN-Verwaltungsanschluss konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="97"/>
        <source>Can not alocate TUN</source>
        <translation>Das TUN-Gerät konnte nicht angelegt werden</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="99"/>
        <source>Can not connect to helper</source>
        <translation>Keine Verbindung zum Kestrova-Dienst</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="101"/>
        <source>Can not write to helper</source>
        <translation>Der Kestrova-Dienst nimmt keine Befehle an</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="103"/>
        <source>Code error: %1</source>
        <translation>Fehlercode: %1</translation>
    </message>
</context>
<context>
    <name>ConnectionSession</name>
    <message>
        <location filename="../../connection/connectionsession.cpp" line="518"/>
        <source>stunnel has stopped.</source>
        <translation>stunnel wurde beendet.</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="121"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="122"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="123"/>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="124"/>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>Empfohlen</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="28"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Anfrage nicht gesendet: Die Verbindung ist nicht verschlüsselt.</translation>
    </message>
</context>
<context>
    <name>KestrovaCli</name>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="51"/>
        <source>Kestrova is running (the window or a connection of the command line): disconnect and close it first.</source>
        <translation>Kestrova läuft bereits (das Fenster oder eine Verbindung der Befehlszeile): trennen und schließen Sie es zuerst.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="59"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Geben Sie Benutzername und Passwort ein, um sich anzumelden.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="89"/>
        <source>Wrong Login/Password.</source>
        <translation>Falscher Benutzername oder falsches Passwort.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="93"/>
        <source>This account has no VPN subscription. Buy one on %1</source>
        <translation>Dieses Konto hat kein VPN-Abonnement. Sie können eines hier kaufen: %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="96"/>
        <source>Your version is outdated. Please, download new Kestrova app on %1</source>
        <translation>Ihre Version ist veraltet. Bitte laden Sie die neue Kestrova-App herunter: %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="100"/>
        <source>The VPN service did not answer.</source>
        <translation>Der VPN-Dienst hat nicht geantwortet.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="101"/>
        <source>The VPN service did not answer: %1</source>
        <translation>Der VPN-Dienst hat nicht geantwortet: %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="124"/>
        <source>Signed in as %1 (VPN login %2).</source>
        <translation>Angemeldet als %1 (VPN-Login %2).</translation>
    </message>
    <message numerus="yes">
        <location filename="../../cli/accountcommands.cpp" line="126"/>
        <source>The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN</source>
        <translation>
            <numerusform>Das Konto hat %n VPN-Login; einen anderen wählen Sie mit: kestrova-cli account use LOGIN</numerusform>
            <numerusform>Das Konto hat %n VPN-Logins; einen anderen wählen Sie mit: kestrova-cli account use LOGIN</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Signed out.</source>
        <translation>Abgemeldet.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Not signed in.</source>
        <translation>Nicht angemeldet.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="152"/>
        <location filename="../../cli/accountcommands.cpp" line="187"/>
        <location filename="../../cli/servercommands.cpp" line="77"/>
        <location filename="../../cli/servercommands.cpp" line="134"/>
        <location filename="../../cli/sessioncommands.cpp" line="102"/>
        <location filename="../../control/sessioncontrol.cpp" line="252"/>
        <source>Not signed in. Sign in with: kestrova-cli login USER</source>
        <translation>Nicht angemeldet. Anmelden mit: kestrova-cli login USER</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>VPN LOGIN</source>
        <translation>VPN-LOGIN</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>EXPIRES</source>
        <translation>LÄUFT AB</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="168"/>
        <source>(in use)</source>
        <translation>(in Verwendung)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>Account: %1 (%2)</source>
        <translation>Konto: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>lite</source>
        <translation>Lite</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>full</source>
        <translation>Voll</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="190"/>
        <source>The account has no VPN login %1.</source>
        <translation>Das Konto hat keinen VPN-Login %1.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="204"/>
        <source>VPN login %1 in use.</source>
        <translation>VPN-Login %1 wird verwendet.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="16"/>
        <source>Usage: kestrova-cli [--json] COMMAND [ARGUMENTS]

Commands:
  login USER [--password-stdin]   sign in (the password is asked without echo)
  logout                          sign out and forget the account&apos;s data
  account                         the account and its VPN logins
  account use LOGIN               connect with another VPN login of the account
  servers [TEXT] [--favorites]    the locations, their kind and latency
  favorite add|remove NAME        mark or unmark a favourite location
  connect [LOCATION]              connect (no location: the last one) and wait
  disconnect                      end the connection
  reconnect                       down and up again to the same location
  status                          the state of the connection
  quit                            end the connection and its background session
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      the settings

--json prints one JSON document on standard output.
Exit status: 0 done, 1 failed, 2 usage, 3 not signed in, 4 not found,
5 sign-in refused, 6 service unreachable, 7 kestrovad not running, 8 busy.</source>
        <translation>Aufruf: kestrova-cli [--json] COMMAND [ARGUMENTS]

Befehle:
  login USER [--password-stdin]   anmelden (das Passwort wird ohne Anzeige abgefragt)
  logout                          abmelden und die Kontodaten vergessen
  account                         das Konto und seine VPN-Logins
  account use LOGIN               mit einem anderen VPN-Login des Kontos verbinden
  servers [TEXT] [--favorites]    die Standorte, ihre Art und Latenz
  favorite add|remove NAME        einen Standort als Favorit markieren oder nicht
  connect [LOCATION]              verbinden (ohne Standort: der letzte) und warten
  disconnect                      die Verbindung beenden
  reconnect                       trennen und erneut zum selben Standort verbinden
  status                          der Zustand der Verbindung
  quit                            die Verbindung und ihre Hintergrundsitzung beenden
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      die Einstellungen

--json gibt ein JSON-Dokument auf der Standardausgabe aus.
Exit-Status: 0 erledigt, 1 fehlgeschlagen, 2 Aufruf, 3 nicht angemeldet, 4 nicht gefunden,
5 Anmeldung abgelehnt, 6 Dienst nicht erreichbar, 7 kestrovad läuft nicht, 8 beschäftigt.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="72"/>
        <source>Wrong arguments for %1.</source>
        <translation>Falsche Argumente für %1.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="88"/>
        <source>Password: </source>
        <translation>Passwort: </translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="91"/>
        <source>No terminal to ask for the password: give it with --password-stdin.</source>
        <translation>Kein Terminal, um nach dem Passwort zu fragen: geben Sie es mit --password-stdin an.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="144"/>
        <source>Unknown command %1.</source>
        <translation>Unbekannter Befehl %1.</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="65"/>
        <source>Cannot start the background session: %1</source>
        <translation>Die Hintergrundsitzung kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="87"/>
        <source>The background session did not start.</source>
        <translation>Die Hintergrundsitzung ist nicht gestartet.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LOCATION</source>
        <translation>STANDORT</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>KIND</source>
        <translation>ART</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LATENCY</source>
        <translation>LATENZ</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="117"/>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No favourite locations.</source>
        <translation>Keine favorisierten Standorte.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No locations match.</source>
        <translation>Keine passenden Standorte.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="138"/>
        <location filename="../../control/sessioncontrol.cpp" line="228"/>
        <location filename="../../control/sessioncontrol.cpp" line="277"/>
        <source>No location named %1.</source>
        <translation>Kein Standort namens %1.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="149"/>
        <source>%1 is a favourite.</source>
        <translation>%1 ist jetzt ein Favorit.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="150"/>
        <source>%1 is no longer a favourite.</source>
        <translation>%1 ist kein Favorit mehr.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>on</source>
        <translation>an</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="25"/>
        <source>connected to %1 over %2, tunnel address %3, kill switch %4</source>
        <translation>verbunden mit %1 über %2, Tunneladresse %3, Kill Switch %4</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="26"/>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="28"/>
        <source>%1, kill switch %2</source>
        <translation>%1, Kill Switch %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="30"/>
        <source>%1 (%2), kill switch %3</source>
        <translation>%1 (%2), Kill Switch %3</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="34"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>Internet durch den Kill Switch blockiert, bis Sie sich verbinden</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="39"/>
        <source>since %1</source>
        <translation>seit %1</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="42"/>
        <source>traffic %1 in, %2 out</source>
        <translation>Datenverkehr %1 empfangen, %2 gesendet</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="48"/>
        <source>last error: %1</source>
        <translation>letzter Fehler: %1</translation>
    </message>
    <message>
        <location filename="../../cli/sessioncommands.cpp" line="89"/>
        <location filename="../../control/sessioncontrol.cpp" line="359"/>
        <source>Not connected: nothing to reconnect.</source>
        <translation>Nicht verbunden: keine Verbindung zum Wiederherstellen.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="80"/>
        <location filename="../../cli/settingcommands.cpp" line="115"/>
        <source>Unknown setting %1.</source>
        <translation>Unbekannte Einstellung %1.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="85"/>
        <source>The protocol is udp, tcp or stealth.</source>
        <translation>Das Protokoll ist udp, tcp oder stealth.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="86"/>
        <source>%1 is on or off.</source>
        <translation>%1 ist on oder off.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="90"/>
        <source>%1 needs a full subscription.</source>
        <translation>%1 erfordert ein volles Abonnement.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="100"/>
        <source>Saved, but the running connection did not take it: %1</source>
        <translation>Gespeichert, aber die laufende Verbindung hat es nicht übernommen: %1</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="29"/>
        <source>The control socket belongs to another user.</source>
        <translation>Der Steuer-Socket gehört einem anderen Benutzer.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="40"/>
        <source>Not connected to the engine.</source>
        <translation>Nicht mit der Engine verbunden.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="60"/>
        <source>The engine ended the dialogue without an answer.</source>
        <translation>Die Engine hat das Gespräch ohne Antwort beendet.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="65"/>
        <source>The engine did not answer in time.</source>
        <translation>Die Engine hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <location filename="../../control/controlhost.cpp" line="62"/>
        <source>Another Kestrova engine of this user holds %1.</source>
        <translation>Eine andere Kestrova-Engine dieses Benutzers belegt %1.</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="39"/>
        <source>Cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="46"/>
        <source>%1 is not a private folder of this user: refusing to use it</source>
        <translation>%1 ist kein privater Ordner dieses Benutzers: wird nicht verwendet</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="48"/>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="157"/>
        <source>The request is not a control command.</source>
        <translation>Die Anfrage ist kein Steuerbefehl.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="61"/>
        <source>The Kestrova service (kestrovad) is not running.</source>
        <translation>Der Kestrova-Dienst (kestrovad) läuft nicht.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="63"/>
        <source>Error of loading of the config.</source>
        <translation>Fehler beim Laden der Konfiguration.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="65"/>
        <source>Error of loading of the certificate.</source>
        <translation>Fehler beim Laden des Zertifikats.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="67"/>
        <source>Error of loading of the key.</source>
        <translation>Fehler beim Laden des Schlüssels.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="69"/>
        <source>The stealth tunnel did not start: %1</source>
        <translation>Der Stealth-Tunnel ist nicht gestartet: %1</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="71"/>
        <source>The OpenVPN profile could not be written.</source>
        <translation>Das OpenVPN-Profil konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="73"/>
        <source>The connection failed.</source>
        <translation>Die Verbindung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="76"/>
        <source>The connection did not come up in time.</source>
        <translation>Die Verbindung kam nicht rechtzeitig zustande.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="122"/>
        <source>Preparing the connection to %1 (attempt %2 of %3)...</source>
        <translation>Verbindung zu %1 wird vorbereitet (Versuch %2 von %3)...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="128"/>
        <source>Connecting to %1...</source>
        <translation>Verbinden mit %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="131"/>
        <source>Reconnecting to %1...</source>
        <translation>Erneut verbinden mit %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="134"/>
        <source>Disconnecting...</source>
        <translation>Verbindung wird getrennt...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="163"/>
        <source>Unknown control command %1.</source>
        <translation>Unbekannter Steuerbefehl %1.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="188"/>
        <source>The connection was stopped before it came up.</source>
        <translation>Die Verbindung wurde beendet, bevor sie zustande kam.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="241"/>
        <source>The connection cannot start now.</source>
        <translation>Die Verbindung kann jetzt nicht starten.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="260"/>
        <source>No location chosen yet.</source>
        <translation>Noch kein Standort gewählt.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="60"/>
        <source>Username </source>
        <translation>Benutzername </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="67"/>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="74"/>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="38"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Geben Sie Benutzername und Passwort ein, um sich anzumelden.</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Signing in...</source>
        <translation>Anmeldung läuft...</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="82"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="160"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Der Hilfsdienst des Programms konnte nicht installiert werden. Bitte wenden Sie sich an den Support.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="322"/>
        <source>Wrong Login/Password.</source>
        <translation>Falscher Benutzername oder falsches Passwort.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="357"/>
        <source>Application has no access to Zentaro</source>
        <translation>Die Anwendung hat keinen Zugriff auf Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="358"/>
        <source>Application has no access to network.</source>
        <translation>Die Anwendung hat keinen Netzwerkzugriff.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="574"/>
        <source>Logout</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="572"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>Die VPN-Verbindung ist aktiv. 
Trennen und abmelden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="573"/>
        <source>Do you want to logout?</source>
        <translation>Möchten Sie sich abmelden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>Die VPN-Verbindung ist aktiv. Trennen und beenden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="780"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Ihre Version ist veraltet. Bitte laden Sie die neue Kestrova-App herunter: </translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="347"/>
        <source>The service is not answering. Please try again later.</source>
        <translation>Der Dienst antwortet nicht. Bitte versuchen Sie es später erneut.</translation>
    </message>
</context>
<context>
    <name>MovableWidget</name>
    <message>
        <location filename="../widgets/movablewidget.cpp" line="56"/>
        <source>Kestrova</source>
        <translation>Kestrova</translation>
    </message>
</context>
<context>
    <name>NetworkManager</name>
    <message>
        <location filename="../../network/networkmanager.cpp" line="289"/>
        <source>The service sent an unreadable reply.</source>
        <translation>Der Dienst hat eine unlesbare Antwort gesendet.</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>Update wird heruntergeladen. Bitte warten...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <location filename="layoutdirection.cpp" line="8"/>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../main.cpp" line="46"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="47"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>SSL-Bibliotheken nicht gefunden! Binden Sie die Bibliothek in Version %1 ein</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="58"/>
        <source>Run appplication hidden</source>
        <translation>Anwendung verborgen starten</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="59"/>
        <source>Autostart mode</source>
        <translation>Autostart-Modus</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="52"/>
        <source>Location</source>
        <translation>Standort</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>VPN-Login für die Verbindung wählen</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>Standard-VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>Doppel-VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="135"/>
        <source>No servers match</source>
        <translation>Keine passenden Server</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="79"/>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="97"/>
        <source>Choose VPN protocol:</source>
        <translation>VPN-Protokoll wählen:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="117"/>
        <source>Launch on startup</source>
        <translation>Beim Systemstart öffnen</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="124"/>
        <source>Connect to VPN when app is started</source>
        <translation>Beim Start der App mit VPN verbinden</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>Change timezone using IP address</source>
        <translation>Zeitzone nach IP-Adresse ändern</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="137"/>
        <source>After connection to VPN server</source>
        <translation>Nach der Verbindung zum VPN-Server</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Kill switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="150"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>Leckschutz für IPv4, IPv6, DNS4, DNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="167"/>
        <source>Allow access to local devices</source>
        <translation>Zugriff auf lokale Geräte erlauben</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="175"/>
        <source>Printers, routers, etc</source>
        <translation>Drucker, Router usw.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="188"/>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="81"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>Passwörter werden in einer Datei gespeichert, die nur Sie lesen können: Es ist kein Schlüsselbund verfügbar</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>Verbindungsdetails</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <location filename="../widgets/showlog.cpp" line="29"/>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.cpp" line="94"/>
        <location filename="../widgets/showlog.cpp" line="113"/>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>Kein freier lokaler Port für den Stealth-Tunnel.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>Die Konfiguration des Stealth-Tunnels kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>Der Stealth-Tunnel kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>Der Stealth-Tunnel ist nicht rechtzeitig gestartet.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>Der Start des Stealth-Tunnels ist fehlgeschlagen.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="194"/>
        <source>Invalid stealth server address or name.</source>
        <translation>Ungültige Adresse oder ungültiger Name des Stealth-Servers.</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>Sie haben kein aktives VPN-Abonnement.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>VPN-Abonnement auf der Website kaufen</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Auf der Website akzeptieren wir Zahlungen über verschiedene Zahlungssysteme, darunter Bitcoin, PayPal, Yandex Money und weitere.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="147"/>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="148"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="129"/>
        <source>Connected to %1</source>
        <translation>Verbunden mit %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Ihre Verbindung ist jetzt verschlüsselt und geschützt!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="133"/>
        <source>Connecting to %1</source>
        <translation>Verbinde mit %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="136"/>
        <source>Connect %1</source>
        <translation>Verbinden: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="108"/>
        <source>Your connection is not secured now!</source>
        <translation>Ihre Verbindung ist jetzt nicht geschützt!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="132"/>
        <source>Disconnecting</source>
        <translation>Verbindung wird getrennt</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Kestrova Update</source>
        <translation>Kestrova-Update</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Available new update. Download it?</source>
        <translation>Ein neues Update ist verfügbar. Jetzt herunterladen?</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="56"/>
        <source>Error during downloading update.</source>
        <translation>Fehler beim Herunterladen des Updates.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="64"/>
        <source>Error during installing update.</source>
        <translation>Fehler beim Installieren des Updates.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="74"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Eine neue Version wird über einen unsicheren Link angeboten. Sie wurde nicht heruntergeladen.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="62"/>
        <source>Name of update file is empty.</source>
        <translation>Der Name der Update-Datei ist leer.</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (sicherer)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (schneller)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>HTTPS-Tarnung</translation>
    </message>
</context>
</TS>
