// Saves a picture of every page of the main window into the folder given as
// the only argument. Run by scripts/screenshots.sh under Xvfb against the
// fake service; not a test.
#include "abstractservermodel.h"
#include "accountwindow.h"
#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"
#include "progressdlg.h"
#include "selectionaccountwindow.h"
#include "serverlistwindow.h"
#include "servertreeview.h"
#include "settingswindow.h"
#include "showlog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <memory>

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

// Real modal boxes: watch for the next one (it may come after a network reply,
// so not at a fixed moment), grab it while it runs, then press its default
// button. Returns a flag that turns true once the box has been answered; if no
// box turns up in time, the shot counts as failed.
std::shared_ptr<bool> saveNextBox(const QString& name, int ms = 20000)
{
    auto done = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, done, name, ms] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            poll->stop();
            poll->deleteLater();
            save(box, name);
            box->defaultButton() ? box->defaultButton()->click() : box->reject();
            *done = true;
        } else if (clock->elapsed() > ms) {
            poll->stop();
            poll->deleteLater();
            std::fprintf(stderr, "no message box for %s\n", qPrintable(name));
            ++failures;
            *done = true;
        }
    });
    poll->start(50);
    return done;
}

bool shown(QWidget* w)
{
    return w && !w->isHidden();
}

// The lab's stand-in ping answers within moments; a list grabbed before
// then shows dashes where the latencies belong.
bool allLatencies(const QAbstractItemModel* model, const QModelIndex& parent = {})
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        const bool measured = model->rowCount(index) > 0
                                  ? allLatencies(model, index)
                                  : index.data(AbstractServerModel::PingRole).toInt() > 0;
        if (!measured) {
            return false;
        }
    }
    return true;
}

void saveServerList(MainWindow* window, const QString& name)
{
    auto* view = window->findChild<ServerListWindow*>()->view();
    if (!waitFor([view] { return view->model() && allLatencies(view->model()); })) {
        std::fprintf(stderr, "no latencies for %s\n", qPrintable(name));
        ++failures;
    }
    save(window, name);
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
    window->updates()->setCheckDelay(3600 * 1000);
    window->checkAutologin();
    window->onShow();
    auto* login = window->findChild<LoginWindow*>();
    save(window.get(), "01-sign-in");

    login->findChild<QLineEdit*>("edLogin")->setText("single");
    login->findChild<QLineEdit*>("edPassword")->setText("wrong");
    auto wrongPassword = saveNextBox("02-wrong-password");
    login->findChild<QPushButton*>("pbSignIn")->click();
    waitFor([wrongPassword] { return *wrongPassword && CustomMessageBox::openCount() == 0; }, 25000);

    login->findChild<QLineEdit*>("edLogin")->setText("multi");
    login->findChild<QLineEdit*>("edPassword")->setText("multi+pass word");
    login->findChild<QPushButton*>("pbSignIn")->click();
    auto* chooser = window->findChild<SelectionAccountWindow*>();
    if (!waitFor([chooser] { return shown(chooser); })) {
        ++failures;
    }
    // As if chosen on an earlier visit: the connect page names a location.
    LocalSettings::instance()->setValue(Keys::LastLocation, QStringLiteral("kv2001::Amsterdam"));
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
    saveServerList(window.get(), "07-server-list");
    window->onBack();

    // With the parents the client gives them: a parent's style sheet must not
    // take their look.
    // Owned by their parents, which go with the window.
    auto* progress = new ProgressDlg(window.get());
    progress->setProgress(0.42f);
    progress->show();
    save(progress, "08-update-progress");
    progress->hide();

    auto* log = new ShowLog(window->findChild<ConnectWindow*>());
    log->onUpdateLog(
        ">LOG:1678000000,I,OpenVPN 2.6.3 x86_64-pc-linux-gnu [SSL (OpenSSL)] [LZO] [LZ4] [EPOLL]");
    log->onUpdateLog(">LOG:1678000001,I,TCP connection established with [AF_INET]192.0.2.10:1194");
    log->onUpdateLog(">LOG:1678000002,D,MANAGEMENT: >STATE:1678000002,ASSIGN_IP,,10.8.0.6,,,,");
    log->onUpdateLog(">LOG:1678000003,I,Initialization Sequence Completed");
    log->onUpdateLog(
        ">LOG:1678000003,D,MANAGEMENT: >STATE:1678000003,CONNECTED,SUCCESS,10.8.0.6,192.0.2.10,1194,,");
    log->show();
    save(log, "09-connection-details");
    log->hide();

    // With the kill switch asked for and no daemon in this namespace.
    LocalSettings::instance()->setValue(Keys::KillConnect, true);
    window->onBack();
    save(window.get(), "10-service-not-running");
    LocalSettings::instance()->setValue(Keys::KillConnect, false);
    window->onBack();

    auto updateQuestion = saveNextBox("11-update-question");
    emit window->updates()->newVersion();
    waitFor([updateQuestion] { return *updateQuestion; }, 25000);

    auto logoutQuestion = saveNextBox("12-logout-question");
    window->onAccount();
    window->findChild<AccountWindow*>()->findChild<QPushButton*>("pbLogOut")->click();
    waitFor([logoutQuestion] { return *logoutQuestion; }, 25000);

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

    // Right to left: Arabic, chosen on the settings page as a user does.
    CustomMessageBox::setScripted(true);
    CustomMessageBox::setNextAnswer(QMessageBox::Yes);
    window->onReturnToSignUp();
    CustomMessageBox::setScripted(false);
    auto* languages = window->findChild<SettingsWindow*>()->findChild<QComboBox*>("cbLanguage");
    languages->setCurrentIndex(languages->findData(QStringLiteral("ar")));
    login->findChild<QLineEdit*>("edLogin")->setText("single");
    login->findChild<QLineEdit*>("edPassword")->setText("single-pass");
    login->findChild<QPushButton*>("pbSignIn")->click();
    if (!waitFor([window = window.get()] { return shown(window->findChild<ConnectWindow*>()); })) {
        ++failures;
    }
    // As the settings page leaves it, and a location chosen before.
    LocalSettings::instance()->setValue(Keys::Language, QStringLiteral("ar"));
    LocalSettings::instance()->setValue(Keys::LastLocation, QStringLiteral("kv1001::Amsterdam"));
    window->onBack();
    save(window.get(), "14-connect-ar");
    window->onServerList(5);
    // The double-hop routes, the first group open.
    auto* servers = window->findChild<ServerListWindow*>();
    servers->onFilterChange(ServerListWindow::FilterDouble);
    servers->view()->expand(servers->view()->model()->index(0, 0));
    saveServerList(window.get(), "15-server-list-ar");
    window->onBack();
    window->onSettings();
    save(window.get(), "16-settings-ar");
    window->onBack();

    // The desktop picture that follows starts the client as the user left
    // it: in English, like the pictures beside it.
    LocalSettings::instance()->setValue(Keys::Language, QStringLiteral("en"));
    window.reset();
    return failures == 0 ? 0 : 1;
}
