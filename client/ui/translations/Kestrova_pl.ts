<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
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
        <translation>Podwójny VPN %1</translation>
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
        <translation>Wyloguj</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="85"/>
        <source>Login VPN:</source>
        <translation>Login VPN:</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="104"/>
        <source>Change</source>
        <translation>Zmień</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="128"/>
        <source>Renew on site</source>
        <translation>Odnów na stronie</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="149"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Kup subskrypcję VPN na stronie</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.ui" line="160"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Na stronie przyjmujemy płatności przez różne systemy płatności, w tym Bitcoin, PayPal, Yandex Money i inne.</translation>
    </message>
    <message>
        <location filename="../pages/accountwindow.cpp" line="37"/>
        <source>VPN subscription expires: %1</source>
        <translation>Subskrypcja VPN wygasa: %1</translation>
    </message>
</context>
<context>
    <name>ConnectWindow</name>
    <message>
        <location filename="../pages/connectwindow.ui" line="112"/>
        <location filename="../pages/connectwindow.cpp" line="341"/>
        <source>Location not selected</source>
        <translation>Nie wybrano lokalizacji</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="127"/>
        <location filename="../pages/connectwindow.cpp" line="313"/>
        <location filename="../pages/connectwindow.cpp" line="482"/>
        <source>Select VPN Location</source>
        <translation>Wybierz lokalizację VPN</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="177"/>
        <source>Renew on site</source>
        <translation>Odnów na stronie</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.ui" line="183"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Na stronie przyjmujemy płatności przez różne systemy płatności, w tym Bitcoin, PayPal, Yandex Money i inne.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="217"/>
        <source>Firewall does not support on your system.</source>
        <translation>Zapora sieciowa nie jest obsługiwana w tym systemie.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="221"/>
        <source>The kill switch could not be switched on.</source>
        <translation>Nie udało się włączyć funkcji Kill Switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="225"/>
        <source>The kill switch could not be switched off.</source>
        <translation>Nie udało się wyłączyć funkcji Kill Switch.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="394"/>
        <source>Kestrova&apos;s system service is not running, so the kill switch cannot protect this connection. Start it with:</source>
        <translation>Usługa systemowa Kestrova nie działa, więc funkcja Kill Switch nie może chronić tego połączenia. Uruchom ją poleceniem:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="178"/>
        <source>Error of loading of the config.</source>
        <translation>Błąd wczytywania konfiguracji.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="181"/>
        <source>Error of loading of the certificate.</source>
        <translation>Błąd wczytywania certyfikatu.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="184"/>
        <source>Error of loading of the key.</source>
        <translation>Błąd wczytywania klucza.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="187"/>
        <source>The stealth tunnel could not be started: %1</source>
        <translation>Nie udało się uruchomić tunelu maskującego: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="190"/>
        <source>The connection profile could not be written.</source>
        <translation>Nie udało się zapisać profilu połączenia.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="234"/>
        <source>Timezone changes does not support on your system.</source>
        <translation>Zmiana strefy czasowej nie jest obsługiwana w tym systemie.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="237"/>
        <source>Timezone is not changed because of no data.</source>
        <translation>Nie zmieniono strefy czasowej z powodu braku danych.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="439"/>
        <source>VPN subscription expires: %1</source>
        <translation>Subskrypcja VPN wygasa: %1</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="281"/>
        <location filename="../pages/connectwindow.cpp" line="481"/>
        <source>Show connection</source>
        <translation>Pokaż połączenie</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="333"/>
        <location filename="../pages/connectwindow.cpp" line="359"/>
        <location filename="../pages/connectwindow.cpp" line="479"/>
        <source>Disconnecting</source>
        <translation>Rozłączanie</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="417"/>
        <source>Internet blocked by the kill switch until you connect</source>
        <translation>Internet zablokowany przez kill switch do czasu połączenia</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="418"/>
        <source>Kill switch settings</source>
        <translation>Ustawienia kill switch</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="397"/>
        <source>Kestrova&apos;s system service is not running, so no connection can be made. Start it with:</source>
        <translation>Usługa systemowa Kestrova nie działa, więc nie można nawiązać połączenia. Uruchom ją poleceniem:</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="193"/>
        <source>The server did not answer in time. Try again or choose another location.</source>
        <translation>Serwer nie odpowiedział na czas. Spróbuj ponownie lub wybierz inną lokalizację.</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="350"/>
        <source>Connecting...</source>
        <translation>Łączenie...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="353"/>
        <source>Reconnecting...</source>
        <translation>Ponowne łączenie...</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="356"/>
        <source>Connected</source>
        <translation>Połączono</translation>
    </message>
    <message>
        <location filename="../pages/connectwindow.cpp" line="363"/>
        <source>Disconnected</source>
        <translation>Rozłączono</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <location filename="../../connection/connection.cpp" line="93"/>
        <source>Invalid username or password</source>
        <translation>Nieprawidłowa nazwa użytkownika lub hasło</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="95"/>
        <source>Not open openvpn socket</source>
        <translation>Nie udało się otworzyć portu zarządzania OpenVPN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="97"/>
        <source>Can not alocate TUN</source>
        <translation>Nie udało się utworzyć urządzenia TUN</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="99"/>
        <source>Can not connect to helper</source>
        <translation>Nie można połączyć się z usługą Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="101"/>
        <source>Can not write to helper</source>
        <translation>Nie można przekazać polecenia usłudze Kestrova</translation>
    </message>
    <message>
        <location filename="../../connection/connection.cpp" line="103"/>
        <source>Code error: %1</source>
        <translation>Kod błędu: %1</translation>
    </message>
