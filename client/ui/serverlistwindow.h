#pragma once

// Placeholder of the server list page: the surface the main window uses. The
// server list page's own implementation replaces it.

#include "serverinfo.h"

#include <QVector>
#include <QWidget>

class ServerListWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ServerListWindow(QWidget* parent);

    void setServers(QVector<ServerInfo> servers, int protocolId, bool updateOnly);

signals:
    void serverSelected(ServerIdentif server);
    void back();
    void faq();
    void serverUpdate();

public slots:
    void onBack();
};
