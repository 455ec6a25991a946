#include "apireply.h"
#include "downloadfile.h"
#include "fakeservice.h"
#include "httpsserver.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "softwareupdater.h"
#include "updatemanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Records the updater's signals in the order they come.
class SignalLog : public QObject
{
public:
    explicit SignalLog(SoftwareUpdater* updater)
    {
        connect(updater, &SoftwareUpdater::newUpdate, this, [this] { names << "newUpdate"; });
        connect(updater, &SoftwareUpdater::versionError, this, [this] { names << "versionError"; });
        connect(updater, &SoftwareUpdater::upToDate, this, [this] { names << "upToDate"; });
        connect(updater, &SoftwareUpdater::insecureLink, this, [this] { names << "insecureLink"; });
        connect(updater, &SoftwareUpdater::remoteVersion, this,
                [this](const QString& v) { names << "remoteVersion " + v; });
        connect(updater, &SoftwareUpdater::downloadComplited, this,
                [this](const QString&) { names << "done"; });
        connect(updater, &SoftwareUpdater::downloadFailed, this, [this] { names << "failed"; });
    }
    QStringList names;
};

class TestSoftwareUpdater : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void versionToNumber_data();
    void versionToNumber();
    void answers_data();
    void answers();
    void checkDownloadsTheOfferedPackage();
    void failedDownloadIsReported();
    void managerAgainstTheService();

private:
    // Points the client at the lab's fake service, the one the window's
    // tests use for updates; undone when the result goes.
    static auto useService(const FakeService& service, const QString& prefix = QString())
    {
        const QByteArray url = qgetenv("KESTROVA_API_URL");
        const QByteArray ca = qgetenv("KESTROVA_CA_FILE");
        qputenv("KESTROVA_API_URL", (service.baseUrl().toString() + prefix).toLatin1());
        qputenv("KESTROVA_CA_FILE", service.caFile().toLocal8Bit());
        return qScopeGuard([url, ca] {
            qputenv("KESTROVA_API_URL", url);
            qputenv("KESTROVA_CA_FILE", ca);
        });
    }

    QTemporaryDir configDir;
    TestPki pki;
    // Downloads keep their folders on purpose; they land in here and go with it.
    QTemporaryDir downloadRoot;
};

void TestSoftwareUpdater::cleanupTestCase()
{
    // The store writes itself out when released: into the throw-away folder
    // while it still exists.
    LocalSettings::releaseInstance();
}

void TestSoftwareUpdater::initTestCase()
{
    QVERIFY(downloadRoot.isValid());
    qputenv("TMPDIR", downloadRoot.path().toLocal8Bit());
    QVERIFY(configDir.isValid());
    QVERIFY(pki.create());
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    qputenv("KESTROVA_CA_FILE", pki.caFile().toLocal8Bit());
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
}

void TestSoftwareUpdater::versionToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("own") << "3.6.9" << 306009;
    QTest::newRow("two parts") << "3.10" << 310000;
    QTest::newRow("patch ten") << "3.6.10" << 306010;
    QTest::newRow("one part") << "4" << 4;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("minor overflows") << "3.100.0" << 400000;
    QTest::newRow("not numbers") << "a.b.c" << 0;
    QTest::newRow("fourth part ignored") << "3.6.9.7" << 306009;
    QTest::newRow("empty middle") << "3..9" << 300009;
}

void TestSoftwareUpdater::versionToNumber()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(SoftwareUpdater::versionToNumber(text), number);
}

void TestSoftwareUpdater::answers_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QStringList>("signals_");
    const QString link = "https://dl.example/update.deb";
    QTest::newRow("equal") << "3.6.9" << link << true << QStringList{"remoteVersion 3.6.9", "upToDate"};
    QTest::newRow("lower") << "3.6.8" << link << true << QStringList{"remoteVersion 3.6.8", "upToDate"};
    QTest::newRow("one part is lower") << "4" << link << true << QStringList{"remoteVersion 4", "upToDate"};
    QTest::newRow("newer") << "3.7" << link << true << QStringList{"remoteVersion 3.7", "newUpdate"};
    QTest::newRow("newer over http") << "3.7"
                                     << "http://dl.example/update.deb" << true
                                     << QStringList{"remoteVersion 3.7", "insecureLink"};
    QTest::newRow("no link is no offer") << "3.7"
                                         << "" << true << QStringList{"upToDate"};
    QTest::newRow("no offer") << ""
                              << "" << true << QStringList{"upToDate"};
    QTest::newRow("failed") << "3.7" << link << false << QStringList{"versionError"};
}

void TestSoftwareUpdater::answers()
{
    QFETCH(QString, version);
    QFETCH(QString, link);
    QFETCH(bool, success);
    QFETCH(QStringList, signals_);
    SoftwareUpdater updater;
    SignalLog log(&updater);
    updater.onProgrammUpdate(version, link, success);
    QCOMPARE(log.names, signals_);
    QCOMPARE(updater.getRemoteVersion(), signals_.contains("newUpdate") ? version : QString());
}

