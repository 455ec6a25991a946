#include "serverlistwindow.h"

ServerListWindow::ServerListWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName("ServerListWindow");
    setFixedSize(340, 500);
}

void ServerListWindow::setServers(QVector<ServerInfo>, int, bool) {}

void ServerListWindow::onBack()
{
    emit back();
}
