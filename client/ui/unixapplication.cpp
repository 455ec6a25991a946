#include "unixapplication.h"

#include "constants.h"
#include "mainwindow.h"

#include <QDebug>
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
    for (int attempt = 0; attempt < WakeUpAttempts; ++attempt) {
        processEvents();
        qDebug() << "Try wake up!";
        if (sendMessage(Constants::WakeUpMessage, WakeUpTimeoutMs)) {
            return false;
        }
        qDebug() << "Not one";
        // The pause gives a starting instance time to listen; when this one
        // listens, nobody else can be starting, so there is nothing to wait for.
        if (isListening()) {
            continue;
        }
        QEventLoop pause;
        QTimer::singleShot(WakeUpPauseMs, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
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
