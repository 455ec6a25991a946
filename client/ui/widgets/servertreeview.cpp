#include "servertreeview.h"

#include <QHeaderView>
#include <QMouseEvent>

ServerTreeView::ServerTreeView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("treeView"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRootIsDecorated(false);
    setItemsExpandable(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setMaximumHeight(450);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral(
        "QTreeView{font: 14px \"Arial\"; border: 0px; background-color: #fafafa;}"
        "QTreeView::item{background-color: white; border: 1px solid rgb(241,241,241);"
        " color: rgb(58, 78, 105); padding-left: 15px;}"
        "QScrollBar:vertical{width: 6px; background: transparent; margin: 0px;}"
        "QScrollBar::handle:vertical{background: #e3e3e3; min-height: 20px; border-radius: 3px;}"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical{height: 0px;}"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical{background: none;}"));
    header()->hide();
}

void ServerTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->pos());
    if (index.column() == 1 && index.parent().isValid()) {
        return;
    }
    emit selectLocationIndex(index);
}

void ServerTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    const QPersistentModelIndex index = indexAt(event->pos());
    if (!index.isValid() || !model()) {
        return;
    }
    QStyleOptionViewItem option = viewOptions();
    option.rect = visualRect(index);
    // A star change may rebuild the model, and the index with it.
    if (itemDelegate(index)->editorEvent(event, model(), option, index) && index.isValid()) {
        update(index);
    }
}
