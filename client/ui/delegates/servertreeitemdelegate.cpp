#include "servertreeitemdelegate.h"

#include <QDebug>
#include <QEvent>

void ServerTreeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const bool server = index.parent().isValid();
    switch (index.column()) {
    case 0:
        server ? drawServerItem(painter, option, index) : drawRoot(painter, option, index);
        break;
    case 1:
        server ? drawFavorite(painter, option, index) : drawDummy(painter, option, index);
        break;
    default:
        QStyledItemDelegate::paint(painter, option, index);
        break;
    }
}

bool ServerTreeItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                         const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (index.parent().isValid() && index.column() == 1 && isStarRelease(event, option)) {
        const bool on = index.data(Qt::DisplayRole).toInt() == 0;
        qDebug() << "click favorite button" << index.sibling(index.row(), 0).data().toString()
                 << (on ? "true" : "false");
        toggleFavorite(model, index);
        event->ignore();
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
