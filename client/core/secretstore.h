#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace QKeychain {
class Job;
}

// Where the user's secrets live: the account password and, per VPN login, its
// password and private key. With a keyring on the session bus (the Secret
// Service or KWallet, through QtKeychain) they are one item there; without
// one they stay in the settings file, readable only by its owner, under the
// keys older versions used. Reads and writes never block: the first answer of
// the keyring arrives as loaded(), and every caller continues from there.
//
// The store keeps the account password in the settings file itself when it
// falls back. The VPN secrets belong to the account cache, which writes them
// into its own entries while fileKeepsSecrets() says so and rewrites those
// entries when movedToKeyring() or fellBackToFile() is emitted.
class SecretStore : public QObject
{
    Q_OBJECT
public:
    enum class Place
    {
        Unknown, // the keyring has not answered yet
        Keyring,
        File,
    };
    Q_ENUM(Place)

    // The settings value of Keys::SecretStorage that keeps secrets in the file.
    static const QString FileChoice;

    // The one store of the process; the first call starts loading.
    static SecretStore* instance();
    // Forgets the process-wide store (tests: a new start of the client).
    static void releaseInstance();

    // Starts loading at once: from the file when there is no keyring to ask,
    // which makes the store loaded before the constructor returns.
    explicit SecretStore(QObject* parent = nullptr);
    ~SecretStore() override;

    bool isLoaded() const { return loaded_; }
    Place place() const { return place_; }
    // The file holds the secrets because no keyring answered, not because the
    // user chose it.
    bool isFallback() const { return place_ == Place::File && !fileChosen_; }

    // Runs `then` once the secrets are known: at once when they are already,
    // never when `context` is gone first.
    void whenLoaded(QObject* context, std::function<void()> then);

    QString accountPassword() const;
    void setAccount(const QString& login, const QString& password);

    // What the keyring holds for the account cache; empty while the file
    // holds the secrets, since the cache reads them from there itself.
    QMap<QString, QString> vpnPasswords() const;
    QMap<QString, QByteArray> vpnKeys() const;
    void setVpnSecrets(const QMap<QString, QString>& passwords, const QMap<QString, QByteArray>& keys);

    // Whether a part of the settings file that holds secrets (fileHoldsThem)
    // or would receive them must carry them: always without a keyring, and
    // with one until it has confirmed that it holds them all.
    bool fileKeepsSecrets(bool fileHoldsThem) const;

    // Removes every secret, from the keyring and from the file.
    void forget();

    // At exit: lets a keyring write still on its way finish, for at most
    // timeoutMs; one that does not goes to the file instead.
    static void finishPendingWrites(int timeoutMs);

    // The keyring's item, one per user.
    static const QString ServiceName;
    static const QString ItemName;

signals:
    void loaded();
    // The keyring confirmed a write with nothing newer pending: copies of the
    // secrets in the settings file may go.
    void movedToKeyring();
    // The keyring refused: from now on the settings file holds the secrets.
    void fellBackToFile();

private:
    struct Contents
    {
        QString login;
        QString accountPassword;
        QMap<QString, QString> vpnPasswords;
        QMap<QString, QByteArray> vpnKeys;
    };

    static bool sessionBusReachable();
    static QByteArray encode(const Contents& contents);
    static std::optional<Contents> decode(const QByteArray& data);
    Contents current() const;

    void startRead();
    void onReadFinished(QKeychain::Job* job);
    void finishLoading();
    void scheduleWrite();
    void startWrite();
    void onWriteFinished(QKeychain::Job* job);
    void fallBack(const QString& reason);
    void writePasswordToFile();

    Place place_ = Place::Unknown;
    bool loaded_ = false;
    bool fileChosen_ = false;
    bool accountSet_ = false;
    bool vpnSet_ = false;
    // The account password sat in the settings file when loading began.
    bool passwordInFile_ = false;
    // Every change so far is confirmed by the keyring.
    bool synced_ = false;
    bool writing_ = false;
    bool writeAgain_ = false;

    QString login_;
    QString accountPassword_;
    QMap<QString, QString> vpnPasswords_;
    QMap<QString, QByteArray> vpnKeys_;

    static SecretStore* self_;
};
