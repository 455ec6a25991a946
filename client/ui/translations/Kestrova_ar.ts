<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar_EG">
<context>
    <name>AbstractTreeItemDelegate</name>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="100"/>
        <source>%1 ms</source>
        <translation>%1 مللي ثانية</translation>
    </message>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="139"/>
        <source>Double %1</source>
        <translation>VPN مزدوج %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>الحساب</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>تسجيل الخروج</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>اسم مستخدم VPN:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>تغيير</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>التجديد على الموقع</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>شراء اشتراك VPN على الموقع</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>نقبل على الموقع الدفع عبر أنظمة دفع متعددة، منها Bitcoin وPayPal وYandex Money وغيرها.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="32"/>
        <source>VPN subscription expires: %1</source>
        <translation>ينتهي اشتراك VPN في: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="748"/>
        <source>Location not selected</source>
        <translation>لم يتم اختيار موقع</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="121"/>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="1015"/>
        <source>Select VPN Location</source>
        <translation>اختر موقع VPN</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="158"/>
        <source>Renew on site</source>
        <translation>التجديد على الموقع</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="164"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>نقبل على الموقع الدفع عبر أنظمة دفع متعددة، منها Bitcoin وPayPal وYandex Money وغيرها.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="214"/>
        <source>Firewall does not support on your system.</source>
        <translation>جدار الحماية غير مدعوم على نظامك.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>The kill switch could not be switched on.</source>
        <translation>تعذّر تفعيل مفتاح قطع الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="244"/>
        <source>The kill switch could not be switched off.</source>
        <translation>تعذّر تعطيل مفتاح قطع الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="252"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>خدمة نظام Kestrova لا تعمل، لذا لا يستطيع مفتاح قطع الاتصال حماية هذا الاتصال. شغّلها بالأمر:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="351"/>
        <source>Error of loading of the config.</source>
        <translation>خطأ في تحميل الإعدادات.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Error of loading of the certificate.</source>
        <translation>خطأ في تحميل الشهادة.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="355"/>
        <source>Error of loading of the key.</source>
        <translation>خطأ في تحميل المفتاح.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="464"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>تعذّر تشغيل النفق المخفي: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>The connection profile could not be written.</source>
        <translation>تعذّرت كتابة ملف تعريف الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="609"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>تغيير المنطقة الزمنية غير مدعوم على نظامك.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="627"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>لم تتغير المنطقة الزمنية لعدم توفر البيانات.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="876"/>
        <source>Name of update file is empty.</source>
        <translation>اسم ملف التحديث فارغ.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="880"/>
        <source>Error during installing update.</source>
        <translation>حدث خطأ أثناء تثبيت التحديث.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="924"/>
        <source>VPN subscription expires: %1</source>
        <translation>ينتهي اشتراك VPN في: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="967"/>
        <location filename="../pages/connectwindow.cpp" line="984"/>
        <source>Show connection</source>
        <translation>عرض الاتصال</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="475"/>
        <location filename="../pages/connectwindow.cpp" line="964"/>
        <source>Disconnecting</source>
        <translation>جارٍ قطع الاتصال</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="70"/>
        <source>Ok</source>
        <translation>موافق</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="71"/>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="72"/>
        <source>No</source>
        <translation>لا</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="73"/>
        <source>Yes</source>
        <translation>نعم</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>المفضلة</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>الموصى بها</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="26"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>لم يُرسَل الطلب لأن الاتصال غير مشفّر.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="56"/>
        <source>Username </source>
        <translation>اسم المستخدم </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="63"/>
        <source>Password</source>
        <translation>كلمة المرور</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="70"/>
        <source>Login</source>
        <translation>تسجيل الدخول</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="29"/>
        <source>You must enter username and password to sign in.</source>
        <translation>أدخل اسم المستخدم وكلمة المرور لتسجيل الدخول.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>جارٍ تسجيل الدخول...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="140"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>تعذّر تثبيت الخدمة المساعدة للبرنامج. يرجى التواصل مع الدعم.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="267"/>
        <source>Wrong Login/Password.</source>
        <translation>اسم المستخدم أو كلمة المرور غير صحيحة.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="294"/>
        <source>Application has no access to Zentaro</source>
        <translation>لا يمكن للتطبيق الوصول إلى Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="295"/>
        <source>Application has no access to network.</source>
        <translation>لا يمكن للتطبيق الوصول إلى الشبكة.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="522"/>
        <source>Logout</source>
        <translation>تسجيل الخروج</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="505"/>
        <location filename="../mainwindow.cpp" line="520"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>اتصال VPN نشط. 
