#include "serverpingmodel.h"

#include <QDebug>
#include <algorithm>

void ServerPingModel::setServers(QVector<ServerInfo> servers)
{
    beginResetModel();
    rows_.clear();
    rowOfName_.clear();
    rows_.reserve(servers.size());
    rowOfName_.reserve(servers.size());
    for (const ServerInfo& server : servers) {
        auto it = rowOfName_.constFind(server.name);
        if (it != rowOfName_.constEnd()) {
            rows_[it.value()] = server; // a later login's record replaces the earlier one
        } else {
            rowOfName_.insert(server.name, rows_.size());
            rows_.append(server);
        }
    }
    endResetModel();
    emit progressPing(0);
}

QList<ServerInfo> ServerPingModel::getFavoriteLocation()
{
    QList<ServerInfo> favorites;
    for (const ServerInfo& server : rows_) {
        if (server.favorite)
            favorites.append(server);
    }
    std::sort(favorites.begin(), favorites.end(),
              [](const ServerInfo& a, const ServerInfo& b) { return a.name < b.name; });
    return favorites;
}

ServerInfo ServerPingModel::locationByIndex(QModelIndex const& index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= rows_.size())
        return ServerInfo();
    return rows_[index.row()];
}

QModelIndex ServerPingModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rows_.size() || column < 0 || column >= ColumnCount)
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex ServerPingModel::parent(const QModelIndex& child) const
{
    Q_UNUSED(child);
    return QModelIndex();
}

int ServerPingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

QVariant ServerPingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    return serverData(rows_[index.row()], index.column(), role);
}

bool ServerPingModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rows_.size() || index.column() != FavoriteColumn)
        return AbstractServerModel::setData(index, value, role);
    ServerInfo& server = rows_[index.row()];
    server.favorite = value.toBool();
    qDebug() << "ServerPingModel::setData" << index << server.toLogString() << server.favorite;
    emit favoriteChanged();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ServerPingModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
