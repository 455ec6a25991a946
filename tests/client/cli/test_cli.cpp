// kestrova-cli as a user runs it: the real program, no display, against the
// lab's fake service on loopback, with a throw-away home. A stand-in engine
// on the user's control socket plays the running window where a test needs
// one.
#include "controlprotocol.h"
#include "controlrequest.h"
#include "controlserver.h"
#include "fakedaemon.h"
#include "fakeservice.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir home;
    QTemporaryDir lab;
    FakeService service;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
        env.insert("XDG_DATA_HOME", home.path() + "/.local/share");
        env.insert("XDG_RUNTIME_DIR", home.path() + "/run");
        // A test's own stand-ins, if any, then the quiet ping.
        env.insert("PATH",
                   home.path() + QStringLiteral("/bin:" KESTROVA_FAKE_PING_DIR ":") + env.value("PATH"));
        env.insert("KESTROVA_API_URL", service.baseUrl().toString());
        env.insert("KESTROVA_CA_FILE", service.caFile());
        // English unless a test asks for another language.
        env.remove("LANGUAGE");
        env.remove("LC_MESSAGES");
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("LANG", "C.UTF-8");
        return env;
    }

    // Runs the program with standard input from `input` (never a terminal)
    // while this test's event loop keeps serving.
    Run cli(const QStringList& arguments, const QByteArray& input = QByteArray(),
            const QString& locale = QString())
    {
        QProcess process;
        QProcessEnvironment env = environment();
        if (!locale.isEmpty()) {
            env.insert("LC_ALL", locale);
            env.insert("LANG", locale);
        }
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KESTROVA_CLI), arguments);
        process.write(input);
        process.closeWriteChannel();
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForFinished(5);
        }
        Run run;
        run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    QVariant stored(const QString& key) const
    {
        QSettings file(home.path() + "/.config/VKMT/Kestrova.conf", QSettings::IniFormat);
        return file.value(key);
    }

    QString socketPath() const { return home.path() + "/run/kestrova/control"; }

    void signIn(const QString& user, const QByteArray& password)
    {
        const Run run = cli({"login", user, "--password-stdin"}, password + "\n");
        QVERIFY2(run.code == 0, run.err.constData());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid() && lab.isValid());
        QVERIFY(QDir().mkpath(home.path() + "/run"));
        QFile::setPermissions(home.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(service.start(lab.path()));
    }

    void signInNeedsAPasswordFromSomewhere()
    {
        Run run = cli({"account"});
        QCOMPARE(run.code, int(ControlProtocol::NotSignedIn));
        // No terminal and no --password-stdin: no prompt, no request.
        const int before = service.requestLog().size();
        run = cli({"login", "single"}, "single-pass\n");
        QCOMPARE(run.code, int(ControlProtocol::Usage));
        QVERIFY(run.err.contains("--password-stdin"));
        QCOMPARE(service.requestLog().size(), before);

        run = cli({"login", "single", "--password-stdin"}, "wrong\n");
        QCOMPARE(run.code, int(ControlProtocol::SignInRefused));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(cli({"account"}).code, int(ControlProtocol::NotSignedIn));
        run = cli({"login", "nosub", "--password-stdin"}, "nosub-pass\n");
        QCOMPARE(run.code, int(ControlProtocol::SignInRefused));
    }

    void accountServersAndFavorites()
    {
        signIn("multi", "multi+pass word");
        // What the window reads: remembered, with the account in its store.
        QCOMPARE(stored("rememberUser").toBool(), true);
        QCOMPARE(stored("login").toString(), QString("multi"));

        Run run = cli({"account", "--json"});
        QCOMPARE(run.code, 0);
        QJsonObject account = run.json();
        QCOMPARE(account.value("account").toString(), QString("multi"));
        QCOMPARE(account.value("vpnLogin").toString(), QString("kv2001"));
        QCOMPARE(account.value("logins").toArray().size(), 2);
        QCOMPARE(account.value("logins").toArray().at(0).toObject().value("expires").toString().size(), 10);

        run = cli({"servers", "--json"});
        QCOMPARE(run.code, 0);
        QJsonArray servers = run.json().value("servers").toArray();
        QCOMPARE(servers.size(), 2);
        QJsonObject amsterdam = servers.at(0).toObject();
        QCOMPARE(amsterdam.value("name").toString(), QString("Amsterdam"));
        QCOMPARE(amsterdam.value("location").toString(), QString("Netherlands"));
        QCOMPARE(amsterdam.value("kind").toString(), QString("standard"));
        QCOMPARE(amsterdam.value("latencyMs").toInt(), 10); // the stand-in ping: 192.0.2.10 -> 10.4 ms

        QCOMPARE(cli({"account", "use", "kv9999"}).code, int(ControlProtocol::NotFound));
        QCOMPARE(cli({"account", "use", "kv2002"}).code, 0);
        QCOMPARE(stored("vpnLogin").toString(), QString("kv2002"));
        run = cli({"servers", "york", "--json"});
        servers = run.json().value("servers").toArray();
        QCOMPARE(servers.size(), 1);
        QCOMPARE(servers.at(0).toObject().value("name").toString(), QString("Amsterdam - New York"));
        QCOMPARE(servers.at(0).toObject().value("kind").toString(), QString("double"));

        QCOMPARE(cli({"favorite", "add", "Nowhere"}).code, int(ControlProtocol::NotFound));
        QCOMPARE(cli({"favorite", "add", "reykjavik"}).code, 0);
        // Kept where the window's server list keeps the favourites of the
        // protocol (tcp after a sign-in).
        QCOMPARE(stored("favoriteServersTcp").toStringList(), QStringList{"kv2002::Reykjavik"});
        run = cli({"servers", "--favorites", "--json"});
        servers = run.json().value("servers").toArray();
        QCOMPARE(servers.size(), 1);
        QCOMPARE(servers.at(0).toObject().value("favorite").toBool(), true);
        QCOMPARE(cli({"favorite", "remove", "Reykjavik"}).code, 0);
        QVERIFY(cli({"servers", "--favorites", "--json"}).json().value("servers").toArray().isEmpty());
    }

    void settingsAreTheWindowsSettings()
    {
        QCOMPARE(cli({"set", "protocol", "stealth"}).code, 0);
        QCOMPARE(stored("advProtocol").toString(), QString("stealth"));
        QCOMPARE(cli({"set", "killswitch", "on"}).code, 0);
        QCOMPARE(cli({"set", "ipv6-block", "off"}).code, 0);
        QCOMPARE(stored("killConnect").toBool(), true);
        QCOMPARE(stored("iPv6LeakProtect").toBool(), false);
        const Run run = cli({"get", "--json"});
        QCOMPARE(run.code, 0);
        const QJsonObject settings = run.json();
        QCOMPARE(settings.value("protocol").toString(), QString("stealth"));
        QCOMPARE(settings.value("killswitch").toBool(), true);
        QCOMPARE(settings.value("ipv6-block").toBool(), false);
        QCOMPARE(settings.value("autoconnect").toBool(), false);

        // Wrong names and values change nothing.
        QCOMPARE(cli({"set", "protocol", "TCP"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"set", "killswitch", "yes"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"set", "speed", "on"}).code, int(ControlProtocol::Usage));
        QCOMPARE(stored("advProtocol").toString(), QString("stealth"));
        QCOMPARE(stored("killConnect").toBool(), true);

        // The setting is on, but without an engine no rule is in force.
        const QJsonObject status = cli({"status", "--json"}).json();
        QCOMPARE(status.value("state").toString(), QString("idle"));
        QCOMPARE(status.value("killSwitch").toBool(true), false);
        QVERIFY(cli({"status"}).out.startsWith("idle, kill switch off"));
    }

    // An engine that ends between taking a request and answering it (a
    // background session with nothing left to hold) is one that does not
    // run: the command is not a failure.
    void anEngineEndingUnansweredCountsAsNone()
    {
        ControlServer engine;
        QCOMPARE(engine.listen(socketPath()), ControlServer::ListenResult::Listening);
        connect(&engine, &ControlServer::requestReceived, this,
                [&] { QTimer::singleShot(0, &engine, [&] { engine.close(); }); });
        Run run = cli({"status", "--json"});
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(run.json().value("state").toString(), QString("idle"));
        QVERIFY(run.json().value("host").isNull());
    }

    void aRunningEngineIsAskedAndTheAccountKeptStill()
    {
        ControlServer engine;
        QCOMPARE(engine.listen(socketPath()), ControlServer::ListenResult::Listening);
        QStringList asked;
        connect(&engine, &ControlServer::requestReceived, this, [&](ControlRequest* request) {
            asked << request->command();
            request->finish({{"status", QJsonObject{{"state", "connected"},
                                                    {"location", "Amsterdam"},
                                                    {"protocol", "udp"},
                                                    {"tunnelAddress", "198.51.100.130"},
                                                    {"killSwitch", true},
                                                    {"killSwitchBlocking", false},
                                                    {"bytesIn", 2048},
                                                    {"bytesOut", 1024}}}});
        });
        Run run = cli({"status"});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith(
                     "connected to Amsterdam over udp, tunnel address 198.51.100.130, kill switch on"),
                 run.out.constData());
        run = cli({"status", "--json"});
        QCOMPARE(run.json().value("bytesIn").toInt(), 2048);
        // Answered without the whole program, in the terminal's language too.
        run = cli({"status"}, QByteArray(), "de_DE.UTF-8");
        QVERIFY2(QString::fromUtf8(run.out).startsWith(
                     QStringLiteral("verbunden mit Amsterdam über udp, Tunneladresse 198.51.100.130")),
                 run.out.constData());

        // A connect goes to the engine that runs: no second session, no
        // second tunnel.
        asked.clear();
        cli({"connect", "Amsterdam"});
        QCOMPARE(asked, QStringList{"connect"});

        // The account does not change under a running engine.
        QCOMPARE(cli({"logout"}).code, int(ControlProtocol::Busy));
        QCOMPARE(cli({"login", "single", "--password-stdin"}, "single-pass\n").code,
                 int(ControlProtocol::Busy));
        QCOMPARE(stored("login").toString(), QString("multi"));
        // A setting is saved and the engine told.
        asked.clear();
        QCOMPARE(cli({"set", "lan", "on"}).code, 0);
        QCOMPARE(asked, QStringList{"settings-changed"});
        QCOMPARE(stored("allowLocalDevices").toBool(), true);
    }

    // Two connects race: the background session that finds another engine
    // serving has nothing to hold, so it must not touch the daemon, whose
    // kill switch is that engine's.
    void aSessionThatFindsAnEngineLeavesTheKillSwitchAlone()
    {
        QCOMPARE(cli({"set", "killswitch", "on"}).code, 0);
        const auto cleanup = qScopeGuard([&] { cli({"set", "killswitch", "off"}); });
        FakeDaemon daemon(23589);
        QCOMPARE(daemon.port(), quint16(23589));
        ControlServer engine;
        QCOMPARE(engine.listen(socketPath()), ControlServer::ListenResult::Listening);

        QCOMPARE(cli({"--session-host"}).code, 0);
        // Whatever it posted before it found the engine would still be on
        // its way; give it the time to arrive.
        QTest::qWait(300);
        QStringList commands;
        for (const FakeDaemon::Packet& packet : daemon.packets()) {
            commands << QString::number(FakeDaemon::commandOf(packet));
        }
        QVERIFY2(commands.isEmpty(), qPrintable("the daemon was sent: " + commands.join(' ')));
    }

    // No daemon in this namespace: the background session starts, says why
    // it cannot connect, and ends. It measures no latencies on the way: the
    // ping programs would only compete with the connect.
    void connectWithoutTheDaemon()
    {
        QVERIFY(QDir(home.path()).mkpath("bin"));
        const QString pings = home.path() + "/pings.log";
        QFile logger(home.path() + "/bin/ping");
        QVERIFY(logger.open(QIODevice::WriteOnly));
        logger.write(QStringLiteral("#!/bin/sh\necho \"$@\" >>%1\nexec %2/ping \"$@\"\n")
                         .arg(pings, QStringLiteral(KESTROVA_FAKE_PING_DIR))
                         .toUtf8());
        logger.close();
        logger.setPermissions(logger.permissions() | QFileDevice::ExeOwner);
        const auto cleanup = qScopeGuard([&] { logger.remove(); });

        const Run run = cli({"connect", "Reykjavik", "--json"});
        QCOMPARE(run.code, int(ControlProtocol::DaemonMissing));
        QVERIFY2(run.err.contains("kestrova-cli: The Kestrova service (kestrovad) is not running."),
                 run.err.constData());
        QVERIFY(run.out.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(socketPath()), 10000);
        QCOMPARE(cli({"status", "--json"}).json().value("state").toString(), QString("idle"));
        QVERIFY2(!QFile::exists(pings), "the background session ran ping");
    }

    // The program the user runs hands a new background session the connect
    // request itself: a location's name reaches the session as typed, in
    // the terminal's encoding, whatever characters it holds.
    void connectNamesReachTheSessionAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("quote") << QStringLiteral("Amster\"dam") << QString() << QStringList();
        QTest::newRow("backslash") << QStringLiteral("Amster\\dam") << QString() << QStringList();
        QTest::newRow("tab") << QStringLiteral("Amster\tdam") << QString() << QStringList();
        QTest::newRow("utf-8") << QStringLiteral("Zürich 東京") << QStringLiteral("C.UTF-8") << QStringList();
        // The options may come first: the name is still the word after connect.
        QTest::newRow("--json first") << QStringLiteral("Amster dam") << QString() << QStringList{"--json"};
    }

    void connectNamesReachTheSessionAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QString, locale);
        QFETCH(QStringList, options);
        // The words go to the program in UTF-8 whatever this test's locale.
        QTextCodec* const before = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        const auto restore = qScopeGuard([before] { QTextCodec::setCodecForLocale(before); });
        signIn("multi", "multi+pass word");
        QVERIFY(!QFile::exists(socketPath()));
        const Run run = cli(options + QStringList{"connect", name}, QByteArray(), locale);
        QCOMPARE(run.code, int(ControlProtocol::NotFound));
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(QStringLiteral("No location named %1.").arg(name)),
                 run.err.constData());
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(socketPath()), 10000);
    }

    // A session that ends without a word (nobody is signed in) leaves the
    // whole program to say why.
    void connectWhenNotSignedIn()
    {
        QCOMPARE(cli({"logout"}).code, 0);
        const Run run = cli({"--json", "connect", "Amsterdam"});
        QCOMPARE(run.code, int(ControlProtocol::NotSignedIn));
        QVERIFY2(run.err.contains("Not signed in."), run.err.constData());
    }

    void logoutForgetsTheAccount()
    {
        QCOMPARE(cli({"logout"}).code, 0);
        QCOMPARE(cli({"account"}).code, int(ControlProtocol::NotSignedIn));
        QCOMPARE(cli({"servers"}).code, int(ControlProtocol::NotSignedIn));
        QVERIFY(stored("cachedKeys").toByteArray().isEmpty());
        QCOMPARE(stored("rememberUser").toBool(), false);
        // Nothing to act on: no engine, nothing connected.
        const Run run = cli({"status", "--json"});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.json().value("state").toString(), QString("idle"));
        QCOMPARE(cli({"connect", "Amsterdam"}).code, int(ControlProtocol::NotSignedIn));
    }

    void liteAccountHasNoKillSwitch()
    {
        signIn("lite", "lite-pass");
        const Run run = cli({"set", "killswitch", "on"});
        QCOMPARE(run.code, int(ControlProtocol::Failed));
        QCOMPARE(stored("killConnect").toBool(), false);
        QCOMPARE(cli({"logout"}).code, 0);
    }

    // What the user runs loads nothing but libc: a connect's background
    // session starts before any library is loaded. Prompts and status bars
    // ask for the status often: its front loads neither the network library
    // nor the keyring's.
    void programsLoadOnlyWhatTheyNeed()
    {
        const auto libraries = [](const char* program) {
            QProcess ldd;
            ldd.start(QStringLiteral("ldd"), {QString::fromUtf8(program)});
            ldd.waitForFinished(10000);
            QStringList names;
            for (const QByteArray& line : ldd.readAllStandardOutput().split('\n')) {
                const QByteArray name = line.trimmed().split(' ').value(0);
                if (!name.isEmpty() && !name.startsWith("linux-vdso") && !name.contains("ld-linux")) {
                    names << QString::fromUtf8(name.left(name.indexOf(".so")));
                }
            }
            return names;
        };
        QStringList launcher = libraries(KESTROVA_CLI);
        // A sanitizer build links its runtimes, and what they need, into
        // every program.
        if (launcher.contains("libasan") || launcher.contains("libubsan")) {
            for (const char* runtime : {"libasan", "libubsan", "libm", "libgcc_s", "libstdc++"}) {
                launcher.removeAll(QString::fromLatin1(runtime));
            }
        }
        QCOMPARE(launcher, QStringList{"libc"});
        const QStringList front = libraries(KESTROVA_CLI_FRONT);
        QVERIFY2(front.contains("libQt5Core"), qPrintable(front.join(' ')));
        QVERIFY2(!front.contains("libQt5Network") && !front.contains("libqt5keychain"),
                 qPrintable(front.join(' ')));
    }

    void usageErrors()
    {
        QCOMPARE(cli({}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"frobnicate"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"servers", "--password-stdin"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"favorite", "toggle", "Amsterdam"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"status", "extra"}).code, int(ControlProtocol::Usage));
        QCOMPARE(cli({"--help"}).code, 0);
    }

    // The terminal's language, from the window's catalogues; the command
    // names and the exit codes stay what scripts rely on.
    void speaksTheTerminalsLanguage()
    {
        Run german = cli({"account"}, QByteArray(), "de_DE.UTF-8");
        QCOMPARE(german.code, int(ControlProtocol::NotSignedIn));
        QVERIFY2(german.err.contains("Nicht angemeldet. Anmelden mit: kestrova-cli login USER"),
                 german.err.constData());
        german = cli({"frobnicate"}, QByteArray(), "de_DE.UTF-8");
        QCOMPARE(german.code, int(ControlProtocol::Usage));
        QVERIFY2(german.err.contains("Aufruf: kestrova-cli [--json] COMMAND"), german.err.constData());

        const Run chinese = cli({"set", "killswitch", "maybe"}, QByteArray(), "zh_CN.UTF-8");
        QCOMPARE(chinese.code, int(ControlProtocol::Usage));
        QVERIFY2(QString::fromUtf8(chinese.err).contains(QStringLiteral("killswitch 的值为 on 或 off。")),
                 chinese.err.constData());

        // A language without a catalogue, and the C locale, read English.
        for (const char* locale : {"fi_FI.UTF-8", "C"}) {
            const Run plain = cli({"account"}, QByteArray(), locale);
            QVERIFY2(plain.err.contains("Not signed in. Sign in with: kestrova-cli login USER"), locale);
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
