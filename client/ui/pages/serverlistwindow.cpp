#include "serverlistwindow.h"

#include "backkeys.h"
#include "favoriteserveritemdelegate.h"
#include "favoritesservermodel.h"
#include "favoritessortfilterproxymodel.h"
#include "localsettings.h"
#include "mirroredicon.h"
#include "pingsortfilterproxymodel.h"
#include "searchedit.h"
#include "serveritemdelegate.h"
#include "serverpingmodel.h"
#include "servertreeitemdelegate.h"
#include "servertreemodel.h"
#include "servertreeview.h"
#include "treepingsortfilterproxymodel.h"
#include "ui_serverlistwindow.h"
#include "utils.h"

#include <QDebug>
#include <QEvent>
#include <QHeaderView>
#include <QSet>

ServerListWindow::ServerListWindow(QWidget* parent) : QWidget(parent), ui(new Ui::ServerListWindow)
{
    ui->setupUi(this);
    new MirroredIcon(ui->pbBack);

    treeView = new ServerTreeView(this);
    treeView->header()->hide();
    treeView->setColumnWidth(0, 160);
    treeView->setColumnWidth(1, 70);
    ui->verticalLayout->insertWidget(0, treeView, 1);

    buttonGroup.addButton(ui->pbFavorites, FilterFavorites);
    buttonGroup.addButton(ui->pbStandart, FilterStandart);
    buttonGroup.addButton(ui->pbDouble, FilterDouble);
    // The buttons are unchecked by hand when the search takes over.
    buttonGroup.setExclusive(false);
    connect(&buttonGroup, &QButtonGroup::idClicked, this, &ServerListWindow::onFilterChange);

    searchEdit.reset(new SearchEdit(ui->sectionWithButtons));
    searchEdit->hide();
    connect(searchEdit.data(), &QLineEdit::textChanged, this, &ServerListWindow::onSearchTextChanged);
    connect(ui->pbSearch, &QPushButton::clicked, this, &ServerListWindow::onSearch);
    connect(ui->pbBack, &QPushButton::clicked, this, &ServerListWindow::onBack);
    connect(treeView, &ServerTreeView::selectLocationIndex, this, &ServerListWindow::selServer);
    connect(new BackKeys(this), &BackKeys::activated, this, &ServerListWindow::onBackKey);
}

ServerListWindow::~ServerListWindow()
{
    // The view goes first: it still points at the model, proxy and delegate.
    delete treeView;
    treeView = nullptr;
    searchEdit.reset();
}

QString ServerListWindow::favoritesKey() const
{
    switch (protocolId) {
    case PROTOCOL_OPENVPN_UDP:
        return Keys::FavoriteServersUdp;
    case PROTOCOL_OPENVPN_TCP:
        return Keys::FavoriteServersTcp;
    default:
        return Keys::FavoriteServersSsl;
    }
}

QStringList ServerListWindow::storedFavorites() const
{
    // A reset store holds the empty text here, which reads as one empty entry.
    QStringList list = LocalSettings::instance()->value(favoritesKey()).toStringList();
    list.removeAll(QString());
    return list;
}

void ServerListWindow::setServers(QVector<ServerInfo> incoming, int newProtocolId, bool updateOnly)
{
    qDebug() << "ServerListWindow::setServers proto id:" << newProtocolId;
    if (newProtocolId != -1) {
        protocolId = newProtocolId;
    }
    const QStringList favorites = storedFavorites();
    // Looked up once per server, so a set rather than the list.
    const QSet<QString> favoriteSet(favorites.begin(), favorites.end());

    servers.clear();
    servers.reserve(incoming.size());
    QSet<QString> users;
    int favoriteCount = 0;
    for (const ServerInfo& server : qAsConst(incoming)) {
        if (!server.offersProtocol(protocolId)) {
            continue;
        }
        users.insert(server.user);
        servers.append(server);
        if (favoriteSet.contains(QStringLiteral("%1::%2").arg(server.user, server.name))) {
            servers.last().favorite = true;
            ++favoriteCount;
        }
    }
    qDebug() << "ServerListWindow::setServers count:" << servers.size();
    qDebug() << "list: " << incoming.size();
    qDebug() << "user: " << users.size();

    if (updateOnly) {
        updateView();
        return;
    }
    if (favoriteCount > 0) {
        onFilterChange(FilterFavorites);
    } else {
        showViewOfLastLocation();
    }
}

