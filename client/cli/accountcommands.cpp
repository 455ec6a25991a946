#include "accountcommands.h"

#include "clioutput.h"
#include "constants.h"
#include "controlprotocol.h"
#include "enginelink.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "secretstore.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

namespace {

QString expiryText(const QDateTime& when)
{
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

} // namespace

NetworkManager* AccountCommands::api()
{
    NetworkManager* manager = NetworkManager::instance();
    SecretStore* store = SecretStore::instance();
    if (!store->isLoaded()) {
        QEventLoop loop;
        store->whenLoaded(&loop, [&loop] { loop.quit(); });
        QTimer::singleShot(kSecretWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return manager;
}

bool AccountCommands::signedIn()
{
    auto settings = LocalSettings::instance();
    return settings->value(Keys::RememberUser).toBool() &&
           !settings->value(Keys::Login).toString().isEmpty() && !api()->cacheUsers().isEmpty();
}

bool AccountCommands::engineRunning() const
{
    if (!EngineLink::running()) {
        return false;
    }
    out_.error(ControlProtocol::Busy,
               tr("Kestrova is running (the window or a connection of the command line): "
                  "disconnect and close it first."));
    return true;
}

int AccountCommands::login(const QString& user, const QString& password)
{
    if (user.isEmpty() || password.isEmpty()) {
        return out_.error(ControlProtocol::Usage, tr("You must enter username and password to sign in."));
    }
    if (engineRunning()) {
        return ControlProtocol::Busy;
    }
    auto settings = LocalSettings::instance();
    NetworkManager* manager = api();
    // Another user starts from the defaults, as in the window; the
    // remembered user signing in again keeps the settings.
    if (!settings->value(Keys::RememberUser).toBool() || settings->value(Keys::Login).toString() != user) {
        settings->createDefaultSettings();
    }

    NetworkManager::ApiError code = NetworkManager::RequestFailed;
    QString text;
    QEventLoop loop;
    QObject::connect(manager, &NetworkManager::auth, &loop,
                     [&](NetworkManager::ApiError error, QString errorText) {
                         code = error;
                         text = errorText;
                         loop.quit();
                     });
    manager->authRequest(user, password);
    loop.exec();

    switch (code) {
    case NetworkManager::NoError:
    case NetworkManager::LiteAccount:
        break;
    case NetworkManager::WrongCredentials:
        return out_.error(ControlProtocol::SignInRefused, tr("Wrong Login/Password."));
    case NetworkManager::NoSubscription:
        return out_.error(
            ControlProtocol::SignInRefused,
            tr("This account has no VPN subscription. Buy one on %1").arg(Constants::siteUrl()));
    case NetworkManager::BadVersion:
        return out_.error(ControlProtocol::SignInRefused,
                          tr("Your version is outdated. Please, download new Kestrova app on %1")
                              .arg(Constants::siteUrl()));
    default:
        return out_.error(ControlProtocol::ServiceUnreachable,
                          text.isEmpty() ? tr("The VPN service did not answer.")
                                         : tr("The VPN service did not answer: %1").arg(text));
    }

    // Stored only now: a mistyped password must not replace a good one.
    settings->setValue(Keys::Login, user);
    SecretStore::instance()->setAccount(user, password);
    const bool lite = code == NetworkManager::LiteAccount;
    settings->setIsLiteVersion(lite);
    if (lite) {
        settings->setValue(Keys::KillConnect, false);
    }
    const QStringList users = manager->cacheUsers();
    const QString stored = settings->value(Keys::VpnLogin).toString();
    if (stored.isEmpty() || !users.contains(stored)) {
        settings->setValue(Keys::VpnLogin, users.isEmpty() ? QString() : users.first());
    }
    settings->setValue(Keys::RememberUser, true);
    manager->saveCachedData();

    const QString vpnLogin = settings->value(Keys::VpnLogin).toString();
    if (out_.json()) {
        return show();
    }
    out_.line(tr("Signed in as %1 (VPN login %2).").arg(user, vpnLogin));
    if (users.size() > 1) {
        out_.line(tr("The account has %n VPN logins; choose another with: kestrova-cli account use LOGIN",
                     nullptr, users.size()));
    }
    return ControlProtocol::Ok;
}

int AccountCommands::logout()
{
    if (engineRunning()) {
        return ControlProtocol::Busy;
    }
    const bool wasSignedIn = signedIn();
    LocalSettings::instance()->createDefaultSettings();
    api()->clearCache();
    if (!out_.json()) {
        out_.line(wasSignedIn ? tr("Signed out.") : tr("Not signed in."));
    } else {
        out_.document({{QStringLiteral("signedIn"), false}});
    }
    return ControlProtocol::Ok;
}

int AccountCommands::show()
{
    if (!signedIn()) {
        return out_.error(ControlProtocol::NotSignedIn,
                          tr("Not signed in. Sign in with: kestrova-cli login USER"));
    }
    auto settings = LocalSettings::instance();
    NetworkManager* manager = api();
    const QString account = settings->value(Keys::Login).toString();
    const QString current = settings->value(Keys::VpnLogin).toString();
    const bool lite = settings->isLiteVersion();

    QJsonArray logins;
    QList<QStringList> rows{{tr("VPN LOGIN"), tr("EXPIRES"), QString()}};
    for (const Subscription& subscription : manager->subscriptions()) {
        const bool chosen = subscription.login() == current;
        logins.append(QJsonObject{{QStringLiteral("login"), subscription.login()},
                                  {QStringLiteral("expires"), expiryText(subscription.expiresTime())},
                                  {QStringLiteral("current"), chosen}});
        rows.append({subscription.login(), expiryText(subscription.expiresTime()),
                     chosen ? tr("(in use)") : QString()});
    }
    if (out_.json()) {
        out_.document({{QStringLiteral("signedIn"), true},
                       {QStringLiteral("account"), account},
                       {QStringLiteral("lite"), lite},
                       {QStringLiteral("vpnLogin"), current},
                       {QStringLiteral("logins"), logins}});
        return ControlProtocol::Ok;
    }
    out_.line(tr("Account: %1 (%2)").arg(account, lite ? tr("lite") : tr("full")));
    out_.table(rows);
    return ControlProtocol::Ok;
}

int AccountCommands::use(const QString& vpnLogin)
{
    if (!signedIn()) {
        return out_.error(ControlProtocol::NotSignedIn,
                          tr("Not signed in. Sign in with: kestrova-cli login USER"));
    }
    if (!api()->cacheUsers().contains(vpnLogin)) {
        return out_.error(ControlProtocol::NotFound, tr("The account has no VPN login %1.").arg(vpnLogin));
    }
    if (engineRunning()) {
        return ControlProtocol::Busy;
    }
    auto settings = LocalSettings::instance();
    if (settings->value(Keys::VpnLogin).toString() != vpnLogin) {
        settings->setValue(Keys::VpnLogin, vpnLogin);
        // The last location belonged to the other login's servers.
        settings->setValue(Keys::LastLocation, QString());
    }
    if (out_.json()) {
        return show();
    }
    out_.line(tr("VPN login %1 in use.").arg(vpnLogin));
    return ControlProtocol::Ok;
}
