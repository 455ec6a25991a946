#pragma once

#include "abstractfiltermodel.h"

// Proxy of the flat list: names without "-" (single locations) come before
// routes such as "Paris-Oslo", each kind in alphabetical order ignoring case.
class PingSortFilterProxyModel : public AbstractFilterModel
{
    Q_OBJECT
public:
    using AbstractFilterModel::AbstractFilterModel;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};
