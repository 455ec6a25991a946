#include "abstracttreeitemdelegate.h"

#include "constants.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace {

const QColor kBackground(250, 250, 250);
const QColor kBackgroundHover(242, 242, 242);
const QColor kSeparator(204, 204, 204);

void drawImage(QPainter* painter, const QRect& target, const QString& path)
{
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer(path).render(painter, target);
    } else {
        painter->drawPixmap(target, QPixmap(path));
    }
}

} // namespace

AbstractTreeItemDelegate::AbstractTreeItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize AbstractTreeItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(0, kRowHeight);
}

QPoint AbstractTreeItemDelegate::favIconPos(const QRect& cell)
{
    return QPoint(cell.right() - kStarOffset, cell.center().y() - 10);
}

bool AbstractTreeItemDelegate::hitsStar(const QRect& cell, const QPoint& point)
{
    const QPoint star = favIconPos(cell);
    const QRect area(QPoint(star.x() - 5, star.y() - 5), QPoint(star.x() + 23, star.y() + 23));
    return area.contains(point);
}

void AbstractTreeItemDelegate::drawBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    QRect r = option.rect;
    if (index.column() == 0) {
        r.setLeft(0);
    }
    r.setBottom(r.bottom() - 1);
    const bool hot = option.state & (QStyle::State_MouseOver | QStyle::State_Selected);
    painter->fillRect(r, hot ? kBackgroundHover : kBackground);
}

void AbstractTreeItemDelegate::drawSeparator(QPainter* painter, const QPoint& from, const QPoint& to)
{
    QPen pen(kSeparator);
    pen.setCosmetic(true);
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::BevelJoin);
    painter->setPen(pen);
    painter->drawLine(from, to);
}

QFont AbstractTreeItemDelegate::textFont(const QStyleOptionViewItem& option)
{
    QFont font = option.font;
    font.setPixelSize(13);
    font.setWeight(QFont::ExtraLight);
    return font;
}

void AbstractTreeItemDelegate::drawServerItem(QPainter* painter, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);

    const QString code = index.data(Qt::UserRole).toString().toUpper();
    QString flag = Constants::FlagResource.arg(code);
    if (code.isEmpty() || !QFile::exists(flag)) {
        flag = Constants::FlagResource.arg(QStringLiteral("GENERIC"));
    }
    painter->drawPixmap(QRect(10, r.center().y() - 13, 24, 24), QPixmap(flag));

    const QFont font = textFont(option);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QFontMetrics metrics(font);
    const int top = r.center().y() - metrics.height() / 2 - 2;
    const QRect textRect(44, top, qMax(0, r.right() - 44), metrics.height() + 4);
    painter->drawText(
        textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textRect.width()));

    drawSeparator(painter, QPoint(44, r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawFavorite(QPainter* painter, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);
    const bool on = index.data(Qt::DisplayRole).toInt() != 0;
    drawImage(painter, QRect(favIconPos(r), kStarSize),
              on ? QStringLiteral(":/resources/star-full.svg")
                 : QStringLiteral(":/resources/star-empty.svg"));
    drawSeparator(painter, QPoint(r.left(), r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawRoot(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);
    const QFont font = textFont(option);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QString text = tr("Double %1").arg(index.data(Qt::DisplayRole).toString());
    painter->drawText(QRect(10, r.top(), qMax(0, r.right() - 10), r.height()),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    drawSeparator(painter, QPoint(0, r.top() - 1), QPoint(r.right(), r.top() - 1));
    drawSeparator(painter, QPoint(0, r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawDummy(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);
    drawImage(painter, QRect(favIconPos(r) + QPoint(0, 4), QSize(21, 12)),
              QStringLiteral(":/resources/down.svg"));
    drawSeparator(painter, QPoint(r.left(), r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index, const QString& icon,
                                          const QString& title) const
{
    painter->save();
    QRect r = option.rect;
    if (index.column() == 0) {
        r.setLeft(0);
    }
    r.setBottom(r.bottom() - 1);
    painter->fillRect(r, kBackgroundHover);
    if (index.column() == 0) {
        // The title is centred across the whole row, so only the first
        // column draws it.
        const QFont font = textFont(option);
        const QFontMetrics metrics(font);
        const int rowWidth = option.widget ? option.widget->width() : r.width();
        const int titleWidth = metrics.horizontalAdvance(title);
        const int x = rowWidth / 2 + 12 - titleWidth / 2;
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(QRect(x, r.top(), titleWidth + 2, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          title);
        drawImage(painter, QRect(QPoint(x - 28, r.center().y() - 10), kStarSize), icon);
        drawSeparator(painter, QPoint(44, option.rect.bottom()), QPoint(rowWidth, option.rect.bottom()));
    }
    painter->restore();
}

bool AbstractTreeItemDelegate::isStarRelease(QEvent* event, const QStyleOptionViewItem& option)
{
    if (event->type() != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return hitsStar(option.rect, mouse->pos());
}

bool AbstractTreeItemDelegate::toggleFavorite(QAbstractItemModel* model, const QModelIndex& index)
{
    const int now = index.data(Qt::DisplayRole).toInt();
    return model->setData(index, now == 0 ? 1 : 0, Qt::EditRole);
}
