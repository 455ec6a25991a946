// Connection benchmarks against the lab's VPN servers and the real daemon.
// Run through tests/client/connection/e2e/run_e2e.sh (it provides the lab's
// client namespace, private mounts and the daemon):
//   bash tests/lab/private-lab.sh bash tests/client/connection/e2e/run_e2e.sh
//       build/daemon/kestrovad build/bench/client/connection/bench_connection
// Prints the time from Connection::connect to connected() against openvpn
// started by hand until "Initialization Sequence Completed" (same server,
// UDP), and the throughput of a bulk echo transfer over stealth and plain TCP.
#include "connection.h"
#include "makeovpnfile.h"
#include "stunnelmanager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const int kRounds = 5;
const qint64 kBulkBytes = 32 * 1024 * 1024;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the event loop until done() holds or the time is up.
template <typename F> bool waitUntil(F done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

class Bench
{
public:
    explicit Bench(const QString& data) : data(data)
    {
        account = QJsonDocument::fromJson(readFile(data + "/account.json")).object();
    }

    ServerInfo server(const QString& login, const QString& name) const
    {
        ServerInfo s;
        for (const QJsonValue& v : account.value("servers").toArray()) {
            const QJsonObject o = v.toObject();
            if (o.value("user").toString() == login && o.value("name").toString() == name) {
                s.name = name;
                s.user = login;
                s.ip = o.value("ip").toString();
                s.tcpPorts = o.value("tcp").toString().split(',');
                s.udpPorts = o.value("udp").toString().split(',');
                s.sslPort = o.value("ssl").toString().toInt();
                s.sni = o.value("sni").toString();
                s.password = account.value("passwords").toObject().value(login).toString();
                s.protocol = 4;
            }
        }
        return s;
    }

    bool prepare(const ServerInfo& s, const QString& transport)
    {
        ConfigServer c;
        c.baseConfig = readFile(data + "/base.ovpn");
        c.certificate = readFile(data + "/" + s.user + ".crt");
        c.key = readFile(data + "/" + s.user + ".key");
        c.host = s.ip;
        c.protocol = transport;
        if (transport == "stealth") {
            stunnel = std::make_unique<StunnelManager>();
            if (!stunnel->setConfigAndRunProcess(s.ip, s.sslPort, s.sni)) {
                return false;
            }
            c.stunnelPort = stunnel->getPort();
            return profile.generateStunnel(c);
        }
        c.ports = transport == "udp" ? s.udpPorts : s.tcpPorts;
        return profile.generate(c);
    }

    // Milliseconds from connect() to connected(), or -1; the tunnel stays up.
    double facadeConnect(Connection& connection, const ServerInfo& s)
    {
        bool up = false;
        bool failed = false;
        QObject::connect(&connection, &Connection::connected, [&]() { up = true; });
        QObject::connect(&connection, &Connection::error, [&](QString e) {
            std::fprintf(stderr, "connection error: %s\n", qPrintable(e));
            failed = true;
        });
        QElapsedTimer timer;
        timer.start();
        connection.connect(s, s.user, s.password, profile.fileName(), ProxySetting());
        if (!waitUntil([&]() { return up || failed; }, 30000) || failed) {
            return -1;
        }
        return timer.nsecsElapsed() / 1e6;
    }

    static bool facadeDisconnect(Connection& connection)
    {
        bool down = false;
        QObject::connect(&connection, &Connection::disconnected, [&]() { down = true; });
        connection.disconnect(true);
        return waitUntil([&]() { return down; }, 15000);
    }

    double byHand(const ServerInfo& s)
    {
        const QString creds = data + "/creds";
        QFile f(creds);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        f.write((s.user + "\n" + s.password + "\n").toUtf8());
        f.close();
        QProcess openvpn;
        openvpn.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer timer;
        timer.start();
        openvpn.start("openvpn", {"--config", profile.fileName(), "--auth-user-pass", creds});
        QByteArray out;
        double ms = -1;
        while (timer.elapsed() < 30000 && openvpn.state() != QProcess::NotRunning) {
            if (openvpn.waitForReadyRead(100)) {
                out += openvpn.readAll();
                if (out.contains("Initialization Sequence Completed")) {
                    ms = timer.nsecsElapsed() / 1e6;
                    break;
                }
            }
        }
        openvpn.terminate();
        if (!openvpn.waitForFinished(10000)) {
            openvpn.kill();
            openvpn.waitForFinished();
        }
        return ms;
    }

    // MB/s of an echo transfer (bytes out plus bytes back) through the tunnel.
    static double bulkEcho(qint64 bytes)
    {
        QTcpSocket s;
        s.connectToHost("203.0.113.10", 7);
        if (!s.waitForConnected(5000)) {
            return -1;
        }
        const QByteArray chunk(64 * 1024, 'k');
        qint64 sent = 0;
        qint64 received = 0;
        QElapsedTimer timer;
        timer.start();
        while (received < bytes && timer.elapsed() < 120000) {
            if (sent < bytes && s.bytesToWrite() < 4 * chunk.size()) {
                sent += s.write(chunk.constData(), std::min<qint64>(chunk.size(), bytes - sent));
            }
            s.waitForBytesWritten(0);
            if (s.waitForReadyRead(sent < bytes ? 0 : 100)) {
                received += s.readAll().size();
            }
        }
        if (received < bytes) {
            return -1;
        }
        return 2.0 * bytes / (timer.nsecsElapsed() / 1e9) / 1e6;
    }

    QString data;
    QJsonObject account;
    MakeOVPNFile profile;
    std::unique_ptr<StunnelManager> stunnel;
};

bool daemonRunning()
{
    QTcpSocket s;
    s.connectToHost("127.0.0.1", 23589);
    return s.waitForConnected(500);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString data = qEnvironmentVariable("KV_E2E_DATA");
    if (data.isEmpty() || !daemonRunning()) {
        std::printf("bench_connection: needs the lab and the daemon; run it through run_e2e.sh\n");
        return 0;
    }
    Bench bench(data);
    const ServerInfo udp = bench.server("kv1001", "Amsterdam");
    if (!bench.prepare(udp, "udp")) {
        std::fprintf(stderr, "bench_connection: can not write the profile\n");
        return 1;
    }
    QList<double> facade, hand;
    for (int i = 0; i < kRounds; ++i) {
        hand << bench.byHand(udp);
        Connection connection;
        facade << bench.facadeConnect(connection, udp);
        Bench::facadeDisconnect(connection);
    }
    auto list = [](const QList<double>& v) {
        QStringList t;
        for (double d : v) {
            t << QString::number(d, 'f', 1);
        }
        return t.join(" ");
    };
    std::printf("connect, UDP to %s, %d rounds (ms):\n", qPrintable(udp.ip), kRounds);
    std::printf("  openvpn --config by hand to \"Initialization Sequence Completed\": median %.1f  [%s]\n",
                median(hand), qPrintable(list(hand)));
    std::printf("  Connection::connect to connected():                           median %.1f  [%s]\n",
                median(facade), qPrintable(list(facade)));
    std::printf("  overhead: %.1f ms (target: at most 150 ms)\n", median(facade) - median(hand));

    for (const QString transport : {"tcp", "stealth"}) {
        if (!bench.prepare(udp, transport)) {
            std::fprintf(stderr, "bench_connection: can not prepare %s\n", qPrintable(transport));
            return 1;
        }
        Connection connection;
        const double ms = bench.facadeConnect(connection, udp);
        const double rate = ms < 0 ? -1 : Bench::bulkEcho(kBulkBytes);
        Bench::facadeDisconnect(connection);
        bench.stunnel.reset();
        std::printf("bulk echo over %-7s: %lld MiB each way, %.1f MB/s (both directions counted)\n",
                    qPrintable(transport), kBulkBytes / (1024 * 1024), rate);
    }
    return 0;
}
