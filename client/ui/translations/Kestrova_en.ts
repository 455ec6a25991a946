<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
        <translation>Double %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>Account</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>Log out</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>Login VPN:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>Change</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>Renew on site</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Buy VPN subscription on the site</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="32"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN subscription expires: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="748"/>
        <source>Location not selected</source>
        <translation>Location not selected</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="121"/>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="1015"/>
        <source>Select VPN Location</source>
        <translation>Select VPN Location</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="158"/>
        <source>Renew on site</source>
        <translation>Renew on site</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="164"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="214"/>
        <source>Firewall does not support on your system.</source>
        <translation>Firewall does not support on your system.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>The kill switch could not be switched on.</source>
        <translation>The kill switch could not be switched on.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="244"/>
        <source>The kill switch could not be switched off.</source>
        <translation>The kill switch could not be switched off.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="252"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="351"/>
        <source>Error of loading of the config.</source>
        <translation>Error of loading of the config.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Error of loading of the certificate.</source>
        <translation>Error of loading of the certificate.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="355"/>
        <source>Error of loading of the key.</source>
        <translation>Error of loading of the key.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="464"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>The stealth tunnel could not be started: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>The connection profile could not be written.</source>
        <translation>The connection profile could not be written.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="609"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Timezone changes does not support on your system.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="627"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Timezone is not changed because of no data.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="876"/>
        <source>Name of update file is empty.</source>
        <translation>Name of update file is empty.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="880"/>
        <source>Error during installing update.</source>
        <translation>Error during installing update.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="924"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN subscription expires: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="984"/>
        <source>Show connection</source>
        <translation>Show connection</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="475"/>
        <location filename="../pages/connectwindow.cpp" line="964"/>
        <source>Disconnecting</source>
        <translation>Disconnecting</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="70"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="71"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="72"/>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="73"/>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>Favorite</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>Recommended</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="26"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Refused to send a request over an unencrypted connection.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="56"/>
        <source>Username </source>
        <translation>Username </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="63"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="70"/>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="29"/>
        <source>You must enter username and password to sign in.</source>
        <translation>You must enter username and password to sign in.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Signing in...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="140"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Failed to install helper for program. Please contact support.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="267"/>
        <source>Wrong Login/Password.</source>
        <translation>Wrong Login/Password.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="294"/>
        <source>Application has no access to Zentaro</source>
        <translation>Application has no access to Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="295"/>
        <source>Application has no access to network.</source>
        <translation>Application has no access to network.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="522"/>
        <source>Logout</source>
        <translation>Logout</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="520"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>VPN connection is active. 
Disconnect and logout?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="521"/>
        <source>Do you want to logout?</source>
        <translation>Do you want to logout?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>VPN connection is active. Disconnect and exit?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="764"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>A new version is offered over an insecure link. It was not downloaded.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Kestrova Update</source>
        <translation>Kestrova Update</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Available new update. Download it?</source>
        <translation>Available new update. Download it?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="821"/>
        <source>Error during downloading update.</source>
        <translation>Error during downloading update.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="828"/>
        <source>Error during installing update.</source>
        <translation>Error during installing update.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="848"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Your version is outdated. Please, download new Kestrova app on </translation>
    </message>
    <message>
        <source>The service is not answering. Please try again later.</source>
        <translation>The service is not answering. Please try again later.</translation>
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
        <translation>The service sent an unreadable reply.</translation>
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
        <translation>Downloading update. Please wait...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
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
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>SSL libs not found! Link the version %1 library</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="55"/>
        <source>Run appplication hidden</source>
        <translation>Run appplication hidden</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="56"/>
        <source>Autostart mode</source>
        <translation>Autostart mode</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="53"/>
        <source>Location</source>
        <translation>Location</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>Select VPN login to connect</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>Favorites</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>Standard VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>Double VPN</translation>
    </message>
    <message>
        <source>No servers match</source>
        <translation>No servers match</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="74"/>
        <source>Language:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="85"/>
        <source>Choose VPN protocol:</source>
        <translation>Choose VPN protocol:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="98"/>
        <source>Launch on startup</source>
        <translation>Launch on startup</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="105"/>
        <source>Connect to VPN when app is started</source>
        <translation>Connect to VPN when app is started</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="112"/>
        <source>Change timezone using IP address</source>
        <translation>Change timezone using IP address</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="118"/>
        <source>After connection to VPN server</source>
        <translation>After connection to VPN server</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="125"/>
        <source>Kill switch</source>
        <translation>Kill switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>IPv4, IPv6, DNS4, DNS6 leaks protection</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="138"/>
        <source>Allow access to local devices</source>
        <translation>Allow access to local devices</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Printers, routers, etc</source>
        <translation>Printers, routers, etc</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="157"/>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="77"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>Passwords are stored in a file readable only by you: no keyring is available</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>Connection Details</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copied</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>No free local port for the stealth tunnel.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>Can not write the stealth tunnel configuration.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>Can not start the stealth tunnel: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>The stealth tunnel did not start in time.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>The stealth tunnel failed to start.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="188"/>
        <source>Invalid stealth server address or name.</source>
        <translation>Invalid stealth server address or name.</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>Account</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>Log out</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>You have no active VPN subscription.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Buy VPN subscription on the site</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="144"/>
        <source>Reconnect</source>
        <translation>Reconnect</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="145"/>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="127"/>
        <source>Connected to %1</source>
        <translation>Connected to %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Your connection is encrypted and secured now!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="131"/>
        <source>Connecting to %1</source>
        <translation>Connecting to %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="134"/>
        <source>Connect %1</source>
        <translation>Connect %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="106"/>
        <source>Your connection is not secured now!</source>
        <translation>Your connection is not secured now!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="130"/>
        <source>Disconnecting</source>
        <translation>Disconnecting</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (safer)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (faster)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>Imitation HTTPS</translation>
    </message>
</context>
</TS>
