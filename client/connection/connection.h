// The one object through which the connect page drives the VPN: it starts and
// stops the tunnel, reports its progress as signals with readable texts, and
// passes kill-switch, timezone and update requests on to the root daemon.
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

// Carried for the page's sake; OpenVPN runs without a proxy.
struct ProxySetting
{
    bool enabled = false;
    QString host;
    int port = 0;
    QString user;
    QString password;
};

class Connection : public QObject
{
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    // Uses the given daemon client; for tests that talk to a stand-in daemon.
    Connection(QSharedPointer<ServiceConnector> serviceConnector, QObject* parent = nullptr);
    ~Connection() override;

    void connect(ServerInfo server, QString login, QString password, QString configFile, ProxySetting proxy);
    // Takes over an OpenVPN already running, by its management connection.
    void attach(int managementSocket, QString login, QString password);
    void disconnect(bool);
    // The management connection of the OpenVPN run under way; -1 when none.
    int managementSocket() const;
    // No tunnel run going or waiting to start; idle() tells when that is so.
    bool isIdle() const;
    int installHelper();

    bool firewallOn(const QString& allowIps, const QString& interfaceName, const FIREWALL_PARAMETERS& params);
    bool firewallChange(const QString& allowIps, const QString& interfaceName,
                        const FIREWALL_PARAMETERS& params);
    bool firewallOff();
    ServiceConnector::FirewallSupport firewallSupport();
    bool firewallEnableOnStart();
    bool timezonechangeSupported();
    bool timezoneChange(const bool& restore, const QString& timezoneIANA);
    bool updateInstall(const QString& updatePathName);

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
    void connectPPTP(const QString& host, const QString& login, const QString& password);
    void connectL2TP(const QString& host, const QString& login, const QString& password,
                     const QString& extra);

    quint64 previousIn = 0;
    quint64 previousOut = 0;
    quint64 currentIn = 0;
    quint64 currentOut = 0;
    QSharedPointer<ServiceConnector> serviceConnector;
    QScopedPointer<OpenVPNConnectorQt> ovpnConnector;
    // Watches the network under the tunnel while OpenVPN runs.
    OuterNetworkWatcher outerNetwork;
};
