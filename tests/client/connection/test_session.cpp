// The session's state machine with the real connection facade, profile
// writer and OpenVPN management client, against a scripted daemon that also
// plays OpenVPN's management port. No widgets.

#include "connectionsession.h"
#include "killswitch.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "pagestestsupport.h"
#include "scripteddaemon.h"
#include "serviceconnector.h"
#include "timezonefollower.h"
#include "uitestsupport.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

using State = ConnectionSession::State;
using Failure = ConnectionSession::Failure;
const QString kVpnUser = QStringLiteral("vpnuser");

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedDaemon> daemon;
    std::unique_ptr<ConnectionSession> session;
    std::unique_ptr<QSignalSpy> states;
    std::unique_ptr<QSignalSpy> failures;
    QTemporaryDir scratch;

    void makeSession(const QString& stunnel = QStringLiteral("/bin/true"))
    {
        ConnectionSession::Dependencies deps;
        deps.daemon = daemon->connector();
        deps.stunnelExecutable = stunnel;
        deps.stunnelPidFile = scratch.filePath("stunnel.pid");
        deps.daemonPidFile = scratch.filePath("kestrovad.pid");
        session.reset(new ConnectionSession(deps));
        states.reset(new QSignalSpy(session.get(), &ConnectionSession::stateChanged));
        failures.reset(new QSignalSpy(session.get(), &ConnectionSession::failed));
    }
    void chooseParis()
    {
        session->setServers(connectTestServers(kVpnUser));
        QVERIFY(session->selectServer(ServerIdentif(kVpnUser, "Paris")));
    }
    // Kill switch set and on, Paris chosen, nothing sent to the daemon yet.
    void armedOnParis()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        chooseParis();
        session->loadSettings();
        QTRY_VERIFY(session->killSwitch()->isActive());
        daemon->clear();
    }
    QList<State> seen() const
    {
        QList<State> out;
        for (const auto& args : *states) {
            out << args.first().value<State>();
        }
        return out;
    }
    Failure lastFailure() const { return failures->last().first().value<Failure>(); }
    std::vector<ScriptedDaemon::Command> firewallChanges()
    {
        std::vector<ScriptedDaemon::Command> out;
        for (const auto& c : daemon->commands()) {
            if (c.code == AA_COMMAND_FIREWALL_CHANGE) {
                out.push_back(c);
            }
        }
        return out;
    }
    ScriptedDaemon::Command lastOf(int32_t code)
    {
        const auto commands = daemon->commands();
        for (auto it = commands.rbegin(); it != commands.rend(); ++it) {
            if (it->code == code) {
                return *it;
            }
        }
        return ScriptedDaemon::Command{-1, -1, QString(), -1};
    }
    void connectParis()
    {
        chooseParis();
        QVERIFY(session->connectToServer());
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
    }
    void stop()
    {
        session->disconnect();
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Idle, 10000);
    }

