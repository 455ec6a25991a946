#pragma once

#include "abstractservermodel.h"

#include <QMap>
#include <memory>

class LocationTreeItem;

// Servers grouped by location: the part of the name before the first "-"
// names the group, so "Paris-Oslo" sits under "Paris" and "Rome" forms its own group.
class ServerTreeModel : public AbstractServerModel
{
    Q_OBJECT
public:
    explicit ServerTreeModel(QObject* parent = nullptr);
    ~ServerTreeModel() override;

    void setServers(QVector<ServerInfo> servers) override;
    QList<ServerInfo> getFavoriteLocation() override;
    ServerInfo locationByIndex(QModelIndex const& index) const override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static QString groupLabel(const QString& name);

signals:
    void favoriteChanged();

private:
    LocationTreeItem* itemOf(const QModelIndex& index) const;

    std::unique_ptr<LocationTreeItem> root_;
    QMap<ServerIdentif, ServerInfo> servers_;
};
