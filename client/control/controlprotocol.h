#pragma once

#include <QString>

// The per-user control dialogue between kestrova-cli and the engine (the
// window, or the command line's background session): one request per
// connection, a JSON object on one line; the engine answers with any number
// of event lines ({"event": ...}) and one final line ({"ok": ...}), then
// closes.
namespace ControlProtocol {

// Outcome codes, shared by final replies and kestrova-cli's exit status.
enum Code : int
{
    Ok = 0,
    Failed = 1,             // the action was tried and did not succeed
    Usage = 2,              // unknown command or bad arguments
    NotSignedIn = 3,        // no account data on this machine
    NotFound = 4,           // no such location, server or VPN login
    SignInRefused = 5,      // wrong credentials, no subscription, outdated client
    ServiceUnreachable = 6, // the VPN service did not answer
    DaemonMissing = 7,      // kestrovad is not running
    Busy = 8,               // another engine or the window holds what this needs
};

// Longest request line the engine reads; a request is a few short fields.
constexpr int kMaxLineBytes = 64 * 1024;
// How long a connect waits for its outcome: three attempts with their
// tear-downs.
constexpr int kConnectWaitMs = 180000;
// How long the engine waits for a connected peer's request line.
constexpr int kRequestWaitMs = 5000;

// Commands.
inline const QString Status = QStringLiteral("status");
inline const QString Connect = QStringLiteral("connect");
inline const QString Disconnect = QStringLiteral("disconnect");
inline const QString Reconnect = QStringLiteral("reconnect");
inline const QString Quit = QStringLiteral("quit");
inline const QString SettingsChanged = QStringLiteral("settings-changed");
inline const QString Handover = QStringLiteral("handover");

// Fields.
inline const QString CommandField = QStringLiteral("command");
inline const QString OkField = QStringLiteral("ok");
inline const QString CodeField = QStringLiteral("code");
inline const QString ErrorField = QStringLiteral("error");
inline const QString EventField = QStringLiteral("event");
inline const QString LocationField = QStringLiteral("location");
inline const QString HostField = QStringLiteral("host");
// A hand-over reply that carries OpenVPN's management connection.
inline const QString ManagementField = QStringLiteral("management");

} // namespace ControlProtocol
