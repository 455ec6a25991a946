// The settings page against the settings store: how stored texts fill the
// controls, the language lookup (run with the system locale zh_CN), the
// protocol chooser from what the servers offer, and the autostart entry.

#include "localsettings.h"
#include "pagestestsupport.h"
#include "settingswindow.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestSettingsWindow : public QObject
{
    Q_OBJECT

    QCheckBox* box(const char* name) { return window->findChild<QCheckBox*>(QString::fromLatin1(name)); }
    QComboBox* combo(const char* name) { return window->findChild<QComboBox*>(QString::fromLatin1(name)); }

private slots:
    void init()
    {
        auto settings = LocalSettings::instance();
        settings->createDefaultSettings();
        settings->setValue(Keys::RememberUser, true);
        settings->setValue(Keys::Language, QString());
        QFile::remove(SettingsWindow::autostartPath());
        window.reset(new SettingsWindow(nullptr));
    }
    void cleanup() { window.reset(); }

    void systemLocaleZhCnFallsBackToEnglish()
    {
        QCOMPARE(QLocale::system().name(), QStringLiteral("zh_CN"));
        window->loadLanguage();
        // "zh" is looked up, and no item has that code: English.
        QCOMPARE(combo("cbLanguage")->currentData().toString(), QStringLiteral("en"));
    }

    void storedLanguageIsMatchedIgnoringCase()
    {
        LocalSettings::instance()->setValue(Keys::Language, "DE");
        window->loadLanguage();
        QCOMPARE(combo("cbLanguage")->currentText(), QStringLiteral("Deutsch"));
        LocalSettings::instance()->setValue(Keys::Language, "zh_cn");
        window->loadLanguage();
        QCOMPARE(combo("cbLanguage")->currentData().toString(), QStringLiteral("zh_CN"));
    }

    void checkBoxesFollowTheStoredTextExactly()
    {
        auto settings = LocalSettings::instance();
        settings->setValue(Keys::KillConnect, "True");
        settings->setValue(Keys::LaunchOnStart, true);
        settings->setValue(Keys::ChangeTimezone, "true");
        settings->setValue(Keys::AllowLocalDevices, "1");
        window->loadSettings({PROTOCOL_OPENVPN_TCP});
        QVERIFY(!box("cbKillSwitch")->isChecked());
        QVERIFY(box("cbLaunchOnStart")->isChecked());
        QVERIFY(box("cbChangeTimezone")->isChecked());
        QVERIFY(!box("cbAllowLocalDevices")->isChecked());
        QVERIFY(!box("cbAutoconnectOnStart")->isChecked());
    }

    void protocolChooserListsWhatTheServersOffer()
    {
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, "tcp");
        QSignalSpy changed(window.get(), &SettingsWindow::changed);
        window->loadSettings({PROTOCOL_OPENVPN_UDP});
        QComboBox* proto = combo("cbProto");
        QCOMPARE(proto->count(), 1);
        QCOMPARE(proto->currentText(), QStringLiteral("OpenVPN UDP (faster)"));
        QCOMPARE(changed.count(), 0); // loading is not a change by the user
        window->saveSettings();
        QCOMPARE(LocalSettings::instance()->value(Keys::OvpnProtocol).toString(), QStringLiteral("udp"));

        // Table order whatever the order offered, and the stored one selected.
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, "stealth");
        window->loadSettings({PROTOCOL_STEALTH, PROTOCOL_OPENVPN_UDP, PROTOCOL_OPENVPN_TCP});
        QStringList labels;
        for (int i = 0; i < proto->count(); ++i) {
            labels << proto->itemData(i).toString();
        }
        QCOMPARE(labels, QStringList({"tcp", "udp", "stealth"}));
        QCOMPARE(proto->currentData().toString(), QStringLiteral("stealth"));
        proto->setCurrentIndex(0);
        QCOMPARE(changed.count(), 1);
    }

    void leavingThePageSavesEveryControl()
    {
        window->loadSettings({PROTOCOL_OPENVPN_TCP, PROTOCOL_OPENVPN_UDP});
        window->showWithMode(SettingsWindow::Full);
        QSignalSpy back(window.get(), &SettingsWindow::back);
        QSignalSpy changed(window.get(), &SettingsWindow::changed);
        box("cbKillSwitch")->click();
        QVERIFY(box("cbAllowLocalDevices")->isVisible());
        box("cbAllowLocalDevices")->click();
        box("cbAutoconnectOnStart")->click();
        combo("cbProto")->setCurrentIndex(1);
        QCOMPARE(changed.count(), 4);
        LocalSettings::instance()->setValue(Keys::IPv6LeakProtect, false);

        QTest::mouseClick(window->findChild<QPushButton*>("pbBack"), Qt::LeftButton);
        QCOMPARE(back.count(), 1);
        auto settings = LocalSettings::instance();
        QCOMPARE(settings->value(Keys::KillConnect).toString(), QStringLiteral("true"));
        QCOMPARE(settings->value(Keys::AllowLocalDevices).toString(), QStringLiteral("true"));
        QCOMPARE(settings->value(Keys::ConnectOnStart).toString(), QStringLiteral("true"));
        QCOMPARE(settings->value(Keys::IPv6LeakProtect).toString(), QStringLiteral("true"));
        QCOMPARE(settings->value(Keys::OvpnProtocol).toString(), QStringLiteral("udp"));
        QCOMPARE(settings->value(Keys::Language).toString(), QStringLiteral("en"));
    }

    void liteModeHidesTheKillSwitchOptions()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        window->loadSettings({PROTOCOL_OPENVPN_TCP});
        window->showWithMode(SettingsWindow::Lite);
        QVERIFY(window->isVisible());
        for (const char* name : {"cbKillSwitch", "cbAllowLocalDevices"}) {
            QVERIFY2(!box(name)->isVisible(), name);
        }
        QVERIFY(!window->findChild<QLabel*>("lbKillSwitchDesc")->isVisible());
        window->showWithMode(SettingsWindow::Full);
        QVERIFY(box("cbKillSwitch")->isVisible());
        QVERIFY(box("cbAllowLocalDevices")->isVisible()); // follows the checked kill switch
    }

    void autostartEntryIsCreatedAndRemoved()
    {
        const QString path = SettingsWindow::autostartPath();
        QVERIFY(path.startsWith(QDir::homePath()));
        QVERIFY(!QDir(QDir::homePath() + "/.config/autostart").exists());
        window->loadSettings({PROTOCOL_OPENVPN_TCP});
        box("cbLaunchOnStart")->setChecked(true);
        window->saveSettings();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nType=Application\nExec='/usr/bin/kestrova' -h\n"
                                            "Name=Kestrova"));
        file.close();

        box("cbLaunchOnStart")->setChecked(false);
        window->saveSettings();
        QVERIFY(!QFile::exists(path));
        window->saveSettings(); // nothing to remove: no harm
        QVERIFY(!QFile::exists(path));
    }

    void reopeningThePageAnnouncesNoLanguageChange()
    {
        struct Counter : QObject
        {
            int changes = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                changes += e->type() == QEvent::LanguageChange ? 1 : 0;
                return false;
            }
        } counter;
        QWidget probe;
        probe.installEventFilter(&counter);
        LocalSettings::instance()->setValue(Keys::Language, "en");
        window->loadSettings({PROTOCOL_OPENVPN_TCP});
        QCoreApplication::processEvents();
        counter.changes = 0;
        for (int i = 0; i < 3; ++i) {
            window->loadSettings({PROTOCOL_OPENVPN_TCP});
            QCoreApplication::processEvents();
        }
        QCOMPARE(counter.changes, 0);

        // A language with a catalogue, then the page goes away: the
        // application must not keep translating through a deleted catalogue.
        LocalSettings::instance()->setValue(Keys::Language, "de");
        window->loadSettings({PROTOCOL_OPENVPN_TCP});
        window.reset();
        QCoreApplication::processEvents();
        QCOMPARE(QCoreApplication::translate("SettingsWindow", "Settings"), QStringLiteral("Settings"));
    }

    void versionTextSurvivesALanguageChange()
    {
        window->setVersion("3.6.9");
        combo("cbLanguage")->setCurrentIndex(combo("cbLanguage")->findData("fr"));
        combo("cbLanguage")->setCurrentIndex(combo("cbLanguage")->findData("en"));
        QCOMPARE(window->findChild<QLabel*>("lbAppVersion")->text(), QStringLiteral("3.6.9"));
        QCOMPARE(window->findChild<QLabel*>("lbSettings")->text(), QStringLiteral("Settings"));
    }

    void withoutKeyringThePageSaysWherePasswordsAre()
    {
        auto* note = window->findChild<QLabel*>("lbSecretsInFile");
        QVERIFY(!note->isHidden());
        QCOMPARE(
            note->text(),
            QStringLiteral("Passwords are stored in a file readable only by you: no keyring is available"));
        combo("cbLanguage")->setCurrentIndex(combo("cbLanguage")->findData("de"));
        QTRY_VERIFY(note->text().startsWith(QStringLiteral("Passwörter")));
        combo("cbLanguage")->setCurrentIndex(combo("cbLanguage")->findData("en"));
    }

private:
    std::unique_ptr<SettingsWindow> window;
};

int main(int argc, char** argv)
{
    ScratchHome home;
    // No session bus, so no keyring: the passwords stay in the settings file.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QApplication app(argc, argv);
    setApplicationIdentity();
    TestSettingsWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settingswindow.moc"
