#pragma once

#include "abstractservermodel.h"

// The favourites view: the user's favourites under a "<*>" marker row, then
// a "<=>" marker row and the three fastest single-hop and double-hop servers.
class FavoritesServerModel : public AbstractServerModel
{
    Q_OBJECT
public:
    static const QString FavoritesMarker; // "<*>"
    static const QString BestsMarker;     // "<=>"
    static constexpr int kBestCount = 3;

    using AbstractServerModel::AbstractServerModel;

    void setServers(QVector<ServerInfo> servers) override;
    // Also returns the "<*>" marker row, which carries the favourite mark.
    QList<ServerInfo> getFavoriteLocation() override;
    ServerInfo locationByIndex(QModelIndex const& index) const override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static bool isMarker(const ServerInfo& row);

signals:
    void favoriteChanged();

private:
    QVector<ServerInfo> rows_;
};
