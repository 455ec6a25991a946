<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
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
        <translation>Çift VPN %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>Hesap</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>Oturumu kapat</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>VPN kullanıcı adı:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>Değiştir</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>Sitede yenile</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Sitede VPN aboneliği satın al</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sitemizde Bitcoin, PayPal, Yandex Money ve diğerleri dahil olmak üzere çeşitli ödeme sistemleriyle ödeme kabul ediyoruz.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="32"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN aboneliğinin bitiş tarihi: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="748"/>
        <source>Location not selected</source>
        <translation>Konum seçilmedi</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="121"/>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="1015"/>
        <source>Select VPN Location</source>
        <translation>VPN konumu seçin</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="158"/>
        <source>Renew on site</source>
        <translation>Sitede yenile</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="164"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sitemizde Bitcoin, PayPal, Yandex Money ve diğerleri dahil olmak üzere çeşitli ödeme sistemleriyle ödeme kabul ediyoruz.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="214"/>
        <source>Firewall does not support on your system.</source>
        <translation>Güvenlik duvarı sisteminizde desteklenmiyor.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Kill Switch açılamadı.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="244"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Kill Switch kapatılamadı.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="252"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Kestrova sistem hizmeti çalışmıyor, bu nedenle Kill Switch bu bağlantıyı koruyamaz. Şu komutla başlatın:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="351"/>
        <source>Error of loading of the config.</source>
        <translation>Yapılandırma yüklenirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Error of loading of the certificate.</source>
        <translation>Sertifika yüklenirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="355"/>
        <source>Error of loading of the key.</source>
        <translation>Anahtar yüklenirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="464"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Gizli tünel başlatılamadı: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>The connection profile could not be written.</source>
        <translation>Bağlantı profili yazılamadı.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="609"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Saat dilimi değişikliği sisteminizde desteklenmiyor.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="627"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Veri olmadığı için saat dilimi değiştirilmedi.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="876"/>
        <source>Name of update file is empty.</source>
        <translation>Güncelleme dosyasının adı boş.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="880"/>
        <source>Error during installing update.</source>
        <translation>Güncelleme yüklenirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="924"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN aboneliğinin bitiş tarihi: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="984"/>
        <source>Show connection</source>
        <translation>Bağlantıyı göster</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="475"/>
        <location filename="../pages/connectwindow.cpp" line="964"/>
        <source>Disconnecting</source>
        <translation>Bağlantı kesiliyor</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="70"/>
        <source>Ok</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="71"/>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="72"/>
        <source>No</source>
        <translation>Hayır</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="73"/>
        <source>Yes</source>
        <translation>Evet</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>Favoriler</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>Önerilenler</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="26"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Şifrelenmemiş bir bağlantı üzerinden istek gönderilmesi reddedildi.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="56"/>
        <source>Username </source>
        <translation>Kullanıcı adı </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="63"/>
        <source>Password</source>
        <translation>Parola</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="70"/>
        <source>Login</source>
        <translation>Giriş yap</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="29"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Giriş yapmak için kullanıcı adını ve parolayı girmelisiniz.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Oturum açılıyor...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="140"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Programın yardımcı hizmeti yüklenemedi. Lütfen destek ekibiyle iletişime geçin.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="267"/>
        <source>Wrong Login/Password.</source>
        <translation>Kullanıcı adı veya parola yanlış.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="294"/>
        <source>Application has no access to Zentaro</source>
        <translation>Uygulamanın Zentaro&apos;ya erişimi yok</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="295"/>
        <source>Application has no access to network.</source>
        <translation>Uygulamanın ağa erişimi yok.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="522"/>
        <source>Logout</source>
        <translation>Oturumu kapat</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="520"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>VPN bağlantısı etkin. 
