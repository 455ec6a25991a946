// Runs one OpenVPN connection: has the daemon start openvpn with a management
// port on loopback, answers its credential query and turns its management
// output into signals. The dialogue runs on this thread with blocking sockets.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QSharedPointer>
#include <QString>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <sys/types.h>

class ServiceConnector;

class OpenVPNConnectorQt : public QThread
{
    Q_OBJECT
public:
    struct Parameters
    {
        QSharedPointer<ServiceConnector> serviceConnector;
    };

    // Codes of error(int).
    enum Error
    {
        ErrorAuthFailed = 0,
        ErrorManagementUnreachable = 1,
        ErrorNoTapAdapter = 2,
        ErrorHelperRefused = 3,
        ErrorNoFreePort = 5,
        ErrorProxyAuth = 6,
        ErrorUdpWrite = 7,
        ErrorConnectedWithError = 8,
    };

    // OpenVPN connects to the connector's listener on 127.0.0.1 as it
    // starts (--management-client): the wait for it is a wait for that
    // connection, with no polling. It gets 3 s to come.
    static constexpr int kConnectRetryWindowMs = 3000;
    // The least time a connection gets to show that it is OpenVPN's (root's
    // socket, OpenVPN's greeting) when the window above has nearly run out.
    static constexpr int kMinOwnerWaitMs = 200;
    // How soon the owner of a connection is asked again when the kernel
    // could not name it at first (it may still be settling).
    static constexpr int kOwnerLookupRetryMs = 5;
    // Connections looked at side by side while OpenVPN is awaited.
    static constexpr size_t kMaxCandidates = 16;
    // How long the port stays ours after OpenVPN did not come in time.
    static constexpr qint64 kLateOpenVpnMs = 30000;
    // With explicit-exit-notify, OpenVPN answers a stop by telling the server
    // and then waiting one to several seconds before it takes the tunnel
    // down. It is told to stop a second time this long after it has sent the
    // notification, and then exits at once.
    static constexpr int kExitNotifyGraceMs = 100;
    static constexpr int kLineBufferSize = 10000;
    static constexpr int kCommandBufferSize = 1024;
    // How long a stopping worker waits for OpenVPN to close the socket.
    static constexpr int kDrainMs = 5000;

    OpenVPNConnectorQt(Parameters params, QObject* parent = nullptr);
    // Asks a running worker to stop and waits for it.
    ~OpenVPNConnectorQt() override;

    // Never waits: a run that is still going is asked to stop, and the new
    // one starts once it has ended (its late signals are not delivered).
    void connect(const QString& configFile, const QString& login, const QString& password);
    // Takes over an OpenVPN that runs already: managementSocket is its
    // management connection, handed over by the process of this user that
    // started it (OpenVPN would quit were that connection closed). The same
    // dialogue, without starting anything; connected() comes at once when
    // its tunnel is up. The connector owns the socket from here; one that is
    // not root's OpenVPN ends as error(ErrorManagementUnreachable).
    void attach(int managementSocket, const QString& login, const QString& password);
    void disconnect();
    // No run going and none waiting to start.
    bool isIdle() const { return !isRunning() && !restartPending; }
    // Has OpenVPN start the connection again at once, for a tunnel whose
    // outer network changed. A hard restart (SIGHUP on the management port):
    // with a full tunnel the route that keeps the server outside it went with
    // the old address, and only a fresh start sets it again through the new
    // gateway; a SIGUSR1 restart under persist-tun keeps the old routes and
    // sends the transport into the dead tunnel. The kill switch stays as it
    // is meanwhile. While OpenVPN starts, the restart waits for its management
    // connection. Nothing happens without a run, nor while
    // OpenVPN has not yet begun the attempt that the last restart asked for:
    // that attempt uses the network as it is then, and each further request
    // would only throw it away again.
    void restart();
    static constexpr int kRestartPendingMs = 5000;

    static int getAvailablePort();
    bool connectToPipeAndRunOpenVPN();

    // The option string that follows "openvpn" on the daemon's command line.
    static QString openVpnArguments(const QString& configFile, int managementPort);
    // A management command that sets one credential, quoted and escaped the
    // way the management interface parses it; empty when the value cannot be
    // sent (a line break or zero byte in it, or no room in the command buffer).
    static QByteArray credentialCommand(const char* kind, const QString& value);

    // 0 not connected, 1 connecting or reconnecting, 2 connected.
    int connectionState() const { return state; }
    // The management connection of the run under way; -1 when none.
    int managementSocket() const;

signals:
    // Comes just before connected(): the tunnel's local address and the time
    // OpenVPN reports it came up (seconds since the epoch), from its state line.
    void tunnelUp(QString localAddress, qint64 upSince);
    void connected();
    void disconnected();
    void reconnecting();
    void stateChanged(QString state);
    void error(int err);
    // OpenVPN gave up for good; the text is its own, readable as it is.
    void fatal(QString message);
    void log(QString logStr);
    void statisticsUpdated(qulonglong bytesIn, qulonglong bytesOut);
    // A run has ended and no other waits to start.
    void idle();

protected:
    void run() override;

private:
    struct RunFlags;

    // A new run: OpenVPN started with configFile, or the one on socket.
    void begin(const QString& configFile, const QString& login, const QString& password, int socket);
    void handleLine(const QString& line, RunFlags& flags);
    // Waits for OpenVPN on the listener until `windowMs` have passed since
    // `since` started; false when it never came or the listener was cut.
    bool acceptManagement(int listener, const QElapsedTimer& since, int windowMs);
    bool heldByRoot(int fd, int ownerWaitMs);
    void refuseForeign(uid_t owner);
    static void lingerForLateOpenVpn(int listener);
    static int takeListener();
    static bool greetsAsOpenVpn(int fd, int waitMs);
    void sendOnManagement(const QByteArray& data);
    void stopWorker();
    void startRun();
    void onWorkerFinished();
    void cutStalledWorker();
    // Signals of a run that a new connect() has replaced are not delivered.
    bool live() const { return !retiring; }

    std::atomic<int> state{0};
    QString configFile;
    QString login;
    QString password;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> socketConnected{false};
    std::atomic<bool> retiring{false};
    // When the last restart was asked for (steady clock, ms), until OpenVPN
    // reports a state past RECONNECTING; 0 when none is pending.
    std::atomic<qint64> restartAskedMs{0};
    // The network changed while the management connection was forming.
    std::atomic<bool> restartWhenManaged{false};
    int managementPort = -1;
    // The management connection of a running OpenVPN to attach to; -1 to
    // start one.
    int attachSocket = -1;
    int pendingAttachSocket = -1;
    bool restartPending = false;
    QString pendingConfigFile;
    QString pendingLogin;
    QString pendingPassword;
    // Cuts the management socket of a run that does not end after its stop.
    QTimer stalledStop;
    bool foreignPortLogged = false; // worker thread only
    QSharedPointer<ServiceConnector> serviceConnector;
};
