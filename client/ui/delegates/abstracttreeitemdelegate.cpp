#include "abstracttreeitemdelegate.h"

#include "abstractservermodel.h"
#include "constants.h"

#include <QAbstractItemView>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

const QColor kBackground(250, 250, 250);
const QColor kBackgroundHover(242, 242, 242);
const QColor kSeparator(204, 204, 204);
const QColor kLatency(155, 155, 155);
constexpr int kLatencyGap = 8;

// The width the rows are drawn across: the view's viewport, less a scroll bar.
int rowWidth(const QStyleOptionViewItem& option, const QRect& fallback)
{
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget)) {
        return view->viewport()->width();
    }
    return fallback.right() + 1;
}

// The whole row from the edge where its first column begins: the indentation
// of child rows takes the row's look too. Right to left, that edge is the right one.
QRect firstColumnSpan(const QStyleOptionViewItem& option)
{
    QRect r = option.rect;
    if (option.direction == Qt::RightToLeft) {
        r.setRight(rowWidth(option, r) - 1);
    } else {
        r.setLeft(0);
    }
    return r;
}

// Lays out a rectangle given from the leading edge of `span`.
QRect placed(const QStyleOptionViewItem& option, const QRect& span, const QRect& logical)
{
    return QStyle::visualRect(option.direction, span, logical);
}

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

QPoint AbstractTreeItemDelegate::favIconPos(const QRect& cell, Qt::LayoutDirection direction)
{
    const QRect logical(QPoint(cell.right() - kStarOffset, cell.center().y() - 10), kStarSize);
    return QStyle::visualRect(direction, cell, logical).topLeft();
}

bool AbstractTreeItemDelegate::hitsStar(const QRect& cell, const QPoint& point, Qt::LayoutDirection direction)
{
    const QPoint star = favIconPos(cell, direction);
    const QRect area(QPoint(star.x() - 5, star.y() - 5), QPoint(star.x() + 23, star.y() + 23));
    return area.contains(point);
}

void AbstractTreeItemDelegate::drawBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    QRect r = index.column() == 0 ? firstColumnSpan(option) : option.rect;
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

QFont AbstractTreeItemDelegate::textFont(const QStyleOptionViewItem& option, const QString& text)
{
    QFont font = option.font;
    font.setPixelSize(13);
    // No extra-light face carries the scripts that join their letters: the
    // fallback draws them apart, so those texts keep the regular weight.
    const bool joining = std::any_of(text.begin(), text.end(), [](QChar c) {
        switch (c.script()) {
        case QChar::Script_Arabic:
        case QChar::Script_Syriac:
        case QChar::Script_Nko:
        case QChar::Script_Mongolian:
        case QChar::Script_Mandaic:
            return true;
        default:
            return false;
        }
    });
    font.setWeight(joining ? QFont::Normal : QFont::ExtraLight);
    return font;
}

void AbstractTreeItemDelegate::drawServerItem(QPainter* painter, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    const QRect& r = option.rect;
    const QRect span = firstColumnSpan(option);
    painter->save();
    painter->setLayoutDirection(option.direction);
    drawBackground(painter, option, index);

    const QString code = index.data(Qt::UserRole).toString().toUpper();
    QString flag = Constants::FlagResource.arg(code);
    if (code.isEmpty() || !QFile::exists(flag)) {
        flag = Constants::FlagResource.arg(QStringLiteral("GENERIC"));
    }
    painter->drawPixmap(placed(option, span, QRect(span.left() + 10, r.center().y() - 13, 24, 24)),
                        QPixmap(flag));

    // The list is sorted by latency: show it, or a dash until it is measured.
    // The name matters more: where both do not fit (a double-hop route with a
    // wide unit), the latency first drops its unit, then steps aside, before
    // the name is cut short.
    const int ping = index.data(AbstractServerModel::PingRole).toInt();
    const QString name = index.data(Qt::DisplayRole).toString();
    const QFont font = textFont(option, name);
    const QFontMetrics metrics(font);
    const int nameWidth = metrics.horizontalAdvance(name);
    const int room = span.right() - span.left() - 44 - 2 * kLatencyGap;
    const QStringList latencies = ping > 0
                                      ? QStringList{tr("%1 ms").arg(ping), QString::number(ping), QString()}
                                      : QStringList{QStringLiteral("\u2014"), QString()};
    QString latency = latencies.first();
    for (const QString& candidate : latencies) {
        if (nameWidth <= room - QFontMetrics(textFont(option, candidate)).horizontalAdvance(candidate)) {
            latency = candidate;
            break;
        }
    }
    const QFont latencyFont = textFont(option, latency);
    const int top = r.center().y() - metrics.height() / 2 - 2;
    const int latencyWidth = latency.isEmpty() ? 0 : QFontMetrics(latencyFont).horizontalAdvance(latency);
    if (!latency.isEmpty()) {
        painter->setFont(latencyFont);
        painter->setPen(kLatency);
        const QRect latencyRect(span.right() - latencyWidth - kLatencyGap, top, latencyWidth + 1,
                                metrics.height() + 4);
        painter->drawText(placed(option, span, latencyRect),
                          QStyle::visualAlignment(option.direction, Qt::AlignRight) | Qt::AlignVCenter |
                              Qt::TextSingleLine,
                          latency);
    }
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QRect textRect(span.left() + 44, top, qMax(0, room - latencyWidth), metrics.height() + 4);
    painter->drawText(placed(option, span, textRect),
                      QStyle::visualAlignment(option.direction, Qt::AlignLeft) | Qt::AlignVCenter |
                          Qt::TextSingleLine,
                      metrics.elidedText(name, Qt::ElideRight, textRect.width()));

    const QRect line =
        placed(option, span, QRect(QPoint(span.left() + 44, r.bottom()), QPoint(span.right(), r.bottom())));
    drawSeparator(painter, line.topLeft(), line.topRight());
    painter->restore();
}

