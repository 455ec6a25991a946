<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AbstractTreeItemDelegate</name>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="100"/>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="139"/>
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
        <location filename="../pages/accountwindow.cpp" line="32"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN-Abonnement gültig bis: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="748"/>
        <source>Location not selected</source>
        <translation>Kein Standort ausgewählt</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="121"/>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="1015"/>
        <source>Select VPN Location</source>
        <translation>VPN-Standort wählen</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="158"/>
        <source>Renew on site</source>
        <translation>Auf der Website verlängern</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="164"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Auf der Website akzeptieren wir Zahlungen über verschiedene Zahlungssysteme, darunter Bitcoin, PayPal, Yandex Money und weitere.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="214"/>
        <source>Firewall does not support on your system.</source>
        <translation>Die Firewall wird auf Ihrem System nicht unterstützt.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Der Kill Switch konnte nicht eingeschaltet werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="244"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Der Kill Switch konnte nicht ausgeschaltet werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="252"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Der Systemdienst von Kestrova läuft nicht, daher kann der Kill Switch diese Verbindung nicht schützen. Starten Sie ihn mit:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="351"/>
        <source>Error of loading of the config.</source>
        <translation>Fehler beim Laden der Konfiguration.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Error of loading of the certificate.</source>
        <translation>Fehler beim Laden des Zertifikats.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="355"/>
        <source>Error of loading of the key.</source>
        <translation>Fehler beim Laden des Schlüssels.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="464"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Der Stealth-Tunnel konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>The connection profile could not be written.</source>
        <translation>Das Verbindungsprofil konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="609"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Das Ändern der Zeitzone wird auf Ihrem System nicht unterstützt.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="627"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Die Zeitzone wurde nicht geändert, da keine Daten vorliegen.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="876"/>
        <source>Name of update file is empty.</source>
        <translation>Der Name der Update-Datei ist leer.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="880"/>
        <source>Error during installing update.</source>
        <translation>Fehler beim Installieren des Updates.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="924"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN-Abonnement gültig bis: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="984"/>
        <source>Show connection</source>
        <translation>Verbindung anzeigen</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="475"/>
        <location filename="../pages/connectwindow.cpp" line="964"/>
        <source>Disconnecting</source>
        <translation>Verbindung wird getrennt</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="70"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="71"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="72"/>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="73"/>
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
        <location filename="../../network/getmanager.cpp" line="26"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Anfrage nicht gesendet: Die Verbindung ist nicht verschlüsselt.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="56"/>
        <source>Username </source>
        <translation>Benutzername </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="63"/>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="70"/>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="29"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Geben Sie Benutzername und Passwort ein, um sich anzumelden.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Anmeldung läuft...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="140"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Der Hilfsdienst des Programms konnte nicht installiert werden. Bitte wenden Sie sich an den Support.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="267"/>
        <source>Wrong Login/Password.</source>
        <translation>Falscher Benutzername oder falsches Passwort.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="294"/>
        <source>Application has no access to Zentaro</source>
        <translation>Die Anwendung hat keinen Zugriff auf Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="295"/>
        <source>Application has no access to network.</source>
        <translation>Die Anwendung hat keinen Netzwerkzugriff.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="522"/>
        <source>Logout</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="520"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>Die VPN-Verbindung ist aktiv. 
Trennen und abmelden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="521"/>
        <source>Do you want to logout?</source>
        <translation>Möchten Sie sich abmelden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>Die VPN-Verbindung ist aktiv. Trennen und beenden?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="764"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Eine neue Version wird über einen unsicheren Link angeboten. Sie wurde nicht heruntergeladen.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Kestrova Update</source>
        <translation>Kestrova-Update</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Available new update. Download it?</source>
        <translation>Ein neues Update ist verfügbar. Jetzt herunterladen?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="821"/>
        <source>Error during downloading update.</source>
        <translation>Fehler beim Herunterladen des Updates.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="828"/>
        <source>Error during installing update.</source>
        <translation>Fehler beim Installieren des Updates.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="848"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Ihre Version ist veraltet. Bitte laden Sie die neue Kestrova-App herunter: </translation>
    </message>
    <message>
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
        <location filename="../../network/networkmanager.cpp" line="273"/>
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
        <location filename="../main.cpp" line="43"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>SSL-Bibliotheken nicht gefunden! Binden Sie die Bibliothek in Version %1 ein</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="55"/>
        <source>Run appplication hidden</source>
        <translation>Anwendung verborgen starten</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="56"/>
        <source>Autostart mode</source>
        <translation>Autostart-Modus</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="53"/>
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
        <location filename="../pages/settingswindow.ui" line="74"/>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="85"/>
        <source>Choose VPN protocol:</source>
        <translation>VPN-Protokoll wählen:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="98"/>
        <source>Launch on startup</source>
        <translation>Beim Systemstart öffnen</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="105"/>
        <source>Connect to VPN when app is started</source>
        <translation>Beim Start der App mit VPN verbinden</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="112"/>
        <source>Change timezone using IP address</source>
        <translation>Zeitzone nach IP-Adresse ändern</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="118"/>
        <source>After connection to VPN server</source>
        <translation>Nach der Verbindung zum VPN-Server</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="125"/>
        <source>Kill switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>Leckschutz für IPv4, IPv6, DNS4, DNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="138"/>
        <source>Allow access to local devices</source>
        <translation>Zugriff auf lokale Geräte erlauben</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Printers, routers, etc</source>
        <translation>Drucker, Router usw.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="157"/>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="77"/>
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
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
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
        <location filename="../../connection/stunnelmanager.cpp" line="188"/>
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
        <location filename="../systemtray.cpp" line="144"/>
        <source>Reconnect</source>
        <translation>Neu verbinden</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="145"/>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="127"/>
        <source>Connected to %1</source>
        <translation>Verbunden mit %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Ihre Verbindung ist jetzt verschlüsselt und geschützt!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="131"/>
        <source>Connecting to %1</source>
        <translation>Verbinde mit %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="134"/>
        <source>Connect %1</source>
        <translation>Verbinden: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="106"/>
        <source>Your connection is not secured now!</source>
        <translation>Ihre Verbindung ist jetzt nicht geschützt!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="130"/>
        <source>Disconnecting</source>
        <translation>Verbindung wird getrennt</translation>
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
