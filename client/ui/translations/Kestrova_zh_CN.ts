<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AbstractTreeItemDelegate</name>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="151"/>
        <source>%1 ms</source>
        <translation>%1 毫秒</translation>
    </message>
    <message>
        <location filename="../delegates/abstracttreeitemdelegate.cpp" line="209"/>
        <source>Double %1</source>
        <translation>双重 VPN %1</translation>
    </message>
</context>
<context>
    <name>AccountWindow</name>
    <message>
        <location filename="../pages/accountwindow.ui" line="54"/>
        <source>Account</source>
        <translation>账户</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="64"/>
        <source>Log out</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>VPN 登录名：</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>更改</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>在网站上续订</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>在网站上购买 VPN 订阅</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>我们的网站支持多种支付方式，包括 Bitcoin、PayPal、Yandex Money 等。</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="37"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN 订阅到期时间：%1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="341"/>
        <source>Location not selected</source>
        <translation>未选择位置</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="127"/>
        <location filename="../pages/connectwindow.cpp" line="313"/>
        <location filename="../pages/connectwindow.cpp" line="482"/>
        <source>Select VPN Location</source>
        <translation>选择 VPN 位置</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="177"/>
        <source>Renew on site</source>
        <translation>在网站上续订</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="183"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>我们的网站支持多种支付方式，包括 Bitcoin、PayPal、Yandex Money 等。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="217"/>
        <source>Firewall does not support on your system.</source>
        <translation>您的系统不支持防火墙。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="221"/>
        <source>The kill switch could not be switched on.</source>
        <translation>无法开启断网保护。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="225"/>
        <source>The kill switch could not be switched off.</source>
        <translation>无法关闭断网保护。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="394"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Kestrova 系统服务未运行，断网保护无法保护此连接。请使用以下命令启动：</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="178"/>
        <source>Error of loading of the config.</source>
        <translation>加载配置时出错。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="181"/>
        <source>Error of loading of the certificate.</source>
        <translation>加载证书时出错。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="184"/>
        <source>Error of loading of the key.</source>
        <translation>加载密钥时出错。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="187"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>无法启动隐身隧道：%1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="190"/>
        <source>The connection profile could not be written.</source>
        <translation>无法写入连接配置文件。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>您的系统不支持更改时区。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="237"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>由于缺少数据，时区未更改。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="439"/>
        <source>VPN subscription expires: %1</source>
        <translation>VPN 订阅到期时间：%1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="281"/>
        <location filename="../pages/connectwindow.cpp" line="481"/>
        <source>Show connection</source>
        <translation>显示连接</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="333"/>
        <location filename="../pages/connectwindow.cpp" line="359"/>
        <location filename="../pages/connectwindow.cpp" line="479"/>
        <source>Disconnecting</source>
        <translation>正在断开连接</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="417"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>在您连接之前，终止开关会阻止互联网访问</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>Kill switch settings</source>
        <translation>终止开关设置</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="397"/>
        <source>Kestrova&apos;s system service is not running, so no connection can be made. Start it with:</source>
        <translation>Kestrova 的系统服务未运行，因此无法建立连接。请使用以下命令启动：</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="193"/>
        <source>The server did not answer in time. Try again or choose another location.</source>
        <translation>服务器未及时响应。请重试或选择其他位置。</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="350"/>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Reconnecting...</source>
        <translation>正在重新连接...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="356"/>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="363"/>
        <source>Disconnected</source>
        <translation>已断开</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <location filename="../../connection/connection.cpp" line="93"/>
        <source>Invalid username or password</source>
        <translation>用户名或密码无效</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="95"/>
        <source>Not open openvpn socket</source>
        <translation>无法打开 OpenVPN 管理端口</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="97"/>
        <source>Can not alocate TUN</source>
        <translation>无法创建 TUN 设备</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="99"/>
        <source>Can not connect to helper</source>
        <translation>无法连接到 Kestrova 服务</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="101"/>
        <source>Can not write to helper</source>
        <translation>无法向 Kestrova 服务发送命令</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="103"/>
        <source>Code error: %1</source>
        <translation>错误代码：%1</translation>
    </message>
</context>
<context>
    <name>ConnectionSession</name>
    <message>
        <location filename="../../connection/connectionsession.cpp" line="518"/>
        <source>stunnel has stopped.</source>
        <translation>stunnel 已停止。</translation>
    </message>
</context>
<context>
    <name>CustomMessageBox</name>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="121"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="122"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="123"/>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="124"/>
        <source>Yes</source>
        <translation>是</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>收藏</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>推荐</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="28"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>已拒绝通过未加密的连接发送请求。</translation>
    </message>
