#include "stunnelmanager.h"

#include "constants.h"
#include "openvpnconnectorqt.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QThread>
#include <QtConcurrent>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Whether pid is a stunnel process of the user running this client. The pid
// file lies in a world-writable directory, so its number alone proves nothing.
bool isOwnStunnel(qint64 pid)
{
    const QString proc = QString("/proc/%1").arg(pid);
    struct stat st;
    if (::stat(QFile::encodeName(proc).constData(), &st) != 0 || st.st_uid != ::getuid()) {
        return false;
    }
    QFile status(proc + "/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    bool uidMatches = false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Uid:")) {
            const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
            uidMatches = !ids.isEmpty() && ids.first().toLongLong() == static_cast<qint64>(::getuid());
        }
    }
    if (!uidMatches) {
        return false;
    }
    const QString exe = QFileInfo(QFile::symLinkTarget(proc + "/exe")).fileName();
    return exe == "stunnel" || exe == "stunnel4";
}

bool isHostName(const QString& name)
{
    static const QRegularExpression re("^[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9])?"
                                       "(\\.[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9])?)*\\.?$");
    return name.size() <= 253 && re.match(name).hasMatch();
}

bool processGone(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return true;
    }
    // A zombie has exited; only its parent's wait is missing.
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) == "Z";
}

} // namespace

StunnelManager::StunnelManager(QObject* parent)
    : StunnelManager(Constants::StunnelProgram, Constants::StunnelPidFile, parent)
{
}

StunnelManager::StunnelManager(const QString& executable, const QString& pidFile, QObject* parent)
    : QObject(parent), executable(executable), pidFile(pidFile)
{
    // One job at a time and in order: a stop must not overtake the start
    // before it, nor the next start the stop.
    jobs.setMaxThreadCount(1);
}

StunnelManager::~StunnelManager()
{
    dropExitWatch();
    jobs.waitForDone();
    killProcess();
}

void StunnelManager::watchExit()
{
    dropExitWatch();
    const qint64 pid = readPid();
    if (pid < 1) {
        return;
    }
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    if (fd < 0) {
        qDebug() << "stunnel's end can not be watched:" << std::strerror(errno);
        return;
    }
    // Checked after the pidfd is held: the number can no longer go to
    // another process meanwhile.
    if (!isOwnStunnel(pid)) {
        ::close(fd);
        return;
    }
    exitFd = fd;
    exitWatch = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(exitWatch, &QSocketNotifier::activated, this, [this] {
        dropExitWatch();
        emit tunnelEnded();
    });
}

void StunnelManager::dropExitWatch()
{
    delete exitWatch;
    exitWatch = nullptr;
    if (exitFd >= 0) {
        ::close(exitFd);
        exitFd = -1;
    }
}

void StunnelManager::startTunnel(const QString& host, int port, const QString& sni)
{
    dropExitWatch();
    const quint64 start = ++generation;
    QtConcurrent::run(&jobs, [this, host, port, sni, start] {
        const bool ok = setConfigAndRunProcess(host, port, sni);
        // Watched from this manager's thread, and only while no later start
        // or stop has come: that one's stunnel is not this one.
        QMetaObject::invokeMethod(
            this,
            [this, ok, start] {
                if (ok && start == generation) {
                    watchExit();
                }
            },
            Qt::QueuedConnection);
        emit tunnelStarted(ok);
    });
}

void StunnelManager::stopTunnel()
{
    ++generation;
    dropExitWatch();
    QtConcurrent::run(&jobs, [this] { killProcess(); });
}

QString StunnelManager::configFilePath() const
{
    return tempDir ? tempDir->path() + "/stunnel.conf" : QString();
}

int StunnelManager::getAvailablePort()
{
    return OpenVPNConnectorQt::getAvailablePort();
}

bool StunnelManager::isValidHost(const QString& host)
{
    QHostAddress address;
    return address.setAddress(host) || isHostName(host);
}

bool StunnelManager::isValidSni(const QString& sni)
{
    // An empty name is written as it is; a given one must be a host name.
    return sni.isEmpty() || isHostName(sni);
}

