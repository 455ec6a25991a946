#include "servertreemodel.h"

#include "locationtreeitem.h"

#include <QHash>

ServerTreeModel::ServerTreeModel(QObject* parent)
    : AbstractServerModel(parent), root_(std::make_unique<LocationTreeItem>())
{
}

ServerTreeModel::~ServerTreeModel() = default;

QString ServerTreeModel::groupLabel(const QString& name)
{
    const int dash = name.indexOf(QLatin1Char('-'));
    return dash < 0 ? name : name.left(dash);
}

void ServerTreeModel::setServers(QVector<ServerInfo> servers)
{
    beginResetModel();
    root_ = std::make_unique<LocationTreeItem>();
    servers_.clear();

    QStringList labels;
    QHash<QString, QVector<int>> members; // label -> positions in the list
    for (int i = 0; i < servers.size(); ++i) {
        const ServerInfo& server = servers[i];
        servers_.insert(ServerIdentif(server.user, server.name), server);
        const QString label = groupLabel(server.name);
        auto it = members.find(label);
        if (it == members.end()) {
            labels.append(label);
            it = members.insert(label, {});
        }
        it->append(i);
    }
    for (const QString& label : labels) {
        ServerInfo group;
        group.groupName = label;
        auto* groupItem = new LocationTreeItem(group);
        root_->appendChild(groupItem);
        for (int i : members.value(label))
            groupItem->appendChild(new LocationTreeItem(servers[i]));
    }
    endResetModel();
}

QList<ServerInfo> ServerTreeModel::getFavoriteLocation()
{
    QList<ServerInfo> favorites;
    for (const ServerInfo& server : servers_) {
        if (server.favorite)
            favorites.append(server);
    }
    return favorites;
}

LocationTreeItem* ServerTreeModel::itemOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return root_.get();
    return static_cast<LocationTreeItem*>(index.internalPointer());
}

ServerInfo ServerTreeModel::locationByIndex(QModelIndex const& index) const
{
    if (!index.isValid() || index.model() != this)
        return ServerInfo();
    return itemOf(index)->data();
}

QModelIndex ServerTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= ColumnCount || (parent.isValid() && parent.column() != 0))
        return QModelIndex();
    LocationTreeItem* child = itemOf(parent)->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex ServerTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return QModelIndex();
    LocationTreeItem* parentItem = itemOf(child)->parent();
    if (!parentItem || parentItem == root_.get())
        return QModelIndex();
    return createIndex(parentItem->row(), 0, parentItem);
}

int ServerTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return itemOf(parent)->childCount();
}

QVariant ServerTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const LocationTreeItem* item = itemOf(index);
    const ServerInfo& record = item->record();
    const bool isGroup = item->parent() == root_.get();
    if (role == Qt::DisplayRole) {
        if (index.column() == NameColumn)
            return isGroup ? record.groupName : record.name;
        if (index.column() == FavoriteColumn && !isGroup)
            return record.favorite;
        return QVariant();
    }
    if (index.column() != NameColumn)
        return QVariant();
    if (role == FlagRole)
        return record.flag;
    if (role == TypeRole)
        return int(record.type);
    if (role == PingRole && !isGroup)
        return record.ping;
    return QVariant();
}

bool ServerTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != FavoriteColumn || !index.parent().isValid())
        return AbstractServerModel::setData(index, value, role);
    LocationTreeItem* item = itemOf(index);
    ServerInfo record = item->data();
    record.favorite = value.toBool();
    item->setData(record);
    servers_.insert(ServerIdentif(record.user, record.name), record);
    emit favoriteChanged();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ServerTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
