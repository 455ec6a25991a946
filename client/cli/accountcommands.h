#pragma once

#include <QCoreApplication>
#include <QString>

class CliOutput;
class NetworkManager;

// Sign-in, sign-out and the account's VPN logins, with the same store and
// the same service calls the window uses.
class AccountCommands
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    explicit AccountCommands(const CliOutput& out) : out_(out) {}

    int login(const QString& user, const QString& password);
    int logout();
    int show();
    int use(const QString& vpnLogin);

    // The account cache, once it has been read: the VPN secrets in it wait
    // for the keyring's first answer.
    static NetworkManager* api();
    static constexpr int kSecretWaitMs = 10000;

    // Whether this machine holds a signed-in account (remembered, with the
    // account data cached).
    static bool signedIn();

private:
    // Refuses to change the account under a running engine.
    bool engineRunning() const;

    const CliOutput& out_;
};
