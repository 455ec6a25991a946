#include "localsettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Every test simulates one or more client starts against a throw-away
// configuration folder (XDG_CONFIG_HOME is set in main before Qt reads it).
class TestLocalSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshUserGetsEveryDefault();
    void rememberedUserKeepsEverything();
    void forgottenUserIsResetExceptLanguageAndCachedFiles();
    void defaultsReachTheFileInItsTextForm();
    void liteFlagTouchesOnlyBitZero_data();
    void liteFlagTouchesOnlyBitZero();
    void absentKeyIsInvalid();
    void onlyTheOwnerReadsTheFile();

private:
    static QString settingsFile() { return QSettings().fileName(); }
    static void writeNonDefaults(bool remember);
};

namespace {

struct Row
{
    QString key;
    QVariant expected; // what the key reads as after a reset
};

QList<Row> resetTable()
{
    return {
        {Keys::Login, QString()},
        {Keys::Passwd, QString()},
        {Keys::RememberUser, false},
        {Keys::ConnectOnStart, false},
        {Keys::LaunchOnStart, false},
        {Keys::OvpnProtocol, QStringLiteral("tcp")},
        {Keys::FavoriteServersTcp, QString()},
        {Keys::FavoriteServersUdp, QString()},
        {Keys::FavoriteServersSsl, QString()},
        {Keys::LastLocation, QString()},
        {Keys::CachedServers, QString()},
        {Keys::CachedCertif, QString()},
        {Keys::CachedUsers, QString()},
        {Keys::KillConnect, false},
        {Keys::Flag, 1},
        {Keys::IPv6LeakProtect, true},
        {Keys::AllowLocalDevices, false},
        {Keys::ChangeTimezone, false},
        {Keys::VpnLogin, QString()},
    };
}

bool sameValue(const QVariant& stored, const QVariant& expected)
{
    switch (expected.type()) {
    case QVariant::Bool:
        return stored.toBool() == expected.toBool() && stored.toString() == expected.toString();
    case QVariant::Int:
        return stored.toInt() == expected.toInt();
    default:
        return stored.toString() == expected.toString();
    }
}

} // namespace

void TestLocalSettings::init()
{
    LocalSettings::releaseInstance();
    QFile::remove(settingsFile());
}

void TestLocalSettings::cleanup()
{
    LocalSettings::releaseInstance();
}

void TestLocalSettings::writeNonDefaults(bool remember)
{
    QSettings s;
    s.setValue(Keys::Login, "alice");
    s.setValue(Keys::Passwd, "s3cret");
    s.setValue(Keys::RememberUser, remember);
    s.setValue(Keys::ConnectOnStart, true);
    s.setValue(Keys::LaunchOnStart, true);
    s.setValue(Keys::OvpnProtocol, "stealth");
    s.setValue(Keys::FavoriteServersTcp, QStringList{"u1::Paris"});
    s.setValue(Keys::FavoriteServersUdp, QStringList{"u1::Oslo"});
    s.setValue(Keys::FavoriteServersSsl, QStringList{"u1::Rome"});
    s.setValue(Keys::LastLocation, "u1::Paris");
    s.setValue(Keys::CachedServers, QStringList{"a;b;c"});
    s.setValue(Keys::CachedConfig, QByteArray("config-bytes"));
    s.setValue(Keys::CachedCertif, QByteArray("cert-bytes"));
    s.setValue(Keys::CachedKeys, QByteArray("key-bytes"));
    s.setValue(Keys::CachedUsers, QStringList{"u1"});
    s.setValue(Keys::KillConnect, true);
    s.setValue(Keys::Flag, 6);
    s.setValue(Keys::IPv6LeakProtect, false);
    s.setValue(Keys::AllowLocalDevices, true);
    s.setValue(Keys::ChangeTimezone, true);
    s.setValue(Keys::Language, "de");
    s.setValue(Keys::VpnLogin, "u1");
}

void TestLocalSettings::freshUserGetsEveryDefault()
{
    auto settings = LocalSettings::instance();
    for (const Row& row : resetTable())
        QVERIFY2(sameValue(settings->value(row.key), row.expected), qPrintable(row.key));
    QVERIFY(settings->isLiteVersion());
    QVERIFY(!settings->value(Keys::CachedConfig).isValid());
    QVERIFY(!settings->value(Keys::CachedKeys).isValid());
    QVERIFY(!settings->value(Keys::Language).isValid());
}

