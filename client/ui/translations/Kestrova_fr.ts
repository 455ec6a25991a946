<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>Double VPN %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>Compte</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>Se déconnecter</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>Identifiant VPN&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>Renouveler sur le site</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Acheter un abonnement VPN sur le site</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sur le site, nous acceptons les paiements par divers moyens, dont Bitcoin, PayPal, Yandex Money et d&apos;autres.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="32"/>
        <source>VPN subscription expires: %1</source>
        <translation>Abonnement VPN valable jusqu&apos;au&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="748"/>
        <source>Location not selected</source>
        <translation>Aucun emplacement sélectionné</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="121"/>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="1015"/>
        <source>Select VPN Location</source>
        <translation>Choisir un emplacement VPN</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="158"/>
        <source>Renew on site</source>
        <translation>Renouveler sur le site</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="164"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sur le site, nous acceptons les paiements par divers moyens, dont Bitcoin, PayPal, Yandex Money et d&apos;autres.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="214"/>
        <source>Firewall does not support on your system.</source>
        <translation>Le pare-feu n&apos;est pas pris en charge par votre système.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Impossible d&apos;activer le kill switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="244"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Impossible de désactiver le kill switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="252"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Le service système de Kestrova ne fonctionne pas, le kill switch ne peut donc pas protéger cette connexion. Démarrez-le avec :</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="351"/>
        <source>Error of loading of the config.</source>
        <translation>Erreur lors du chargement de la configuration.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Error of loading of the certificate.</source>
        <translation>Erreur lors du chargement du certificat.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="355"/>
        <source>Error of loading of the key.</source>
        <translation>Erreur lors du chargement de la clé.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="464"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Impossible de démarrer le tunnel furtif&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>The connection profile could not be written.</source>
        <translation>Impossible d&apos;écrire le profil de connexion.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="609"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Le changement de fuseau horaire n&apos;est pas pris en charge par votre système.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="627"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Fuseau horaire inchangé faute de données.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="876"/>
        <source>Name of update file is empty.</source>
        <translation>Le nom du fichier de mise à jour est vide.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="880"/>
        <source>Error during installing update.</source>
        <translation>Erreur lors de l&apos;installation de la mise à jour.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="924"/>
        <source>VPN subscription expires: %1</source>
        <translation>Abonnement VPN valable jusqu&apos;au&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="984"/>
        <source>Show connection</source>
        <translation>Afficher la connexion</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="475"/>
        <location filename="../pages/connectwindow.cpp" line="964"/>
        <source>Disconnecting</source>
        <translation>Déconnexion</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="72"/>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="73"/>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>Favoris</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>Recommandés</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="26"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Requête non envoyée&#xa0;: la connexion n&apos;est pas chiffrée.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="56"/>
        <source>Username </source>
        <translation>Nom d&apos;utilisateur </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="63"/>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="70"/>
        <source>Login</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="29"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Saisissez le nom d&apos;utilisateur et le mot de passe pour vous connecter.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Connexion en cours...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="140"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Impossible d&apos;installer le service d&apos;assistance du programme. Veuillez contacter le support.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="267"/>
        <source>Wrong Login/Password.</source>
        <translation>Identifiant ou mot de passe incorrect.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="294"/>
        <source>Application has no access to Zentaro</source>
        <translation>L&apos;application n&apos;a pas accès à Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="295"/>
        <source>Application has no access to network.</source>
        <translation>L&apos;application n&apos;a pas accès au réseau.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="522"/>
        <source>Logout</source>
        <translation>Déconnexion</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="520"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>La connexion VPN est active. 
