#include "connectwindow.h"

ConnectWindow::ConnectWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName("ConnectWindow");
    setFixedSize(340, 500);
}

bool ConnectWindow::installHelper()
{
    return true;
}

bool ConnectWindow::isConnected() const
{
    return false;
}

void ConnectWindow::setServers(const QVector<ServerInfo>& servers)
{
    servers_.clear();
    for (const ServerInfo& s : servers) {
        servers_.insert(ServerIdentif(s.user, s.name), s);
    }
}

QMap<ServerIdentif, ServerInfo> ConnectWindow::getServers() const
{
    return servers_;
}

void ConnectWindow::autoConnect() {}

int ConnectWindow::curentFilterId() const
{
    return -1;
}

void ConnectWindow::setAcountData(QString, QString) {}

void ConnectWindow::loadSettings() {}

void ConnectWindow::saveSettings() {}

void ConnectWindow::logOut() {}

void ConnectWindow::preClose() {}

void ConnectWindow::onServerChanged(ServerIdentif) {}

void ConnectWindow::onClickConnect() {}

void ConnectWindow::onWirelessConnectionChanged(bool, QString) {}

void ConnectWindow::doUpdateClient(QString) {}
