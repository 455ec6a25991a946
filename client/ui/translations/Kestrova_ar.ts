<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar_EG">
<context>
    <name>AbstractTreeItemDelegate</name>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="151"/>
        <source>%1 ms</source>
        <translation>%1 مللي ثانية</translation>
    </message>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="209"/>
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
        <location filename="../pages/accountwindow.cpp" line="37"/>
        <source>VPN subscription expires: %1</source>
        <translation>ينتهي اشتراك VPN في: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="341"/>
        <source>Location not selected</source>
        <translation>لم يتم اختيار موقع</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="127"/>
        <location filename="../pages/connectwindow.cpp" line="313"/>
        <location filename="../pages/connectwindow.cpp" line="482"/>
        <source>Select VPN Location</source>
        <translation>اختر موقع VPN</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="177"/>
        <source>Renew on site</source>
        <translation>التجديد على الموقع</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="183"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>نقبل على الموقع الدفع عبر أنظمة دفع متعددة، منها Bitcoin وPayPal وYandex Money وغيرها.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="217"/>
        <source>Firewall does not support on your system.</source>
        <translation>جدار الحماية غير مدعوم على نظامك.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="221"/>
        <source>The kill switch could not be switched on.</source>
        <translation>تعذّر تفعيل مفتاح قطع الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="225"/>
        <source>The kill switch could not be switched off.</source>
        <translation>تعذّر تعطيل مفتاح قطع الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="394"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>خدمة نظام Kestrova لا تعمل، لذا لا يستطيع مفتاح قطع الاتصال حماية هذا الاتصال. شغّلها بالأمر:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="178"/>
        <source>Error of loading of the config.</source>
        <translation>خطأ في تحميل الإعدادات.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="181"/>
        <source>Error of loading of the certificate.</source>
        <translation>خطأ في تحميل الشهادة.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="184"/>
        <source>Error of loading of the key.</source>
        <translation>خطأ في تحميل المفتاح.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="187"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>تعذّر تشغيل النفق المخفي: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="190"/>
        <source>The connection profile could not be written.</source>
        <translation>تعذّرت كتابة ملف تعريف الاتصال.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>تغيير المنطقة الزمنية غير مدعوم على نظامك.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="237"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>لم تتغير المنطقة الزمنية لعدم توفر البيانات.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="439"/>
        <source>VPN subscription expires: %1</source>
        <translation>ينتهي اشتراك VPN في: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="281"/>
        <location filename="../pages/connectwindow.cpp" line="481"/>
        <source>Show connection</source>
        <translation>عرض الاتصال</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="333"/>
        <location filename="../pages/connectwindow.cpp" line="359"/>
        <location filename="../pages/connectwindow.cpp" line="479"/>
        <source>Disconnecting</source>
        <translation>جارٍ قطع الاتصال</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="417"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>الإنترنت محظور بواسطة مفتاح الإيقاف حتى تتصل</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>Kill switch settings</source>
        <translation>إعدادات مفتاح الإيقاف</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="397"/>
        <source>Kestrova&apos;s system service is not running, so no connection can be made. Start it with:</source>
        <translation>خدمة نظام Kestrova لا تعمل، لذلك لا يمكن إنشاء أي اتصال. شغّلها باستخدام:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="193"/>
        <source>The server did not answer in time. Try again or choose another location.</source>
        <translation>لم يستجب الخادم في الوقت المناسب. حاول مرة أخرى أو اختر موقعًا آخر.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="350"/>
        <source>Connecting...</source>
        <translation>جارٍ الاتصال...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Reconnecting...</source>
        <translation>جارٍ إعادة الاتصال...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="356"/>
        <source>Connected</source>
        <translation>متصل</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="363"/>
        <source>Disconnected</source>
        <translation>غير متصل</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <location filename="../../connection/connection.cpp" line="93"/>
        <source>Invalid username or password</source>
        <translation>اسم المستخدم أو كلمة المرور غير صحيحة</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="95"/>
        <source>Not open openvpn socket</source>
        <translation>تعذّر فتح منفذ إدارة OpenVPN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="97"/>
        <source>Can not alocate TUN</source>
        <translation>تعذّر إنشاء جهاز TUN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="99"/>
        <source>Can not connect to helper</source>
        <translation>تعذّر الاتصال بخدمة Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="101"/>
        <source>Can not write to helper</source>
        <translation>تعذّر إرسال الأمر إلى خدمة Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="103"/>
        <source>Code error: %1</source>
        <translation>رمز الخطأ: %1</translation>
    </message>
