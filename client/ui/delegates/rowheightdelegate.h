#pragma once

#include <QItemDelegate>

// Gives the settings page's combo-box lists rows of a comfortable height.
class RowHeightDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    using QItemDelegate::QItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return QSize(0, 25); }
};