</context>
<context>
    <name>ConnectionSession</name>
    <message>
        <location filename="../../connection/connectionsession.cpp" line="518"/>
        <source>stunnel has stopped.</source>
        <translation>stunnel został zatrzymany.</translation>
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
        <translation>Anuluj</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="123"/>
        <source>No</source>
        <translation>Nie</translation>
    </message>
    <message>
        <location filename="../widgets/custommessagebox.cpp" line="124"/>
        <source>Yes</source>
        <translation>Tak</translation>
    </message>
</context>
<context>
    <name>FavoriteServerItemDelegate</name>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="37"/>
        <source>Favorite</source>
        <translation>Ulubione</translation>
    </message>
    <message>
        <location filename="../delegates/favoriteserveritemdelegate.cpp" line="44"/>
        <source>Recommended</source>
        <translation>Polecane</translation>
    </message>
</context>
<context>
    <name>GetManager</name>
    <message>
        <location filename="../../network/getmanager.cpp" line="28"/>
        <source>Refused to send a request over an unencrypted connection.</source>
        <translation>Odmówiono wysłania żądania przez nieszyfrowane połączenie.</translation>
    </message>
</context>
<context>
    <name>KestrovaCli</name>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="51"/>
        <source>Kestrova is running (the window or a connection of the command line): disconnect and close it first.</source>
        <translation>Kestrova już działa (okno lub połączenie z wiersza poleceń): najpierw rozłącz je i zamknij.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="59"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Aby się zalogować, podaj nazwę użytkownika i hasło.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="89"/>
        <source>Wrong Login/Password.</source>
        <translation>Nieprawidłowy login lub hasło.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="93"/>
        <source>This account has no VPN subscription. Buy one on %1</source>
        <translation>To konto nie ma subskrypcji VPN. Możesz ją kupić na stronie %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="96"/>
        <source>Your version is outdated. Please, download new Kestrova app on %1</source>
        <translation>Twoja wersja jest nieaktualna. Pobierz nową aplikację Kestrova ze strony %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="100"/>
        <source>The VPN service did not answer.</source>
        <translation>Usługa VPN nie odpowiedziała.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="101"/>
        <source>The VPN service did not answer: %1</source>
        <translation>Usługa VPN nie odpowiedziała: %1</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="124"/>
        <source>Signed in as %1 (VPN login %2).</source>
        <translation>Zalogowano jako %1 (login VPN %2).</translation>
    </message>
    <message numerus="yes">
        <location filename="../../cli/accountcommands.cpp" line="126"/>
        <source>The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN</source>
        <translation>
            <numerusform>Konto ma %n login VPN; inny wybierzesz poleceniem: kestrova-cli account use LOGIN</numerusform>
            <numerusform>Konto ma %n loginy VPN; inny wybierzesz poleceniem: kestrova-cli account use LOGIN</numerusform>
            <numerusform>Konto ma %n loginów VPN; inny wybierzesz poleceniem: kestrova-cli account use LOGIN</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Signed out.</source>
        <translation>Wylogowano.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="141"/>
        <source>Not signed in.</source>
        <translation>Nie zalogowano.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="152"/>
        <location filename="../../cli/accountcommands.cpp" line="187"/>
        <location filename="../../cli/servercommands.cpp" line="77"/>
        <location filename="../../cli/servercommands.cpp" line="134"/>
        <location filename="../../cli/sessioncommands.cpp" line="102"/>
        <location filename="../../control/sessioncontrol.cpp" line="252"/>
        <source>Not signed in. Sign in with: kestrova-cli login USER</source>
        <translation>Nie zalogowano. Zaloguj się poleceniem: kestrova-cli login USER</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>VPN LOGIN</source>
        <translation>LOGIN VPN</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="161"/>
        <source>EXPIRES</source>
        <translation>WYGASA</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="168"/>
        <source>(in use)</source>
        <translation>(w użyciu)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>Account: %1 (%2)</source>
        <translation>Konto: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>lite</source>
        <translation>lite</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="178"/>
        <source>full</source>
        <translation>pełne</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="190"/>
        <source>The account has no VPN login %1.</source>
        <translation>Konto nie ma loginu VPN %1.</translation>
    </message>
    <message>
        <location filename="../../cli/accountcommands.cpp" line="204"/>
        <source>VPN login %1 in use.</source>
        <translation>Login VPN %1 w użyciu.</translation>
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
        <translation>Użycie: kestrova-cli [--json] COMMAND [ARGUMENTS]

