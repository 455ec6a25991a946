// Saves a picture of every page of the main window into the folder given as
// the only argument. Run by scripts/screenshots.sh under Xvfb against the
// fake service; not a test.
#include "accountwindow.h"
#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"
#include "progressdlg.h"
#include "selectionaccountwindow.h"
#include "showlog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

QString outDir;
int failures = 0;

bool waitFor(const std::function<bool()>& done, int ms = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

void settle()
{
    waitFor([] { return false; }, 400);
}

void save(QWidget* w, const QString& name)
{
    settle();
    const QString path = QDir(outDir).filePath(name + ".png");
    if (!w->grab().save(path)) {
        ++failures;
    }
    std::printf("%s\n", qPrintable(path));
}

// Real modal boxes: grab the box while it runs, then press its default button.
void saveNextBox(const QString& name)
{
    QTimer::singleShot(500, [name] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            save(box, name);
            box->defaultButton() ? box->defaultButton()->click() : box->reject();
        }
    });
}

bool shown(QWidget* w)
{
    return w && !w->isHidden();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    LocalSettings::instance()->createDefaultSettings();

    auto window = std::make_unique<MainWindow>();
    window->setUpdateCheckDelay(3600 * 1000);
    window->checkAutologin();
    window->onShow();
    auto* login = window->findChild<LoginWindow*>();
    save(window.get(), "01-sign-in");

    login->findChild<QLineEdit*>("edLogin")->setText("single");
    login->findChild<QLineEdit*>("edPassword")->setText("wrong");
    saveNextBox("02-wrong-password");
    login->findChild<QPushButton*>("pbSignIn")->click();
    waitFor([] { return false; }, 2500);

    login->findChild<QLineEdit*>("edLogin")->setText("multi");
    login->findChild<QLineEdit*>("edPassword")->setText("multi+pass word");
    login->findChild<QPushButton*>("pbSignIn")->click();
    auto* chooser = window->findChild<SelectionAccountWindow*>();
    if (!waitFor([chooser] { return shown(chooser); })) {
        ++failures;
    }
    chooser->findChildren<QRadioButton*>().value(0)->setChecked(true);
    save(window.get(), "03-choose-vpn-login");
    chooser->findChild<QPushButton*>("btContinue")->click();
    save(window.get(), "04-connect");

    window->onAccount();
    save(window.get(), "05-account");
    window->onBack();
    window->onSettings();
    save(window.get(), "06-settings");
    window->onBack();
    window->onServerList(5);
    save(window.get(), "07-server-list");
    window->onBack();

    ProgressDlg progress(nullptr);
    progress.setProgress(0.42f);
    progress.show();
    save(&progress, "08-update-progress");
    progress.hide();

    ShowLog log(nullptr);
    log.onUpdateLog("1678000000,I,OpenVPN 2.6.3 x86_64-pc-linux-gnu");
    log.onUpdateLog("1678000001,I,TCP connection established with [AF_INET]192.0.2.10:1194");
    log.onUpdateLog("1678000002,I,Initialization Sequence Completed");
    log.show();
    save(&log, "09-connection-details");
    log.hide();

    // With the kill switch asked for and no daemon in this namespace.
    LocalSettings::instance()->setValue(Keys::KillConnect, true);
    window->onBack();
    save(window.get(), "10-service-not-running");
    LocalSettings::instance()->setValue(Keys::KillConnect, false);
    window->onBack();

    saveNextBox("11-update-question");
    window->onCheckSoftwareUpdateNewVersion();

    saveNextBox("12-logout-question");
    window->onAccount();
    window->findChild<AccountWindow*>()->findChild<QPushButton*>("pbLogOut")->click();

    // The question above was declined; now log out for real.
    CustomMessageBox::setScripted(true);
    CustomMessageBox::setNextAnswer(QMessageBox::Yes);
    window->onReturnToSignUp();
    CustomMessageBox::setScripted(false);

    // An account without a subscription.
    login->findChild<QLineEdit*>("edLogin")->setText("nosub");
    login->findChild<QLineEdit*>("edPassword")->setText("nosub-pass");
    login->findChild<QPushButton*>("pbSignIn")->click();
    waitFor([login] { return !shown(login); });
    save(window.get(), "13-purchase");

    window.reset();
    return failures == 0 ? 0 : 1;
}