</context>
<context>
    <name>ConnectionSession</name>
    <message>
        <location filename="../../connection/connectionsession.cpp" line="518"/>
        <source>stunnel has stopped.</source>
        <translation>توقف stunnel.</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="121"/>
        <source>Ok</source>
        <translation>موافق</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="122"/>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="123"/>
        <source>No</source>
        <translation>لا</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="124"/>
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
        <location filename="../../network/getmanager.cpp" line="28"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>لم يُرسَل الطلب لأن الاتصال غير مشفّر.</translation>
    </message>
</context>
<context>
    <name>KestrovaCli</name>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="51"/>
        <source>Kestrova is running (the window or a connection of the command line): disconnect and close it first.</source>
        <translation>يعمل Kestrova بالفعل (النافذة أو اتصال من سطر الأوامر): اقطع الاتصال وأغلقه أولًا.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="59"/>
        <source>You must enter username and password to sign in.</source>
        <translation>أدخل اسم المستخدم وكلمة المرور لتسجيل الدخول.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="89"/>
        <source>Wrong Login/Password.</source>
        <translation>اسم المستخدم أو كلمة المرور غير صحيحة.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="93"/>
        <source>This account has no VPN subscription. Buy one on %1</source>
        <translation>لا يملك هذا الحساب اشتراك VPN. يمكنك شراء اشتراك من %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="96"/>
        <source>Your version is outdated. Please, download new Kestrova app on %1</source>
        <translation>إصدارك قديم. يرجى تنزيل تطبيق Kestrova الجديد من %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="100"/>
        <source>The VPN service did not answer.</source>
        <translation>لم تستجب خدمة VPN.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="101"/>
        <source>The VPN service did not answer: %1</source>
        <translation>لم تستجب خدمة VPN: %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="124"/>
        <source>Signed in as %1 (VPN login %2).</source>
        <translation>تم تسجيل الدخول باسم %1 (اسم مستخدم VPN %2).</translation>
    </message>
    <message numerus="yes">
        <location filename="../../cli/accountcommands.cpp" line="126"/>
        <source>The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN</source>
        <translation>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
            <numerusform>عدد أسماء مستخدمي VPN في الحساب: %n؛ لاختيار اسم آخر: kestrova-cli account use LOGIN</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Signed out.</source>
        <translation>تم تسجيل الخروج.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Not signed in.</source>
        <translation>لم يتم تسجيل الدخول.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="152"/>
        <location filename="../../cli/accountcommands.cpp" line="187"/>
        <location filename="../../cli/servercommands.cpp" line="77"/>
        <location filename="../../cli/servercommands.cpp" line="134"/>
        <location filename="../../cli/sessioncommands.cpp" line="102"/>
        <location filename="../../control/sessioncontrol.cpp" line="252"/>
        <source>Not signed in. Sign in with: kestrova-cli login USER</source>
        <translation>لم يتم تسجيل الدخول. سجّل الدخول بالأمر: kestrova-cli login USER</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>VPN LOGIN</source>
        <translation>اسم مستخدم VPN</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>EXPIRES</source>
        <translation>ينتهي في</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="168"/>
        <source>(in use)</source>
        <translation>(قيد الاستخدام)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>Account: %1 (%2)</source>
        <translation>الحساب: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>lite</source>
        <translation>لايت</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>full</source>
        <translation>كامل</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="190"/>
        <source>The account has no VPN login %1.</source>
        <translation>لا يملك الحساب اسم مستخدم VPN باسم %1.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="204"/>
        <source>VPN login %1 in use.</source>
        <translation>اسم مستخدم VPN %1 قيد الاستخدام.</translation>
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
        <translation>الاستخدام: kestrova-cli [--json] COMMAND [ARGUMENTS]

