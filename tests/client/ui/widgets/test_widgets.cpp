#include "custommessagebox.h"
#include "movablewidget.h"
#include "progressdlg.h"
#include "reachabilityqt.h"
#include "rotatewidget.h"
#include "showlog.h"
#include "uitestsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTranslator>

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void init() { CustomMessageBox::clearShown(); }

    void scriptedBoxesRecordAndAnswer()
    {
        CustomMessageBox::setScripted(true);
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        QCOMPARE(CustomMessageBox::question(nullptr, "Logout", "Do you want to logout?",
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
                 QMessageBox::Yes);
        // Nothing queued: the default button answers.
        QCOMPARE(CustomMessageBox::question(nullptr, "Exit", "Sure?", QMessageBox::Yes | QMessageBox::No,
                                            QMessageBox::No),
                 QMessageBox::No);
        CustomMessageBox::critical(nullptr, "Kestrova", "Wrong Login/Password.");
        CustomMessageBox::information(nullptr, "Kestrova", "Info");

        const auto shown = CustomMessageBox::shown();
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0].kind, CustomMessageBox::Kind::Question);
        QCOMPARE(shown[0].buttonTexts, QStringList({"No", "Yes"}));
        QCOMPARE(shown[2].kind, CustomMessageBox::Kind::Critical);
        QCOMPARE(shown[2].title, QString("Kestrova"));
        QCOMPARE(shown[2].text, QString("Wrong Login/Password."));
        QCOMPARE(shown[2].buttonTexts, QStringList({"Ok"}));
        QCOMPARE(shown[3].answer, QMessageBox::Ok);
        CustomMessageBox::setScripted(false);
    }

    // Short or long, every box has the one width and stays inside its window.
    void boxesShareOneWidthInsideTheirWindow()
    {
        QWidget window;
        window.setGeometry(100, 80, 340, 500);
        window.show();
        CustomMessageBox::setScripted(true);
        CustomMessageBox::critical(&window, "Kestrova", "Ok.");
        CustomMessageBox::question(&window, "Kestrova", QString("A rather long question. ").repeated(12),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        CustomMessageBox::setScripted(false);
        const auto shown = CustomMessageBox::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].geometry.width(), shown[1].geometry.width());
        for (const auto& box : shown) {
            QCOMPARE(box.ownerGeometry, window.geometry());
            QVERIFY(window.geometry().contains(box.geometry));
        }
    }

    // The real modal path: the box runs its own loop and returns the pressed
    // button. Its parent carries a style sheet, as every window does: the box
    // must still paint its buttons in the pages' accent colour.
    void realBoxReturnsPressedButton()
    {
        CustomMessageBox::setScripted(false);
        QWidget parent;
        parent.setStyleSheet("QWidget { background-color: white; }");
        QStringList seenTexts;
        QColor defaultFill;
        QTimer::singleShot(0, [&seenTexts, &defaultFill] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons()) {
                seenTexts << b->text();
            }
            QVERIFY(box->minimumSizeHint().width() >= 150);
            const QImage no = box->button(QMessageBox::No)->grab().toImage();
            defaultFill = no.pixelColor(4, no.height() / 2);
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(CustomMessageBox::question(&parent, "Logout", "Do you want to logout?",
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
                 QMessageBox::Yes);
        seenTexts.sort();
        QCOMPARE(seenTexts, QStringList({"No", "Yes"}));
        QCOMPARE(defaultFill.name(), QString("#33a5db"));
    }

    void logLinesKeepOnlyTheText_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("record") << "1678000000,I,Initialization Sequence Completed"
                                << "Initialization Sequence Completed";
        QTest::newRow("commas in text") << "1678000000,W,route, gateway, 198.51.100.1"
                                        << "route, gateway, 198.51.100.1";
        QTest::newRow("as the management interface gives it")
            << ">LOG:1796799982,D,MANAGEMENT: >STATE:1796799982,CONNECTED,SUCCESS,198.51.100.194,192.0.2.10"
            << "MANAGEMENT: >STATE:1796799982,CONNECTED,SUCCESS,198.51.100.194,192.0.2.10";
        QTest::newRow("two fields shown whole") << "1678000000,hello"
                                                << "1678000000,hello";
        QTest::newRow("line breaks") << "1,I,first\r\nsecond\n"
                                     << "firstsecond";
        QTest::newRow("empty") << ""
                               << "";
    }

    void logLinesKeepOnlyTheText()
    {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QCOMPARE(ShowLog::logRecordText(line), shown);
    }

    void logDialogAppendsAndClears()
    {
        ShowLog log(nullptr);
        QCOMPARE(log.objectName(), QString("ShowLog"));
        QCOMPARE(log.windowTitle(), QString("Connection Details"));
        QVERIFY(!(log.windowFlags() & Qt::WindowContextHelpButtonHint));
        log.onUpdateLog("1678000000,I,first <b>");
        log.onUpdateLog("no record");
        const QString time = QDateTime::fromSecsSinceEpoch(1678000000).toString("hh:mm:ss");
        QCOMPARE(log.plainText(), time + "  first <b>\nno record");
        // Copy hands the whole log, times included, to the clipboard.
        QTest::mouseClick(log.findChild<QPushButton*>("btCopy"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), log.plainText());
        log.show();
        QTest::mouseClick(log.findChild<QPushButton*>("btClose"), Qt::LeftButton);
        QVERIFY(log.isHidden());
        log.clear();
        QCOMPARE(log.plainText(), QString());
    }

    void progressShowsTruncatedPercent()
    {
        ProgressDlg dlg(nullptr);
        QCOMPARE(dlg.windowTitle(), QString("Update"));
        QCOMPARE(dlg.size(), QSize(370, 130));
        QCOMPARE(dlg.percent(), 0);
        dlg.setProgress(0.5f);
        QCOMPARE(dlg.percent(), 50);
        dlg.setProgress(0.999f);
        QCOMPARE(dlg.percent(), 99);
        dlg.setProgress(1.0f);
        QCOMPARE(dlg.percent(), 100);

        QSignalSpy cancelled(&dlg, &ProgressDlg::cancel);
        dlg.findChild<QPushButton*>("pbCancel")->click();
        QCOMPARE(cancelled.count(), 1);
    }

    void spinnerTurnsOnceIn180Steps()
    {
        QWidget parent;
        parent.resize(80, 60);
        RotateWidget spinner(":/resources/none.svg", &parent);
        QCOMPARE(spinner.size(), QSize(80, 60));
        QCOMPARE(spinner.pos(), QPoint(0, 0));
        for (int i = 0; i < 179; ++i) {
            spinner.rotate_disc();
        }
        QCOMPARE(spinner.angle(), 358);
        spinner.rotate_disc();
        QCOMPARE(spinner.angle(), 0);
    }

    void wifiEventsBecomeSignals()
    {
        ReachabilityQt watcher(nullptr);
        QCOMPARE(g_reachabilityThis, &watcher);
        QSignalSpy spy(&watcher, &ReachabilityQt::statusChangeWifi);

        WifiStatusEvent open(10001, "cafe");
        QCoreApplication::sendEvent(&watcher, &open);
        WifiStatusEvent secured(10002, "home");
        QCoreApplication::sendEvent(&watcher, &secured);
        WifiStatusEvent lost(10003, "home");
        QCoreApplication::sendEvent(&watcher, &lost);
        WifiStatusEvent unknown(10004, "x");
        QCoreApplication::sendEvent(&watcher, &unknown);
        QEvent otherType(static_cast<QEvent::Type>(1002));
        QCoreApplication::sendEvent(&watcher, &otherType);
        // Someone else's event with our number carries no status.
        QEvent foreign(static_cast<QEvent::Type>(1001));
        QCoreApplication::sendEvent(&watcher, &foreign);

        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy[0], QVariantList({true, true, QString("cafe")}));
        QCOMPARE(spy[1], QVariantList({true, false, QString("home")}));
        QCOMPARE(spy[2], QVariantList({false, false, QString()}));
    }

    void watcherPointerClearedWithWatcher()
    {
        {
            ReachabilityQt watcher(nullptr);
            QCOMPARE(g_reachabilityThis, &watcher);
        }
        QCOMPARE(g_reachabilityThis, nullptr);
    }

    void everyLanguageIsBuiltIn()
    {
        const QStringList codes = {"ar", "de", "en", "es", "fr", "hi", "it", "ja",
                                   "ko", "pl", "pt", "ru", "tr", "uk", "vi", "zh_CN"};
        for (const QString& code : codes) {
            QTranslator translator;
            QVERIFY2(translator.load(":/translations/Kestrova_" + code), qPrintable(code));
        }
    }

    void titleBarDragsItsWindow()
    {
        QWidget window;
        window.resize(340, 300);
        window.move(100, 100);
        auto* bar = new MovableWidget(&window);
        bar->setMovingWindow(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QPoint start = window.frameGeometry().topLeft();
        const QPoint grab = start + QPoint(20, 10);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 10), QPointF(grab), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(70, 40), QPointF(grab + QPoint(50, 30)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(50, 30));

        // Without the button held, moving the mouse leaves the window alone.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(70, 40), QPointF(grab + QPoint(50, 30)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
        QMouseEvent hover(QEvent::MouseMove, QPointF(90, 40), QPointF(grab + QPoint(90, 90)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &hover);
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(50, 30));

        QSignalSpy closed(bar, &MovableWidget::closeClick);
        QSignalSpy hidden(bar, &MovableWidget::hideClick);
        bar->findChild<QPushButton*>("pbClose")->click();
        bar->findChild<QPushButton*>("pbMinimize")->click();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(hidden.count(), 1);
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    TestWidgets test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_widgets.moc"
