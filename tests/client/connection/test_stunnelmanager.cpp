#include "stunnelmanager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data, QFileDevice::Permissions perms = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
    f.close();
    if (perms) {
        f.setPermissions(perms);
    }
}

// Running, not merely a zombie waiting for its parent (or for an init that
// does not reap).
bool alive(qint64 pid)
{
    ::waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG);
    const QByteArray stat = contents(QString("/proc/%1/stat").arg(pid));
    const int close = stat.lastIndexOf(')');
    return close >= 0 && stat.mid(close + 2, 1) != "Z";
}

qint64 pidIn(const QString& pidFile)
{
    return QString::fromUtf8(contents(pidFile)).trimmed().toLongLong();
}

bool listening(int port)
{
    QTcpSocket s;
    s.connectToHost("127.0.0.1", quint16(port));
    return s.waitForConnected(1000);
}

} // namespace

class TestStunnelManager : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void configurationHasItsNineLines();
    void unusableHostOrSniStartsNothing_data();
    void unusableHostOrSniStartsNothing();
    void failingStunnelIsReported();
    void invalidPidFileKillsNothing_data();
    void invalidPidFileKillsNothing();
    void onlyThisUsersStunnelIsKilled();
    void realStunnelListensAndIsReplacedByTheNext();
    void realStunnelsEndIsReportedButNotItsStop();

private:
    QTemporaryDir dir;
    QString pidFile;
    QString marker;
    QString fakeStunnel;
};

