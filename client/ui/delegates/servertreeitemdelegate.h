#pragma once

#include "abstracttreeitemdelegate.h"

// Rows of the double-hop tree: group rows with a fold arrow, and server rows
// with flag, name and star beneath them.
class ServerTreeItemDelegate : public AbstractTreeItemDelegate
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
