#include "unixapplication.h"

#include "constants.h"
#include "mainwindow.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

const QString kInstanceId = QStringLiteral("Quillfen");

} // namespace

UnixApplication::UnixApplication(int& argc, char** argv) : SingleApplication(argc, argv, kInstanceId)
{
    isRunning();
    setOrganizationName(Constants::OrganizationName);
    setApplicationName(Constants::ApplicationName);
    connect(this, &SingleApplication::messageReceived, this, &UnixApplication::handleMessage);
}

UnixApplication::~UnixApplication()
{
    delete mainWindow;
}

bool UnixApplication::launch(bool hidden)
{
    qDebug().noquote() << QString(64, '-');
    qDebug().noquote() << applicationName() + " " + applicationVersion() +
                              " started. Build date: " + __DATE__ + ", " + __TIME__;
    if (!oneInstance()) {
        return false;
    }
    mainWindow = new MainWindow(nullptr, Qt::WindowFlags());
    mainWindow->checkAutologin();
    if (hidden) {
        mainWindow->onHide();
    } else {
        mainWindow->onShow();
    }
    return true;
}

bool UnixApplication::oneInstance()
{
    // Found at start-up: another client listens. This process never opens a
    // window then, even when the other is too busy to answer at once; it
    // keeps knocking for a while and leaves.
    const bool another = isRunning();
    QElapsedTimer clock;
    clock.start();
    for (int attempt = 1;; ++attempt) {
        processEvents();
        qDebug() << "Try wake up!";
        if (sendMessage(Constants::WakeUpMessage, WakeUpTimeoutMs)) {
            return false;
        }
        qDebug() << "Not one";
        if (another) {
            if (clock.hasExpired(WakeUpPatienceMs)) {
                qWarning() << "The running instance did not answer; leaving it be";
                return false;
            }
        } else if (attempt >= WakeUpAttempts) {
            return true;
        } else if (isListening()) {
            // This one listens: nobody else can be starting, so there is
            // nothing to wait for.
            continue;
        }
        QEventLoop pause;
        QTimer::singleShot(WakeUpPauseMs, &pause, &QEventLoop::quit);
        pause.exec();
    }
}

void UnixApplication::handleMessage(const QString& cmd)
{
    qDebug() << "Wake up!";
    if (cmd == Constants::WakeUpMessage && mainWindow) {
        mainWindow->onShow();
        mainWindow->activateWindow();
        showMainTopmost();
    }
}

void UnixApplication::showMainTopmost()
{
    mainWindow->setWindowFlags(mainWindow->windowFlags() | Qt::CustomizeWindowHint |
                               Qt::WindowStaysOnTopHint);
    mainWindow->show();
}
