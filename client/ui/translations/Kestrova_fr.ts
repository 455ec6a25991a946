<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <location filename="../pages/accountwindow.cpp" line="37"/>
        <source>VPN subscription expires: %1</source>
        <translation>Abonnement VPN valable jusqu&apos;au&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="341"/>
        <source>Location not selected</source>
        <translation>Aucun emplacement sélectionné</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="127"/>
        <location filename="../pages/connectwindow.cpp" line="313"/>
        <location filename="../pages/connectwindow.cpp" line="482"/>
        <source>Select VPN Location</source>
        <translation>Choisir un emplacement VPN</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="177"/>
        <source>Renew on site</source>
        <translation>Renouveler sur le site</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="183"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sur le site, nous acceptons les paiements par divers moyens, dont Bitcoin, PayPal, Yandex Money et d&apos;autres.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="217"/>
        <source>Firewall does not support on your system.</source>
        <translation>Le pare-feu n&apos;est pas pris en charge par votre système.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="221"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Impossible d&apos;activer le kill switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="225"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Impossible de désactiver le kill switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="394"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Le service système de Kestrova ne fonctionne pas, le kill switch ne peut donc pas protéger cette connexion. Démarrez-le avec :</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="178"/>
        <source>Error of loading of the config.</source>
        <translation>Erreur lors du chargement de la configuration.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="181"/>
        <source>Error of loading of the certificate.</source>
        <translation>Erreur lors du chargement du certificat.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="184"/>
        <source>Error of loading of the key.</source>
        <translation>Erreur lors du chargement de la clé.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="187"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Impossible de démarrer le tunnel furtif&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="190"/>
        <source>The connection profile could not be written.</source>
        <translation>Impossible d&apos;écrire le profil de connexion.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Le changement de fuseau horaire n&apos;est pas pris en charge par votre système.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="237"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Fuseau horaire inchangé faute de données.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="439"/>
        <source>VPN subscription expires: %1</source>
        <translation>Abonnement VPN valable jusqu&apos;au&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="281"/>
        <location filename="../pages/connectwindow.cpp" line="481"/>
        <source>Show connection</source>
        <translation>Afficher la connexion</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="333"/>
        <location filename="../pages/connectwindow.cpp" line="359"/>
        <location filename="../pages/connectwindow.cpp" line="479"/>
        <source>Disconnecting</source>
        <translation>Déconnexion</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="417"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>Internet bloqué par le kill switch jusqu&apos;à ce que vous vous connectiez</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>Kill switch settings</source>
        <translation>Réglages du kill switch</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="397"/>
        <source>Kestrova&apos;s system service is not running, so no connection can be made. Start it with:</source>
        <translation>Le service système de Kestrova ne fonctionne pas, aucune connexion n&apos;est donc possible. Démarrez-le avec :</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="193"/>
        <source>The server did not answer in time. Try again or choose another location.</source>
        <translation>Le serveur n&apos;a pas répondu à temps. Réessayez ou choisissez un autre emplacement.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="350"/>
        <source>Connecting...</source>
        <translation>Connexion...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Reconnecting...</source>
        <translation>Reconnexion...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="356"/>
        <source>Connected</source>
        <translation>Connecté</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="363"/>
        <source>Disconnected</source>
        <translation>Déconnecté</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <location filename="../../connection/connection.cpp" line="93"/>
        <source>Invalid username or password</source>
        <translation>Nom d&apos;utilisateur ou mot de passe incorrect</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="95"/>
        <source>Not open openvpn socket</source>
        <translation>Impossible d&apos;ouvrir le port de gestion d&apos;OpenVPN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="97"/>
        <source>Can not alocate TUN</source>
        <translation>Impossible de créer l&apos;interface TUN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="99"/>
        <source>Can not connect to helper</source>
        <translation>Impossible de joindre le service Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="101"/>
        <source>Can not write to helper</source>
        <translation>Impossible d&apos;envoyer la commande au service Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="103"/>
        <source>Code error: %1</source>
        <translation>Code d&apos;erreur : %1</translation>
    </message>