Polecenia:
  login USER [--password-stdin]   zaloguj (hasło jest pobierane bez wyświetlania)
  logout                          wyloguj i zapomnij dane konta
  account                         konto i jego loginy VPN
  account use LOGIN               łącz z innym loginem VPN konta
  servers [TEXT] [--favorites]    lokalizacje, ich rodzaj i opóźnienie
  favorite add|remove NAME        oznacz lokalizację jako ulubioną lub odznacz
  connect [LOCATION]              połącz (bez lokalizacji: z ostatnią) i czekaj
  disconnect                      zakończ połączenie
  reconnect                       rozłącz i połącz ponownie z tą samą lokalizacją
  status                          stan połączenia
  quit                            zakończ połączenie i jego sesję w tle
  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,
                                  timezone, autoconnect on|off
  get [NAME]                      ustawienia

--json wypisuje jeden dokument JSON na standardowe wyjście.
Kod wyjścia: 0 gotowe, 1 błąd, 2 złe użycie, 3 brak logowania, 4 nie znaleziono,
5 logowanie odrzucone, 6 usługa nieosiągalna, 7 kestrovad nie działa, 8 zajęte.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="72"/>
        <source>Wrong arguments for %1.</source>
        <translation>Błędne argumenty dla %1.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="88"/>
        <source>Password: </source>
        <translation>Hasło: </translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="91"/>
        <source>No terminal to ask for the password: give it with --password-stdin.</source>
        <translation>Brak terminala, by zapytać o hasło: podaj je przez --password-stdin.</translation>
    </message>
    <message>
        <location filename="../../cli/commandline.cpp" line="144"/>
        <source>Unknown command %1.</source>
        <translation>Nieznane polecenie %1.</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="65"/>
        <source>Cannot start the background session: %1</source>
        <translation>Nie można uruchomić sesji w tle: %1</translation>
    </message>
    <message>
        <location filename="../../cli/enginelink.cpp" line="87"/>
        <source>The background session did not start.</source>
        <translation>Sesja w tle nie uruchomiła się.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>NAME</source>
        <translation>NAZWA</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LOCATION</source>
        <translation>LOKALIZACJA</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>KIND</source>
        <translation>RODZAJ</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="94"/>
        <source>LATENCY</source>
        <translation>OPÓŹNIENIE</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="117"/>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No favourite locations.</source>
        <translation>Brak ulubionych lokalizacji.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="123"/>
        <source>No locations match.</source>
        <translation>Żadna lokalizacja nie pasuje.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="138"/>
        <location filename="../../control/sessioncontrol.cpp" line="228"/>
        <location filename="../../control/sessioncontrol.cpp" line="277"/>
        <source>No location named %1.</source>
        <translation>Brak lokalizacji o nazwie %1.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="149"/>
        <source>%1 is a favourite.</source>
        <translation>%1 jest teraz ulubiona.</translation>
    </message>
    <message>
        <location filename="../../cli/servercommands.cpp" line="150"/>
        <source>%1 is no longer a favourite.</source>
        <translation>%1 nie jest już ulubiona.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>on</source>
        <translation>wł.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="22"/>
        <source>off</source>
        <translation>wył.</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="25"/>
        <source>connected to %1 over %2, tunnel address %3, kill switch %4</source>
        <translation>połączono z %1 przez %2, adres w tunelu %3, Kill Switch %4</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="26"/>
        <source>unknown</source>
        <translation>nieznany</translation>
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
        <translation>Internet zablokowany przez kill switch do czasu połączenia</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="39"/>
        <source>since %1</source>
        <translation>od %1</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="42"/>
        <source>traffic %1 in, %2 out</source>
        <translation>ruch: odebrano %1, wysłano %2</translation>
    </message>
    <message>
        <location filename="../../cli/statustext.cpp" line="48"/>
        <source>last error: %1</source>
        <translation>ostatni błąd: %1</translation>
    </message>
    <message>
        <location filename="../../cli/sessioncommands.cpp" line="89"/>
        <location filename="../../control/sessioncontrol.cpp" line="359"/>
        <source>Not connected: nothing to reconnect.</source>
        <translation>Brak połączenia: nie ma czego łączyć ponownie.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="80"/>
        <location filename="../../cli/settingcommands.cpp" line="115"/>
        <source>Unknown setting %1.</source>
        <translation>Nieznane ustawienie %1.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="85"/>
        <source>The protocol is udp, tcp or stealth.</source>
        <translation>Protokół to udp, tcp lub stealth.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="86"/>
        <source>%1 is on or off.</source>
        <translation>%1 przyjmuje wartość on lub off.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="90"/>
        <source>%1 needs a full subscription.</source>
        <translation>%1 wymaga pełnej subskrypcji.</translation>
    </message>
    <message>
        <location filename="../../cli/settingcommands.cpp" line="100"/>
        <source>Saved, but the running connection did not take it: %1</source>
        <translation>Zapisano, ale bieżące połączenie tego nie przyjęło: %1</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="29"/>
        <source>The control socket belongs to another user.</source>
        <translation>Gniazdo sterujące należy do innego użytkownika.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="40"/>
        <source>Not connected to the engine.</source>
        <translation>Brak połączenia z silnikiem.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="60"/>
        <source>The engine ended the dialogue without an answer.</source>
        <translation>Silnik zakończył wymianę bez odpowiedzi.</translation>
    </message>
    <message>
        <location filename="../../control/controlclient.cpp" line="65"/>
        <source>The engine did not answer in time.</source>
        <translation>Silnik nie odpowiedział na czas.</translation>
    </message>
    <message>
        <location filename="../../control/controlhost.cpp" line="62"/>
        <source>Another Kestrova engine of this user holds %1.</source>
        <translation>Inny silnik Kestrova tego użytkownika zajmuje %1.</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="39"/>
        <source>Cannot create %1: %2</source>
        <translation>Nie można utworzyć %1: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlpath.cpp" line="46"/>
        <source>%1 is not a private folder of this user: refusing to use it</source>
        <translation>%1 nie jest prywatnym folderem tego użytkownika: nie zostanie użyty</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="48"/>
        <source>Cannot open %1: %2</source>
        <translation>Nie można otworzyć %1: %2</translation>
    </message>
    <message>
        <location filename="../../control/controlserver.cpp" line="157"/>
        <source>The request is not a control command.</source>
        <translation>Żądanie nie jest poleceniem sterującym.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="61"/>
        <source>The Kestrova service (kestrovad) is not running.</source>
        <translation>Usługa Kestrova (kestrovad) nie działa.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="63"/>
        <source>Error of loading of the config.</source>
        <translation>Błąd wczytywania konfiguracji.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="65"/>
        <source>Error of loading of the certificate.</source>
        <translation>Błąd wczytywania certyfikatu.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="67"/>
        <source>Error of loading of the key.</source>
        <translation>Błąd wczytywania klucza.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="69"/>
        <source>The stealth tunnel did not start: %1</source>
        <translation>Tunel maskujący nie uruchomił się: %1</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="71"/>
        <source>The OpenVPN profile could not be written.</source>
        <translation>Nie udało się zapisać profilu OpenVPN.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="73"/>
        <source>The connection failed.</source>
        <translation>Połączenie nie powiodło się.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="76"/>
        <source>The connection did not come up in time.</source>
        <translation>Połączenie nie zostało nawiązane na czas.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="122"/>
        <source>Preparing the connection to %1 (attempt %2 of %3)...</source>
        <translation>Przygotowywanie połączenia z %1 (próba %2 z %3)...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="128"/>
        <source>Connecting to %1...</source>
        <translation>Łączenie z %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="131"/>
        <source>Reconnecting to %1...</source>
        <translation>Ponowne łączenie z %1...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="134"/>
        <source>Disconnecting...</source>
        <translation>Rozłączanie...</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="163"/>
        <source>Unknown control command %1.</source>
        <translation>Nieznane polecenie sterujące %1.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="188"/>
        <source>The connection was stopped before it came up.</source>
        <translation>Połączenie zatrzymano, zanim zostało nawiązane.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="241"/>
        <source>The connection cannot start now.</source>
        <translation>Połączenie nie może teraz wystartować.</translation>
    </message>
    <message>
        <location filename="../../control/sessioncontrol.cpp" line="260"/>
        <source>No location chosen yet.</source>
        <translation>Nie wybrano jeszcze lokalizacji.</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <location filename="../pages/loginwindow.ui" line="60"/>
        <source>Username </source>
        <translation>Nazwa użytkownika </translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="67"/>
        <source>Password</source>
        <translation>Hasło</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="74"/>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Login</source>
        <translation>Zaloguj</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="38"/>
        <source>You must enter username and password to sign in.</source>
        <translation>Aby się zalogować, podaj nazwę użytkownika i hasło.</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.cpp" line="124"/>
        <source>Signing in...</source>
        <translation>Logowanie...</translation>
    </message>
    <message>
        <location filename="../pages/loginwindow.ui" line="82"/>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="160"/>
        <source>Failed to install helper for program. Please contact support.</source>
        <translation>Nie udało się zainstalować usługi pomocniczej programu. Skontaktuj się z pomocą techniczną.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="322"/>
        <source>Wrong Login/Password.</source>
        <translation>Nieprawidłowy login lub hasło.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="357"/>
        <source>Application has no access to Zentaro</source>
        <translation>Aplikacja nie ma dostępu do Zentaro</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="358"/>
        <source>Application has no access to network.</source>
        <translation>Aplikacja nie ma dostępu do sieci.</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="574"/>
        <source>Logout</source>
        <translation>Wylogowanie</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="553"/>
        <location filename="../mainwindow.cpp" line="572"/>
        <source>VPN connection is active. 
