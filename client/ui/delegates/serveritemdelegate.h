#pragma once

#include "abstracttreeitemdelegate.h"

// Rows of the flat list: flag and name, then the star.
class ServerItemDelegate : public AbstractTreeItemDelegate
{
    Q_OBJECT

public:
    using AbstractTreeItemDelegate::AbstractTreeItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
