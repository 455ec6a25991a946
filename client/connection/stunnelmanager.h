// The stealth tunnel: a stunnel4 TLS client on a free loopback port that
// forwards to the server's stealth port, started and stopped as the user.
#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QThreadPool>

#include <memory>

class QSocketNotifier;

class StunnelManager : public QObject
{
    Q_OBJECT
public:
    explicit StunnelManager(QObject* parent = nullptr);
    // Another program and pid file; for tests, which must not touch the
    // shared pid file in /tmp.
    StunnelManager(const QString& executable, const QString& pidFile, QObject* parent = nullptr);
    // Stops this user's stunnel and removes the configuration.
    ~StunnelManager() override;

    // setConfigAndRunProcess and killProcess wait for stunnel for seconds:
    // these run them on the manager's own worker thread, one after the other
    // in the order asked. The start reports with tunnelStarted; getPort()
    // and errorString() are meant to be read once it has come.
    void startTunnel(const QString& host, int port, const QString& sni);
    void stopTunnel();

    // Stops a previous stunnel, picks a local port, writes the configuration
    // and starts stunnel. False, with errorString() set and nothing started,
    // when the host or SNI name is unusable, no local port is free, the
    // configuration cannot be written or stunnel does not start.
    bool setConfigAndRunProcess(const QString& host, int port, const QString& sni);
    // The local port of the last start, -1 when none could be chosen.
    int getPort() const { return port; }
    // Whether the stunnel named in the pid file, this user's, still runs.
    bool isRunning() const;
    // Stops the stunnel named in the pid file, if it is this user's stunnel.
    void killProcess();
    // Whether the end of the running stunnel will be reported by
    // tunnelEnded(); false where the kernel offers no pidfd.
    bool watchesExit() const { return exitWatch != nullptr; }
    bool makeConfigFile(const QString& host, int port, const QString& sni);
    static int getAvailablePort();

    QString configFilePath() const;
    QString errorString() const { return lastError; }

    // An address or host name: no blanks, line breaks or other syntax that
    // could add lines to stunnel's configuration.
    static bool isValidHost(const QString& host);
    static bool isValidSni(const QString& sni);

signals:
    void tunnelStarted(bool ok);
    // The stunnel of the last start has exited without being stopped.
    void tunnelEnded();

private:
    // Watches the started stunnel through a pidfd (readable once it has
    // exited), on the manager's own thread.
    void watchExit();
    void dropExitWatch();

    // The number in the pid file; 0 when it is missing or not a number.
    qint64 readPid() const;
    // Returns once the pid file holds a number, or after limitMs.
    void waitForPidFile(int limitMs) const;

    // Made with the first stealth profile: a session that never uses stealth
    // leaves nothing in the temporary folder, even when it ends without
    // unwinding (handed over to the window, or killed).
    std::unique_ptr<QTemporaryDir> tempDir;
    QThreadPool jobs;
    QString executable;
    QString pidFile;
    int port = 0;
    QString lastError;
    QSocketNotifier* exitWatch = nullptr;
    int exitFd = -1;
    // Counts starts and stops, on the manager's thread.
    quint64 generation = 0;
};
