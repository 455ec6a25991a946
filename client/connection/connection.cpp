#include "connection.h"

#include "openvpnconnectorqt.h"
#include "serviceconnector.h"
#include "utils.h"

#include <QHostAddress>

#include <sys/socket.h>

Connection::Connection(QObject* parent) : Connection(QSharedPointer<ServiceConnector>::create(), parent) {}

Connection::Connection(QSharedPointer<ServiceConnector> serviceConnector, QObject* parent)
    : QObject(parent), serviceConnector(serviceConnector),
      ovpnConnector(new OpenVPNConnectorQt(OpenVPNConnectorQt::Parameters{serviceConnector}, nullptr))
{
    OpenVPNConnectorQt* c = ovpnConnector.data();
    QObject::connect(c, &OpenVPNConnectorQt::tunnelUp, this, &Connection::tunnelUp);
    QObject::connect(c, &OpenVPNConnectorQt::connected, this, &Connection::onOvpnConnected);
    QObject::connect(c, &OpenVPNConnectorQt::reconnecting, this, &Connection::reconnecting);
    QObject::connect(c, &OpenVPNConnectorQt::disconnected, this, &Connection::onOvpnDisconnected);
    QObject::connect(c, &OpenVPNConnectorQt::error, this, &Connection::onOvpnError);
    QObject::connect(c, &OpenVPNConnectorQt::fatal, this, &Connection::error);
    QObject::connect(c, &OpenVPNConnectorQt::statisticsUpdated, this, &Connection::onStatisticsUpdate);
    QObject::connect(c, &OpenVPNConnectorQt::log, this, &Connection::onOvpnLogUpdate);
    QObject::connect(c, &OpenVPNConnectorQt::idle, this, &Connection::idle);
    // A transport whose network changed is dead, whatever OpenVPN has noticed
    // yet: it starts again at once rather than after its ping-restart.
    QObject::connect(&outerNetwork, &OuterNetworkWatcher::changed, c, &OpenVPNConnectorQt::restart);
}

Connection::~Connection()
{
    // The connector's own destructor waits for its thread after asking it to
    // stop, so the thread never outlives the object it runs in.
    ovpnConnector->disconnect();
    serviceConnector.reset();
    ovpnConnector.reset();
}

void Connection::connect(ServerInfo server, QString login, QString password, QString configFile)
{
    switch (server.protocol) {
    case PROTOCOL_OPENVPN_UDP:
    case PROTOCOL_OPENVPN_TCP:
        ovpnConnector->connect(configFile, login, password);
        outerNetwork.setServerFamily(serverFamily(server.ip));
        outerNetwork.start();
        break;
    default:
        break;
    }
}

int Connection::serverFamily(const QString& host)
{
    // A stealth server is reached by stunnel at the same address.
    QHostAddress address;
    if (!address.setAddress(host)) {
        return AF_UNSPEC;
    }
    return address.protocol() == QAbstractSocket::IPv6Protocol ? AF_INET6 : AF_INET;
}

void Connection::attach(int managementSocket, QString login, QString password)
{
    ovpnConnector->attach(managementSocket, login, password);
    outerNetwork.start();
}

int Connection::managementSocket() const
{
    return ovpnConnector->isIdle() ? -1 : ovpnConnector->managementSocket();
}

void Connection::disconnect(bool)
{
    outerNetwork.stop();
    ovpnConnector->disconnect();
}

bool Connection::isIdle() const
{
    return ovpnConnector->isIdle();
}

QString Connection::errorText(int code)
{
    // The user reads these in a message box and on the command line, in the
    // interface language; the English ones are the catalogues' keys.
    switch (code) {
    case 0:
        return tr("Invalid username or password");
    case 1:
        return tr("Not open openvpn socket");
    case 2:
        return tr("Can not alocate TUN");
    case 3:
        return tr("Can not connect to helper");
    case 4:
        return tr("Can not write to helper");
    default:
        return tr("Code error: %1").arg(code);
    }
}

void Connection::onOvpnConnected()
{
    emit connected();
    previousIn = previousOut = currentIn = currentOut = 0;
}

void Connection::onOvpnDisconnected()
{
    outerNetwork.stop();
    emit disconnected(false);
}

void Connection::onOvpnError(int code)
{
    emit error(errorText(code));
}

void Connection::onStatisticsUpdate(quint64 bytesIn, quint64 bytesOut)
{
    previousIn = currentIn;
    previousOut = currentOut;
    currentIn = bytesIn;
    currentOut = bytesOut;
    emit statisticsChanged(static_cast<double>(static_cast<qint64>(bytesIn - previousIn)),
                           static_cast<double>(static_cast<qint64>(bytesOut - previousOut)),
                           static_cast<double>(bytesIn), static_cast<double>(bytesOut));
}

void Connection::onOvpnLogUpdate(QString line)
{
    emit logUpdate(line);
}