</context>
<context>
    <name>ConnectionSession</name>
    <message>
        <location filename="../../connection/connectionsession.cpp" line="518"/>
        <source>stunnel has stopped.</source>
        <translation>stunnel s’est arrêté.</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="123"/>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="124"/>
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
        <location filename="../../network/getmanager.cpp" line="28"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Requête non envoyée&#xa0;: la connexion n&apos;est pas chiffrée.</translation>
    </message>
</context>
<context>
    <name>KestrovaCli</name>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="51"/>
        <source>Kestrova is running (the window or a connection of the command line): disconnect and close it first.</source>
        <translation>Kestrova est déjà lancé (la fenêtre ou une connexion de la ligne de commande) : déconnectez-le et fermez-le d&apos;abord.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="59"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Saisissez le nom d&apos;utilisateur et le mot de passe pour vous connecter.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="89"/>
        <source>Wrong Login/Password.</source>
        <translation>Identifiant ou mot de passe incorrect.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="93"/>
        <source>This account has no VPN subscription. Buy one on %1</source>
        <translation>Ce compte n&apos;a pas d&apos;abonnement VPN. Vous pouvez en acheter un sur %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="96"/>
        <source>Your version is outdated. Please, download new Kestrova app on %1</source>
        <translation>Votre version est obsolète. Veuillez télécharger la nouvelle application Kestrova sur %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="100"/>
        <source>The VPN service did not answer.</source>
        <translation>Le service VPN n&apos;a pas répondu.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="101"/>
        <source>The VPN service did not answer: %1</source>
        <translation>Le service VPN n&apos;a pas répondu : %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="124"/>
        <source>Signed in as %1 (VPN login %2).</source>
        <translation>Connecté en tant que %1 (identifiant VPN %2).</translation>
    </message>
    <message numerus="yes">
        <location filename="../../cli/accountcommands.cpp" line="126"/>
        <source>The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN</source>
        <translation>
            <numerusform>Le compte a %n identifiant VPN ; pour en choisir un autre : kestrova-cli account use LOGIN</numerusform>
            <numerusform>Le compte a %n identifiants VPN ; pour en choisir un autre : kestrova-cli account use LOGIN</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Signed out.</source>
        <translation>Déconnecté du compte.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Not signed in.</source>
        <translation>Non connecté au compte.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="152"/>
        <location filename="../../cli/accountcommands.cpp" line="187"/>
        <location filename="../../cli/servercommands.cpp" line="77"/>
        <location filename="../../cli/servercommands.cpp" line="134"/>
        <location filename="../../cli/sessioncommands.cpp" line="102"/>
        <location filename="../../control/sessioncontrol.cpp" line="252"/>
        <source>Not signed in. Sign in with: kestrova-cli login USER</source>
        <translation>Non connecté au compte. Connectez-vous avec : kestrova-cli login USER</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>VPN LOGIN</source>
        <translation>IDENTIFIANT VPN</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>EXPIRES</source>
        <translation>EXPIRATION</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="168"/>
        <source>(in use)</source>
        <translation>(utilisé)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>Account: %1 (%2)</source>
        <translation>Compte : %1 (%2)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>lite</source>
        <translation>lite</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>full</source>
        <translation>complet</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="190"/>
        <source>The account has no VPN login %1.</source>
        <translation>Le compte n&apos;a pas d&apos;identifiant VPN %1.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="204"/>
        <source>VPN login %1 in use.</source>
        <translation>Identifiant VPN %1 utilisé.</translation>
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
        <translation>Utilisation: kestrova-cli [--json] COMMAND [ARGUMENTS]

