#pragma once

// Placeholder of the connect page: the surface the main window uses, without
// any connection logic. The connect page's own implementation replaces it.

#include "serverinfo.h"

#include <QMap>
#include <QVector>
#include <QWidget>

class ConnectWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ConnectWindow(QWidget* parent);

    bool installHelper();
    bool isConnected() const;
    void setServers(const QVector<ServerInfo>& servers);
    QMap<ServerIdentif, ServerInfo> getServers() const;
    void autoConnect();
    int curentFilterId() const;
    void setAcountData(QString login, QString password);
    void loadSettings();
    void saveSettings();
    void logOut();
    void preClose();

signals:
    void serverList(int protocol);
    void connected();
    void settings();
    void account();
    void support();
    void faq();

public slots:
    void onServerChanged(ServerIdentif server);
    void onClickConnect();
    void onWirelessConnectionChanged(bool connected, QString ssid);
    void doUpdateClient(QString updatePathName);

private:
    QMap<ServerIdentif, ServerInfo> servers_;
};