</context>
<context>
    <name>KestrovaCli</name>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="51"/>
        <source>Kestrova is running (the window or a connection of the command line): disconnect and close it first.</source>
        <translation>Kestrova 正在运行（窗口或命令行的连接）：请先断开连接并将其关闭。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="59"/>
        <source>You must enter username and password to sign in.</source>
        <translation>请输入用户名和密码以登录。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="89"/>
        <source>Wrong Login/Password.</source>
        <translation>登录名或密码错误。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="93"/>
        <source>This account has no VPN subscription. Buy one on %1</source>
        <translation>此账户没有 VPN 订阅。可在此购买：%1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="96"/>
        <source>Your version is outdated. Please, download new Kestrova app on %1</source>
        <translation>您的版本已过旧。请从以下网址下载新版 Kestrova 应用：%1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="100"/>
        <source>The VPN service did not answer.</source>
        <translation>VPN 服务没有响应。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="101"/>
        <source>The VPN service did not answer: %1</source>
        <translation>VPN 服务没有响应：%1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="124"/>
        <source>Signed in as %1 (VPN login %2).</source>
        <translation>已登录为 %1（VPN 登录名 %2）。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../cli/accountcommands.cpp" line="126"/>
        <source>The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN</source>
        <translation>
            <numerusform>该账户有 %n 个 VPN 登录名；如需选择其他登录名：kestrova-cli account use LOGIN</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Signed out.</source>
        <translation>已退出登录。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Not signed in.</source>
        <translation>尚未登录。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="152"/>
        <location filename="../../cli/accountcommands.cpp" line="187"/>
        <location filename="../../cli/servercommands.cpp" line="77"/>
        <location filename="../../cli/servercommands.cpp" line="134"/>
        <location filename="../../cli/sessioncommands.cpp" line="102"/>
        <location filename="../../control/sessioncontrol.cpp" line="252"/>
        <source>Not signed in. Sign in with: kestrova-cli login USER</source>
        <translation>尚未登录。请用以下命令登录：kestrova-cli login USER</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>VPN LOGIN</source>
        <translation>VPN 登录名</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>EXPIRES</source>
        <translation>到期</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="168"/>
        <source>(in use)</source>
        <translation>（使用中）</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>Account: %1 (%2)</source>
        <translation>账户：%1（%2）</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>lite</source>
        <translation>精简版</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>full</source>
        <translation>完整版</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="190"/>
        <source>The account has no VPN login %1.</source>
        <translation>该账户没有 VPN 登录名 %1。</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="204"/>
        <source>VPN login %1 in use.</source>
        <translation>正在使用 VPN 登录名 %1。</translation>
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
        <translation>用法: kestrova-cli [--json] COMMAND [ARGUMENTS]

命令:
  login USER [--password-stdin]   登录（输入密码时不回显）
  logout                          退出登录并清除账户数据
  account                         账户及其 VPN 登录名
  account use LOGIN               改用账户的另一个 VPN 登录名连接
  servers [TEXT] [--favorites]    位置列表及其类型和延迟
  favorite add|remove NAME        收藏或取消收藏某个位置
  connect [LOCATION]              连接并等待（不指定位置时：上次的位置）
  disconnect                      结束连接
  reconnect                       断开后重新连接到同一位置
  status                          连接状态
  quit                            结束连接及其后台会话
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      设置