الأوامر:
  login USER [--password-stdin]   تسجيل الدخول (تُطلب كلمة المرور دون إظهارها)
  logout                          تسجيل الخروج ونسيان بيانات الحساب
  account                         الحساب وأسماء مستخدمي VPN فيه
  account use LOGIN               الاتصال باسم مستخدم VPN آخر من الحساب
  servers [TEXT] [--favorites]    المواقع ونوعها وزمن استجابتها
  favorite add|remove NAME        إضافة موقع إلى المفضلة أو إزالته منها
  connect [LOCATION]              الاتصال (دون موقع: آخر موقع) والانتظار
  disconnect                      إنهاء الاتصال
  reconnect                       قطع الاتصال ثم إعادته إلى الموقع نفسه
  status                          حالة الاتصال
  quit                            إنهاء الاتصال وجلسته في الخلفية
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      الإعدادات

يطبع ‎--json مستند JSON واحدًا على المخرج القياسي.
حالة الخروج: 0 تم، 1 فشل، 2 استخدام خاطئ، 3 لم يُسجَّل الدخول، 4 غير موجود،
5 رُفض تسجيل الدخول، 6 تعذّر الوصول إلى الخدمة، 7 kestrovad لا يعمل، 8 مشغول.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="72"/>
        <source>Wrong arguments for %1.</source>
        <translation>وسائط غير صحيحة للأمر %1.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="88"/>
        <source>Password: </source>
        <translation>كلمة المرور: </translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="91"/>
        <source>No terminal to ask for the password: give it with --password-stdin.</source>
        <translation>لا توجد طرفية لطلب كلمة المرور: مرّرها باستخدام --password-stdin.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="144"/>
        <source>Unknown command %1.</source>
        <translation>أمر غير معروف: %1.</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="65"/>
        <source>Cannot start the background session: %1</source>
        <translation>تعذّر بدء الجلسة في الخلفية: %1</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="87"/>
        <source>The background session did not start.</source>
        <translation>لم تبدأ الجلسة في الخلفية.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>NAME</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LOCATION</source>
        <translation>الموقع</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>KIND</source>
        <translation>النوع</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LATENCY</source>
        <translation>زمن الاستجابة</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="117"/>
        <source>%1 ms</source>
        <translation>%1 مللي ثانية</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No favourite locations.</source>
        <translation>لا توجد مواقع مفضلة.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No locations match.</source>
        <translation>لا توجد مواقع مطابقة.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="138"/>
        <location filename="../../control/sessioncontrol.cpp" line="228"/>
        <location filename="../../control/sessioncontrol.cpp" line="277"/>
        <source>No location named %1.</source>
        <translation>لا يوجد موقع باسم %1.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="149"/>
        <source>%1 is a favourite.</source>
        <translation>أصبح %1 من المفضلة.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="150"/>
        <source>%1 is no longer a favourite.</source>
        <translation>لم يعد %1 من المفضلة.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>on</source>
        <translation>مفعّل</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>off</source>
        <translation>معطّل</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="25"/>
        <source>connected to %1 over %2, tunnel address %3, kill switch %4</source>
        <translation>متصل بـ %1 عبر %2، عنوان النفق %3، مفتاح قطع الاتصال %4</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="26"/>
        <source>unknown</source>
        <translation>غير معروف</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="28"/>
        <source>%1, kill switch %2</source>
        <translation>%1، مفتاح قطع الاتصال %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="30"/>
        <source>%1 (%2), kill switch %3</source>
        <translation>%1 (%2)، مفتاح قطع الاتصال %3</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="34"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>الإنترنت محظور بواسطة مفتاح الإيقاف حتى تتصل</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="39"/>
        <source>since %1</source>
        <translation>منذ %1</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="42"/>
        <source>traffic %1 in, %2 out</source>
        <translation>حركة البيانات: %1 واردة، %2 صادرة</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="48"/>
        <source>last error: %1</source>
        <translation>آخر خطأ: %1</translation>
    </message>
    <message>
        <location filename="../../cli/sessioncommands.cpp" line="89"/>
        <location filename="../../control/sessioncontrol.cpp" line="359"/>
        <source>Not connected: nothing to reconnect.</source>
        <translation>غير متصل: لا يوجد ما يُعاد الاتصال به.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="80"/>
        <location filename="../../cli/settingcommands.cpp" line="115"/>
        <source>Unknown setting %1.</source>
        <translation>إعداد غير معروف: %1.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="85"/>
        <source>The protocol is udp, tcp or stealth.</source>
        <translation>البروتوكول هو udp أو tcp أو stealth.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="86"/>
        <source>%1 is on or off.</source>
        <translation>قيمة %1 هي on أو off.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="90"/>
        <source>%1 needs a full subscription.</source>
        <translation>يتطلب %1 اشتراكًا كاملًا.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="100"/>
        <source>Saved, but the running connection did not take it: %1</source>
        <translation>تم الحفظ، لكن الاتصال الجاري لم يطبّقه: %1</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="29"/>
        <source>The control socket belongs to another user.</source>
        <translation>مقبس التحكم يخص مستخدمًا آخر.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="40"/>
        <source>Not connected to the engine.</source>
        <translation>غير متصل بالمحرّك.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="60"/>
        <source>The engine ended the dialogue without an answer.</source>
        <translation>أنهى المحرّك الحوار دون إجابة.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="65"/>
        <source>The engine did not answer in time.</source>
        <translation>لم يُجب المحرّك في الوقت المحدد.</translation>
    </message>
    <message>
        <location filename="../../control/controlhost.cpp" line="62"/>
        <source>Another Kestrova engine of this user holds %1.</source>
        <translation>محرّك Kestrova آخر لهذا المستخدم يشغل %1.</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="39"/>
        <source>Cannot create %1: %2</source>
        <translation>تعذّر إنشاء %1: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="46"/>
        <source>%1 is not a private folder of this user: refusing to use it</source>
        <translation>%1 ليس مجلدًا خاصًا بهذا المستخدم: لن يُستخدم</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="48"/>
        <source>Cannot open %1: %2</source>
        <translation>تعذّر فتح %1: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="157"/>
        <source>The request is not a control command.</source>
        <translation>الطلب ليس أمر تحكم.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="61"/>
        <source>The Kestrova service (kestrovad) is not running.</source>
        <translation>خدمة Kestrova ‏(kestrovad) لا تعمل.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="63"/>
        <source>Error of loading of the config.</source>
        <translation>خطأ في تحميل الإعدادات.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="65"/>
        <source>Error of loading of the certificate.</source>
        <translation>خطأ في تحميل الشهادة.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="67"/>
        <source>Error of loading of the key.</source>
        <translation>خطأ في تحميل المفتاح.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="69"/>
        <source>The stealth tunnel did not start: %1</source>
        <translation>لم يبدأ النفق المخفي: %1</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="71"/>
        <source>The OpenVPN profile could not be written.</source>
        <translation>تعذّرت كتابة ملف تعريف OpenVPN.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="73"/>
        <source>The connection failed.</source>
        <translation>فشل الاتصال.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="76"/>
        <source>The connection did not come up in time.</source>
        <translation>لم يكتمل الاتصال في الوقت المحدد.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="122"/>
        <source>Preparing the connection to %1 (attempt %2 of %3)...</source>
        <translation>جارٍ تحضير الاتصال بـ %1 (المحاولة %2 من %3)...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="128"/>
        <source>Connecting to %1...</source>
        <translation>جارٍ الاتصال بـ %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="131"/>
        <source>Reconnecting to %1...</source>
        <translation>جارٍ إعادة الاتصال بـ %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="134"/>
        <source>Disconnecting...</source>
        <translation>جارٍ قطع الاتصال...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="163"/>
        <source>Unknown control command %1.</source>
        <translation>أمر تحكم غير معروف: %1.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="188"/>
        <source>The connection was stopped before it came up.</source>
        <translation>أُوقف الاتصال قبل أن يكتمل.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="241"/>
        <source>The connection cannot start now.</source>
        <translation>لا يمكن بدء الاتصال الآن.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="260"/>
        <source>No location chosen yet.</source>
        <translation>لم يُختر أي موقع بعد.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="60"/>
        <source>Username </source>
        <translation>اسم المستخدم </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="67"/>
        <source>Password</source>
        <translation>كلمة المرور</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="74"/>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Login</source>
        <translation>تسجيل الدخول</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="38"/>
        <source>You must enter username and password to sign in.</source>
        <translation>أدخل اسم المستخدم وكلمة المرور لتسجيل الدخول.</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Signing in...</source>
        <translation>جارٍ تسجيل الدخول...</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="82"/>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="160"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>تعذّر تثبيت الخدمة المساعدة للبرنامج. يرجى التواصل مع الدعم.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="322"/>
        <source>Wrong Login/Password.</source>
        <translation>اسم المستخدم أو كلمة المرور غير صحيحة.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="357"/>
        <source>Application has no access to Zentaro</source>
        <translation>لا يمكن للتطبيق الوصول إلى Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="358"/>
        <source>Application has no access to network.</source>
        <translation>لا يمكن للتطبيق الوصول إلى الشبكة.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="574"/>
        <source>Logout</source>
        <translation>تسجيل الخروج</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="572"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>اتصال VPN نشط. 