Bağlantı kesilip oturum kapatılsın mı?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="521"/>
        <source>Do you want to logout?</source>
        <translation>Oturumu kapatmak istiyor musunuz?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>Exit</source>
        <translation>Çıkış</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>VPN bağlantısı etkin. Bağlantı kesilip çıkılsın mı?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="764"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Yeni bir sürüm güvenli olmayan bir bağlantı üzerinden sunuluyor. İndirilmedi.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Kestrova Update</source>
        <translation>Kestrova Güncellemesi</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Available new update. Download it?</source>
        <translation>Yeni bir güncelleme var. İndirilsin mi?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="821"/>
        <source>Error during downloading update.</source>
        <translation>Güncelleme indirilirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="828"/>
        <source>Error during installing update.</source>
        <translation>Güncelleme yüklenirken hata oluştu.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="848"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Sürümünüz eski. Lütfen yeni Kestrova uygulamasını şu adresten indirin: </translation>
    </message>
    <message>
        <source>The service is not answering. Please try again later.</source>
        <translation>Hizmet yanıt vermiyor. Lütfen daha sonra tekrar deneyin.</translation>
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
        <translation>Hizmet okunamayan bir yanıt gönderdi.</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>Güncelleme</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>Güncelleme indiriliyor. Lütfen bekleyin...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>İptal</translation>
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
        <translation>Hata</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>SSL kitaplıkları bulunamadı! %1 sürümündeki kitaplığı bağlayın</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="55"/>
        <source>Run appplication hidden</source>
        <translation>Uygulamayı gizli başlat</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="56"/>
        <source>Autostart mode</source>
        <translation>Otomatik başlatma modu</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="53"/>
        <source>Location</source>
        <translation>Konum</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>Bağlanmak için VPN kullanıcı adını seçin</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>Devam et</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>Favoriler</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>Standart VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>Çift VPN</translation>
    </message>
    <message>
        <source>No servers match</source>
        <translation>Eşleşen sunucu yok</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="74"/>
        <source>Language:</source>
        <translation>Dil:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="85"/>
        <source>Choose VPN protocol:</source>
        <translation>VPN protokolünü seçin:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="98"/>
        <source>Launch on startup</source>
        <translation>Sistem açılışında başlat</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="105"/>
        <source>Connect to VPN when app is started</source>
        <translation>Uygulama açılınca VPN&apos;e bağlan</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="112"/>
        <source>Change timezone using IP address</source>
        <translation>Saat dilimini IP adresine göre değiştir</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="118"/>
        <source>After connection to VPN server</source>
        <translation>VPN sunucusuna bağlandıktan sonra</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="125"/>
        <source>Kill switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>IPv4, IPv6, DNS4, DNS6 sızıntı koruması</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="138"/>
        <source>Allow access to local devices</source>
        <translation>Yerel cihazlara erişime izin ver</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Printers, routers, etc</source>
        <translation>Yazıcılar, yönlendiriciler vb.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="157"/>
        <source>Version:</source>
        <translation>Sürüm:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="77"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>Parolalar yalnızca sizin okuyabileceğiniz bir dosyada saklanıyor: kullanılabilir anahtarlık yok</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>Bağlantı Ayrıntıları</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <source>Copy</source>
        <translation>Kopyala</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Kapat</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Kopyalandı</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>Gizli tünel için boş yerel bağlantı noktası yok.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>Gizli tünel yapılandırması yazılamıyor.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>Gizli tünel başlatılamıyor: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>Gizli tünel zamanında başlamadı.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>Gizli tünel başlatılamadı.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="188"/>
        <source>Invalid stealth server address or name.</source>
        <translation>Gizli tünel sunucusunun adresi veya adı geçersiz.</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>Hesap</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>Oturumu kapat</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>Etkin bir VPN aboneliğiniz yok.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Sitede VPN aboneliği satın al</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Sitemizde Bitcoin, PayPal, Yandex Money ve diğerleri dahil olmak üzere çeşitli ödeme sistemleriyle ödeme kabul ediyoruz.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>Bağlan</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="144"/>
        <source>Reconnect</source>
        <translation>Yeniden bağlan</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="145"/>
        <source>Disconnect</source>
        <translation>Bağlantıyı kes</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Quit</source>
        <translation>Çık</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="127"/>
        <source>Connected to %1</source>
        <translation>Bağlandı: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Bağlantınız artık şifreli ve güvende!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="131"/>
        <source>Connecting to %1</source>
        <translation>Bağlanıyor: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="134"/>
        <source>Connect %1</source>
        <translation>Bağlan %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="106"/>
        <source>Your connection is not secured now!</source>
        <translation>Bağlantınız şu anda güvende değil!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="130"/>
        <source>Disconnecting</source>
        <translation>Bağlantı kesiliyor</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (daha güvenli)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (daha hızlı)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>HTTPS taklidi</translation>
    </message>
</context>
</TS>