--json 在标准输出上打印一个 JSON 文档。
退出状态：0 完成，1 失败，2 用法错误，3 未登录，4 未找到，
5 登录被拒，6 无法访问服务，7 kestrovad 未运行，8 忙。</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="72"/>
        <source>Wrong arguments for %1.</source>
        <translation>%1 的参数有误。</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="88"/>
        <source>Password: </source>
        <translation>密码： </translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="91"/>
        <source>No terminal to ask for the password: give it with --password-stdin.</source>
        <translation>没有可用于询问密码的终端：请用 --password-stdin 提供密码。</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="144"/>
        <source>Unknown command %1.</source>
        <translation>未知命令：%1。</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="65"/>
        <source>Cannot start the background session: %1</source>
        <translation>无法启动后台会话：%1</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="87"/>
        <source>The background session did not start.</source>
        <translation>后台会话没有启动。</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>NAME</source>
        <translation>名称</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LOCATION</source>
        <translation>位置</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>KIND</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LATENCY</source>
        <translation>延迟</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="117"/>
        <source>%1 ms</source>
        <translation>%1 毫秒</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No favourite locations.</source>
        <translation>没有收藏的位置。</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No locations match.</source>
        <translation>没有匹配的位置。</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="138"/>
        <location filename="../../control/sessioncontrol.cpp" line="228"/>
        <location filename="../../control/sessioncontrol.cpp" line="277"/>
        <source>No location named %1.</source>
        <translation>没有名为 %1 的位置。</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="149"/>
        <source>%1 is a favourite.</source>
        <translation>已将 %1 加入收藏。</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="150"/>
        <source>%1 is no longer a favourite.</source>
        <translation>已将 %1 移出收藏。</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>on</source>
        <translation>开</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>off</source>
        <translation>关</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="25"/>
        <source>connected to %1 over %2, tunnel address %3, kill switch %4</source>
        <translation>已通过 %2 连接到 %1，隧道地址 %3，断网保护 %4</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="26"/>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="28"/>
        <source>%1, kill switch %2</source>
        <translation>%1，断网保护 %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="30"/>
        <source>%1 (%2), kill switch %3</source>
        <translation>%1（%2），断网保护 %3</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="34"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>在您连接之前，终止开关会阻止互联网访问</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="39"/>
        <source>since %1</source>
        <translation>自 %1 起</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="42"/>
        <source>traffic %1 in, %2 out</source>
        <translation>流量：接收 %1，发送 %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="48"/>
        <source>last error: %1</source>
        <translation>上次错误：%1</translation>
    </message>
    <message>
        <location filename="../../cli/sessioncommands.cpp" line="89"/>
        <location filename="../../control/sessioncontrol.cpp" line="359"/>
        <source>Not connected: nothing to reconnect.</source>
        <translation>未连接：没有可重新连接的连接。</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="80"/>
        <location filename="../../cli/settingcommands.cpp" line="115"/>
        <source>Unknown setting %1.</source>
        <translation>未知设置：%1。</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="85"/>
        <source>The protocol is udp, tcp or stealth.</source>
        <translation>协议为 udp、tcp 或 stealth。</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="86"/>
        <source>%1 is on or off.</source>
        <translation>%1 的值为 on 或 off。</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="90"/>
        <source>%1 needs a full subscription.</source>
        <translation>%1 需要完整订阅。</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="100"/>
        <source>Saved, but the running connection did not take it: %1</source>
        <translation>已保存，但当前连接没有应用：%1</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="29"/>
        <source>The control socket belongs to another user.</source>
        <translation>控制套接字属于其他用户。</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="40"/>
        <source>Not connected to the engine.</source>
        <translation>未连接到引擎。</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="60"/>
        <source>The engine ended the dialogue without an answer.</source>
        <translation>引擎未作答就结束了对话。</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="65"/>
        <source>The engine did not answer in time.</source>
        <translation>引擎没有及时响应。</translation>
    </message>
    <message>
        <location filename="../../control/controlhost.cpp" line="62"/>
        <source>Another Kestrova engine of this user holds %1.</source>
        <translation>该用户的另一个 Kestrova 引擎占用了 %1。</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="39"/>
        <source>Cannot create %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="46"/>
        <source>%1 is not a private folder of this user: refusing to use it</source>
        <translation>%1 不是该用户的私有文件夹：拒绝使用</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="48"/>
        <source>Cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="157"/>
        <source>The request is not a control command.</source>
        <translation>该请求不是控制命令。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="61"/>
        <source>The Kestrova service (kestrovad) is not running.</source>
        <translation>Kestrova 服务（kestrovad）未运行。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="63"/>
        <source>Error of loading of the config.</source>
        <translation>加载配置时出错。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="65"/>
        <source>Error of loading of the certificate.</source>
        <translation>加载证书时出错。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="67"/>
        <source>Error of loading of the key.</source>
        <translation>加载密钥时出错。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="69"/>
        <source>The stealth tunnel did not start: %1</source>
        <translation>隐身隧道没有启动：%1</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="71"/>
        <source>The OpenVPN profile could not be written.</source>
        <translation>无法写入 OpenVPN 配置文件。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="73"/>
        <source>The connection failed.</source>
        <translation>连接失败。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="76"/>
        <source>The connection did not come up in time.</source>
        <translation>连接未能及时建立。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="122"/>
        <source>Preparing the connection to %1 (attempt %2 of %3)...</source>
        <translation>正在准备连接到 %1（第 %2 次尝试，共 %3 次）...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="128"/>
        <source>Connecting to %1...</source>
        <translation>正在连接到 %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="131"/>
        <source>Reconnecting to %1...</source>
        <translation>正在重新连接到 %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="134"/>
        <source>Disconnecting...</source>
        <translation>正在断开连接...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="163"/>
        <source>Unknown control command %1.</source>
        <translation>未知控制命令：%1。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="188"/>
        <source>The connection was stopped before it came up.</source>
        <translation>连接在建立之前就被停止了。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="241"/>
        <source>The connection cannot start now.</source>
        <translation>现在无法开始连接。</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="260"/>
        <source>No location chosen yet.</source>
        <translation>尚未选择位置。</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="60"/>
        <source>Username </source>
        <translation>用户名 </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="67"/>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="74"/>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="38"/>
        <source>You must enter username and password to sign in.</source>
        <translation>请输入用户名和密码以登录。</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Signing in...</source>
        <translation>正在登录...</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="82"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="160"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>无法安装程序的辅助服务。请联系技术支持。</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="322"/>
        <source>Wrong Login/Password.</source>
        <translation>登录名或密码错误。</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="357"/>
        <source>Application has no access to Zentaro</source>
        <translation>应用程序无法访问 Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="358"/>
        <source>Application has no access to network.</source>
        <translation>应用程序无法访问网络。</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="574"/>
        <source>Logout</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="572"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>VPN 连接处于活动状态。 
