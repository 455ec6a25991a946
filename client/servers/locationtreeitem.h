#pragma once

#include "serverinfo.h"

#include <QList>

// One node of the location tree: the invisible root, a location group (a
// default record whose groupName is the label) or a server. Owns its children.
class LocationTreeItem
{
public:
    explicit LocationTreeItem(const ServerInfo& data = ServerInfo(), LocationTreeItem* parent = nullptr);
    ~LocationTreeItem();
    LocationTreeItem(const LocationTreeItem&) = delete;
    LocationTreeItem& operator=(const LocationTreeItem&) = delete;

    LocationTreeItem* child(int row) const;
    int childCount() const;
    // Position in the parent's list; 0 for the root.
    int row() const;
    LocationTreeItem* parent() const;
    ServerInfo data() const;
    const ServerInfo& record() const { return data_; }
    void setData(ServerInfo data);
    // Takes ownership and becomes the child's parent.
    void appendChild(LocationTreeItem* child);

private:
    ServerInfo data_;
    LocationTreeItem* parent_;
    QList<LocationTreeItem*> children_;
    int row_ = 0;
};
