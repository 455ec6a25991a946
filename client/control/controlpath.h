#pragma once

#include <QString>
#include <optional>

// Where this user's engine listens: a folder only the user can enter, in the
// user's runtime folder when there is a trustworthy one. Everything else that
// proves trust (the peer's uid) is the server's job.
class ControlPath
{
public:
    // The folder for this user, created when missing, or nothing (with the
    // reason in *error) when no folder can be trusted.
    static std::optional<QString> prepareDirectory(QString* error = nullptr);
    // The socket inside that folder.
    static std::optional<QString> socketPath(QString* error = nullptr);

    // Whether `path` is a real folder (no symbolic link) owned by `uid` that
    // nobody else may enter or write. `private0700` also demands no group or
    // other bits at all.
    static bool trustedDirectory(const QString& path, unsigned uid, bool private0700);

private:
    static std::optional<QString> ensureOwnDirectory(const QString& path, QString* error);
};