private slots:
    void init()
    {
        auto settings = LocalSettings::instance();
        settings->createDefaultSettings();
        settings->setValue(Keys::VpnLogin, kVpnUser);
        storeAccountMaterial(kVpnUser);
        daemon.reset(new ScriptedDaemon());
    }

    void cleanup()
    {
        failures.reset();
        states.reset();
        session.reset();
        daemon.reset();
    }

    void connectWithoutALocationAsksForOne()
    {
        makeSession();
        session->setServers(connectTestServers(kVpnUser));
        QSignalSpy needed(session.get(), &ConnectionSession::locationNeeded);
        QVERIFY(!session->connectToServer());
        QCOMPARE(needed.count(), 1);
        QCOMPARE(session->state(), State::Idle);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void connectAndDisconnectKeepTheKillSwitchInStep()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        chooseParis();
        session->loadSettings();
        KillSwitch* killSwitch = session->killSwitch();
        QTRY_VERIFY(killSwitch->isActive());
        QVERIFY(killSwitch->isBlocking());
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_ON), 1);
        // The chosen server and the service come first, then the servers'
        // addresses (both Paris records share one; with Rome's they make a block).
        QCOMPARE(killSwitch->allowList(),
                 QStringList({"127.0.0.1", "192.0.2.10", "127.0.0.2", "192.0.2.10/31"}));
        daemon->clear();

        const QDateTime pressed = QDateTime::currentDateTimeUtc().addSecs(-1);
        QVERIFY(session->connectToServer());
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
        QCOMPARE(seen(), QList<State>({State::Preparing, State::Connecting, State::Connected}));
        QVERIFY(!killSwitch->isBlocking());
        QCOMPARE(session->protocol(), QStringLiteral("tcp"));
        // As OpenVPN reports them, not as this process guesses them.
        QCOMPARE(session->tunnelAddress(), QStringLiteral("198.51.100.130"));
        QVERIFY(session->connectedSince() >= pressed);
        QVERIFY(session->connectedSince() <= QDateTime::currentDateTimeUtc());

        auto commands = daemon->commands();
        QCOMPARE(int(commands.size()), 4);
        QCOMPARE(commands[0].code, int32_t(AA_COMMAND_FIREWALL_SUPPORTED)); // is the daemon there?
        QCOMPARE(commands[1].code, int32_t(AA_COMMAND_FIREWALL_CHANGE));
        // The server's address is known: no lookup needs to pass on the way up.
        QCOMPARE(commands[1].blockDns, 1);
        QCOMPARE(commands[1].text, QStringLiteral("127.0.0.1;192.0.2.10;127.0.0.2;192.0.2.10/31"));
        QCOMPARE(commands[2].code, int32_t(AA_COMMAND_RUN_OPENVPN));
        QVERIFY(commands[2].text.contains("--management 127.0.0.1 "));
        // and closed again once the tunnel carries it
        QCOMPARE(commands[3].code, int32_t(AA_COMMAND_FIREWALL_CHANGE));
        QCOMPARE(commands[3].blockDns, 1);

        daemon->clear();
        stop();
        QCOMPARE(seen().mid(3), QList<State>({State::Stopping, State::Idle}));
        QCOMPARE(firewallChanges().back().blockDns, 1);
        QVERIFY(killSwitch->isBlocking());
        QVERIFY(!session->connectedSince().isValid());
        QVERIFY(session->tunnelAddress().isEmpty());
        QCOMPARE(failures->count(), 0);

        session->close();
        QVERIFY(!killSwitch->isActive());
        QVERIFY(!killSwitch->isBlocking());
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_OFF), 1);
    }

    // Only a server given by name opens name lookups past the kill switch,
    // for OpenVPN to find it; they close again once the tunnel is up.
    void aServerGivenByNameOpensLookupsOnTheWayUp()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        QVector<ServerInfo> servers = connectTestServers(kVpnUser);
        for (ServerInfo& s : servers) {
            if (s.name == QLatin1String("Paris")) {
                s.ip = QStringLiteral("paris.vpn.lab.test");
            }
        }
        session->setServers(servers);
        QVERIFY(session->selectServer(ServerIdentif(kVpnUser, "Paris")));
        session->loadSettings();
        daemon->clear();
        QVERIFY(session->connectToServer());
        QTRY_VERIFY_WITH_TIMEOUT(!firewallChanges().empty(), 10000);
        QCOMPARE(firewallChanges().front().blockDns, 0);
        stop();
        QCOMPARE(firewallChanges().back().blockDns, 1);
    }

    void threeRefusalsFailOnceAndTheNextConnectStartsAfresh()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Refused);
        makeSession();
        chooseParis();
        session->connectToServer();
        QTRY_COMPARE_WITH_TIMEOUT(failures->count(), 1, 10000);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3);
        QCOMPARE(lastFailure(), Failure::Tunnel);
        QCOMPARE(failures->last().at(1).toString(), QStringLiteral("Can not connect to helper"));
        QCOMPARE(session->state(), State::Failed);
        QVERIFY(!session->isBusy());

        QTest::qWait(200);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3); // nothing more by itself
        session->connectToServer();
        QTRY_COMPARE_WITH_TIMEOUT(failures->count(), 2, 10000);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 6);
    }

    void openVpnsOwnReasonEndsTheAttempts_data()
    {
        QTest::addColumn<int>("script");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong password")
            << int(ScriptedDaemon::Tunnel::WrongPassword) << QStringLiteral("Invalid username or password");
        QTest::newRow("fatal line")
            << int(ScriptedDaemon::Tunnel::TunFails)
            << QStringLiteral(
                   "OpenVPN: Cannot open TUN/TAP dev /dev/net/tun: No such file or directory (errno=2)");
    }

    void openVpnsOwnReasonEndsTheAttempts()
    {
        QFETCH(int, script);
        QFETCH(QString, text);
        daemon->setTunnel(ScriptedDaemon::Tunnel(script));
        makeSession();
        chooseParis();
        session->connectToServer();
        QTRY_COMPARE_WITH_TIMEOUT(failures->count(), 1, 15000);
        QCOMPARE(failures->first().at(1).toString(), text);
        QCOMPARE(session->failureDetail(), text);
        QTest::qWait(300);
        QCOMPARE(failures->count(), 1);
        QCOMPARE(session->state(), State::Failed);
    }

    // A server that never answers: each attempt ends at its time limit,
    // and after the last one the user reads why.
    void silentServerTimesOut()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Stalls);
        makeSession();
        session->setAttemptTimeout(300);
        chooseParis();
        session->connectToServer();
        QTRY_COMPARE_WITH_TIMEOUT(failures->count(), 1, 10000);
        QCOMPARE(lastFailure(), Failure::TimedOut);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3);
        QCOMPARE(session->state(), State::Failed);
        QTRY_VERIFY_WITH_TIMEOUT(session->isTunnelIdle(), 10000);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3);
    }

    // OpenVPN restarting the tunnel is not "connected": traffic is dead
    // until it says CONNECTED,SUCCESS again.
    void reconnectingIsNotConnected()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        session->loadSettings();
        connectParis();
        const QDateTime since = session->connectedSince();
        daemon->sendLine(">BYTECOUNT:3000,800");
        QTRY_COMPARE(session->bytesIn(), quint64(3000));
        QCOMPARE(session->bytesOut(), quint64(800));

        daemon->sendLine(">STATE:1700000002,RECONNECTING,ping-restart,,,,,");
        QTRY_COMPARE(session->state(), State::Reconnecting);
        QVERIFY(!session->isConnected());
        QVERIFY(session->killSwitch()->isBlocking());
        daemon->sendLine(">STATE:1700000003,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,");
        QTRY_COMPARE(session->state(), State::Connected);
        QCOMPARE(session->connectedSince(), since);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 1);
        stop();
    }

    void stopWhilePreparingCancels()
    {
        makeSession();
        chooseParis();
        session->connectToServer();
        QCOMPARE(session->state(), State::Preparing);
        QVERIFY(session->isBusy());
        session->disconnect();
        QTRY_COMPARE(session->state(), State::Idle);
        QTest::qWait(300);
        QCOMPARE(session->state(), State::Idle);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void reconnectGoesDownAndUpAgain()
    {
        makeSession();
        connectParis();
        session->reconnect();
        QCOMPARE(session->state(), State::Stopping);
        QTRY_COMPARE_WITH_TIMEOUT(daemon->count(AA_COMMAND_RUN_OPENVPN), 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
        stop();
    }

    // Leaving the account: the tunnel goes down first, then the kill switch,
    // and only then is the sign-out reported done.
    void signOutTakesTheTunnelDownBeforeTheKillSwitch()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        daemon->setExitDelay(1500);
        makeSession();
        chooseParis();
        session->loadSettings();
        QVERIFY(session->connectToServer());
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);

        QSignalSpy signedOut(session.get(), &ConnectionSession::signedOut);
        session->signOut();
        session->signOut(); // pressed twice: one sign-out
        QCOMPARE(session->state(), State::Stopping);
        QVERIFY(signedOut.isEmpty());
        QVERIFY(session->killSwitch()->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(signedOut.count(), 1, 10000);
        QCOMPARE(session->state(), State::Idle);
        QVERIFY(!session->killSwitch()->isActive());
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_OFF), 1);

        // With nothing under way it is done at once.
        session->signOut();
        QCOMPARE(signedOut.count(), 2);
    }

    void autoConnectOnStartConnectsOnce()
    {
        LocalSettings::instance()->setValue(Keys::ConnectOnStart, true);
        LocalSettings::instance()->setValue(Keys::LastLocation, QStringLiteral("vpnuser::Paris"));
        makeSession();
        session->setServers(connectTestServers(kVpnUser));
        session->autoConnect();
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
        stop();

        // A second server list without a settings load in between.
        session->setServers(connectTestServers(kVpnUser));
        session->autoConnect();
        QTest::qWait(300);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 1);

        // A settings load arms it again.
        session->loadSettings();
        session->autoConnect();
        QTRY_COMPARE_WITH_TIMEOUT(daemon->count(AA_COMMAND_RUN_OPENVPN), 2, 10000);
    }

    // The press returns while the daemon is still busy with the rules (a
    // slow iptables load), and so does the end of the tunnel; what waits for
    // the daemon goes on once it answers, in the order it was asked.
    void neitherPressNorTunnelEndWaitsForTheDaemon()
    {
        armedOnParis();
        daemon->hold();
        QVERIFY(session->connectToServer());
        QCOMPARE(session->state(), State::Preparing);
        QTRY_COMPARE(daemon->waiting(), 1);
        QVERIFY(daemon->commands().empty());
        daemon->release();
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
        QList<int32_t> codes;
        for (const auto& c : daemon->commands()) {
            codes << c.code;
        }
        QCOMPARE(codes, QList<int32_t>({AA_COMMAND_FIREWALL_SUPPORTED, AA_COMMAND_FIREWALL_CHANGE,
                                        AA_COMMAND_RUN_OPENVPN, AA_COMMAND_FIREWALL_CHANGE}));

        daemon->clear();
        daemon->hold();
        session->disconnect();
        QTRY_COMPARE(session->state(), State::Idle);
        QTRY_COMPARE(daemon->waiting(), 1);
        daemon->release();
        QTRY_COMPARE(daemon->count(AA_COMMAND_FIREWALL_CHANGE), 1);
        QVERIFY(session->killSwitch()->isBlocking());
    }

    // With the kill switch off, "block IPv6" holds for the connection alone:
    // on before OpenVPN starts, kept when the kill switch goes off meanwhile,
    // and gone once the tunnel is down.
    void ipv6IsBlockedForTheConnectionWithoutTheKillSwitch()
    {
        auto settings = LocalSettings::instance();
        settings->setValue(Keys::KillConnect, false);
        settings->setValue(Keys::IPv6LeakProtect, true);
        makeSession();
        session->loadSettings();
        connectParis();
        KillSwitch* killSwitch = session->killSwitch();
        QTRY_VERIFY(killSwitch->isHoldingIPv6());
        QVERIFY(!killSwitch->isActive());
        const auto commands = daemon->commands();
        const auto on = std::find_if(commands.begin(), commands.end(),
                                     [](const auto& c) { return c.code == AA_COMMAND_FIREWALL_ON; });
        const auto start = std::find_if(commands.begin(), commands.end(),
                                        [](const auto& c) { return c.code == AA_COMMAND_RUN_OPENVPN; });
        QVERIFY(on < start && start != commands.end());
        QCOMPARE(on->killConnect, 0);
        QCOMPARE(on->blockIPv6, 1);

        settings->setValue(Keys::KillConnect, true);
        session->loadSettings();
        QTRY_VERIFY(killSwitch->isActive());
        settings->setValue(Keys::KillConnect, false);
        session->loadSettings();
        QTRY_VERIFY(!killSwitch->isActive());
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_OFF), 0);
        QCOMPARE(lastOf(AA_COMMAND_FIREWALL_CHANGE).blockIPv6, 1);
        QVERIFY(killSwitch->isHoldingIPv6());

        stop();
        QTRY_COMPARE(daemon->count(AA_COMMAND_FIREWALL_OFF), 1);
        QCOMPARE(daemon->commands().back().code, int32_t(AA_COMMAND_FIREWALL_OFF));
        QTRY_VERIFY(!killSwitch->isHoldingIPv6());

        // Without the setting nothing of it is sent.
        settings->setValue(Keys::IPv6LeakProtect, false);
        session->loadSettings();
        daemon->clear();
        QVERIFY(session->connectToServer());
        QTRY_COMPARE_WITH_TIMEOUT(session->state(), State::Connected, 10000);
        stop();
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_ON) + daemon->count(AA_COMMAND_FIREWALL_OFF), 0);
    }

    // A daemon started again holds no rules: they go again once its monitor
    // has written its pid file, and nothing is sent while nothing changes.
    void aRestartedDaemonGetsTheRulesAgain()
    {
        armedOnParis();
        QTest::qWait(2500);
        QVERIFY(daemon->commands().empty());

        QFile pid(scratch.filePath("kestrovad.pid"));
        QVERIFY(pid.open(QIODevice::WriteOnly));
        pid.write("4242\n");
        pid.close();
        QTRY_COMPARE(daemon->count(AA_COMMAND_FIREWALL_CHANGE), 1);
        QCOMPARE(lastOf(AA_COMMAND_FIREWALL_CHANGE).killConnect, 1);
        QCOMPARE(lastOf(AA_COMMAND_FIREWALL_CHANGE).text,
                 QStringLiteral("127.0.0.1;192.0.2.10;127.0.0.2;192.0.2.10/31"));
    }

    void killSwitchProblemsAreReported()
    {
        daemon->setResult(AA_COMMAND_FIREWALL_ON, false);
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        QSignalSpy problems(session->killSwitch(), &KillSwitch::problem);
        session->loadSettings();
        QTRY_COMPARE(problems.count(), 1);
        QVERIFY(!session->killSwitch()->isActive());
        QCOMPARE(problems.first().first().value<KillSwitch::Problem>(), KillSwitch::Problem::CannotSwitchOn);
        QCOMPARE(LocalSettings::instance()->value(Keys::KillConnect).toBool(), false);

        daemon.reset(new ScriptedDaemon());
        daemon->setResult(AA_COMMAND_FIREWALL_SUPPORTED, false);
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        QSignalSpy unsupported(session->killSwitch(), &KillSwitch::problem);
        session->loadSettings();
        QTRY_COMPARE(unsupported.count(), 1);
        QCOMPARE(unsupported.first().first().value<KillSwitch::Problem>(), KillSwitch::Problem::NotSupported);
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_ON), 0);
    }

    // The daemon stopped while the client runs: the next connect says so,
    // whether or not the kill switch is wanted, and the notice goes once
    // the daemon is back.
    void daemonGoneIsServiceNotRunning()
    {
        makeSession();
        chooseParis();
        daemon.reset();
        session->connectToServer();
        QTRY_COMPARE(failures->count(), 1);
        QCOMPARE(lastFailure(), Failure::ServiceNotRunning);
        QVERIFY(session->killSwitch()->isServiceMissing());
        QCOMPARE(session->state(), State::Failed);
    }

    void protocolTheServerDoesNotOfferClearsTheLocation()
    {
        makeSession();
        session->setServers(connectTestServers(kVpnUser));
        session->selectServer(ServerIdentif(kVpnUser, "Rome"));
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
        session->loadSettings();
        QCOMPARE(session->currentServer().name, QStringLiteral("Rome"));

        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("udp"));
        session->loadSettings();
        QVERIFY(session->currentServer().name.isEmpty());
        QVERIFY(LocalSettings::instance()->value(Keys::LastLocation).toString().isEmpty());
        QCOMPARE(ConnectionSession::protocolSetting(), int(PROTOCOL_OPENVPN_UDP));
    }

    void attemptsThatCannotStartEndAtOnceWithTheReason()
    {
        LocalSettings::instance()->setValue(Keys::CachedCertif, QByteArray());
        NetworkManager::instance()->loadCachedData();
        makeSession(QStringLiteral("/bin/false"));
        chooseParis();
        session->connectToServer();
        QTRY_COMPARE(failures->count(), 1);
        QCOMPARE(lastFailure(), Failure::MissingCertificate);
        storeAccountMaterial(kVpnUser);

        // A stealth tunnel that does not start: no retries, no tunnel.
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("stealth"));
        session->connectToServer();
        // stunnel starts off the GUI thread: the call returns before its end.
        QCOMPARE(session->state(), State::Preparing);
        QTRY_COMPARE(failures->count(), 2);
        QCOMPARE(lastFailure(), Failure::StealthTunnel);

        // A profile the writer refuses (an address that is not one word)
        // must not start openvpn with whatever the file held before.
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
        QVector<ServerInfo> odd = connectTestServers(kVpnUser);
        odd[0].ip = QStringLiteral("192.0.2.10\nplugin /tmp/x.so");
        session->setServers(odd);
        session->selectServer(ServerIdentif(kVpnUser, "Paris"));
        session->connectToServer();
        QTRY_COMPARE(failures->count(), 3);
        QCOMPARE(lastFailure(), Failure::ProfileNotWritten);
        QTest::qWait(200);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void timezoneFollowsTheExitAndIsRestored()
    {
        LocalSettings::instance()->setValue(Keys::ChangeTimezone, true);
        makeSession();
        QSignalSpy problems(session->timezone(), &TimezoneFollower::problem);
        connectParis();
        // The service cannot be reached here, so there is no zone to set.
        QTRY_COMPARE_WITH_TIMEOUT(problems.count(), 1, 30000);
        QCOMPARE(problems.first().first().value<TimezoneFollower::Problem>(),
                 TimezoneFollower::Problem::NoData);
        QCOMPARE(daemon->count(AA_COMMAND_TIMEZONE_CHANGE), 0);

        session->timezone()->onTimezone("Europe/Paris", true);
        QTRY_COMPARE(daemon->commands().back().code, int32_t(AA_COMMAND_TIMEZONE_CHANGE));
        QCOMPARE(daemon->commands().back().text, QStringLiteral("Europe/Paris"));
        QCOMPARE(daemon->commands().back().restore, 0);

        // The option going off while connected leaves the exit's zone set:
        // it still goes back with the tunnel, and a late answer sets none.
        LocalSettings::instance()->setValue(Keys::ChangeTimezone, false);
        session->loadSettings();
        stop();
        QTRY_COMPARE(daemon->count(AA_COMMAND_TIMEZONE_CHANGE), 2);
        const auto restored = lastOf(AA_COMMAND_TIMEZONE_CHANGE);
        QCOMPARE(restored.restore, 1);
        QVERIFY(restored.text.isEmpty());
        session->timezone()->onTimezone("Europe/Paris", true);
        QTest::qWait(200);
        QCOMPARE(daemon->count(AA_COMMAND_TIMEZONE_CHANGE), 2);
    }

    void timezoneChangesTheSystemCannotMakeSwitchTheOptionOff()
    {
        daemon->setResult(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED, false);
        LocalSettings::instance()->setValue(Keys::ChangeTimezone, true);
        makeSession();
        QSignalSpy problems(session->timezone(), &TimezoneFollower::problem);
        connectParis();
        QTRY_COMPARE(problems.count(), 1);
        QCOMPARE(problems.first().first().value<TimezoneFollower::Problem>(),
                 TimezoneFollower::Problem::NotSupported);
        QCOMPARE(LocalSettings::instance()->value(Keys::ChangeTimezone).toBool(), false);
        QVERIFY(!session->killSwitch()->parameters().change_timezone);
        stop();
        QCOMPARE(daemon->count(AA_COMMAND_TIMEZONE_CHANGE), 0); // nothing to restore
    }

    void wirelessChangeRefreshesTheRulesLater()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeSession();
        session->setServers(connectTestServers(kVpnUser));
        session->loadSettings();
        session->killSwitch()->refreshLater();
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_CHANGE), 0);
        QTRY_COMPARE_WITH_TIMEOUT(daemon->count(AA_COMMAND_FIREWALL_CHANGE), 1, 5000);
        QCOMPARE(firewallChanges().back().blockDns, 1);
    }

    void updatePackageIsHandedToTheDaemon()
    {
        makeSession();
        QVERIFY(!session->installUpdate(QString()));
        QCOMPARE(daemon->count(AA_COMMAND_UPDATE_INSTALL), 0);
        QVERIFY(session->installUpdate("/tmp/kestrova-update/update.deb"));
        QCOMPARE(daemon->commands().back().text, QStringLiteral("/tmp/kestrova-update/update.deb"));
        daemon->setResult(AA_COMMAND_UPDATE_INSTALL, false);
        QVERIFY(!session->installUpdate("/tmp/kestrova-update/update.deb"));
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QCoreApplication app(argc, argv);
    setApplicationIdentity();
    TestSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_session.moc"