void ServerListWindow::showViewOfLastLocation()
{
    const ServerIdentif last =
        identifFromSettings(LocalSettings::instance()->value(Keys::LastLocation).toString());
    const QString name = last.second;
    if (name.contains('-')) {
        onFilterChange(isDoubleServerFilterVisible() ? FilterDouble : FilterStandart);
    } else {
        onFilterChange(isStandartServerFilterVisible() ? FilterStandart : FilterDouble);
    }
}

int ServerListWindow::countServerByType(ServerInfo::ServerType type) const
{
    if (type != ServerInfo::Standart && type != ServerInfo::Double) {
        return 0;
    }
    int count = 0;
    for (const ServerInfo& server : servers) {
        if (server.type == type) {
            ++count;
        }
    }
    return count;
}

bool ServerListWindow::isDoubleServerFilterVisible() const
{
    return countServerByType(ServerInfo::Double) > 0;
}

bool ServerListWindow::isStandartServerFilterVisible() const
{
    return countServerByType(ServerInfo::Standart) > 0;
}

void ServerListWindow::setupView(ViewType type)
{
    createView(type);
    attachView();
}

void ServerListWindow::createView(ViewType type)
{
    searchShown = false;
    switch (type) {
    case PingList:
        model.reset(new ServerPingModel());
        delegate.reset(new ServerItemDelegate());
        proxy.reset(new PingSortFilterProxyModel());
        break;
    case LocationTree:
        model.reset(new ServerTreeModel());
        delegate.reset(new ServerTreeItemDelegate());
        proxy.reset(new TreePingSortFilterProxyModel());
        break;
    case FavoritesList:
        model.reset(new FavoritesServerModel());
        delegate.reset(new FavoriteServerItemDelegate());
        proxy.reset(new FavoritesSortFilterProxyModel());
        break;
    }
    treeView->setItemDelegate(delegate.data());

    // favoriteChanged() is declared by each model class, not by the base.
    connect(model.data(), SIGNAL(favoriteChanged()), this, SLOT(onFavoriteChanged()));
    model->setServers(servers);

    ui->pbFavorites->show();
    ui->pbDouble->setVisible(isDoubleServerFilterVisible());
    ui->pbStandart->setVisible(isStandartServerFilterVisible());
}

void ServerListWindow::attachView()
{
    proxy->setSourceModel(model.data());
    treeView->setModel(proxy.data());
    // Ascending from the start: enabling sorting sorts by the indicator.
    treeView->header()->setSortIndicator(0, Qt::AscendingOrder);
    treeView->setSortingEnabled(true);
    treeView->sortByColumn(0, Qt::AscendingOrder);
    treeView->setColumnWidth(0, 260);
    treeView->setColumnWidth(1, 60);
}

void ServerListWindow::onFilterChange(int id)
{
    if (id == FilterSearch && !searchShown) {
        filterBeforeSearch = -1;
        for (int tab : {FilterFavorites, FilterStandart, FilterDouble}) {
            if (buttonGroup.button(tab)->isChecked()) {
                filterBeforeSearch = tab;
            }
        }
    }
    for (QPushButton* button : {ui->pbFavorites, ui->pbStandart, ui->pbDouble, ui->pbSearch}) {
        button->setChecked(false);
    }
    searchEdit->hide();
    const bool keepSearchView = id == FilterSearch && searchShown && proxy;
    if (id >= FilterFavorites && id <= FilterSearch) {
        searchShown = false;
    }

    switch (id) {
    case FilterFavorites:
        createView(FavoritesList);
        proxy->showFavorite();
        attachView();
        ui->pbFavorites->setChecked(true);
        treeView->expandAll();
        break;
    case FilterStandart:
        createView(PingList);
        proxy->showStandart();
        attachView();
        ui->pbStandart->setChecked(true);
        treeView->collapseAll();
        break;
    case FilterDouble:
        createView(LocationTree);
        proxy->showDouble();
        attachView();
        ui->pbDouble->setChecked(true);
        treeView->collapseAll();
        break;
    case FilterSearch:
        if (!keepSearchView) {
            createView(PingList);
        }
        ui->pbFavorites->hide();
        ui->pbStandart->hide();
        ui->pbDouble->hide();
        proxy->showAll(searchEdit->text());
        if (!keepSearchView) {
            attachView();
        }
        treeView->collapseAll();
        ui->pbSearch->setChecked(true);
        searchEdit->show();
        searchEdit->setFocus();
        searchShown = true;
        break;
    default:
        break;
    }
    const bool empty = !proxy || proxy->rowCount() == 0;
    treeView->setVisible(!empty);
    ui->lbNoMatch->setVisible(empty && searchShown);
}

