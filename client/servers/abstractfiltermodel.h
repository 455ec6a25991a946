#pragma once

#include <QSortFilterProxyModel>
#include <QString>

// Base of the server list proxies: a mode of two flags and a search text.
//   favorite only  -> rows marked as favourite
//   neither        -> single-hop rows
//   double only    -> double-hop rows
//   both (search)  -> every server whose name contains the search text, ignoring case
class AbstractFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit AbstractFilterModel(QObject* parent = nullptr);

    virtual void showFavorite();
    virtual void showStandart();
    virtual void showDouble();
    virtual void showAll(const QString& text);

    bool favoriteMode() const { return favorite_; }
    bool doubleMode() const { return double_; }
    QString searchText() const { return search_; }

protected:
    // The row test of the current mode for one source row.
    bool rowPasses(int sourceRow, const QModelIndex& sourceParent) const;

private:
    void setMode(bool favorite, bool isDouble);

    bool favorite_ = false;
    bool double_ = false;
    QString search_;
};
