#include "treepingsortfilterproxymodel.h"

bool TreePingSortFilterProxyModel::anyChildPasses(const QModelIndex& sourceIndex) const
{
    const QAbstractItemModel* source = sourceModel();
    const int rows = source->rowCount(sourceIndex);
    for (int row = 0; row < rows; ++row) {
        if (rowPasses(row, sourceIndex) || anyChildPasses(source->index(row, 0, sourceIndex)))
            return true;
    }
    return false;
}

bool TreePingSortFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!sourceModel())
        return false;
    if (!sourceParent.isValid())
        return anyChildPasses(sourceModel()->index(sourceRow, 0, sourceParent));
    return rowPasses(sourceRow, sourceParent);
}

bool TreePingSortFilterProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (!left.isValid() || !right.isValid() || left.column() != 0 || right.column() != 0)
        return false;
    return left.data(Qt::DisplayRole)
               .toString()
               .compare(right.data(Qt::DisplayRole).toString(), Qt::CaseInsensitive) < 0;
}
