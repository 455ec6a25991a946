#pragma once

#include "serverinfo.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>
#include <optional>

class CliOutput;

// The signed-in VPN login's server locations: the list with latencies, and
// the favourites of the chosen protocol, kept where the window keeps them.
class ServerCommands
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    static constexpr int kPingWaitMs = 3000;

    explicit ServerCommands(const CliOutput& out) : out_(out) {}

    int list(const QString& text, bool favoritesOnly);
    int favorite(bool add, const QString& name);

    // The server of the chosen VPN login named `name`: an exact match first,
    // then one that differs only in letter case.
    static std::optional<ServerInfo> find(const QVector<ServerInfo>& servers, const QString& name);
    // A readable country for a flag code ("nl"), the code itself when unknown.
    static QString countryName(const QString& flag);
    static QString kindLabel(const ServerInfo& server);

private:
    static QString favoritesKey();
    static QStringList storedFavorites();

    const CliOutput& out_;
};
