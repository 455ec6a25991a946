#include "abstractfiltermodel.h"

#include "abstractservermodel.h"
#include "serverinfo.h"

AbstractFilterModel::AbstractFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {}

void AbstractFilterModel::setMode(bool favorite, bool isDouble)
{
    favorite_ = favorite;
    double_ = isDouble;
    invalidateFilter();
}

void AbstractFilterModel::showFavorite()
{
    setMode(true, false);
}

void AbstractFilterModel::showStandart()
{
    setMode(false, false);
}

void AbstractFilterModel::showDouble()
{
    setMode(false, true);
}

void AbstractFilterModel::showAll(const QString& text)
{
    search_ = text;
    setMode(true, true);
}

bool AbstractFilterModel::rowPasses(int sourceRow, const QModelIndex& sourceParent) const
{
    const QAbstractItemModel* source = sourceModel();
    if (!source)
        return false;
    const QModelIndex name = source->index(sourceRow, AbstractServerModel::NameColumn, sourceParent);
    if (favorite_ && !double_) {
        const QModelIndex mark = source->index(sourceRow, AbstractServerModel::FavoriteColumn, sourceParent);
        return source->data(mark, Qt::DisplayRole).toBool();
    }
    const int type = source->data(name, AbstractServerModel::TypeRole).toInt();
    if (!favorite_)
        return type == (double_ ? ServerInfo::Double : ServerInfo::Standart);
    if (type != ServerInfo::Standart && type != ServerInfo::Double)
        return false;
    return search_.isEmpty() ||
           source->data(name, Qt::DisplayRole).toString().contains(search_, Qt::CaseInsensitive);
}