要断开连接并退出登录吗？</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="573"/>
        <source>Do you want to logout?</source>
        <translation>确定要退出登录吗？</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>VPN 连接处于活动状态。要断开连接并退出吗？</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="780"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>您的版本已过旧。请从以下网址下载新版 Kestrova 应用： </translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="347"/>
        <source>The service is not answering. Please try again later.</source>
        <translation>服务没有响应。请稍后再试。</translation>
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
        <translation>服务返回了无法读取的响应。</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>正在下载更新，请稍候...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>错误</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="47"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>未找到 SSL 库！请链接 %1 版本的库</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="58"/>
        <source>Run appplication hidden</source>
        <translation>以隐藏方式启动应用程序</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="59"/>
        <source>Autostart mode</source>
        <translation>自动启动模式</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="52"/>
        <source>Location</source>
        <translation>位置</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>选择要连接的 VPN 登录名</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>收藏</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>标准 VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>双重 VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="135"/>
        <source>No servers match</source>
        <translation>没有匹配的服务器</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="79"/>
        <source>Language:</source>
        <translation>语言：</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="97"/>
        <source>Choose VPN protocol:</source>
        <translation>选择 VPN 协议：</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="117"/>
        <source>Launch on startup</source>
        <translation>开机时启动</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="124"/>
        <source>Connect to VPN when app is started</source>
        <translation>启动应用时连接 VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>Change timezone using IP address</source>
        <translation>根据 IP 地址更改时区</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="137"/>
        <source>After connection to VPN server</source>
        <translation>连接到 VPN 服务器后</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Kill switch</source>
        <translation>断网保护</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="150"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>防止 IPv4、IPv6、DNS4、DNS6 泄漏</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="167"/>
        <source>Allow access to local devices</source>
        <translation>允许访问本地设备</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="175"/>
        <source>Printers, routers, etc</source>
        <translation>打印机、路由器等</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="188"/>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="81"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>密码保存在只有您能读取的文件中：没有可用的密钥环</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>连接详情</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <location filename="../widgets/showlog.cpp" line="29"/>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.cpp" line="94"/>
        <location filename="../widgets/showlog.cpp" line="113"/>
        <source>Copied</source>
        <translation>已复制</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>没有可供隐身隧道使用的空闲本地端口。</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>无法写入隐身隧道配置。</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>无法启动隐身隧道：%1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>隐身隧道未能及时启动。</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>隐身隧道启动失败。</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="194"/>
        <source>Invalid stealth server address or name.</source>
        <translation>隐身隧道的服务器地址或名称无效。</translation>
    </message>
</context>
<context>
    <name>SubscriptionPurchaseWindow</name>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="51"/>
        <source>Account</source>
        <translation>账户</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="61"/>
        <source>Log out</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>您没有有效的 VPN 订阅。</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>在网站上购买 VPN 订阅</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>我们的网站支持多种支付方式，包括 Bitcoin、PayPal、Yandex Money 等。</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Reconnect</source>
        <translation>重新连接</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="147"/>
        <source>Disconnect</source>
        <translation>断开连接</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="148"/>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="129"/>
        <source>Connected to %1</source>
        <translation>已连接到 %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>您的连接现已加密并受到保护！</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="133"/>
        <source>Connecting to %1</source>
        <translation>正在连接到 %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="136"/>
        <source>Connect %1</source>
        <translation>连接 %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="108"/>
        <source>Your connection is not secured now!</source>
        <translation>您的连接当前未受保护！</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="132"/>
        <source>Disconnecting</source>
        <translation>正在断开连接</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Kestrova Update</source>
        <translation>Kestrova 更新</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Available new update. Download it?</source>
        <translation>有可用的新版本更新。是否下载？</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="56"/>
        <source>Error during downloading update.</source>
        <translation>下载更新时出错。</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="64"/>
        <source>Error during installing update.</source>
        <translation>安装更新时出错。</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="74"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>新版本通过不安全的链接提供，未下载。</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="62"/>
        <source>Name of update file is empty.</source>
        <translation>更新文件名为空。</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP（更安全）</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP（更快）</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>HTTPS 伪装</translation>
    </message>
</context>
</TS>
