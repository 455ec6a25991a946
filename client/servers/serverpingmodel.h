#pragma once

#include "abstractservermodel.h"

#include <QHash>

// Flat list of servers, one row per server name (the same location under
// several VPN logins is one row), in the order of the list given.
class ServerPingModel : public AbstractServerModel
{
    Q_OBJECT
public:
    using AbstractServerModel::AbstractServerModel;

    void setServers(QVector<ServerInfo> servers) override;
    QList<ServerInfo> getFavoriteLocation() override;
    ServerInfo locationByIndex(QModelIndex const& index) const override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void progressPing(float value);
    void favoriteChanged();

private:
    QVector<ServerInfo> rows_;
    QHash<QString, int> rowOfName_;
};
