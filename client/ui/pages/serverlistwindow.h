#pragma once

#include "serverinfo.h"

#include <QButtonGroup>
#include <QModelIndex>
#include <QSharedPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <memory>

class AbstractFilterModel;
class AbstractServerModel;
class QAbstractItemDelegate;
class SearchEdit;
class ServerTreeView;

namespace Ui {
class ServerListWindow;
}

// The page on which the user picks a server location: favourites with
// recommended servers, single-hop servers, double-hop servers grouped by
// location, and a search over all of them. Stars mark favourites, kept per
// protocol in the settings.
class ServerListWindow : public QWidget
{
    Q_OBJECT

public:
    enum ViewType
    {
        PingList = 0,
        LocationTree = 1,
        FavoritesList = 2
    };

    // Ids of onFilterChange.
    enum FilterId
    {
        FilterFavorites = 0,
        FilterStandart = 1,
        FilterDouble = 2,
        FilterSearch = 3
    };

    explicit ServerListWindow(QWidget* parent);
    ~ServerListWindow() override;

    void setServers(QVector<ServerInfo> servers, int protocolId, bool updateOnly);
    void updateView();
    void setupView(ViewType type);
    int countServerByType(ServerInfo::ServerType type) const;
    bool isDoubleServerFilterVisible() const;
    bool isStandartServerFilterVisible() const;

    ServerTreeView* view() const { return treeView; }
    SearchEdit* search() const { return searchEdit.data(); }
    AbstractServerModel* currentModel() const { return model.data(); }
    AbstractFilterModel* currentProxy() const { return proxy.data(); }
    QVector<ServerInfo> usableServers() const { return servers; }
    int protocol() const { return protocolId; }

signals:
    void serverSelected(ServerIdentif server);
    void back();

public slots:
    void selServer(QModelIndex index);
    void onBack();
    void onSearch();
    void onSearchTextChanged();
    void onFilterChange(int id);
    void onFavoriteChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    QString favoritesKey() const;
    QStringList storedFavorites() const;
    // setupView in two halves, so that the proxy's mode is set before it
    // filters and sorts the servers once.
    void createView(ViewType type);
    void attachView();
    // The view that fits the last location: double-hop for a route name,
    // else the single-hop list; the other one when that kind has no server.
    void showViewOfLastLocation();
    // Esc and Alt+Left: out of the search first, then back.
    void onBackKey();

    std::unique_ptr<Ui::ServerListWindow> ui;
    QSharedPointer<SearchEdit> searchEdit;
    int protocolId = -1;
    QSharedPointer<AbstractServerModel> model;
    QSharedPointer<AbstractFilterModel> proxy;
    QSharedPointer<QAbstractItemDelegate> delegate;
    QVector<ServerInfo> servers;
    ServerInfo selectedServer;
    QButtonGroup buttonGroup;
    ServerTreeView* treeView = nullptr;
    // The flat list is showing search results; a further keystroke only
    // changes the proxy's text instead of building a new view.
    bool searchShown = false;
    // The tab the search was opened from, to return to when it closes.
    int filterBeforeSearch = -1;
};
