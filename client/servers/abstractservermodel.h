#pragma once

#include "serverinfo.h"

#include <QAbstractItemModel>
#include <QList>
#include <QVector>

// Base of the server list models: two columns (name, favourite mark), no header.
class AbstractServerModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // Item data roles besides Qt's display role.
    enum Role
    {
        FlagRole = Qt::UserRole,              // column 0: flag code
        TypeRole = Qt::UserRole + 1,          // column 0: ServerInfo::ServerType as int
        NotSelectableRole = Qt::UserRole + 2, // column 0: marker rows that a click must not select
        PingRole = Qt::UserRole + 3,          // column 0: latency in ms, 0 when not measured
    };
    enum Column
    {
        NameColumn = 0,
        FavoriteColumn = 1,
        ColumnCount = 2
    };

    using QAbstractItemModel::QAbstractItemModel;

    virtual void setServers(QVector<ServerInfo> servers) = 0;
    virtual QList<ServerInfo> getFavoriteLocation() = 0;
    virtual ServerInfo locationByIndex(QModelIndex const& index) const = 0;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // The data of a server row, shared by the flat and favourites models.
    static QVariant serverData(const ServerInfo& server, int column, int role);
};