هل تريد قطع الاتصال وتسجيل الخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="521"/>
        <source>Do you want to logout?</source>
        <translation>هل تريد تسجيل الخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>Exit</source>
        <translation>خروج</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="670"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>اتصال VPN نشط. هل تريد قطع الاتصال والخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="764"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>يُعرض إصدار جديد عبر رابط غير آمن. لم يتم تنزيله.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Kestrova Update</source>
        <translation>تحديث Kestrova</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="771"/>
        <source>Available new update. Download it?</source>
        <translation>يتوفر تحديث جديد. هل تريد تنزيله؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="821"/>
        <source>Error during downloading update.</source>
        <translation>حدث خطأ أثناء تنزيل التحديث.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="828"/>
        <source>Error during installing update.</source>
        <translation>حدث خطأ أثناء تثبيت التحديث.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="848"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>إصدارك قديم. يرجى تنزيل تطبيق Kestrova الجديد من </translation>
    </message>
    <message>
        <source>The service is not answering. Please try again later.</source>
        <translation>الخدمة لا تستجيب. يرجى المحاولة مرة أخرى لاحقًا.</translation>
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
        <translation>أرسلت الخدمة ردًا غير مقروء.</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>تحديث</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>جارٍ تنزيل التحديث. يرجى الانتظار...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <location filename="layoutdirection.cpp" line="8"/>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../main.cpp" line="43"/>
        <source>Error</source>
        <translation>خطأ</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="44"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>لم يتم العثور على مكتبات SSL! اربط مكتبة الإصدار %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="55"/>
        <source>Run appplication hidden</source>
        <translation>تشغيل التطبيق مخفيًا</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="56"/>
        <source>Autostart mode</source>
        <translation>وضع التشغيل التلقائي</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="53"/>
        <source>Location</source>
        <translation>الموقع</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>اختر اسم مستخدم VPN للاتصال</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>متابعة</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>المفضلة</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>VPN عادي</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>VPN مزدوج</translation>
    </message>
    <message>
        <source>No servers match</source>
        <translation>لا توجد خوادم مطابقة</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>الإعدادات</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="74"/>
        <source>Language:</source>
        <translation>اللغة:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="85"/>
        <source>Choose VPN protocol:</source>
        <translation>اختر بروتوكول VPN:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="98"/>
        <source>Launch on startup</source>
        <translation>التشغيل عند بدء النظام</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="105"/>
        <source>Connect to VPN when app is started</source>
        <translation>الاتصال بـ VPN عند فتح التطبيق</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="112"/>
        <source>Change timezone using IP address</source>
        <translation>تغيير المنطقة الزمنية حسب عنوان IP</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="118"/>
        <source>After connection to VPN server</source>
        <translation>بعد الاتصال بخادم VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="125"/>
        <source>Kill switch</source>
        <translation>مفتاح قطع الاتصال</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>الحماية من تسرب IPv4 وIPv6 وDNS4 وDNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="138"/>
        <source>Allow access to local devices</source>
        <translation>السماح بالوصول إلى الأجهزة المحلية</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Printers, routers, etc</source>
        <translation>الطابعات، أجهزة التوجيه، إلخ</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="157"/>
        <source>Version:</source>
        <translation>الإصدار:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="77"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>تُحفظ كلمات المرور في ملف لا يقرؤه أحد سواك: لا تتوفر سلسلة مفاتيح</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>تفاصيل الاتصال</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <source>Copy</source>
        <translation>نسخ</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>تم النسخ</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>لا يوجد منفذ محلي متاح للنفق المخفي.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>لا يمكن كتابة إعدادات النفق المخفي.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>لا يمكن تشغيل النفق المخفي: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>لم يبدأ النفق المخفي في الوقت المحدد.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>فشل تشغيل النفق المخفي.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="188"/>
        <source>Invalid stealth server address or name.</source>
        <translation>عنوان خادم النفق المخفي أو اسمه غير صالح.</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>الحساب</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>تسجيل الخروج</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>ليس لديك اشتراك VPN نشط.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>شراء اشتراك VPN على الموقع</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>نقبل على الموقع الدفع عبر أنظمة دفع متعددة، منها Bitcoin وPayPal وYandex Money وغيرها.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>اتصال</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="144"/>
        <source>Reconnect</source>
        <translation>إعادة الاتصال</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="145"/>
        <source>Disconnect</source>
        <translation>قطع الاتصال</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Quit</source>
        <translation>إنهاء</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="127"/>
        <source>Connected to %1</source>
        <translation>متصل بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>اتصالك الآن مشفّر وآمن!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="131"/>
        <source>Connecting to %1</source>
        <translation>جارٍ الاتصال بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="134"/>
        <source>Connect %1</source>
        <translation>الاتصال بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="106"/>
        <source>Your connection is not secured now!</source>
        <translation>اتصالك الآن غير آمن!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="130"/>
        <source>Disconnecting</source>
        <translation>جارٍ قطع الاتصال</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (أكثر أمانًا)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (أسرع)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>محاكاة HTTPS</translation>
    </message>
</context>
</TS>
