#include "secretstore.h"

#include "localsettings.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <qt5keychain/keychain.h>

#include <memory>

const QString SecretStore::FileChoice = QStringLiteral("file");
const QString SecretStore::ServiceName = QStringLiteral("Kestrova");
const QString SecretStore::ItemName = QStringLiteral("account");

SecretStore* SecretStore::self_ = nullptr;

namespace {

// Format of the keyring item; a newer layout gets a new number.
constexpr quint32 kItemMagic = 0x4b565331; // "KVS1"

// The user learns it from the settings page; the log says it once per run.
void logFallback(const QString& reason)
{
    static bool told = false;
    if (!told) {
        told = true;
        qWarning().noquote()
            << "Passwords are stored in a file readable only by you: no keyring is available (" + reason +
                   QLatin1Char(')');
    }
}

} // namespace

SecretStore* SecretStore::instance()
{
    if (!self_) {
        self_ = new SecretStore();
    }
    return self_;
}

void SecretStore::releaseInstance()
{
    delete self_;
    self_ = nullptr;
}

SecretStore::SecretStore(QObject* parent) : QObject(parent)
{
    auto settings = LocalSettings::instance();
    login_ = settings->value(Keys::Login).toString();
    accountPassword_ = settings->value(Keys::Passwd).toString();
    passwordInFile_ = !accountPassword_.isEmpty();
    fileChosen_ = settings->value(Keys::SecretStorage).toString() == FileChoice;
    if (fileChosen_) {
        qInfo() << "Passwords are kept in the settings file, as chosen";
        place_ = Place::File;
        loaded_ = true;
    } else if (!sessionBusReachable()) {
        // No bus, no keyring: asking QtKeychain would only wait for its time-outs.
        fallBack(QStringLiteral("no session bus"));
        loaded_ = true;
    } else {
        startRead();
    }
}

SecretStore::~SecretStore()
{
    if (self_ == this) {
        self_ = nullptr;
    }
}

bool SecretStore::sessionBusReachable()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        return true;
    }
    // A user session of systemd has its bus here even where nobody exported
    // the address (a login over SSH, a desktop started without it).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

void SecretStore::whenLoaded(QObject* context, std::function<void()> then)
{
    if (loaded_) {
        then();
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(this, &SecretStore::loaded, context, [connection, then = std::move(then)] {
        const auto once = then;
        QObject::disconnect(*connection);
        once();
    });
}

QString SecretStore::accountPassword() const
{
    // Without a keyring the file is the store: what is there now counts.
    if (place_ == Place::File) {
        return LocalSettings::instance()->value(Keys::Passwd).toString();
    }
    return accountPassword_;
}

QMap<QString, QString> SecretStore::vpnPasswords() const
{
    return place_ == Place::Keyring ? vpnPasswords_ : QMap<QString, QString>();
}

QMap<QString, QByteArray> SecretStore::vpnKeys() const
{
    return place_ == Place::Keyring ? vpnKeys_ : QMap<QString, QByteArray>();
}

void SecretStore::setAccount(const QString& login, const QString& password)
{
    login_ = login;
    accountPassword_ = password;
    accountSet_ = true;
    if (place_ == Place::File || passwordInFile_) {
        // The file keeps its copy current until the keyring confirmed one.
        writePasswordToFile();
    }
    scheduleWrite();
}

void SecretStore::setVpnSecrets(const QMap<QString, QString>& passwords,
                                const QMap<QString, QByteArray>& keys)
{
    const bool changed = passwords != vpnPasswords_ || keys != vpnKeys_;
    vpnPasswords_ = passwords;
    vpnKeys_ = keys;
    vpnSet_ = true;
    if (changed) {
        scheduleWrite();
    }
}

bool SecretStore::fileKeepsSecrets(bool fileHoldsThem) const
{
    return place_ == Place::File || (fileHoldsThem && !synced_);
}

void SecretStore::forget()
{
    login_.clear();
    accountPassword_.clear();
    vpnPasswords_.clear();
    vpnKeys_.clear();
    // A keyring answer still on its way must not bring them back.
    accountSet_ = true;
    vpnSet_ = true;
    LocalSettings::instance()->setValue(Keys::Passwd, QString());
    passwordInFile_ = false;
    scheduleWrite();
}

void SecretStore::finishPendingWrites(int timeoutMs)
{
    SecretStore* store = self_;
    if (!store || !store->writing_) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    connect(store, &SecretStore::movedToKeyring, &loop, &QEventLoop::quit);
    connect(store, &SecretStore::fellBackToFile, &loop, &QEventLoop::quit);
    loop.exec();
    if (store->writing_) {
        store->fallBack(QStringLiteral("the keyring did not answer before exit"));
    }
}

SecretStore::Contents SecretStore::current() const
{
    return Contents{login_, accountPassword_, vpnPasswords_, vpnKeys_};
}

QByteArray SecretStore::encode(const Contents& contents)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << kItemMagic << contents.login << contents.accountPassword << contents.vpnPasswords
        << contents.vpnKeys;
    return data;
}

