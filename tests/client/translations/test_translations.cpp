// The compiled catalogues as the client finds them: under the resource names
// the settings page loads, with the contexts the code translates in, and with
// Arabic turning the whole application right to left.

#include "constants.h"
#include "utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

namespace {

QStringList builtLanguages()
{
    return QStringLiteral(KESTROVA_BUILT_LANGUAGES).split(',', Qt::SkipEmptyParts);
}

// Installs a catalogue for the life of one test and delivers the language
// change that installing it posts, as the event loop would.
class InstalledCatalogue
{
public:
    explicit InstalledCatalogue(const QString& code)
    {
        loaded = translator.load(Constants::TranslationResource.arg(code));
        if (loaded) {
            QCoreApplication::installTranslator(&translator);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
    ~InstalledCatalogue()
    {
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
    InstalledCatalogue(const InstalledCatalogue&) = delete;
    InstalledCatalogue& operator=(const InstalledCatalogue&) = delete;

    QTranslator translator;
    bool loaded = false;
};

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void resourcesHoldExactlyTheBuiltCatalogues()
    {
        QStringList expected;
        for (const QString& code : builtLanguages()) {
            expected << QStringLiteral("Kestrova_%1").arg(code);
        }
        expected.sort();
        QVERIFY(!expected.isEmpty());
        // The loader finds a catalogue with or without the ".qm" suffix.
        QStringList present;
        const auto entries = QDir(QStringLiteral(":/translations")).entryList(QDir::Files, QDir::Name);
        for (QString name : entries) {
            present << name.remove(QRegularExpression(QStringLiteral("\\.qm$")));
        }
        present.sort();
        QCOMPARE(present, expected);
    }

    void everyCatalogueLoadsUnderItsCode_data()
    {
        QTest::addColumn<QString>("code");
        for (const QString& code : builtLanguages()) {
            QTest::newRow(qPrintable(code)) << code;
        }
    }

    void everyCatalogueLoadsUnderItsCode()
    {
        QFETCH(QString, code);
        InstalledCatalogue catalogue(code);
        QVERIFY2(catalogue.loaded, qPrintable(Constants::TranslationResource.arg(code)));
        QVERIFY(!catalogue.translator.isEmpty());

        // One text from a form, one painted by a delegate, one from the
        // protocol table: each context must be the one the code asks for.
        const QString settings = QCoreApplication::translate("SettingsWindow", "Settings");
        const QString favourites = QCoreApplication::translate("FavoriteServerItemDelegate", "Favorite");
        const QString stealth = getVpnProtocolByLabel(QStringLiteral("stealth")).translatedTitle();
        for (const QString& text : {settings, favourites, stealth}) {
            QVERIFY(!text.trimmed().isEmpty());
        }
        if (code == QLatin1String("en")) {
            QCOMPARE(settings, QStringLiteral("Settings"));
            QCOMPARE(stealth, QStringLiteral("Imitation HTTPS"));
        } else {
            QVERIFY2(settings != QLatin1String("Settings"), qPrintable(settings));
            QVERIFY2(stealth != QLatin1String("Imitation HTTPS"), qPrintable(stealth));
        }
        // The tray fills in the server name: the compiled text must keep %1.
        const QString tray = QCoreApplication::translate("SystemTray", "Connected to %1");
        QVERIFY2(tray.arg(QStringLiteral("<srv>")).contains(QLatin1String("<srv>")), qPrintable(tray));
    }

    void arabicMirrorsTheApplicationAndOthersDoNot()
    {
        const QStringList built = builtLanguages();
        if (!built.contains(QLatin1String("ar")) || !built.contains(QLatin1String("de"))) {
            QSKIP("Arabic or German catalogue not built");
        }
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        {
            InstalledCatalogue arabic(QStringLiteral("ar"));
            QVERIFY(arabic.loaded);
            QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        }
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        InstalledCatalogue german(QStringLiteral("de"));
        QVERIFY(german.loaded);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    }

    void unknownLanguageLoadsNothing()
    {
        // A stored code without a catalogue must leave the texts English, not
        // fall back to some other catalogue by a shortened name.
        QTranslator translator;
        QVERIFY(!translator.load(Constants::TranslationResource.arg(QStringLiteral("zh_TW"))));
        QVERIFY(!translator.load(Constants::TranslationResource.arg(QStringLiteral("xx"))));
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