bool StunnelManager::setConfigAndRunProcess(const QString& host, int port, const QString& sni)
{
    lastError.clear();
    killProcess();
    this->port = getAvailablePort();
    if (this->port == -1) {
        lastError = tr("No free local port for the stealth tunnel.");
        qDebug() << "Stunnel not started: no free local port";
        return false;
    }
    if (!makeConfigFile(host, port, sni)) {
        if (lastError.isEmpty()) {
            lastError = tr("Can not write the stealth tunnel configuration.");
        }
        return false;
    }
    const QStringList args{configFilePath()};
    qDebug() << "Run stunnel:" << executable << "with args:" << args;
    // Made here, on the calling thread: the waits below need a process that
    // lives on the thread that waits.
    QProcess process;
    process.start(executable, args, QIODevice::ReadWrite);
    // stunnel reads its configuration and binds the local port before it
    // detaches, so its exit status tells whether the tunnel is listening.
    if (!process.waitForStarted(5000)) {
        lastError = tr("Can not start the stealth tunnel: %1").arg(process.errorString());
        return false;
    }
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        lastError = tr("The stealth tunnel did not start in time.");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qDebug() << "stunnel failed:" << process.readAllStandardError().trimmed();
        lastError = tr("The stealth tunnel failed to start.");
        return false;
    }
    // The detached stunnel writes its pid file a moment after its parent has
    // exited; until then it could not be stopped. Its folder is watched for
    // that write rather than looked at on a timer.
    waitForPidFile(2000);
    return true;
}

bool StunnelManager::isRunning() const
{
    const qint64 pid = readPid();
    return pid > 0 && !processGone(pid) && isOwnStunnel(pid);
}

qint64 StunnelManager::readPid() const
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return 0;
    }
    QByteArray line = file.readLine(64);
    const int zero = line.indexOf('\0');
    if (zero >= 0) {
        line.truncate(zero);
    }
    return QString::fromUtf8(line).trimmed().toLongLong();
}

bool StunnelManager::makeConfigFile(const QString& host, int port, const QString& sni)
{
    if (!tempDir) {
        tempDir = std::make_unique<QTemporaryDir>();
    }
    if (!tempDir->isValid()) {
        tempDir.reset();
        return false;
    }
    if (!isValidHost(host) || !isValidSni(sni) || port < 1 || port > 65535 || this->port < 1) {
        lastError = tr("Invalid stealth server address or name.");
        qDebug() << "Stunnel config refused: host" << host << "port" << port << "sni" << sni;
        return false;
    }
    QFile file(configFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QString text = QString("sslVersion = all\r\n") + "socket = l:TCP_NODELAY=1\r\n" +
                         "socket = r:TCP_NODELAY=1\r\n" + QString("pid =%1\r\n").arg(pidFile) +
                         "[openvpn]\r\n" + "client = yes\r\n" + QString("sni = %1\r\n").arg(sni) +
                         QString("accept = 127.0.0.1:%1\r\n").arg(this->port) +
                         QString("connect = %1:%2\r\n").arg(host).arg(port);
    const QByteArray bytes = text.toUtf8();
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (!written) {
        return false;
    }
    qDebug() << "Stunnel config file: " << file.fileName();
    return true;
}

void StunnelManager::killProcess()
{
    const qint64 pid = readPid();
    if (pid < 1) {
        qDebug() << "Can't kill stunnel. Invalid pid.";
        return;
    }
    if (!isOwnStunnel(pid)) {
        qDebug() << "Not killing process" << pid << ": not this user's stunnel";
        return;
    }
    // The exiting stunnel removes the pid file; wait for its end, or it could
    // remove the file that the next stunnel has just written. A pidfd wakes
    // the wait the moment it has exited.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (pidfd >= 0) {
        pollfd exited{pidfd, POLLIN, 0};
        while (::poll(&exited, 1, 2000) < 0 && errno == EINTR) {
        }
        ::close(pidfd);
        return;
    }
    for (int i = 0; i < 40 && !processGone(pid); ++i) {
        QThread::msleep(50);
    }
}

void StunnelManager::waitForPidFile(int limitMs) const
{
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    const QByteArray folder = QFile::encodeName(QFileInfo(pidFile).absolutePath());
    const bool watching =
        watch >= 0 && ::inotify_add_watch(watch, folder.constData(), IN_CLOSE_WRITE | IN_MOVED_TO) >= 0;
    QElapsedTimer waited;
    waited.start();
    // Looked at after the watch is set, so that a write just before it is
    // not missed.
    while (readPid() < 1 && waited.elapsed() < limitMs) {
        if (!watching) {
            QThread::msleep(20);
            continue;
        }
        pollfd written{watch, POLLIN, 0};
        if (::poll(&written, 1, static_cast<int>(limitMs - waited.elapsed())) > 0) {
            char events[4096];
            while (::read(watch, events, sizeof events) > 0) {
            }
        }
    }
    if (watch >= 0) {
        ::close(watch);
    }
}