std::optional<SecretStore::Contents> SecretStore::decode(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_5_15);
    quint32 magic = 0;
    Contents contents;
    in >> magic >> contents.login >> contents.accountPassword >> contents.vpnPasswords >> contents.vpnKeys;
    if (magic != kItemMagic || in.status() != QDataStream::Ok) {
        return std::nullopt;
    }
    return contents;
}

void SecretStore::startRead()
{
    auto* job = new QKeychain::ReadPasswordJob(ServiceName);
    job->setKey(ItemName);
    connect(job, &QKeychain::Job::finished, this, &SecretStore::onReadFinished);
    job->start();
}

void SecretStore::onReadFinished(QKeychain::Job* job)
{
    const QKeychain::Error error = job->error();
    if (error != QKeychain::NoError && error != QKeychain::EntryNotFound) {
        fallBack(job->errorString());
        finishLoading();
        return;
    }
    place_ = Place::Keyring;
    const QByteArray data = error == QKeychain::NoError
                                ? static_cast<QKeychain::ReadPasswordJob*>(job)->binaryData()
                                : QByteArray();
    std::optional<Contents> stored = data.isEmpty() ? std::nullopt : decode(data);
    if (!data.isEmpty() && !stored) {
        qWarning() << "The keyring's Kestrova item is unreadable; it is replaced";
    }
    // An item of another account, or left by one that signed out while the
    // keyring was out of reach, is nobody's any more.
    if (stored && stored->login != login_) {
        stored.reset();
    }
    if (stored) {
        // The file's copy is the newer one: it was written while no keyring answered.
        if (!accountSet_ && accountPassword_.isEmpty()) {
            accountPassword_ = stored->accountPassword;
        }
        if (!vpnSet_) {
            vpnPasswords_ = stored->vpnPasswords;
            vpnKeys_ = stored->vpnKeys;
        }
    }
    synced_ = stored && encode(current()) == data;
    if (!stored && data.isEmpty() && current().accountPassword.isEmpty() && vpnPasswords_.isEmpty() &&
        vpnKeys_.isEmpty()) {
        synced_ = true; // nothing stored, nothing to store
    }
    finishLoading();
}

void SecretStore::finishLoading()
{
    loaded_ = true;
    emit loaded();
    // After loaded(): the holders of secrets hand theirs over first, so that
    // one write carries them all.
    if (place_ == Place::Keyring && !synced_) {
        QTimer::singleShot(0, this, [this] {
            if (!synced_ && !writing_) {
                scheduleWrite();
            }
        });
    } else if (place_ == Place::Keyring && passwordInFile_) {
        LocalSettings::instance()->setValue(Keys::Passwd, QString());
        passwordInFile_ = false;
        emit movedToKeyring();
    }
}

void SecretStore::scheduleWrite()
{
    synced_ = false;
    if (place_ != Place::Keyring) {
        // Unknown: the read's answer decides; File: the file was written.
        return;
    }
    if (writing_) {
        writeAgain_ = true;
        return;
    }
    startWrite();
}

void SecretStore::startWrite()
{
    writing_ = true;
    writeAgain_ = false;
    const Contents contents = current();
    QKeychain::Job* job = nullptr;
    if (contents.accountPassword.isEmpty() && contents.vpnPasswords.isEmpty() && contents.vpnKeys.isEmpty()) {
        job = new QKeychain::DeletePasswordJob(ServiceName);
    } else {
        auto* write = new QKeychain::WritePasswordJob(ServiceName);
        write->setBinaryData(encode(contents));
        job = write;
    }
    job->setKey(ItemName);
    connect(job, &QKeychain::Job::finished, this, &SecretStore::onWriteFinished);
    job->start();
}

void SecretStore::onWriteFinished(QKeychain::Job* job)
{
    writing_ = false;
    if (place_ != Place::Keyring) {
        return;
    }
    const bool removal = qobject_cast<QKeychain::DeletePasswordJob*>(job) != nullptr;
    const QKeychain::Error error = job->error();
    if (error != QKeychain::NoError && !(removal && error == QKeychain::EntryNotFound)) {
        fallBack(job->errorString());
        return;
    }
    if (writeAgain_) {
        startWrite();
        return;
    }
    synced_ = true;
    if (passwordInFile_) {
        LocalSettings::instance()->setValue(Keys::Passwd, QString());
        passwordInFile_ = false;
    }
    emit movedToKeyring();
}

void SecretStore::fallBack(const QString& reason)
{
    const bool wasFile = place_ == Place::File;
    place_ = Place::File;
    synced_ = false;
    writeAgain_ = false;
    logFallback(reason);
    if (!wasFile) {
        writePasswordToFile();
        emit fellBackToFile();
    }
}

void SecretStore::writePasswordToFile()
{
    if (accountPassword_.isEmpty() && !passwordInFile_) {
        return;
    }
    // Without a keyring every start of a program lands here with the file's
    // own password: writing it back would rewrite and sync the whole
    // settings file on the way to a connect.
    auto settings = LocalSettings::instance();
    if (passwordInFile_ && settings->value(Keys::Passwd).toString() == accountPassword_) {
        return;
    }
    settings->setValue(Keys::Passwd, accountPassword_);
    passwordInFile_ = !accountPassword_.isEmpty();
}
