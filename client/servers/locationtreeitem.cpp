#include "locationtreeitem.h"

LocationTreeItem::LocationTreeItem(const ServerInfo& data, LocationTreeItem* parent)
    : data_(data), parent_(parent)
{
}

LocationTreeItem::~LocationTreeItem()
{
    qDeleteAll(children_);
}

LocationTreeItem* LocationTreeItem::child(int row) const
{
    return row >= 0 && row < children_.size() ? children_[row] : nullptr;
}

int LocationTreeItem::childCount() const
{
    return children_.size();
}

int LocationTreeItem::row() const
{
    return parent_ ? row_ : 0;
}

LocationTreeItem* LocationTreeItem::parent() const
{
    return parent_;
}

ServerInfo LocationTreeItem::data() const
{
    return data_;
}

void LocationTreeItem::setData(ServerInfo data)
{
    data_ = data;
}

void LocationTreeItem::appendChild(LocationTreeItem* child)
{
    // Children are only ever appended, so the position stays valid.
    child->parent_ = this;
    child->row_ = children_.size();
    children_.append(child);
}