Couper le VPN et se déconnecter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="521"/>
        <source>Do you want to logout?</source>
        <translation>Voulez-vous vous déconnecter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>La connexion VPN est active. Couper le VPN et quitter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="764"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Une nouvelle version est proposée via un lien non sécurisé. Elle n&apos;a pas été téléchargée.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Kestrova Update</source>
        <translation>Mise à jour de Kestrova</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Available new update. Download it?</source>
        <translation>Une nouvelle mise à jour est disponible. La télécharger&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="821"/>
        <source>Error during downloading update.</source>
        <translation>Erreur lors du téléchargement de la mise à jour.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="828"/>
        <source>Error during installing update.</source>
        <translation>Erreur lors de l&apos;installation de la mise à jour.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="848"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Votre version est obsolète. Veuillez télécharger la nouvelle application Kestrova sur </translation>
    </message>
    <message>
        <source>The service is not answering. Please try again later.</source>
        <translation>Le service ne répond pas. Veuillez réessayer plus tard.</translation>
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
        <translation>Le service a envoyé une réponse illisible.</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>Mise à jour</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>Téléchargement de la mise à jour. Veuillez patienter...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
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
        <translation>Erreur</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>Bibliothèques SSL introuvables&#xa0;! Liez la bibliothèque de version %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="55"/>
        <source>Run appplication hidden</source>
        <translation>Lancer l&apos;application masquée</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="56"/>
        <source>Autostart mode</source>
        <translation>Mode démarrage automatique</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="53"/>
        <source>Location</source>
        <translation>Emplacement</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>Choisissez l&apos;identifiant VPN à utiliser</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>Favoris</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>VPN standard</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>Double VPN</translation>
    </message>
    <message>
        <source>No servers match</source>
        <translation>Aucun serveur ne correspond</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="74"/>
        <source>Language:</source>
        <translation>Langue&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="85"/>
        <source>Choose VPN protocol:</source>
        <translation>Choisir le protocole VPN&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="98"/>
        <source>Launch on startup</source>
        <translation>Lancer au démarrage</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="105"/>
        <source>Connect to VPN when app is started</source>
        <translation>Se connecter au VPN au lancement</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="112"/>
        <source>Change timezone using IP address</source>
        <translation>Changer le fuseau horaire selon l&apos;IP</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="118"/>
        <source>After connection to VPN server</source>
        <translation>Après la connexion au serveur VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="125"/>
        <source>Kill switch</source>
        <translation>Kill switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>Anti-fuites IPv4, IPv6, DNS4, DNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="138"/>
        <source>Allow access to local devices</source>
        <translation>Autoriser l&apos;accès aux appareils locaux</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Printers, routers, etc</source>
        <translation>Imprimantes, routeurs, etc.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="157"/>
        <source>Version:</source>
        <translation>Version&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="77"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>Les mots de passe sont enregistrés dans un fichier lisible par vous seul&#xa0;: aucun trousseau de clés n’est disponible</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>Détails de la connexion</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copié</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>Aucun port local libre pour le tunnel furtif.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>Impossible d&apos;écrire la configuration du tunnel furtif.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>Impossible de démarrer le tunnel furtif&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>Le tunnel furtif n&apos;a pas démarré à temps.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>Échec du démarrage du tunnel furtif.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="188"/>
        <source>Invalid stealth server address or name.</source>
        <translation>Adresse ou nom du serveur furtif non valide.</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>Compte</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>Se déconnecter</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>Vous n&apos;avez aucun abonnement VPN actif.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Acheter un abonnement VPN sur le site</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sur le site, nous acceptons les paiements par divers moyens, dont Bitcoin, PayPal, Yandex Money et d&apos;autres.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>Connecter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="144"/>
        <source>Reconnect</source>
        <translation>Reconnecter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="145"/>
        <source>Disconnect</source>
        <translation>Déconnecter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="127"/>
        <source>Connected to %1</source>
        <translation>Connecté à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Votre connexion est maintenant chiffrée et sécurisée&#xa0;!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="131"/>
        <source>Connecting to %1</source>
        <translation>Connexion à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="134"/>
        <source>Connect %1</source>
        <translation>Se connecter à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="106"/>
        <source>Your connection is not secured now!</source>
        <translation>Votre connexion n&apos;est pas sécurisée&#xa0;!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="130"/>
        <source>Disconnecting</source>
        <translation>Déconnexion</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (plus sûr)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (plus rapide)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>Imitation de HTTPS</translation>
    </message>
</context>
</TS>
