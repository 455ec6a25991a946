#pragma once

#include "abstractfiltermodel.h"

// Proxy of the location tree: a group is shown when one of its servers passes.
class TreePingSortFilterProxyModel : public AbstractFilterModel
{
    Q_OBJECT
public:
    using AbstractFilterModel::AbstractFilterModel;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool anyChildPasses(const QModelIndex& sourceIndex) const;
};
