#include "favoritesservermodel.h"

#include <algorithm>

const QString FavoritesServerModel::FavoritesMarker = QStringLiteral("<*>");
const QString FavoritesServerModel::BestsMarker = QStringLiteral("<=>");

namespace {

ServerInfo markerRow(const QString& name, bool favorite)
{
    ServerInfo row;
    row.name = name;
    row.favorite = favorite;
    row.type = static_cast<ServerInfo::ServerType>(0);
    return row;
}

void appendFastest(QVector<ServerInfo>& rows, const QVector<ServerInfo>& servers, ServerInfo::ServerType type)
{
    QVector<ServerInfo> ofType;
    for (const ServerInfo& server : servers) {
        if (server.type == type)
            ofType.append(server);
    }
    // Stable, so equal pings keep the list's order and the view does not jump.
    std::stable_sort(ofType.begin(), ofType.end(),
                     [](const ServerInfo& a, const ServerInfo& b) { return a.ping < b.ping; });
    for (int i = 0; i < ofType.size() && i < FavoritesServerModel::kBestCount; ++i)
        rows.append(ofType[i]);
}

} // namespace

bool FavoritesServerModel::isMarker(const ServerInfo& row)
{
    return row.name == FavoritesMarker || row.name == BestsMarker;
}

void FavoritesServerModel::setServers(QVector<ServerInfo> servers)
{
    beginResetModel();
    rows_.clear();
    QVector<ServerInfo> favorites;
    for (const ServerInfo& server : servers) {
        if (server.favorite)
            favorites.append(server);
    }
    if (!favorites.isEmpty()) {
        rows_.append(markerRow(FavoritesMarker, true));
        rows_ += favorites;
    }
    rows_.append(markerRow(BestsMarker, false));
    appendFastest(rows_, servers, ServerInfo::Standart);
    appendFastest(rows_, servers, ServerInfo::Double);
    endResetModel();
}

QList<ServerInfo> FavoritesServerModel::getFavoriteLocation()
{
    QList<ServerInfo> favorites;
    for (const ServerInfo& row : rows_) {
        if (row.favorite)
            favorites.append(row);
    }
    return favorites;
}

ServerInfo FavoritesServerModel::locationByIndex(QModelIndex const& index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= rows_.size())
        return ServerInfo();
    return rows_[index.row()];
}

QModelIndex FavoritesServerModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rows_.size() || column < 0 || column >= ColumnCount)
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex FavoritesServerModel::parent(const QModelIndex& child) const
{
    Q_UNUSED(child);
    return QModelIndex();
}

int FavoritesServerModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

QVariant FavoritesServerModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    const ServerInfo& row = rows_[index.row()];
    if (role == NotSelectableRole)
        return index.column() == NameColumn ? QVariant(isMarker(row)) : QVariant();
    return serverData(row, index.column(), role);
}

bool FavoritesServerModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rows_.size() || index.column() != FavoriteColumn)
        return AbstractServerModel::setData(index, value, role);
    // The same location may stand both among the favourites and the fastest.
    const QString name = rows_[index.row()].name;
    const bool favorite = value.toBool();
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_[row].name != name)
            continue;
        rows_[row].favorite = favorite;
        const QModelIndex changed = createIndex(row, FavoriteColumn);
        emit dataChanged(changed, changed);
    }
    emit favoriteChanged();
    return true;
}

Qt::ItemFlags FavoritesServerModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