void ServerListWindow::onSearchTextChanged()
{
    onFilterChange(FilterSearch);
}

void ServerListWindow::onSearch()
{
    if (ui->pbSearch->isChecked()) {
        onFilterChange(FilterSearch);
        return;
    }
    ui->pbSearch->setChecked(false);
    // Back to the tab the search was opened from, while it still has servers.
    const bool tabShown = filterBeforeSearch == FilterFavorites ||
                          (filterBeforeSearch == FilterStandart && isStandartServerFilterVisible()) ||
                          (filterBeforeSearch == FilterDouble && isDoubleServerFilterVisible());
    if (tabShown) {
        onFilterChange(filterBeforeSearch);
        return;
    }
    // Leaving the search always brings the filter buttons back, also for a
    // new user with neither favourites nor a last location.
    if (!storedFavorites().isEmpty()) {
        onFilterChange(FilterFavorites);
    } else {
        showViewOfLastLocation();
    }
}

void ServerListWindow::selServer(QModelIndex index)
{
    if (!index.isValid() || !proxy || !model) {
        return;
    }
    selectedServer = model->locationByIndex(proxy->mapToSource(index));
    if (selectedServer.name.isEmpty()) {
        if (!index.parent().isValid()) {
            // A location group of the tree: fold it open or shut.
            const QModelIndex group = index.sibling(index.row(), 0);
            treeView->setExpanded(group, !treeView->isExpanded(group));
            return;
        }
    }
    if (index.column() == 1) {
        return;
    }
    if (index.sibling(index.row(), 0).data(Qt::UserRole + 2).toBool()) {
        return;
    }
    qDebug() << "ServerListWindow::selServer" << selectedServer.toLogString();
    emit serverSelected(ServerIdentif(selectedServer.user, selectedServer.name));
}

void ServerListWindow::onBack()
{
    emit back();
}

void ServerListWindow::onBackKey()
{
    if (ui->pbSearch->isChecked()) {
        ui->pbSearch->setChecked(false);
        onSearch();
        return;
    }
    onBack();
}

void ServerListWindow::onFavoriteChanged()
{
    for (ServerInfo& server : servers) {
        server.favorite = false;
    }
    QStringList favorites;
    QSet<QString> names;
    for (const ServerInfo& favorite : model->getFavoriteLocation()) {
        favorites.append(identifToSettings(ServerIdentif(favorite.user, favorite.name)));
        qDebug() << "Fav: " << favorite.toLogString();
        names.insert(favorite.name);
    }
    for (ServerInfo& server : servers) {
        if (names.contains(server.name)) {
            server.favorite = true;
        }
    }
    LocalSettings::instance()->setValue(favoritesKey(), favorites);
    if (ui->pbFavorites->isChecked()) {
        updateView();
    }
}

void ServerListWindow::updateView()
{
    if (!model || !proxy) {
        return;
    }
    // A refresh rebuilds the model; the groups the user opened stay open.
    QSet<QString> open;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        const QModelIndex group = proxy->index(row, 0);
        if (treeView->isExpanded(group)) {
            open.insert(group.data(Qt::DisplayRole).toString());
        }
    }
    model->setServers(servers);
    for (int row = 0; row < proxy->rowCount(); ++row) {
        const QModelIndex group = proxy->index(row, 0);
        if (open.contains(group.data(Qt::DisplayRole).toString())) {
            treeView->expand(group);
        }
    }
}

void ServerListWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QWidget::changeEvent(event);
}