Disconnect and logout?</source>
        <translation>Połączenie VPN jest aktywne. 
Rozłączyć i wylogować?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="573"/>
        <source>Do you want to logout?</source>
        <translation>Czy chcesz się wylogować?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>Exit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="731"/>
        <source>VPN connection is active. Disconnect and exit?</source>
        <translation>Połączenie VPN jest aktywne. Rozłączyć i zakończyć?</translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="780"/>
        <source>Your version is outdated. Please, download new Kestrova app on </source>
        <translation>Twoja wersja jest nieaktualna. Pobierz nową aplikację Kestrova ze strony </translation>
    </message>
    <message>
        <location filename="../mainwindow.cpp" line="347"/>
        <source>The service is not answering. Please try again later.</source>
        <translation>Usługa nie odpowiada. Spróbuj ponownie później.</translation>
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
        <translation>Usługa wysłała nieczytelną odpowiedź.</translation>
    </message>
</context>
<context>
    <name>ProgressDlg</name>
    <message>
        <location filename="../widgets/progressdlg.ui" line="18"/>
        <source>Update</source>
        <translation>Aktualizacja</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="43"/>
        <source>Downloading update. Please wait...</source>
        <translation>Pobieranie aktualizacji. Proszę czekać...</translation>
    </message>
    <message>
        <location filename="../widgets/progressdlg.ui" line="71"/>
        <source>Cancel</source>
        <translation>Anuluj</translation>
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
        <translation>Błąd</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="47"/>
        <source>SSL libs not found! Link the version %1 library</source>
        <translation>Nie znaleziono bibliotek SSL! Dołącz bibliotekę w wersji %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="58"/>
        <source>Run appplication hidden</source>
        <translation>Uruchom aplikację w tle</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="59"/>
        <source>Autostart mode</source>
        <translation>Tryb autostartu</translation>
    </message>
