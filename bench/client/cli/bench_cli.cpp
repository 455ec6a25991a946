// kestrova-cli against the window, in the lab with the real daemon: how long
// `kestrova-cli status` takes with a session running (process start to exit),
// and `kestrova-cli connect` to its exit (connected) against the window's
// press of Connect to the connected page, in turns. Run through the window's
// end-to-end harness (see README, Benchmarks).
#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Wall time of one run of the program, in ms; -1 when it failed.
double timedCli(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(qEnvironmentVariable("KESTROVA_CLI"), arguments);
    process.write(input);
    process.closeWriteChannel();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 200000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        process.waitForFinished(1);
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "kestrova-cli %s: %s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

// A lab server keeps a client's tunnel address for 5 s after the client has
// said goodbye, and each pool holds 13: back-to-back rounds would run it dry
// and the next connect would wait out a whole attempt. Half a second after
// each disconnect keeps every connect under that.
void settle()
{
    waitFor([] { return false; }, 500);
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

double percentile95(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[qMin(values.size() - 1, int(values.size() * 0.95))];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VKMT"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrova"));
    CustomMessageBox::setScripted(true);
    // Rounds of each side: the first argument, 5 by default.
    const int rounds = argc > 1 && QByteArray(argv[1]).toInt() > 0 ? QByteArray(argv[1]).toInt() : 5;

    if (timedCli({"login", "single", "--password-stdin"}, "single-pass\n") < 0 ||
        timedCli({"set", "protocol", "udp"}) < 0) {
        return 1;
    }
    // The window signs in by itself with the remembered account.
    MainWindow window;
    window.updates()->setCheckDelay(3600 * 1000);
    window.checkAutologin();
    ConnectWindow* page = window.findChild<ConnectWindow*>();
    if (!waitFor([&] { return !window.connectionSession()->servers().isEmpty(); }, 30000)) {
        std::fprintf(stderr, "the window did not sign in\n");
        return 1;
    }

    QVector<double> cliConnect, windowConnect, status;
    for (int round = 0; round < rounds; ++round) {
        // The command line, its background session started afresh each time.
        const double cli = timedCli({"connect", "Amsterdam"});
        if (cli < 0) {
            return 1;
        }
        cliConnect << cli;
        for (int i = 0; i < 10; ++i) {
            status << timedCli({"status"});
        }
        if (timedCli({"quit"}) < 0) {
            return 1;
        }
        settle();
        // The window: press to the connected page.
        page->connectionSession()->selectServer(ServerIdentif("kv1001", "Amsterdam"));
        QElapsedTimer clock;
        clock.start();
        page->onClickConnect();
        if (!waitFor([&] { return window.connectionSession()->isConnected(); }, 120000)) {
            std::fprintf(stderr, "the window did not connect\n");
            return 1;
        }
        windowConnect << clock.nsecsElapsed() / 1e6;
        page->onClickConnect();
        waitFor(
            [&] {
                return !window.connectionSession()->isBusy() && window.connectionSession()->isTunnelIdle();
            },
            60000);
        settle();
        std::printf("round %d: kestrova-cli connect %.0f ms, window %.0f ms\n", round + 1, cli,
                    windowConnect.last());
    }
    std::printf(
        "kestrova-cli status with a session running: median %.1f ms, p95 %.1f ms (%d runs; target < 50 ms)\n",
        median(status), percentile95(status), int(status.size()));
    std::printf(
        "connect to connected: kestrova-cli median %.0f ms, window median %.0f ms (target: no more than the "
        "window)\n",
        median(cliConnect), median(windowConnect));
    return 0;
}
