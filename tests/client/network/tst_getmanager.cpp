#include "downloadconfig.h"
#include "downloadfile.h"
#include "getmanager.h"
#include "httpsserver.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

// Request plumbing and downloads against a local HTTPS server whose
// certificate comes from a CA named in KESTROVA_CA_FILE.
class TestGetManager : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void successfulRequestFinishesOnceAndKeepsBody();
    void silentServerGivesOneFinishedAfterSixTimeouts();
    void failureThenSuccessIsOneSuccess();
    void failedRequestKeepsPreviousBody();
    void errorTextNeverCarriesThePassword();
    void unknownCaIsRefusedBeforeAnythingIsSent();
    void probeAndPlainHttp();
    void downloadFileReportsProgressAndLeavesFile();
    void downloadFileFollowsSafeRedirectsOnly();
    void downloadFileFailureIsReported();
    void downloadConfigStopsAtNul();
    void downloadConfigFailure();

private:
    TestPki pki;
    // Downloads keep their folders on purpose; they land in here and go with it.
    QTemporaryDir downloadRoot;
};

void TestGetManager::initTestCase()
{
    QVERIFY(downloadRoot.isValid());
    qputenv("TMPDIR", downloadRoot.path().toLocal8Bit());
    QVERIFY(pki.create());
    qputenv("KESTROVA_CA_FILE", pki.caFile().toLocal8Bit());
}

void TestGetManager::successfulRequestFinishesOnceAndKeepsBody()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) { return TestResponse{200, "<r/>", false}; };
    GetManager channel(300, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    channel.getAsync(server.baseUrl().resolved(QUrl("/connect?a=1")));
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QVERIFY(channel.success);
    QVERIFY(channel.errorString.isEmpty());
    QCOMPARE(channel.data, QByteArray("<r/>"));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(server.requests.at(0).query.queryItemValue("a"), QString("1"));
    // The watchdog died with its reply: nothing more arrives after the time-out.
    QTest::qWait(500);
    QCOMPARE(finished.count(), 1);
}

void TestGetManager::silentServerGivesOneFinishedAfterSixTimeouts()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) { return TestResponse{200, {}, true}; };
    GetManager channel(150, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    // Nothing of the network is loaded before the first request.
    QVERIFY(!channel.findChild<QNetworkAccessManager*>());
    channel.getAsync(server.baseUrl().resolved(QUrl("/connect")));
    // Attempts are counted where they end: an attempt cut off at 150 ms on a
    // busy machine may never have reached the server.
    QSignalSpy attempts(channel.findChild<QNetworkAccessManager*>(), &QNetworkAccessManager::finished);
    QVERIFY(finished.wait(5000));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!channel.success);
    QCOMPARE(channel.errorString, QString("Operation canceled"));
    QCOMPARE(attempts.count(), 1 + GetManager::MaxRetries);
    QVERIFY(server.requests.size() <= 1 + GetManager::MaxRetries);
}

void TestGetManager::failureThenSuccessIsOneSuccess()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    int calls = 0;
    server.handler = [&calls](const TestRequest&) {
        return ++calls == 1 ? TestResponse{500, "broken", false} : TestResponse{200, "good", false};
    };
    GetManager channel(2000, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    channel.getAsync(server.baseUrl().resolved(QUrl("/x")));
    QVERIFY(finished.wait(5000));
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
    QVERIFY(channel.success);
    QVERIFY(channel.errorString.isEmpty());
    QCOMPARE(channel.data, QByteArray("good"));
    QCOMPARE(calls, 2);
}