</context>
<context>
    <name>SearchEdit</name>
    <message>
        <location filename="../widgets/searchedit.cpp" line="52"/>
        <source>Location</source>
        <translation>Lokalizacja</translation>
    </message>
</context>
<context>
    <name>SelectionAccountWindow</name>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="54"/>
        <source>Select VPN login to connect</source>
        <translation>Wybierz login VPN do połączenia</translation>
    </message>
    <message>
        <location filename="../pages/selectionaccountwindow.ui" line="95"/>
        <source>Continue</source>
        <translation>Dalej</translation>
    </message>
</context>
<context>
    <name>ServerListWindow</name>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="70"/>
        <source>Favorites</source>
        <translation>Ulubione</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="80"/>
        <source>Standard VPN</source>
        <translation>Zwykły VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="90"/>
        <source>Double VPN</source>
        <translation>Podwójny VPN</translation>
    </message>
    <message>
        <location filename="../pages/serverlistwindow.ui" line="135"/>
        <source>No servers match</source>
        <translation>Brak pasujących serwerów</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../pages/settingswindow.ui" line="41"/>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="79"/>
        <source>Language:</source>
        <translation>Język:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="97"/>
        <source>Choose VPN protocol:</source>
        <translation>Wybierz protokół VPN:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="117"/>
        <source>Launch on startup</source>
        <translation>Uruchamiaj przy starcie systemu</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="124"/>
        <source>Connect to VPN when app is started</source>
        <translation>Łącz z VPN po uruchomieniu aplikacji</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="131"/>
        <source>Change timezone using IP address</source>
        <translation>Ustawiaj strefę czasową wg adresu IP</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="137"/>
        <source>After connection to VPN server</source>
        <translation>Po połączeniu z serwerem VPN</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="144"/>
        <source>Kill switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="150"/>
        <source>IPv4, IPv6, DNS4, DNS6 leaks protection</source>
        <translation>Blokada wycieków IPv4, IPv6, DNS4, DNS6</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="167"/>
        <source>Allow access to local devices</source>
        <translation>Zezwól na dostęp do urządzeń lokalnych</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="175"/>
        <source>Printers, routers, etc</source>
        <translation>Drukarki, routery itp.</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.ui" line="188"/>
        <source>Version:</source>
        <translation>Wersja:</translation>
    </message>
    <message>
        <location filename="../pages/settingswindow.cpp" line="81"/>
        <source>Passwords are stored in a file readable only by you: no keyring is available</source>
        <translation>Hasła są zapisane w pliku, który możesz odczytać tylko ty: brak dostępnego pęku kluczy</translation>
    </message>