Commandes:
  login USER [--password-stdin]   se connecter (le mot de passe est demandé sans écho)
  logout                          se déconnecter et oublier les données du compte
  account                         le compte et ses identifiants VPN
  account use LOGIN               se connecter avec un autre identifiant VPN du compte
  servers [TEXT] [--favorites]    les emplacements, leur type et leur latence
  favorite add|remove NAME        marquer ou démarquer un emplacement favori
  connect [LOCATION]              se connecter (sans emplacement : le dernier) et attendre
  disconnect                      mettre fin à la connexion
  reconnect                       couper puis rétablir la connexion au même emplacement
  status                          l&apos;état de la connexion
  quit                            mettre fin à la connexion et à sa session d&apos;arrière-plan
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      les paramètres

--json affiche un seul document JSON sur la sortie standard.
Code de sortie : 0 fait, 1 échec, 2 utilisation, 3 non connecté, 4 introuvable,
5 connexion refusée, 6 service injoignable, 7 kestrovad arrêté, 8 occupé.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="72"/>
        <source>Wrong arguments for %1.</source>
        <translation>Arguments incorrects pour %1.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="88"/>
        <source>Password: </source>
        <translation>Mot de passe : </translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="91"/>
        <source>No terminal to ask for the password: give it with --password-stdin.</source>
        <translation>Aucun terminal pour demander le mot de passe : indiquez-le avec --password-stdin.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="144"/>
        <source>Unknown command %1.</source>
        <translation>Commande inconnue : %1.</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="65"/>
        <source>Cannot start the background session: %1</source>
        <translation>Impossible de démarrer la session d&apos;arrière-plan : %1</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="87"/>
        <source>The background session did not start.</source>
        <translation>La session d&apos;arrière-plan n&apos;a pas démarré.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>NAME</source>
        <translation>NOM</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LOCATION</source>
        <translation>EMPLACEMENT</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>KIND</source>
        <translation>TYPE</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LATENCY</source>
        <translation>LATENCE</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="117"/>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No favourite locations.</source>
        <translation>Aucun emplacement favori.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No locations match.</source>
        <translation>Aucun emplacement ne correspond.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="138"/>
        <location filename="../../control/sessioncontrol.cpp" line="228"/>
        <location filename="../../control/sessioncontrol.cpp" line="277"/>
        <source>No location named %1.</source>
        <translation>Aucun emplacement nommé %1.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="149"/>
        <source>%1 is a favourite.</source>
        <translation>%1 est maintenant un favori.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="150"/>
        <source>%1 is no longer a favourite.</source>
        <translation>%1 n&apos;est plus un favori.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>on</source>
        <translation>activé</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>off</source>
        <translation>désactivé</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="25"/>
        <source>connected to %1 over %2, tunnel address %3, kill switch %4</source>
        <translation>connecté à %1 via %2, adresse du tunnel %3, kill switch %4</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="26"/>
        <source>unknown</source>
        <translation>inconnue</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="28"/>
        <source>%1, kill switch %2</source>
        <translation>%1, kill switch %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="30"/>
        <source>%1 (%2), kill switch %3</source>
        <translation>%1 (%2), kill switch %3</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="34"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>Internet bloqué par le kill switch jusqu&apos;à ce que vous vous connectiez</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="39"/>
        <source>since %1</source>
        <translation>depuis %1</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="42"/>
        <source>traffic %1 in, %2 out</source>
        <translation>trafic %1 reçus, %2 envoyés</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="48"/>
        <source>last error: %1</source>
        <translation>dernière erreur : %1</translation>
    </message>
    <message>
        <location filename="../../cli/sessioncommands.cpp" line="89"/>
        <location filename="../../control/sessioncontrol.cpp" line="359"/>
        <source>Not connected: nothing to reconnect.</source>
        <translation>Non connecté : rien à reconnecter.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="80"/>
        <location filename="../../cli/settingcommands.cpp" line="115"/>
        <source>Unknown setting %1.</source>
        <translation>Paramètre inconnu : %1.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="85"/>
        <source>The protocol is udp, tcp or stealth.</source>
        <translation>Le protocole est udp, tcp ou stealth.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="86"/>
        <source>%1 is on or off.</source>
        <translation>%1 vaut on ou off.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="90"/>
        <source>%1 needs a full subscription.</source>
        <translation>%1 nécessite un abonnement complet.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="100"/>
        <source>Saved, but the running connection did not take it: %1</source>
        <translation>Enregistré, mais la connexion en cours ne l&apos;a pas pris en compte : %1</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="29"/>
        <source>The control socket belongs to another user.</source>
        <translation>Le socket de contrôle appartient à un autre utilisateur.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="40"/>
        <source>Not connected to the engine.</source>
        <translation>Pas de liaison avec le moteur.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="60"/>
        <source>The engine ended the dialogue without an answer.</source>
        <translation>Le moteur a mis fin à l&apos;échange sans répondre.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="65"/>
        <source>The engine did not answer in time.</source>
        <translation>Le moteur n&apos;a pas répondu à temps.</translation>
    </message>
    <message>
        <location filename="../../control/controlhost.cpp" line="62"/>
        <source>Another Kestrova engine of this user holds %1.</source>
        <translation>Un autre moteur Kestrova de cet utilisateur occupe %1.</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="39"/>
        <source>Cannot create %1: %2</source>
        <translation>Impossible de créer %1 : %2</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="46"/>
        <source>%1 is not a private folder of this user: refusing to use it</source>
        <translation>%1 n&apos;est pas un dossier privé de cet utilisateur : il ne sera pas utilisé</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="48"/>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="157"/>
        <source>The request is not a control command.</source>
        <translation>La requête n&apos;est pas une commande de contrôle.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="61"/>
        <source>The Kestrova service (kestrovad) is not running.</source>
        <translation>Le service Kestrova (kestrovad) ne fonctionne pas.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="63"/>
        <source>Error of loading of the config.</source>
        <translation>Erreur lors du chargement de la configuration.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="65"/>
        <source>Error of loading of the certificate.</source>
        <translation>Erreur lors du chargement du certificat.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="67"/>
        <source>Error of loading of the key.</source>
        <translation>Erreur lors du chargement de la clé.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="69"/>
        <source>The stealth tunnel did not start: %1</source>
        <translation>Le tunnel furtif n&apos;a pas démarré : %1</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="71"/>
        <source>The OpenVPN profile could not be written.</source>
        <translation>Impossible d&apos;écrire le profil OpenVPN.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="73"/>
        <source>The connection failed.</source>
        <translation>La connexion a échoué.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="76"/>
        <source>The connection did not come up in time.</source>
        <translation>La connexion n&apos;a pas abouti à temps.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="122"/>
        <source>Preparing the connection to %1 (attempt %2 of %3)...</source>
        <translation>Préparation de la connexion à %1 (tentative %2 sur %3)...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="128"/>
        <source>Connecting to %1...</source>
        <translation>Connexion à %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="131"/>
        <source>Reconnecting to %1...</source>
        <translation>Reconnexion à %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="134"/>
        <source>Disconnecting...</source>
        <translation>Déconnexion...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="163"/>
        <source>Unknown control command %1.</source>
        <translation>Commande de contrôle inconnue : %1.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="188"/>
        <source>The connection was stopped before it came up.</source>
        <translation>La connexion a été arrêtée avant d&apos;aboutir.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="241"/>
        <source>The connection cannot start now.</source>
        <translation>La connexion ne peut pas démarrer maintenant.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="260"/>
        <source>No location chosen yet.</source>
        <translation>Aucun emplacement choisi pour l&apos;instant.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="60"/>
        <source>Username </source>
        <translation>Nom d&apos;utilisateur </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="67"/>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="74"/>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Login</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="38"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Saisissez le nom d&apos;utilisateur et le mot de passe pour vous connecter.</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Signing in...</source>
        <translation>Connexion en cours...</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="82"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="160"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Impossible d&apos;installer le service d&apos;assistance du programme. Veuillez contacter le support.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="322"/>
        <source>Wrong Login/Password.</source>
        <translation>Identifiant ou mot de passe incorrect.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="357"/>
        <source>Application has no access to Zentaro</source>
        <translation>L&apos;application n&apos;a pas accès à Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="358"/>
        <source>Application has no access to network.</source>
        <translation>L&apos;application n&apos;a pas accès au réseau.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="574"/>
        <source>Logout</source>
        <translation>Déconnexion</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="572"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>La connexion VPN est active. 
