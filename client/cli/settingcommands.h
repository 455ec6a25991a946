#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <optional>

class CliOutput;

// The connection options the window's settings page offers, by short names:
// protocol, killswitch, lan, ipv6-block, timezone, autoconnect.
class SettingCommands
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    struct Setting
    {
        const char* name;
        const QString* key;
        bool isProtocol;
        bool fullAccountOnly;
    };

    explicit SettingCommands(const CliOutput& out) : out_(out) {}

    int set(const QString& name, const QString& value);
    int get(const QString& name);

    static const Setting* find(const QString& name);
    // The value to store for a text the user typed, or nothing when the text
    // does not fit the setting.
    static std::optional<QVariant> parse(const Setting& setting, const QString& text);
    // Every setting as it is stored now, as JSON and as text.
    static QJsonObject current();
    static QString display(const Setting& setting);

private:
    const CliOutput& out_;
};
