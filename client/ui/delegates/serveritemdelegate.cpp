#include "serveritemdelegate.h"

void ServerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    switch (index.column()) {
    case 0:
        drawServerItem(painter, option, index);
        break;
    case 1:
        drawFavorite(painter, option, index);
        break;
    default:
        QStyledItemDelegate::paint(painter, option, index);
        break;
    }
}

bool ServerItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!index.parent().isValid() && index.column() == 1 && isStarRelease(event, option)) {
        toggleFavorite(model, index);
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
