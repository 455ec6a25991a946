#pragma once

#include "abstractfiltermodel.h"

// Proxy of the favourites view: shows every row in the model's own order,
// whatever mode is asked for.
class FavoritesSortFilterProxyModel : public AbstractFilterModel
{
    Q_OBJECT
public:
    using AbstractFilterModel::AbstractFilterModel;

    void showFavorite() override {}
    void showStandart() override {}
    void showDouble() override {}
    void showAll(const QString&) override {}

protected:
    bool filterAcceptsRow(int, const QModelIndex&) const override { return true; }
    bool lessThan(const QModelIndex&, const QModelIndex&) const override { return false; }
};
