// Resident memory of the client after signing in to an account with 5,000
// servers, through the real API client, against the fake service that
// memory.sh starts (KESTROVA_API_URL, KESTROVA_CA_FILE).
#include "connectwindow.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

namespace {

const double kTargetMiB = 60.0;

double residentMiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int expected = argc > 1 ? QByteArray(argv[1]).toInt() : 5000;
    LocalSettings::instance()->createDefaultSettings();

    MainWindow window;
    window.updates()->setCheckDelay(3600 * 1000);
    window.checkAutologin();
    window.onShow();
    auto* login = window.findChild<LoginWindow*>();
    login->findChild<QLineEdit*>("edLogin")->setText("bench");
    login->findChild<QLineEdit*>("edPassword")->setText("bench-pass");

    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const double before = residentMiB();
    QElapsedTimer clock;
    clock.start();
    login->findChild<QPushButton*>("pbSignIn")->click();
    auto* connect = window.findChild<ConnectWindow*>();
    while (clock.elapsed() < 60000 &&
           (connect->isHidden() || window.connectionSession()->servers().size() < expected)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const qint64 signInMs = clock.elapsed();
    const int servers = window.connectionSession()->servers().size();
    if (servers < expected) {
        std::fprintf(stderr, "bench_ui_memory: signed in with %d servers of %d\n", servers, expected);
        return 1;
    }
    // Let the page settle as a user would see it.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const double rss = residentMiB();

    std::printf("ui resident memory after sign-in with %d servers: %.1f MiB (target < %.0f MiB) [%s]; "
                "%.1f MiB on the sign-in page; sign-in took %lld ms\n",
                servers, rss, kTargetMiB, rss < kTargetMiB ? "ok" : "over target", before, signInMs);
    return 0;
}
