// One OpenVPN run for the session: it starts and stops the tunnel and reports
// its progress as signals with readable texts. The kill switch, the timezone
// and updates talk to the root daemon on their own.
#pragma once

#include "daemonprotocol.h"
#include "outernetworkwatcher.h"
#include "serverinfo.h"
#include "serviceconnector.h"

#include <QObject>
#include <QScopedPointer>
#include <QSharedPointer>
#include <QString>

class OpenVPNConnectorQt;

class Connection : public QObject
{
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    // Uses the given daemon client; for tests that talk to a stand-in daemon.
    Connection(QSharedPointer<ServiceConnector> serviceConnector, QObject* parent = nullptr);
    ~Connection() override;

    // Starts OpenVPN with the profile for the OpenVPN transports (stealth is
    // OpenVPN over TCP to stunnel); any other protocol value starts nothing.
    void connect(ServerInfo server, QString login, QString password, QString configFile);
    // Takes over an OpenVPN already running, by its management connection.
    void attach(int managementSocket, QString login, QString password);
    void disconnect(bool);
    // The management connection of the OpenVPN run under way; -1 when none.
    int managementSocket() const;
    // No tunnel run going or waiting to start; idle() tells when that is so.
    bool isIdle() const;
    // The text that error(QString) carries for a management client error code.
    static QString errorText(int code);

signals:
    // Just before connected(): what OpenVPN reports about the tunnel.
    void tunnelUp(QString localAddress, qint64 upSince);
    void connected();
    // OpenVPN restarts the tunnel (ping-restart, TLS errors); nothing passes
    // until connected() again.
    void reconnecting();
    void disconnected(bool errorDisconnect);
    void error(QString error);
    void statisticsChanged(double download, double upload, double totalDownload, double totalUpload);
    void logUpdate(QString);
    void idle();

private slots:
    void onOvpnConnected();
    void onOvpnDisconnected();
    void onOvpnError(int code);
    void onStatisticsUpdate(quint64 bytesIn, quint64 bytesOut);
    void onOvpnLogUpdate(QString line);

private:
    // The address family of a server's address, AF_UNSPEC for a name.
    static int serverFamily(const QString& host);

    quint64 previousIn = 0;
    quint64 previousOut = 0;
    quint64 currentIn = 0;
    quint64 currentOut = 0;
    QSharedPointer<ServiceConnector> serviceConnector;
    QScopedPointer<OpenVPNConnectorQt> ovpnConnector;
    // Watches the network under the tunnel while OpenVPN runs.
    OuterNetworkWatcher outerNetwork;
};
