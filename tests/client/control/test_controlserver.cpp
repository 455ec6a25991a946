// The control socket's trust: only the engine's own user is served, one
// engine per user listens, and the socket's folder is never one another user
// could have prepared.
#include "controlclient.h"
#include "controlpath.h"
#include "controlprotocol.h"
#include "controlrequest.h"
#include "controlserver.h"
#include "enginecall.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const uid_t kNobody = 65534;

// In a child process of another uid: connects, sends a status request and
// reports through the exit status what came back: 0 nothing (turned away),
// 1 an answer, 2 no connection at all.
int askAsOtherUser(const QString& path, uid_t uid)
{
    const QByteArray native = QFile::encodeName(path);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(uid) != 0 || ::setuid(uid) != 0) {
            ::_exit(3);
        }
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const timeval wait{3, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, native.constData(), sizeof addr.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::_exit(2);
        }
        const char request[] = "{\"command\":\"status\"}\n";
        (void)!::write(fd, request, sizeof request - 1);
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        ::_exit(n > 0 ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestControlServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ControlRequest*>(); }

    void anotherUserIsTurnedAway()
    {
        if (::getuid() != 0) {
            QSKIP("needs root to act as another user");
        }
        QTemporaryDir dir;
        // A folder and socket anybody may reach: the uid check alone must hold.
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QString path = dir.path() + "/control";
        ControlServer server;
        QCOMPARE(server.listen(path), ControlServer::ListenResult::Listening);
        ::chmod(QFile::encodeName(path).constData(), 0777);
        QSignalSpy refused(&server, &ControlServer::refused);
        QSignalSpy served(&server, &ControlServer::requestReceived);
        auto child = std::async(std::launch::async, [&] { return askAsOtherUser(path, kNobody); });
        QTRY_VERIFY_WITH_TIMEOUT(child.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        QCOMPARE(child.get(), 0);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.first().first().toUInt(), unsigned(kNobody));
        QCOMPARE(served.count(), 0);

        // The same server still serves its own user.
        server.setTrustedUid(kNobody);
        connect(&server, &ControlServer::requestReceived, this,
                [](ControlRequest* request) { request->finish(); });
        child = std::async(std::launch::async, [&] { return askAsOtherUser(path, kNobody); });
        QTRY_COMPARE_WITH_TIMEOUT(served.count(), 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(child.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        QCOMPARE(child.get(), 1);
    }

    void ownUserGetsEventsAndOneFinalReply()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/control";
        ControlServer server;
        QCOMPARE(server.listen(path), ControlServer::ListenResult::Listening);
        connect(&server, &ControlServer::requestReceived, this, [](ControlRequest* request) {
            QCOMPARE(request->command(), QString("connect"));
            request->notify({{"event", "state"}, {"state", "connecting"}});
            request->finish({{"location", request->body().value("location")}});
        });
        auto reply = std::async(std::launch::async, [&] {
            QStringList events;
            ControlClient client;
            if (!client.connectTo(path)) {
                return std::make_pair(events, QJsonObject());
            }
            const auto result =
                client.call({{"command", "connect"}, {"location", "Amsterdam"}}, 5000,
                            [&](const QJsonObject& e) { events << e.value("state").toString(); });
            return std::make_pair(events, result.value_or(QJsonObject()));
        });
        QTRY_VERIFY_WITH_TIMEOUT(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        const auto [events, result] = reply.get();
        QCOMPARE(events, QStringList{"connecting"});
        QCOMPARE(result.value("ok").toBool(), true);
        QCOMPARE(result.value("code").toInt(), int(ControlProtocol::Ok));
        QCOMPARE(result.value("location").toString(), QString("Amsterdam"));
    }

    // The front hands a new background session its request in a socket
    // pair: served like a peer that connected, events and all. A session
    // that ends without a word leaves the front free to ask again.
    void aHandedConnectionIsServedLikeAPeer()
    {
        ControlServer server;
        int pipeEnds[2];
        QCOMPARE(::pipe(pipeEnds), 0);
        QVERIFY(!server.adopt(pipeEnds[0]));
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);

        int pair[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        connect(&server, &ControlServer::requestReceived, this, [](ControlRequest* request) {
            request->notify({{"event", "state"}, {"state", "preparing"}});
            request->finish({{"location", request->body().value("location")}});
        });
        QVERIFY(server.adopt(pair[1]));
        QVERIFY(::fcntl(pair[1], F_GETFD) & FD_CLOEXEC);
        auto reply = std::async(std::launch::async, [&] {
            QStringList events;
            bool heard = false;
            const auto result = EngineCall::converse(
                pair[0], {{"command", "connect"}, {"location", "Amsterdam"}}, 5000,
                [&](const QJsonObject& e) { events << e.value("state").toString(); }, nullptr, &heard);
            return std::make_tuple(events, result, heard);
        });
        QTRY_VERIFY_WITH_TIMEOUT(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        const auto [events, result, heard] = reply.get();
        ::close(pair[0]);
        QCOMPARE(events, QStringList{"preparing"});
        QVERIFY(heard);
        QVERIFY(result);
        QCOMPARE(result->value("ok").toBool(), true);
        QCOMPARE(result->value("location").toString(), QString("Amsterdam"));

        int silent[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, silent), 0);
        ::close(silent[1]);
        bool silentHeard = true;
        QVERIFY(!EngineCall::converse(silent[0], {{"command", "connect"}}, 5000, {}, nullptr, &silentHeard));
        QVERIFY(!silentHeard);
        ::close(silent[0]);
    }

    // The hand-over's reply carries a live connection: what the window gets
    // is the same connection the background session held, after the events
    // sent before it, and it outlives the session's own descriptor.
    void handoverReplyPassesTheConnectionAlong()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/control";
        ControlServer server;
        QCOMPARE(server.listen(path), ControlServer::ListenResult::Listening);
        int pair[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
        connect(&server, &ControlServer::requestReceived, this, [&](ControlRequest* request) {
            QCOMPARE(request->command(), QString("handover"));
            request->notify({{"event", "state"}, {"state", "stopping"}});
            request->finishPassing({{"resume", true}}, pair[0]);
            ::close(pair[0]);
        });
        int received = -1;
        auto reply = std::async(std::launch::async, [&] {
            return EngineCall::run(path, ControlProtocol::Handover, 5000, &received);
        });
        QTRY_VERIFY_WITH_TIMEOUT(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        const std::optional<QJsonObject> result = reply.get();
        QVERIFY(result);
        QCOMPARE(result->value("resume").toBool(), true);
        QCOMPARE(result->value("ok").toBool(), true);
        QVERIFY(received >= 0);
        QVERIFY(::fcntl(received, F_GETFD) & FD_CLOEXEC);
        QCOMPARE(::write(received, "state\n", 6), ssize_t(6));
        char buffer[8] = {};
        QCOMPARE(::read(pair[1], buffer, sizeof buffer), ssize_t(6));
        QCOMPARE(QByteArray(buffer), QByteArray("state\n"));
        ::close(received);
        ::close(pair[1]);
    }

    void garbageIsAUsageError()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/control";
        ControlServer server;
        QCOMPARE(server.listen(path), ControlServer::ListenResult::Listening);
        QSignalSpy served(&server, &ControlServer::requestReceived);
        auto reply = std::async(std::launch::async, [&] {
            QLocalSocket socket;
            socket.connectToServer(path);
            socket.waitForConnected(2000);
            socket.write("not json\n");
            socket.waitForBytesWritten(2000);
            while (!socket.canReadLine() && socket.waitForReadyRead(2000)) {
            }
            return QJsonDocument::fromJson(socket.readLine()).object();
        });
        QTRY_VERIFY_WITH_TIMEOUT(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
        const QJsonObject result = reply.get();
        QCOMPARE(result.value("ok").toBool(true), false);
        QCOMPARE(result.value("code").toInt(), int(ControlProtocol::Usage));
        QCOMPARE(served.count(), 0);
    }

    void oneEngineListensAndAStaleSocketIsReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/control";
        {
            ControlServer first;
            QCOMPARE(first.listen(path), ControlServer::ListenResult::Listening);
            ControlServer second;
            QCOMPARE(second.listen(path), ControlServer::ListenResult::AnotherEngine);
            QVERIFY(first.isListening());
        }
        // A socket file left by an engine that died: nobody holds the lock.
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        ControlServer next;
        QCOMPARE(next.listen(path), ControlServer::ListenResult::Listening);
    }

    void runtimeFolderMustBeTheUsersOwn()
    {
        QTemporaryDir dir;
        const QString own = dir.path() + "/own";
        QVERIFY(QDir().mkdir(own));
        ::chmod(QFile::encodeName(own).constData(), 0700);
        QVERIFY(ControlPath::trustedDirectory(own, ::getuid(), true));
        // Open to the group, or reached through a link: not trusted.
        ::chmod(QFile::encodeName(own).constData(), 0770);
        QVERIFY(!ControlPath::trustedDirectory(own, ::getuid(), true));
        ::chmod(QFile::encodeName(own).constData(), 0700);
        QVERIFY(QFile::link(own, dir.path() + "/link"));
        QVERIFY(!ControlPath::trustedDirectory(dir.path() + "/link", ::getuid(), true));
        QVERIFY(!ControlPath::trustedDirectory(own, ::getuid() + 1, true));
    }

    void runtimeFolderOfAnotherUserIsNotUsed()
    {
        if (::getuid() != 0) {
            QSKIP("needs root to prepare another user's folder");
        }
        QTemporaryDir dir;
        // As after su: XDG_RUNTIME_DIR still names the first user's folder.
        QVERIFY(::chown(QFile::encodeName(dir.path()).constData(), kNobody, kNobody) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QString error;
        const std::optional<QString> path = ControlPath::socketPath(&error);
        QVERIFY2(path.has_value(), qPrintable(error));
        QVERIFY(!path->startsWith(dir.path()));
        const QString folder = QFileInfo(*path).absolutePath();
        QVERIFY(ControlPath::trustedDirectory(folder, ::getuid(), true));
        qunsetenv("XDG_RUNTIME_DIR");
        QDir().rmdir(folder); // only when empty: an engine of root's may live there
    }
};

QTEST_GUILESS_MAIN(TestControlServer)
#include "test_controlserver.moc"