void TestSoftwareUpdater::checkDownloadsTheOfferedPackage()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    const QByteArray package(200000, 'd');
    const QString link = server.baseUrl().toString() + "/files/kestrova_3.7.0_amd64.deb";
    server.handler = [&](const TestRequest& r) {
        if (r.path.startsWith("/files/")) {
            return TestResponse{200, package, false};
        }
        return TestResponse{200, ApiReply::document({ApiReply::upgrade("3.7.0", link)}), false};
    };
    qputenv("KESTROVA_API_URL", server.baseUrl().toString().toLatin1());
    NetworkManager api(2000);
    SoftwareUpdater updater(&api, nullptr);
    SignalLog log(&updater);
    QSignalSpy offered(&updater, &SoftwareUpdater::newUpdate);
    updater.check();
    QVERIFY(offered.wait(5000));
    QCOMPARE(log.names, QStringList({"remoteVersion 3.7.0", "newUpdate"}));
    QCOMPARE(server.requests.at(0).query.queryItemValue("os"), QString("linux-debian"));

    QSignalSpy progress(&updater, &SoftwareUpdater::progressDownload);
    QSignalSpy done(&updater, &SoftwareUpdater::downloadComplited);
    updater.downloadUpdate();
    QVERIFY(done.wait(10000));
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toFloat(), 1.0f);
    const QString path = done.first().at(0).toString();
    QCOMPARE(QFileInfo(path).fileName(), QString("update.deb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), package);
    QFileInfo(path).dir().removeRecursively();
}

void TestSoftwareUpdater::failedDownloadIsReported()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) { return TestResponse{404, "gone", false}; };
    // Whatever did not come whole leaves nothing behind in the temporary folder.
    QTemporaryDir scratch;
    const QByteArray tmp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([tmp] { qputenv("TMPDIR", tmp); });
    qputenv("TMPDIR", QFile::encodeName(scratch.path()));
    SoftwareUpdater updater;
    SignalLog log(&updater);
    updater.onProgrammUpdate("3.7.0", server.baseUrl().toString() + "/missing.deb", true);
    QSignalSpy failed(&updater, &SoftwareUpdater::downloadFailed);
    updater.downloadUpdate();
    QVERIFY(failed.wait(10000));
    QCOMPARE(log.names, QStringList({"remoteVersion 3.7.0", "newUpdate", "failed"}));

    // Never over plain http, whatever the updater was told.
    const int before = server.requests.size();
    {
        DownloadFile plain(server.baseUrl().toString().replace("https://", "http://") + "/update.deb");
        QSignalSpy plainDone(&plain, &DownloadFile::finished);
        plain.start("update.deb");
        QCOMPARE(plainDone.size(), 1);
        QCOMPARE(plainDone.first().at(0).toBool(), false);
        QCOMPARE(server.requests.size(), before);
    }

    // Cancelling a running download ends it quietly.
    server.handler = [](const TestRequest&) { return TestResponse{200, {}, true}; };
    updater.downloadUpdate();
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 2, 5000);
    updater.cancelDownloadUpdate();
    QTest::qWait(200);
    QCOMPARE(log.names.size(), 3);
    QCOMPARE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// The update schedule on its own, no window: an answer without a newer
// version waits hours, a failing service is asked again less and less
// often, and a newer version is offered, downloaded and handed over, or
// the refusal reported.
void TestSoftwareUpdater::managerAgainstTheService()
{
    if (!QFile::exists(FakeService::sourceDir() + "/lab/service/fakeservice.py")) {
        QSKIP("the lab's fake service is not in this tree");
    }
    QTemporaryDir run;
    FakeService current;
    QVERIFY(current.start(run.path()));
    {
        const auto restore = useService(current);
        UpdateManager manager([](const QString&) { return true; });
        QSignalSpy offered(&manager, &UpdateManager::newVersion);
        manager.setCheckDelay(50);
        manager.schedule();
        QVERIFY(manager.isScheduled());
        QTRY_VERIFY_WITH_TIMEOUT(manager.remainingMs() > UpdateManager::RetryMaxMs, 10000);
        QVERIFY(offered.isEmpty());

        // A failing service: each retry waits twice as long as the one before.
        const auto failing = useService(current, "/fail");
        manager.schedule();
        QTRY_VERIFY_WITH_TIMEOUT(manager.remainingMs() > 100, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(manager.remainingMs() > 200, 10000);
        QVERIFY(manager.remainingMs() <= UpdateManager::RetryMaxMs);
        QVERIFY(offered.isEmpty());
    }

    QTemporaryDir packages;
    QFile package(packages.filePath("kestrova_9.9.9_amd64.deb"));
    QVERIFY(package.open(QIODevice::WriteOnly));
    package.write(QByteArray(32 * 1024, 'k'));
    package.close();
    FakeService newer;
    QVERIFY(newer.start(run.path(), {"--update-version", "9.9.9", "--update-file", package.fileName()}));
    const auto restore = useService(newer);
    for (const bool accepted : {false, true}) {
        QStringList installed;
        UpdateManager manager([&](const QString& path) {
            installed << path;
            return accepted;
        });
        QSignalSpy offered(&manager, &UpdateManager::newVersion);
        QSignalSpy handedOver(&manager, &UpdateManager::handedOver);
        QSignalSpy refused(&manager, &UpdateManager::installFailed);
        manager.setCheckDelay(50);
        manager.schedule();
        QVERIFY(offered.wait(10000));
        // The user is asked: nothing more is checked meanwhile.
        QVERIFY(!manager.isScheduled());
        manager.download();
        QVERIFY(manager.isDownloading());
        QTRY_VERIFY_WITH_TIMEOUT(handedOver.size() + refused.size() == 1, 10000);
        QCOMPARE(installed.size(), 1);
        QFile got(installed.first());
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.size(), qint64(32 * 1024));
        QCOMPARE(handedOver.size(), accepted ? 1 : 0);
        if (!accepted) {
            QCOMPARE(refused.first().at(0).value<UpdateManager::InstallFailure>(),
                     UpdateManager::InstallFailure::Refused);
        }
        QVERIFY(!manager.isDownloading());
        QFileInfo(installed.first()).dir().removeRecursively();
    }
}

QTEST_GUILESS_MAIN(TestSoftwareUpdater)
#include "tst_softwareupdater.moc"
