#include "pingsortfilterproxymodel.h"

bool PingSortFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    return rowPasses(sourceRow, sourceParent);
}

bool PingSortFilterProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    // Other columns keep the model's order: a test that called every pair
    // "less" would break the sort's ordering contract.
    if (left.column() != 0 || right.column() != 0)
        return false;
    const QString a = left.data(Qt::DisplayRole).toString();
    const QString b = right.data(Qt::DisplayRole).toString();
    const bool aRoute = a.contains(QLatin1Char('-'));
    const bool bRoute = b.contains(QLatin1Char('-'));
    if (aRoute != bRoute)
        return bRoute;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}