Couper le VPN et se déconnecter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="573"/>
        <source>Do you want to logout?</source>
        <translation>Voulez-vous vous déconnecter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>La connexion VPN est active. Couper le VPN et quitter&#xa0;?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="780"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Votre version est obsolète. Veuillez télécharger la nouvelle application Kestrova sur </translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="347"/>
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
        <location filename="../../network/networkmanager.cpp" line="289"/>
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
        <location filename="../main.cpp" line="46"/>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="47"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>Bibliothèques SSL introuvables&#xa0;! Liez la bibliothèque de version %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="58"/>
        <source>Run appplication hidden</source>
        <translation>Lancer l&apos;application masquée</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="59"/>
        <source>Autostart mode</source>
        <translation>Mode démarrage automatique</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="52"/>
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
        <location filename="../pages/serverlistwindow.ui" line="135"/>
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
        <location filename="../pages/settingswindow.ui" line="79"/>
        <source>Language:</source>
        <translation>Langue&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="97"/>
        <source>Choose VPN protocol:</source>
        <translation>Choisir le protocole VPN&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="117"/>
        <source>Launch on startup</source>
        <translation>Lancer au démarrage</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="124"/>
        <source>Connect to VPN when app is started</source>
        <translation>Se connecter au VPN au lancement</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>Change timezone using IP address</source>
        <translation>Changer le fuseau horaire selon l&apos;IP</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="137"/>
        <source>After connection to VPN server</source>
        <translation>Après la connexion au serveur VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Kill switch</source>
        <translation>Kill switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="150"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>Anti-fuites IPv4, IPv6, DNS4, DNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="167"/>
        <source>Allow access to local devices</source>
        <translation>Autoriser l&apos;accès aux appareils locaux</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="175"/>
        <source>Printers, routers, etc</source>
        <translation>Imprimantes, routeurs, etc.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="188"/>
        <source>Version:</source>
        <translation>Version&#xa0;:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="81"/>
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
        <location filename="../widgets/showlog.cpp" line="29"/>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.cpp" line="94"/>
        <location filename="../widgets/showlog.cpp" line="113"/>
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
        <location filename="../../connection/stunnelmanager.cpp" line="194"/>
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
        <location filename="../systemtray.cpp" line="146"/>
        <source>Reconnect</source>
        <translation>Reconnecter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="147"/>
        <source>Disconnect</source>
        <translation>Déconnecter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="148"/>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="129"/>
        <source>Connected to %1</source>
        <translation>Connecté à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Votre connexion est maintenant chiffrée et sécurisée&#xa0;!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="133"/>
        <source>Connecting to %1</source>
        <translation>Connexion à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="136"/>
        <source>Connect %1</source>
        <translation>Se connecter à %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="108"/>
        <source>Your connection is not secured now!</source>
        <translation>Votre connexion n&apos;est pas sécurisée&#xa0;!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="132"/>
        <source>Disconnecting</source>
        <translation>Déconnexion</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Kestrova Update</source>
        <translation>Mise à jour de Kestrova</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Available new update. Download it?</source>
        <translation>Une nouvelle mise à jour est disponible. La télécharger&#xa0;?</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="56"/>
        <source>Error during downloading update.</source>
        <translation>Erreur lors du téléchargement de la mise à jour.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="64"/>
        <source>Error during installing update.</source>
        <translation>Erreur lors de l&apos;installation de la mise à jour.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="74"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Une nouvelle version est proposée via un lien non sécurisé. Elle n&apos;a pas été téléchargée.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="62"/>
        <source>Name of update file is empty.</source>
        <translation>Le nom du fichier de mise à jour est vide.</translation>
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
