#include "abstractservermodel.h"

int AbstractServerModel::columnCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent);
    return ColumnCount;
}

QVariant AbstractServerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    Q_UNUSED(section);
    Q_UNUSED(orientation);
    Q_UNUSED(role);
    return QVariant();
}

QVariant AbstractServerModel::serverData(const ServerInfo& server, int column, int role)
{
    if (role == Qt::DisplayRole) {
        if (column == NameColumn)
            return server.name;
        if (column == FavoriteColumn)
            return server.favorite;
        return QVariant();
    }
    if (column != NameColumn)
        return QVariant();
    if (role == FlagRole)
        return server.flag;
    if (role == TypeRole)
        return int(server.type);
    if (role == PingRole)
        return server.ping;
    return QVariant();
}
