#pragma once

#include "serveritemdelegate.h"

// Rows of the favourites view: the two section headers ("<*>" favourites,
// "<=>" recommended) and server rows as in the flat list.
class FavoriteServerItemDelegate : public ServerItemDelegate
{
    Q_OBJECT

public:
    using ServerItemDelegate::ServerItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    static bool isHeaderRow(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void drawFavoritesHeader(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const;
    void drawBestsHeader(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const;
};