void TestGetManager::failedRequestKeepsPreviousBody()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    bool fail = false;
    server.handler = [&fail](const TestRequest&) {
        return fail ? TestResponse{503, "down", false} : TestResponse{200, "first body", false};
    };
    GetManager channel(2000, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    channel.getAsync(server.baseUrl().resolved(QUrl("/a")));
    QVERIFY(finished.wait(5000));
    QVERIFY(channel.success);

    fail = true;
    channel.getAsync(server.baseUrl().resolved(QUrl("/a")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
    QVERIFY(!channel.success);
    QVERIFY(!channel.errorString.isEmpty());
    QCOMPARE(channel.data, QByteArray("first body"));
    QCOMPARE(server.requests.size(), 1 + 1 + GetManager::MaxRetries);
}

void TestGetManager::errorTextNeverCarriesThePassword()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) { return TestResponse{404, "", false}; };
    GetManager channel(2000, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    QUrl url = server.baseUrl().resolved(QUrl("/connect"));
    url.setQuery("ver=3.6.9&login=alice&pass=S3cr%20et%26x&act=wizardsetup");
    channel.getAsync(url);
    QVERIFY(finished.wait(5000));
    QVERIFY(!channel.success);
    QVERIFY2(!channel.errorString.contains("S3cr"), qPrintable(channel.errorString));
    QVERIFY2(!channel.errorString.contains("pass"), qPrintable(channel.errorString));
}

void TestGetManager::unknownCaIsRefusedBeforeAnythingIsSent()
{
    HttpsServer server(pki.rogueCertFile(), pki.rogueKeyFile());
    QVERIFY(server.start());
    GetManager channel(2000, nullptr);
    QSignalSpy finished(&channel, &GetManager::finished);
    channel.getAsync(server.baseUrl().resolved(QUrl("/connect?pass=secret")));
    QVERIFY(finished.wait(10000));
    QVERIFY(!channel.success);
    QVERIFY2(channel.errorString.contains("SSL", Qt::CaseInsensitive), qPrintable(channel.errorString));
    QVERIFY(server.requests.isEmpty());
}

void TestGetManager::probeAndPlainHttp()
{
    HttpsServer plain({}, {});
    QVERIFY(plain.start());
    plain.handler = [](const TestRequest&) { return TestResponse{200, "<html/>", false}; };
    GetManager channel(300, nullptr);
    channel.data = "untouched";
    QSignalSpy checked(&channel, &GetManager::internetChecked);
    channel.checkInternet(plain.baseUrl());
    QVERIFY(checked.wait(5000));
    QCOMPARE(checked.takeFirst().at(0).toBool(), true);

    plain.handler = [](const TestRequest&) { return TestResponse{200, {}, true}; };
    channel.checkInternet(plain.baseUrl());
    QVERIFY(checked.wait(5000));
    QCOMPARE(checked.takeFirst().at(0).toBool(), false);
    QCOMPARE(channel.data, QByteArray("untouched"));
    QVERIFY(!channel.success);

    // Cancel ends a probe at once, as a failure.
    channel.checkInternet(plain.baseUrl());
    channel.cancelProbe();
    QCOMPARE(checked.size(), 1);
    QCOMPARE(checked.takeFirst().at(0).toBool(), false);

    // The probe may use plain HTTP; requests, which carry the password, may not.
    plain.requests.clear();
    QSignalSpy finished(&channel, &GetManager::finished);
    channel.getAsync(plain.baseUrl().resolved(QUrl("/connect?pass=secret")));
    QVERIFY(finished.isEmpty());
    QVERIFY(finished.wait(2000));
    QVERIFY(!channel.success);
    QVERIFY(!channel.errorString.isEmpty());
    QVERIFY(plain.requests.isEmpty());
}

void TestGetManager::downloadFileReportsProgressAndLeavesFile()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    const QByteArray package(300000, 'p');
    server.handler = [&package](const TestRequest&) { return TestResponse{200, package, false}; };
    DownloadFile download(server.baseUrl().resolved(QUrl("/pkg/update.deb")).toString());
    QSignalSpy progress(&download, &DownloadFile::progress);
    QSignalSpy finished(&download, &DownloadFile::finished);
    download.start("update.deb");
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(!progress.isEmpty());
    const float last = progress.last().at(0).toFloat();
    QCOMPARE(last, 1.0f);
    for (const auto& args : progress) {
        const float v = args.at(0).toFloat();
        QVERIFY(v >= 0.0f && v <= 1.0f);
    }
    QVERIFY(download.getFilePath().endsWith("/update.deb"));
    QFile file(download.getFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), package);
    QFileInfo(download.getFilePath()).dir().removeRecursively();
}

void TestGetManager::downloadFileFollowsSafeRedirectsOnly()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    HttpsServer plain({}, {});
    QVERIFY(plain.start());
    const QString mirror = server.baseUrl().toString() + "/mirror/update.deb";
    const QString downgrade = plain.baseUrl().toString() + "/update.deb";
    server.handler = [&](const TestRequest& r) {
        if (r.path == "/mirror/update.deb") {
            return TestResponse{200, "package", false, {}};
        }
        const QString target = r.path == "/to-http" ? downgrade : mirror;
        return TestResponse{302, {}, false, "Location: " + target.toLatin1() + "\r\n"};
    };
    DownloadFile followed(server.baseUrl().toString() + "/latest");
    QSignalSpy done(&followed, &DownloadFile::finished);
    followed.start("update.deb");
    QVERIFY(done.wait(10000));
    QCOMPARE(done.first().at(0).toBool(), true);
    QFile file(followed.getFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("package"));

    // From https to plain http is not followed, and an empty file is no success.
    DownloadFile refused(server.baseUrl().toString() + "/to-http");
    QSignalSpy failed(&refused, &DownloadFile::finished);
    refused.start("update.deb");
    QVERIFY(failed.wait(10000));
    QCOMPARE(failed.first().at(0).toBool(), false);
    QVERIFY(plain.requests.isEmpty());
}

void TestGetManager::downloadFileFailureIsReported()
{
    HttpsServer server(pki.rogueCertFile(), pki.rogueKeyFile());
    QVERIFY(server.start());
    DownloadFile download(server.baseUrl().resolved(QUrl("/update.deb")).toString());
    QSignalSpy finished(&download, &DownloadFile::finished);
    download.start("update.deb");
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QVERIFY(server.requests.isEmpty());
    QFileInfo(download.getFilePath()).dir().removeRecursively();
}

void TestGetManager::downloadConfigStopsAtNul()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) {
        return TestResponse{200, QByteArray("client\r\ndev tun\0garbage", 23), false};
    };
    DownloadConfig config(server.baseUrl().resolved(QUrl("/c.ovpn")).toString(), nullptr);
    QSignalSpy finished(&config, &QThread::finished);
    config.start();
    QVERIFY(finished.wait(10000));
    QVERIFY(config.success);
    QCOMPARE(config.text, QString("client\r\ndev tun"));
}

void TestGetManager::downloadConfigFailure()
{
    HttpsServer server(pki.certFile(), pki.keyFile());
    QVERIFY(server.start());
    server.handler = [](const TestRequest&) { return TestResponse{404, "nope", false}; };
    DownloadConfig config(server.baseUrl().resolved(QUrl("/c.ovpn")).toString(), nullptr);
    QSignalSpy finished(&config, &QThread::finished);
    config.start();
    QVERIFY(finished.wait(10000));
    QVERIFY(!config.success);
    QVERIFY(config.text.isEmpty());
}

QTEST_GUILESS_MAIN(TestGetManager)
#include "tst_getmanager.moc"
