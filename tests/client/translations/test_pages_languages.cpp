// The settings and connect pages in every built language, switched the way
// the user does it (the settings page's language chooser): every text must fit
// its widget inside the fixed 340 x 500 window, and Arabic must mirror the
// pages. A picture of each page in each language is saved for a look by eye
// into KESTROVA_SCREENSHOT_DIR (default: screenshots/ in the working folder).

#include "accountwindow.h"
#include "connectwindow.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "selectionaccountwindow.h"
#include "serverlistwindow.h"
#include "settingswindow.h"
#include "subscriptionpurchasewindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QSize kWindowSize(340, 500);

QStringList builtLanguages()
{
    return QStringLiteral(KESTROVA_BUILT_LANGUAGES).split(',', Qt::SkipEmptyParts);
}

QString where(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

int textWidth(const QWidget* w, const QString& text)
{
    return w->fontMetrics().horizontalAdvance(text);
}

// Texts that do not fit their widget, and widgets that stick out of the page.
// `otherTexts` names buttons with the texts they show in other states.
QStringList layoutFaults(QWidget* page, const QHash<QString, QStringList>& otherTexts = {})
{
    QStringList faults;
    const QRect bounds(QPoint(0, 0), page->size());
    const auto widgets = page->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(page) || w->size().isEmpty()) {
            continue;
        }
        const QRect box(w->mapTo(page, QPoint(0, 0)), w->size());
        if (!bounds.contains(box)) {
            faults << QStringLiteral("%1 lies outside the page").arg(where(w));
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty()) {
                continue;
            }
            const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                                : label->sizeHint().width() <= label->width();
            if (!fits) {
                faults << QStringLiteral("%1 clips \"%2\"").arg(where(w), label->text());
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            if (check->sizeHint().width() > check->width()) {
                faults << QStringLiteral("%1 clips \"%2\"").arg(where(w), check->text());
            }
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            const QString text = button->text();
            if (!text.isEmpty() && textWidth(button, text) + icon > button->contentsRect().width()) {
                faults << QStringLiteral("%1 clips \"%2\"").arg(where(w), text);
            }
            // A text of another state: the layout widens the button up to
            // the width of its parent, no further.
            for (const QString& other : otherTexts.value(where(w))) {
                if (textWidth(button, other) + icon > w->parentWidget()->contentsRect().width()) {
                    faults << QStringLiteral("%1 cannot fit \"%2\"").arg(where(w), other);
                }
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // Room for the drop-down arrow on the side.
            const int room = combo->width() - 30;
            for (int i = 0; i < combo->count(); ++i) {
                if (textWidth(combo, combo->itemText(i)) > room) {
                    faults << QStringLiteral("%1 clips \"%2\"").arg(where(w), combo->itemText(i));
                }
            }
        }
    }
    return faults;
}

// Is the first widget left of the second on the screen?
bool leftOf(QWidget* a, QWidget* b)
{
    return a->mapToGlobal(a->rect().center()).x() < b->mapToGlobal(b->rect().center()).x();
}

} // namespace

class TestPagesLanguages : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsWindow> settings;
    std::unique_ptr<ConnectWindow> connect;
    // The other pages, looked at for clipped text only.
    std::vector<std::unique_ptr<QWidget>> others;
    QDir pictures;

    template <typename T> T* child(QWidget* page, const char* name)
    {
        auto* w = page->findChild<T*>(QLatin1String(name));
        if (!w) {
            qFatal("no widget %s", name);
        }
        return w;
    }

    void choose(const QString& code)
    {
        auto* chooser = child<QComboBox>(settings.get(), "cbLanguage");
        chooser->setCurrentIndex(chooser->findData(code));
        // Installing a catalogue posts the language change to every window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCoreApplication::processEvents();
    }

    void save(QWidget* page, const QString& name)
    {
        QVERIFY2(page->grab().save(pictures.filePath(name + QStringLiteral(".png"))), qPrintable(name));
    }