void TestStunnelManager::init()
{
    pidFile = dir.path() + "/stunnel.pid";
    marker = dir.path() + "/started";
    QFile::remove(pidFile);
    QFile::remove(marker);
    // Records its start and exits like a stunnel that has detached.
    fakeStunnel = dir.path() + "/fake-stunnel";
    writeFile(
        fakeStunnel,
        QString("#!/bin/sh\necho \"$1\" >> '%1'\necho $$ > '%2'\nexit 0\n").arg(marker, pidFile).toUtf8(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestStunnelManager::configurationHasItsNineLines()
{
    // Every session has a manager, and a session can end without unwinding:
    // only one that starts stealth may leave a folder in the temporary one.
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const auto restore = qScopeGuard([oldTmp] { qputenv("TMPDIR", oldTmp); });
    const auto leftInTmp = [&tmp] {
        return QDir(tmp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    };
    StunnelManager manager(fakeStunnel, pidFile);
    QCOMPARE(leftInTmp(), QStringList());
    QVERIFY(manager.setConfigAndRunProcess("192.0.2.12", 443, "cdn.lab.test"));
    QVERIFY(manager.configFilePath().startsWith(tmp.path() + "/"));
    const int port = manager.getPort();
    QVERIFY(port > 0);
    const QByteArray expected = "sslVersion = all\r\n"
                                "socket = l:TCP_NODELAY=1\r\n"
                                "socket = r:TCP_NODELAY=1\r\n"
                                "pid =" +
                                pidFile.toUtf8() +
                                "\r\n"
                                "[openvpn]\r\n"
                                "client = yes\r\n"
                                "sni = cdn.lab.test\r\n"
                                "accept = 127.0.0.1:" +
                                QByteArray::number(port) +
                                "\r\n"
                                "connect = 192.0.2.12:443\r\n";
    QCOMPARE(contents(manager.configFilePath()), expected);
    QCOMPARE(contents(marker), manager.configFilePath().toUtf8() + "\n");
}

void TestStunnelManager::unusableHostOrSniStartsNothing_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("sni");
    QTest::newRow("line break in host") << "192.0.2.12\r\nexec = /bin/sh" << 443 << "cdn.lab.test";
    QTest::newRow("blank in host") << "192.0.2.12 x" << 443 << "cdn.lab.test";
    QTest::newRow("empty host") << "" << 443 << "cdn.lab.test";
    QTest::newRow("line break in sni") << "192.0.2.12" << 443 << "cdn\n[other]";
    QTest::newRow("blank in sni") << "192.0.2.12" << 443 << "cdn lab";
    QTest::newRow("port zero") << "192.0.2.12" << 0 << "cdn.lab.test";
}

void TestStunnelManager::unusableHostOrSniStartsNothing()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, sni);
    StunnelManager manager(fakeStunnel, pidFile);
    QVERIFY(!manager.setConfigAndRunProcess(host, port, sni));
    QVERIFY(!manager.errorString().isEmpty());
    QVERIFY(!QFile::exists(marker));
}

void TestStunnelManager::failingStunnelIsReported()
{
    StunnelManager missing(dir.path() + "/no-such-program", pidFile);
    QVERIFY(!missing.setConfigAndRunProcess("192.0.2.12", 443, "cdn.lab.test"));
    QVERIFY(!missing.errorString().isEmpty());

    const QString failing = dir.path() + "/failing-stunnel";
    writeFile(failing, "#!/bin/sh\necho 'bad configuration' >&2\nexit 1\n",
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    StunnelManager manager(failing, pidFile);
    QVERIFY(!manager.setConfigAndRunProcess("2001:db8::10", 443, ""));
    QVERIFY(!manager.errorString().isEmpty());
}

void TestStunnelManager::invalidPidFileKillsNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << QByteArray("0\n");
    QTest::newRow("text") << QByteArray("stunnel\n");
    QTest::newRow("negative") << QByteArray("-1\n");
    QTest::newRow("empty") << QByteArray();
}

void TestStunnelManager::invalidPidFileKillsNothing()
{
    QFETCH(QByteArray, text);
    writeFile(pidFile, text);
    StunnelManager manager(fakeStunnel, pidFile);
    QTest::ignoreMessage(QtDebugMsg, "Can't kill stunnel. Invalid pid.");
    manager.killProcess();
}

void TestStunnelManager::onlyThisUsersStunnelIsKilled()
{
    // Whatever number the world-writable pid file holds, a process that is not
    // a stunnel survives.
    QProcess sleeper;
    sleeper.start("sleep", {"30"});
    QVERIFY(sleeper.waitForStarted());
    writeFile(pidFile, QByteArray::number(sleeper.processId()) + "\n");
    {
        StunnelManager manager(fakeStunnel, pidFile);
        manager.killProcess();
    }
    QVERIFY(alive(sleeper.processId()));
    sleeper.kill();
    sleeper.waitForFinished();
}

void TestStunnelManager::realStunnelListensAndIsReplacedByTheNext()
{
    if (QStandardPaths::findExecutable("stunnel4").isEmpty()) {
        QSKIP("stunnel4 is not installed");
    }
    StunnelManager manager("stunnel4", pidFile);
    // Nothing connects through it, so the server address is never contacted.
    QVERIFY2(manager.setConfigAndRunProcess("192.0.2.12", 443, "cdn.lab.test"),
             qPrintable(manager.errorString()));
    QTRY_VERIFY(pidIn(pidFile) > 0);
    const qint64 first = pidIn(pidFile);
    const int firstPort = manager.getPort();
    QVERIFY(listening(firstPort));

    QVERIFY(manager.setConfigAndRunProcess("192.0.2.11", 443, "cdn.lab.test"));
    QVERIFY(!alive(first));
    // The new stunnel's pid file must survive the old one's exit.
    QTRY_VERIFY(pidIn(pidFile) > 0 && pidIn(pidFile) != first);
    const qint64 second = pidIn(pidFile);
    QVERIFY(alive(second));
    QVERIFY(listening(manager.getPort()));

    manager.killProcess();
    QVERIFY(!alive(second));
    QVERIFY(!listening(manager.getPort()));
}

void TestStunnelManager::realStunnelsEndIsReportedButNotItsStop()
{
    if (QStandardPaths::findExecutable("stunnel4").isEmpty()) {
        QSKIP("stunnel4 is not installed");
    }
    StunnelManager manager("stunnel4", pidFile);
    QSignalSpy started(&manager, &StunnelManager::tunnelStarted);
    QSignalSpy ended(&manager, &StunnelManager::tunnelEnded);
    manager.startTunnel("192.0.2.12", 443, "cdn.lab.test");
    QTRY_COMPARE(started.count(), 1);
    QVERIFY(started.first().first().toBool());
    // The spy hears the start on the worker; the watch is set on this thread.
    QTRY_VERIFY(manager.watchesExit());

    // A stop is no end to report, and neither is the replacement by a
    // later start.
    manager.startTunnel("192.0.2.11", 443, "cdn.lab.test");
    QTRY_COMPARE(started.count(), 2);
    manager.stopTunnel();
    QTRY_VERIFY(pidIn(pidFile) <= 0 || !alive(pidIn(pidFile)));
    QTest::qWait(100);
    QCOMPARE(ended.count(), 0);

    manager.startTunnel("192.0.2.12", 443, "cdn.lab.test");
    QTRY_COMPARE(started.count(), 3);
    QTRY_VERIFY(manager.watchesExit());
    ::kill(static_cast<pid_t>(pidIn(pidFile)), SIGKILL);
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!manager.watchesExit());
}

QTEST_GUILESS_MAIN(TestStunnelManager)
#include "test_stunnelmanager.moc"
