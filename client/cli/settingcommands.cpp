#include "settingcommands.h"

#include "clioutput.h"
#include "controlprotocol.h"
#include "enginelink.h"
#include "localsettings.h"
#include "utils.h"

namespace {

const SettingCommands::Setting kSettings[] = {
    {"protocol", &Keys::OvpnProtocol, true, false},    {"killswitch", &Keys::KillConnect, false, true},
    {"lan", &Keys::AllowLocalDevices, false, true},    {"ipv6-block", &Keys::IPv6LeakProtect, false, false},
    {"timezone", &Keys::ChangeTimezone, false, false}, {"autoconnect", &Keys::ConnectOnStart, false, false},
};

QString protocolLabel()
{
    const QString label = LocalSettings::instance()->value(Keys::OvpnProtocol).toString();
    return getVpnProtocolByLabel(label).type == PROTOCOL_NONE ? QStringLiteral("tcp") : label;
}

} // namespace

const SettingCommands::Setting* SettingCommands::find(const QString& name)
{
    for (const Setting& setting : kSettings) {
        if (name == QLatin1String(setting.name)) {
            return &setting;
        }
    }
    return nullptr;
}

std::optional<QVariant> SettingCommands::parse(const Setting& setting, const QString& text)
{
    if (setting.isProtocol) {
        // Case-sensitive, as the stored labels are.
        if (getVpnProtocolByLabel(text).type == PROTOCOL_NONE) {
            return std::nullopt;
        }
        return QVariant(text);
    }
    if (text == QLatin1String("on")) {
        return QVariant(true);
    }
    if (text == QLatin1String("off")) {
        return QVariant(false);
    }
    return std::nullopt;
}

QString SettingCommands::display(const Setting& setting)
{
    if (setting.isProtocol) {
        return protocolLabel();
    }
    return LocalSettings::instance()->value(*setting.key).toBool() ? QStringLiteral("on")
                                                                   : QStringLiteral("off");
}

QJsonObject SettingCommands::current()
{
    QJsonObject object;
    for (const Setting& setting : kSettings) {
        if (setting.isProtocol) {
            object.insert(QLatin1String(setting.name), protocolLabel());
        } else {
            object.insert(QLatin1String(setting.name),
                          LocalSettings::instance()->value(*setting.key).toBool());
        }
    }
    return object;
}

int SettingCommands::set(const QString& name, const QString& value)
{
    const Setting* setting = find(name);
    if (!setting) {
        return out_.error(ControlProtocol::Usage, tr("Unknown setting %1.").arg(name));
    }
    const std::optional<QVariant> parsed = parse(*setting, value);
    if (!parsed) {
        return out_.error(ControlProtocol::Usage, setting->isProtocol
                                                      ? tr("The protocol is udp, tcp or stealth.")
                                                      : tr("%1 is on or off.").arg(name));
    }
    auto settings = LocalSettings::instance();
    if (setting->fullAccountOnly && parsed->toBool() && settings->isLiteVersion()) {
        return out_.error(ControlProtocol::Failed, tr("%1 needs a full subscription.").arg(name));
    }
    settings->setValue(*setting->key, *parsed);
    settings->sync();
    // A running engine applies it at once (the kill switch, for one).
    QString error;
    if (EngineLink::running() &&
        !EngineLink::call({{ControlProtocol::CommandField, ControlProtocol::SettingsChanged}}, 10000,
                          &error)) {
        out_.error(ControlProtocol::Failed,
                   tr("Saved, but the running connection did not take it: %1").arg(error));
    }
    if (out_.json()) {
        out_.document(current());
    } else {
        out_.line(QStringLiteral("%1 %2").arg(name, display(*setting)));
    }
    return ControlProtocol::Ok;
}

int SettingCommands::get(const QString& name)
{
    if (!name.isEmpty()) {
        const Setting* setting = find(name);
        if (!setting) {
            return out_.error(ControlProtocol::Usage, tr("Unknown setting %1.").arg(name));
        }
        if (out_.json()) {
            out_.document({{name, current().value(name)}});
        } else {
            out_.line(display(*setting));
        }
        return ControlProtocol::Ok;
    }
    if (out_.json()) {
        out_.document(current());
        return ControlProtocol::Ok;
    }
    QList<QStringList> rows;
    for (const Setting& setting : kSettings) {
        rows.append({QLatin1String(setting.name), display(setting)});
    }
    out_.table(rows);
    return ControlProtocol::Ok;
}