void AbstractTreeItemDelegate::drawFavorite(QPainter* painter, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);
    const bool on = index.data(Qt::DisplayRole).toInt() != 0;
    drawImage(painter, QRect(favIconPos(r, option.direction), kStarSize),
              on ? QStringLiteral(":/resources/star-full.svg")
                 : QStringLiteral(":/resources/star-empty.svg"));
    drawSeparator(painter, QPoint(r.left(), r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawRoot(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const QRect& r = option.rect;
    const QRect span = firstColumnSpan(option);
    painter->save();
    painter->setLayoutDirection(option.direction);
    drawBackground(painter, option, index);
    const QString text = tr("Double %1").arg(index.data(Qt::DisplayRole).toString());
    const QFont font = textFont(option, text);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QFontMetrics metrics(font);
    // Room up to the chevron's column, which the group's name must not run into.
    const QRect textRect(span.left() + 10, r.top(), qMax(0, span.width() - 20), r.height());
    painter->drawText(placed(option, span, textRect),
                      QStyle::visualAlignment(option.direction, Qt::AlignLeft) | Qt::AlignVCenter |
                          Qt::TextSingleLine,
                      metrics.elidedText(text, Qt::ElideRight, textRect.width()));
    drawSeparator(painter, QPoint(span.left(), r.top() - 1), QPoint(span.right(), r.top() - 1));
    drawSeparator(painter, QPoint(span.left(), r.bottom()), QPoint(span.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawDummy(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    const QRect& r = option.rect;
    painter->save();
    drawBackground(painter, option, index);
    const QRect chevron(favIconPos(r, option.direction) + QPoint(0, 4), QSize(21, 12));
    painter->save();
    if (option.state & QStyle::State_Open) {
        // An open group points its chevron up.
        const QPointF centre = QRectF(chevron).center();
        painter->translate(centre);
        painter->rotate(180);
        painter->translate(-centre);
    }
    drawImage(painter, chevron, QStringLiteral(":/resources/down.svg"));
    painter->restore();
    drawSeparator(painter, QPoint(r.left(), r.bottom()), QPoint(r.right(), r.bottom()));
    painter->restore();
}

void AbstractTreeItemDelegate::drawHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index, const QString& icon,
                                          const QString& title) const
{
    painter->save();
    painter->setLayoutDirection(option.direction);
    QRect r = index.column() == 0 ? firstColumnSpan(option) : option.rect;
    r.setBottom(r.bottom() - 1);
    painter->fillRect(r, kBackgroundHover);
    if (index.column() == 0) {
        // The title is centred across the whole row, so only the first
        // column draws it.
        const QFont font = textFont(option, title);
        const QFontMetrics metrics(font);
        const int width = rowWidth(option, r);
        const QRect row(0, r.top(), width, r.height());
        const int titleWidth = metrics.horizontalAdvance(title);
        const int x = width / 2 + 12 - titleWidth / 2;
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(placed(option, row, QRect(x, r.top(), titleWidth + 2, r.height())),
                          Qt::AlignHCenter | Qt::AlignVCenter, title);
        drawImage(painter, placed(option, row, QRect(QPoint(x - 28, r.center().y() - 10), kStarSize)), icon);
        const QRect line = placed(
            option, row, QRect(QPoint(44, option.rect.bottom()), QPoint(width - 1, option.rect.bottom())));
        drawSeparator(painter, line.topLeft(), line.topRight());
    }
    painter->restore();
}

bool AbstractTreeItemDelegate::isStarRelease(QEvent* event, const QStyleOptionViewItem& option)
{
    if (event->type() != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return hitsStar(option.rect, mouse->pos(), option.direction);
}

bool AbstractTreeItemDelegate::toggleFavorite(QAbstractItemModel* model, const QModelIndex& index)
{
    const int now = index.data(Qt::DisplayRole).toInt();
    return model->setData(index, now == 0 ? 1 : 0, Qt::EditRole);
}
