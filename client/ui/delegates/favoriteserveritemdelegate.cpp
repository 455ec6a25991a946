#include "favoriteserveritemdelegate.h"

namespace {

const QString kFavoritesMarker = QStringLiteral("<*>");
const QString kBestsMarker = QStringLiteral("<=>");

QString rowName(const QModelIndex& index)
{
    return index.sibling(index.row(), 0).data(Qt::DisplayRole).toString();
}

} // namespace

bool FavoriteServerItemDelegate::isHeaderRow(const QModelIndex& index)
{
    const QString name = rowName(index);
    return name == kFavoritesMarker || name == kBestsMarker;
}

void FavoriteServerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    const QString name = rowName(index);
    if (name == kFavoritesMarker) {
        drawFavoritesHeader(painter, option, index);
    } else if (name == kBestsMarker) {
        drawBestsHeader(painter, option, index);
    } else {
        ServerItemDelegate::paint(painter, option, index);
    }
}

void FavoriteServerItemDelegate::drawFavoritesHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                                     const QModelIndex& index) const
{
    drawHeader(painter, option, index, QStringLiteral(":/resources/star-empty-black.svg"), tr("Favorite"));
}

void FavoriteServerItemDelegate::drawBestsHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                                 const QModelIndex& index) const
{
    drawHeader(painter, option, index, QStringLiteral(":/resources/recommended-black.svg"),
               tr("Recommended"));
}

bool FavoriteServerItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                             const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (isHeaderRow(index)) {
        return false;
    }
    return ServerItemDelegate::editorEvent(event, model, option, index);
}
