#pragma once

#include <QStyledItemDelegate>

class QPainter;

// Base of the server list's row painters: every row is 40 px high and drawn
// by hand (flag, name, star, separators), so the look is the same in the
// three views.
class AbstractTreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 40;
    static constexpr int kStarOffset = 30;
    static constexpr QSize kStarSize{21, 20};

    explicit AbstractTreeItemDelegate(QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Top-left corner of the star in a cell; right to left, the star sits
    // at the cell's other end.
    static QPoint favIconPos(const QRect& cell, Qt::LayoutDirection direction = Qt::LeftToRight);
    // Whether a point lies on the star's click area.
    static bool hitsStar(const QRect& cell, const QPoint& point,
                         Qt::LayoutDirection direction = Qt::LeftToRight);

protected:
    // Column 0 is filled from the view's leading edge, so that the
    // indentation of child rows takes the row's colour too.
    void drawBackground(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const;
    void drawServerItem(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const;
    void drawFavorite(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void drawRoot(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void drawDummy(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void drawHeader(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                    const QString& icon, const QString& title) const;
    static void drawSeparator(QPainter* painter, const QPoint& from, const QPoint& to);
    static QFont textFont(const QStyleOptionViewItem& option, const QString& text);
    // Flips the favourite mark of a row with the edit role.
    static bool toggleFavorite(QAbstractItemModel* model, const QModelIndex& index);
    static bool isStarRelease(QEvent* event, const QStyleOptionViewItem& option);

    int favOffset = kStarOffset;
};