هل تريد قطع الاتصال وتسجيل الخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="573"/>
        <source>Do you want to logout?</source>
        <translation>هل تريد تسجيل الخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>Exit</source>
        <translation>خروج</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>اتصال VPN نشط. هل تريد قطع الاتصال والخروج؟</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="780"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>إصدارك قديم. يرجى تنزيل تطبيق Kestrova الجديد من </translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="347"/>
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
        <location filename="../../network/networkmanager.cpp" line="289"/>
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
        <location filename="../main.cpp" line="46"/>
        <source>Error</source>
        <translation>خطأ</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="47"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>لم يتم العثور على مكتبات SSL! اربط مكتبة الإصدار %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="58"/>
        <source>Run appplication hidden</source>
        <translation>تشغيل التطبيق مخفيًا</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="59"/>
        <source>Autostart mode</source>
        <translation>وضع التشغيل التلقائي</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="52"/>
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
        <location filename="../pages/serverlistwindow.ui" line="135"/>
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
        <location filename="../pages/settingswindow.ui" line="79"/>
        <source>Language:</source>
        <translation>اللغة:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="97"/>
        <source>Choose VPN protocol:</source>
        <translation>اختر بروتوكول VPN:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="117"/>
        <source>Launch on startup</source>
        <translation>التشغيل عند بدء النظام</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="124"/>
        <source>Connect to VPN when app is started</source>
        <translation>الاتصال بـ VPN عند فتح التطبيق</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>Change timezone using IP address</source>
        <translation>تغيير المنطقة الزمنية حسب عنوان IP</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="137"/>
        <source>After connection to VPN server</source>
        <translation>بعد الاتصال بخادم VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Kill switch</source>
        <translation>مفتاح قطع الاتصال</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="150"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>الحماية من تسرب IPv4 وIPv6 وDNS4 وDNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="167"/>
        <source>Allow access to local devices</source>
        <translation>السماح بالوصول إلى الأجهزة المحلية</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="175"/>
        <source>Printers, routers, etc</source>
        <translation>الطابعات، أجهزة التوجيه، إلخ</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="188"/>
        <source>Version:</source>
        <translation>الإصدار:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="81"/>
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
        <location filename="../widgets/showlog.cpp" line="29"/>
        <source>Copy</source>
        <translation>نسخ</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.cpp" line="94"/>
        <location filename="../widgets/showlog.cpp" line="113"/>
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
        <location filename="../../connection/stunnelmanager.cpp" line="194"/>
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
        <location filename="../systemtray.cpp" line="146"/>
        <source>Reconnect</source>
        <translation>إعادة الاتصال</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="147"/>
        <source>Disconnect</source>
        <translation>قطع الاتصال</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="148"/>
        <source>Quit</source>
        <translation>إنهاء</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="129"/>
        <source>Connected to %1</source>
        <translation>متصل بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>اتصالك الآن مشفّر وآمن!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="133"/>
        <source>Connecting to %1</source>
        <translation>جارٍ الاتصال بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="136"/>
        <source>Connect %1</source>
        <translation>الاتصال بـ %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="108"/>
        <source>Your connection is not secured now!</source>
        <translation>اتصالك الآن غير آمن!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="132"/>
        <source>Disconnecting</source>
        <translation>جارٍ قطع الاتصال</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Kestrova Update</source>
        <translation>تحديث Kestrova</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Available new update. Download it?</source>
        <translation>يتوفر تحديث جديد. هل تريد تنزيله؟</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="56"/>
        <source>Error during downloading update.</source>
        <translation>حدث خطأ أثناء تنزيل التحديث.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="64"/>
        <source>Error during installing update.</source>
        <translation>حدث خطأ أثناء تثبيت التحديث.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="74"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>يُعرض إصدار جديد عبر رابط غير آمن. لم يتم تنزيله.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="62"/>
        <source>Name of update file is empty.</source>
        <translation>اسم ملف التحديث فارغ.</translation>
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