</context>
<context>
    <name>ShowLog</name>
    <message>
        <location filename="../widgets/showlog.ui" line="9"/>
        <location filename="../widgets/showlog.ui" line="43"/>
        <source>Connection Details</source>
        <translation>Szczegóły połączenia</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="73"/>
        <location filename="../widgets/showlog.cpp" line="29"/>
        <source>Copy</source>
        <translation>Kopiuj</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.ui" line="79"/>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <location filename="../widgets/showlog.cpp" line="94"/>
        <location filename="../widgets/showlog.cpp" line="113"/>
        <source>Copied</source>
        <translation>Skopiowano</translation>
    </message>
</context>
<context>
    <name>StunnelManager</name>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="127"/>
        <source>No free local port for the stealth tunnel.</source>
        <translation>Brak wolnego portu lokalnego dla tunelu maskującego.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="133"/>
        <source>Can not write the stealth tunnel configuration.</source>
        <translation>Nie można zapisać konfiguracji tunelu maskującego.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="146"/>
        <source>Can not start the stealth tunnel: %1</source>
        <translation>Nie można uruchomić tunelu maskującego: %1</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="152"/>
        <source>The stealth tunnel did not start in time.</source>
        <translation>Tunel maskujący nie uruchomił się na czas.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="157"/>
        <source>The stealth tunnel failed to start.</source>
        <translation>Nie udało się uruchomić tunelu maskującego.</translation>
    </message>
    <message>
        <location filename="../../connection/stunnelmanager.cpp" line="194"/>
        <source>Invalid stealth server address or name.</source>
        <translation>Nieprawidłowy adres lub nazwa serwera tunelu maskującego.</translation>
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
        <translation>Wyloguj</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="79"/>
        <source>You have no active VPN subscription.</source>
        <translation>Nie masz aktywnej subskrypcji VPN.</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="94"/>
        <source>Buy VPN subscription on the site</source>
        <translation>Kup subskrypcję VPN na stronie</translation>
    </message>
    <message>
        <location filename="../pages/subscriptionpurchasewindow.ui" line="105"/>
        <source>On the site we accept payments through various payment systems, including Bitcoin, PayPal, Yandex Money and others.</source>
        <translation>Na stronie przyjmujemy płatności przez różne systemy płatności, w tym Bitcoin, PayPal, Yandex Money i inne.</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <location filename="../systemtray.cpp" line="40"/>
        <source>Connect</source>
        <translation>Połącz</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="41"/>
        <location filename="../systemtray.cpp" line="146"/>
        <source>Reconnect</source>
        <translation>Połącz ponownie</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="42"/>
        <location filename="../systemtray.cpp" line="147"/>
        <source>Disconnect</source>
        <translation>Rozłącz</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="43"/>
        <location filename="../systemtray.cpp" line="148"/>
        <source>Quit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="129"/>
        <source>Connected to %1</source>
        <translation>Połączono: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="81"/>
        <source>Your connection is encrypted and secured now!</source>
        <translation>Twoje połączenie jest teraz szyfrowane i bezpieczne!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="133"/>
        <source>Connecting to %1</source>
        <translation>Łączenie: %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="136"/>
        <source>Connect %1</source>
        <translation>Połącz %1</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="108"/>
        <source>Your connection is not secured now!</source>
        <translation>Twoje połączenie nie jest teraz chronione!</translation>
    </message>
    <message>
        <location filename="../systemtray.cpp" line="132"/>
        <source>Disconnecting</source>
        <translation>Rozłączanie</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Kestrova Update</source>
        <translation>Aktualizacja Kestrova</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="24"/>
        <source>Available new update. Download it?</source>
        <translation>Dostępna jest nowa aktualizacja. Pobrać ją?</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="56"/>
        <source>Error during downloading update.</source>
        <translation>Błąd podczas pobierania aktualizacji.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="64"/>
        <source>Error during installing update.</source>
        <translation>Błąd podczas instalowania aktualizacji.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="74"/>
        <source>A new version is offered over an insecure link. It was not downloaded.</source>
        <translation>Nowa wersja jest oferowana przez niezabezpieczony link. Nie została pobrana.</translation>
    </message>
    <message>
        <location filename="../updateprompt.cpp" line="62"/>
        <source>Name of update file is empty.</source>
        <translation>Nazwa pliku aktualizacji jest pusta.</translation>
    </message>
</context>
<context>
    <name>VpnProtocol</name>
    <message>
        <location filename="../../core/utils.cpp" line="7"/>
        <source>OpenVPN TCP (safer)</source>
        <translation>OpenVPN TCP (bezpieczniejszy)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="8"/>
        <source>OpenVPN UDP (faster)</source>
        <translation>OpenVPN UDP (szybszy)</translation>
    </message>
    <message>
        <location filename="../../core/utils.cpp" line="9"/>
        <source>Imitation HTTPS</source>
        <translation>Imitacja HTTPS</translation>
    </message>
</context>
</TS>