void TestLocalSettings::rememberedUserKeepsEverything()
{
    writeNonDefaults(true);
    auto settings = LocalSettings::instance();
    QCOMPARE(settings->value(Keys::Login).toString(), QString("alice"));
    QCOMPARE(settings->value(Keys::OvpnProtocol).toString(), QString("stealth"));
    QCOMPARE(settings->value(Keys::FavoriteServersUdp).toStringList(), QStringList{"u1::Oslo"});
    QCOMPARE(settings->value(Keys::CachedCertif).toByteArray(), QByteArray("cert-bytes"));
    QCOMPARE(settings->value(Keys::Flag).toInt(), 6);
    QVERIFY(!settings->isLiteVersion());
    QCOMPARE(settings->value(Keys::IPv6LeakProtect).toBool(), false);
}

void TestLocalSettings::forgottenUserIsResetExceptLanguageAndCachedFiles()
{
    writeNonDefaults(false);
    auto settings = LocalSettings::instance();
    for (const Row& row : resetTable())
        QVERIFY2(sameValue(settings->value(row.key), row.expected), qPrintable(row.key));
    QCOMPARE(settings->value(Keys::Language).toString(), QString("de"));
    QCOMPARE(settings->value(Keys::CachedConfig).toByteArray(), QByteArray("config-bytes"));
    QCOMPARE(settings->value(Keys::CachedKeys).toByteArray(), QByteArray("key-bytes"));
}

void TestLocalSettings::defaultsReachTheFileInItsTextForm()
{
    LocalSettings::instance()->setValue(Keys::Login, "bob");
    LocalSettings::releaseInstance(); // a clean exit writes the file

    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains("rememberUser=false"));
    QVERIFY(text.contains("iPv6LeakProtect=true"));
    QVERIFY(text.contains("advProtocol=tcp"));
    QVERIFY(text.contains("login=bob"));
    QVERIFY(settingsFile().endsWith("/VKMT/Kestrova.conf"));

    // A second start without "rememberUser" forgets the login again.
    QCOMPARE(LocalSettings::instance()->value(Keys::Login).toString(), QString());
}

void TestLocalSettings::liteFlagTouchesOnlyBitZero_data()
{
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<bool>("lite");
    QTest::addColumn<int>("after");
    QTest::newRow("clear on 7") << QVariant(7) << false << 6;
    QTest::newRow("set on 6") << QVariant(6) << true << 7;
    QTest::newRow("set twice") << QVariant(7) << true << 7;
    QTest::newRow("clear on absent") << QVariant() << false << 0;
    QTest::newRow("set on absent") << QVariant() << true << 1;
    QTest::newRow("high bits kept") << QVariant(0x100) << true << 0x101;
}

void TestLocalSettings::liteFlagTouchesOnlyBitZero()
{
    QFETCH(QVariant, before);
    QFETCH(bool, lite);
    QFETCH(int, after);
    auto settings = LocalSettings::instance();
    // Another settings object in the process sees the same store at once.
    if (before.isValid())
        QSettings().setValue(Keys::Flag, before);
    else
        QSettings().remove(Keys::Flag);
    QCOMPARE(settings->isLiteVersion(), before.isValid() && (before.toInt() & 1));
    settings->setIsLiteVersion(lite);
    QCOMPARE(settings->value(Keys::Flag).toInt(), after);
    QCOMPARE(settings->isLiteVersion(), lite);
}

void TestLocalSettings::absentKeyIsInvalid()
{
    auto settings = LocalSettings::instance();
    const QVariant v = settings->value("neverWritten");
    QVERIFY(!v.isValid());
    QCOMPARE(v.toBool(), false);
    QCOMPARE(v.toInt(), 0);
    QVERIFY(v.toStringList().isEmpty());
}

void TestLocalSettings::onlyTheOwnerReadsTheFile()
{
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    LocalSettings::instance()->setValue(Keys::Passwd, "s3cret");
    LocalSettings::releaseInstance();
    QCOMPARE(QFile::permissions(settingsFile()) & ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser),
             ownerOnly);

    // A file that an older version left readable for everybody.
    QVERIFY(QFile::setPermissions(settingsFile(), ownerOnly | QFile::ReadGroup | QFile::ReadOther));
    LocalSettings::instance()->setValue(Keys::Passwd, "s3cret");
    LocalSettings::releaseInstance();
    QCOMPARE(QFile::permissions(settingsFile()) & ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser),
             ownerOnly);
}

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QCoreApplication app(argc, argv);
    app.setOrganizationName("VKMT");
    app.setApplicationName("Kestrova");
    TestLocalSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_localsettings.moc"
