#include "constants.h"

#include <QtTest>

// The deployment values come from the build and yield to the environment.
class TestConstants : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void environmentOverridesTheBuildDefaults();
    void emptyEnvironmentFallsBackToTheBuild();
};

void TestConstants::cleanup()
{
    qunsetenv("KESTROVA_API_URL");
    qunsetenv("KESTROVA_SITE_URL");
    qunsetenv("KESTROVA_CA_FILE");
}

void TestConstants::environmentOverridesTheBuildDefaults()
{
    qputenv("KESTROVA_API_URL", "https://192.0.2.100:443/api/");
    qputenv("KESTROVA_SITE_URL", "https://192.0.2.100");
    qputenv("KESTROVA_CA_FILE", "/tmp/lab-ca.pem");
    QCOMPARE(Constants::apiUrl(), QString("https://192.0.2.100:443/api"));
    QCOMPARE(Constants::ApiConnectPath.arg(Constants::apiUrl()),
             QString("https://192.0.2.100:443/api/connect"));
    QCOMPARE(Constants::siteUrl(), QString("https://192.0.2.100"));
    QCOMPARE(Constants::caFile(), QString("/tmp/lab-ca.pem"));
}

void TestConstants::emptyEnvironmentFallsBackToTheBuild()
{
    qputenv("KESTROVA_API_URL", "");
    QVERIFY(Constants::apiUrl().startsWith("https://"));
    QVERIFY(!Constants::apiUrl().endsWith('/'));
    QVERIFY(Constants::siteUrl().startsWith("https://"));
    QVERIFY(Constants::caFile().isEmpty());
}

QTEST_APPLESS_MAIN(TestConstants)
#include "tst_constants.moc"
