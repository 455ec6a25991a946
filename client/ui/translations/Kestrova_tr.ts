<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>AccountWindow</name>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login VPN:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renew on site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buy VPN subscription on the site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN subscription expires: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <source>Username </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must enter username and password to sign in.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong Login/Password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application has no access to Zentaro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application has no access to network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to logout?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kestrova Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available new update. Download it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error during downloading update.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error during installing update.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MovableWidget</name>
    <message>
        <source>Kestrova</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkManager</name>
    <message>
        <source>The service sent an unreadable reply.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <source>Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading update. Please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run appplication hidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autostart mode</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <source>Select VPN login to connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <source>Connection Details</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <source>No free local port for the stealth tunnel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not start the stealth tunnel: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stealth tunnel did not start in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stealth tunnel failed to start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid stealth server address or name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have no active VPN subscription.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buy VPN subscription on the site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your connection is encrypted and secured now!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your connection is not secured now!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <source>OpenVPN TCP (safer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenVPN UDP (faster)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imitation HTTPS</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