private slots:
    void initTestCase()
    {
        const QString dir = qEnvironmentVariable("KESTROVA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
        QVERIFY(QDir().mkpath(dir));
        pictures = QDir(dir);

        settings.reset(new SettingsWindow(nullptr));
        settings->setFixedSize(kWindowSize);
        settings->loadSettings({PROTOCOL_OPENVPN_TCP, PROTOCOL_OPENVPN_UDP, PROTOCOL_STEALTH});
        settings->setVersion(QStringLiteral("3.6.9"));
        settings->showWithMode(SettingsWindow::Full);
        // The local-device pair only shows while the kill switch is on.
        child<QCheckBox>(settings.get(), "cbKillSwitch")->setChecked(true);

        connect.reset(new ConnectWindow(nullptr));
        connect->setFixedSize(kWindowSize);
        connect->show();
        QVERIFY(QTest::qWaitForWindowExposed(connect.get()));

        others.emplace_back(new LoginWindow(nullptr));
        others.emplace_back(new AccountWindow(nullptr));
        others.emplace_back(new SubscriptionPurchaseWindow(nullptr));
        auto* chooser = new SelectionAccountWindow(nullptr);
        chooser->setUsers({QStringLiteral("vpn-login-1"), QStringLiteral("vpn-login-2")});
        others.emplace_back(chooser);
        others.emplace_back(new ServerListWindow(nullptr));
        for (auto& page : others) {
            page->setFixedSize(kWindowSize);
            page->show();
        }
    }

    void cleanupTestCase()
    {
        others.clear();
        connect.reset();
        settings.reset();
    }

    void pagesFitInEveryLanguage_data()
    {
        QTest::addColumn<QString>("code");
        for (const QString& code : builtLanguages()) {
            QTest::newRow(qPrintable(code)) << code;
        }
    }

    void pagesFitInEveryLanguage()
    {
        QFETCH(QString, code);
        choose(code);
        QCOMPARE(child<QLabel>(settings.get(), "lbSettings")->text(),
                 QCoreApplication::translate("SettingsWindow", "Settings"));

        // The subscription line as it shows when the subscription runs out soon.
        auto* expiry = child<QLabel>(connect.get(), "lbSubscribtionInfo");
        expiry->setText(QCoreApplication::translate("ConnectWindow", "VPN subscription expires: %1")
                            .arg(QStringLiteral("31.12.2026")));
        for (const char* name : {"lbSubscribtionInfo", "btRenew", "lbSubscribtionAdditionalInfo"}) {
            child<QWidget>(connect.get(), name)->show();
        }
        QCoreApplication::processEvents();

        save(settings.get(), code + QStringLiteral("-settings"));
        save(connect.get(), code + QStringLiteral("-connect"));

        QStringList faults = layoutFaults(settings.get());
        const QString showConnection = QCoreApplication::translate("ConnectWindow", "Show connection");
        faults += layoutFaults(connect.get(), {{QStringLiteral("btnSelectLocation"), {showConnection}}});
        for (auto& page : others) {
            const QString name = QString::fromLatin1(page->metaObject()->className());
            for (const QString& fault : layoutFaults(page.get())) {
                faults << name + QStringLiteral(": ") + fault;
            }
            save(page.get(), code + QLatin1Char('-') + name.toLower());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
    }

    void arabicMirrorsThePages()
    {
        if (!builtLanguages().contains(QLatin1String("ar"))) {
            QSKIP("Arabic catalogue not built");
        }
        auto* back = child<QPushButton>(settings.get(), "pbBack");
        auto* title = child<QLabel>(settings.get(), "lbSettings");
        auto* gear = child<QPushButton>(connect.get(), "btnSettings");
        auto* account = child<QPushButton>(connect.get(), "btnAccount");

        // The arrows that lead out of a page: back, and log out.
        QVector<QPushButton*> arrows{back};
        for (auto& page : others) {
            for (const char* name : {"pbBack", "pbLogOut"}) {
                if (auto* button = page->findChild<QPushButton*>(QLatin1String(name))) {
                    arrows << button;
                }
            }
        }
        QCOMPARE(arrows.size(), 6);
        auto picture = [](QPushButton* button) {
            return button->icon().pixmap(button->iconSize()).toImage();
        };

        choose(QStringLiteral("en"));
        QVERIFY(leftOf(back, title));
        const bool gearLeft = leftOf(gear, account);
        QVector<QImage> leftToRight;
        for (QPushButton* arrow : arrows) {
            leftToRight << picture(arrow);
            QVERIFY2(leftToRight.last() != leftToRight.last().mirrored(true, false),
                     qPrintable(where(arrow)));
        }

        choose(QStringLiteral("ar"));
        QVERIFY(settings->isRightToLeft());
        QVERIFY(connect->isRightToLeft());
        QVERIFY(leftOf(title, back));
        QCOMPARE(leftOf(gear, account), !gearLeft);
        for (int i = 0; i < arrows.size(); ++i) {
            QVERIFY2(picture(arrows[i]) == leftToRight[i].mirrored(true, false),
                     qPrintable(where(arrows[i])));
        }

        choose(QStringLiteral("en"));
        QVERIFY(settings->isLeftToRight());
        QVERIFY(leftOf(back, title));
        for (int i = 0; i < arrows.size(); ++i) {
            QVERIFY2(picture(arrows[i]) == leftToRight[i], qPrintable(where(arrows[i])));
        }
    }
};

int main(int argc, char** argv)
{
    // Settings, logs and the autostart entry in a throw-away home.
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VKMT"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrova"));
    TestPagesLanguages test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pages_languages.moc"
