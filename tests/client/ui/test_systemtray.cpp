#include "systemtray.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

namespace {

struct MenuState
{
    QString connectText;
    bool connect;
    bool reconnect;
    bool disconnect;
};

MenuState state(SystemTray& tray)
{
    auto* c = tray.findChild<QAction*>("actionConnect");
    return {c->text(), c->isEnabled(), tray.findChild<QAction*>("actionReconnect")->isEnabled(),
            tray.findChild<QAction*>("actionDisconnect")->isEnabled()};
}

// Marks every text it translates, so a test sees which texts were re-applied.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "SystemTray") {
            return QString();
        }
        return QStringLiteral("<") + QString::fromUtf8(source) + QStringLiteral(">");
    }
};

} // namespace

class TestSystemTray : public QObject
{
    Q_OBJECT

private slots:
    void menuOrderAndStart()
    {
        SystemTray tray;
        const QList<QAction*> actions = tray.menu()->actions();
        QCOMPARE(actions.size(), 7);
        QCOMPARE(actions[0]->text(), QString("Kestrova"));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->objectName(), QString("actionConnect"));
        QCOMPARE(actions[3]->text(), QString("Reconnect"));
        QCOMPARE(actions[4]->text(), QString("Disconnect"));
        QVERIFY(actions[5]->isSeparator());
        QCOMPARE(actions[6]->text(), QString("Quit"));

        // Before any location is chosen the server name is empty.
        const MenuState s = state(tray);
        QCOMPARE(s.connectText, QString("Connect "));
        QVERIFY(s.connect && !s.reconnect && !s.disconnect);
        QCOMPARE(tray.iconState(), SystemTray::Disconnected);
        QVERIFY(tray.lastNotification().isEmpty());
    }

    void statesSetTextsActionsAndNotifications()
    {
        SystemTray tray;
        QString server = "Amsterdam";
        tray.setActiveServer(server);

        tray.setStatusConnecting(true);
        MenuState s = state(tray);
        QCOMPARE(s.connectText, QString("Connecting to Amsterdam"));
        QVERIFY(!s.connect && !s.reconnect && !s.disconnect);
        QCOMPARE(tray.iconState(), SystemTray::Connecting);
        QVERIFY(tray.lastNotification().isEmpty());

        tray.setStatusConnected(true);
        s = state(tray);
        QCOMPARE(s.connectText, QString("Connected to Amsterdam"));
        QVERIFY(!s.connect && s.reconnect && s.disconnect);
        QCOMPARE(tray.iconState(), SystemTray::Connected);
        QCOMPARE(tray.lastNotification(), QString("Your connection is encrypted and secured now!"));

        tray.setStatusDisconnected(true);
        s = state(tray);
        QCOMPARE(s.connectText, QString("Connect Amsterdam"));
        QVERIFY(s.connect && !s.reconnect && !s.disconnect);
        QCOMPARE(tray.lastNotification(), QString("Your connection is not secured now!"));

        tray.setEnableUserActions(false);
        s = state(tray);
        QVERIFY(!s.connect && !s.reconnect && !s.disconnect);
        tray.setEnableUserActions(true);
        s = state(tray);
        QVERIFY(s.connect && !s.reconnect && !s.disconnect);
    }

    void menuChoicesBecomeSignals()
    {
        SystemTray tray;
        QSignalSpy show(&tray, &SystemTray::clickShow);
        QSignalSpy connectSpy(&tray, &SystemTray::clickConnect);
        QSignalSpy reconnect(&tray, &SystemTray::clickReconnect);
        QSignalSpy disconnect(&tray, &SystemTray::clickDisconnect);
        QSignalSpy exitSpy(&tray, &SystemTray::clickExit);
        for (QAction* a : tray.menu()->actions()) {
            a->trigger();
        }
        tray.onTrayActivated(QSystemTrayIcon::Trigger);
        tray.onTrayActivated(QSystemTrayIcon::Context);
        QCOMPARE(show.count(), 2);
        QCOMPARE(connectSpy.count(), 1);
        QCOMPARE(reconnect.count(), 1);
        QCOMPARE(disconnect.count(), 1);
        QCOMPARE(exitSpy.count(), 1);

        tray.menuAboutToShow();
        QVERIFY(tray.isMenuVisible());
        tray.menuAboutToHide();
        QVERIFY(!tray.isMenuVisible());
    }

    // The connect text is rebuilt from the enabled actions, so each state keeps
    // its own wording in the new language.
    void retranslateKeepsEachState_data()
    {
        QTest::addColumn<int>("iconState");
        QTest::addColumn<QString>("expected");
        QTest::newRow("disconnected") << 0 << "<Connect %1>";
        QTest::newRow("connecting") << 1 << "<Connecting to %1>";
        QTest::newRow("connected") << 2 << "<Connected to %1>";
    }

    void retranslateKeepsEachState()
    {
        QFETCH(int, iconState);
        QFETCH(QString, expected);
        SystemTray tray;
        QString server = "Oslo";
        tray.setActiveServer(server);
        if (iconState == 1) {
            tray.setStatusConnecting(false);
        } else if (iconState == 2) {
            tray.setStatusConnected(false);
        }
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        tray.retranslate();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(state(tray).connectText, expected.arg("Oslo"));
        QCOMPARE(tray.findChild<QAction*>("actionQuit")->text(), QString("<Quit>"));
        QCOMPARE(tray.findChild<QAction*>("actionReconnect")->text(), QString("<Reconnect>"));
        QCOMPARE(tray.menu()->actions()[0]->text(), QString("Kestrova"));
    }

    void availabilityCanBeForced()
    {
        SystemTray::setAvailableOverride(false);
        QVERIFY(!SystemTray::isAvailable());
        SystemTray::setAvailableOverride(true);
        QVERIFY(SystemTray::isAvailable());
        SystemTray::setAvailableOverride(std::nullopt);
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    TestSystemTray test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_systemtray.moc"
