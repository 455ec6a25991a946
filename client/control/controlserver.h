#pragma once

#include <QObject>
#include <QString>

class ControlRequest;
class QLocalServer;
class QLocalSocket;

// This user's engine's listening end. Only one engine per user listens: the
// one that holds the lock beside the socket. Every peer is checked by the
// kernel's word on its uid before a byte of it is read; any other user is
// turned away.
class ControlServer : public QObject
{
    Q_OBJECT
public:
    enum class ListenResult
    {
        Listening,
        AnotherEngine, // someone else of this user holds the lock
        Failed,
    };

    explicit ControlServer(QObject* parent = nullptr);
    ~ControlServer() override;

    ListenResult listen(const QString& socketPath, QString* error = nullptr);
    void close();
    // Takes the socket off the file system and lets go of the lock, so that
    // whoever asks next finds no engine; requests already accepted can
    // still be answered.
    void stopListening();
    bool isListening() const;
    // Serves a peer that is connected already: the end of a socket pair that
    // the command line's front handed this process with its request in it.
    // Checked like any peer; false when the descriptor is no socket.
    bool adopt(int socketDescriptor);
    QString socketPath() const { return path_; }

    // The uid whose peers are served; the process's own unless a test says
    // otherwise.
    void setTrustedUid(unsigned uid) { trustedUid_ = uid; }

    // The uid of the process at the other end, as the kernel tells it.
    static bool peerUid(int socketDescriptor, unsigned* uid);

signals:
    // Owned by the peer's connection; hold it through a QPointer.
    void requestReceived(ControlRequest* request);
    void refused(unsigned uid);

private:
    void onNewConnection();
    void serve(QLocalSocket* socket);
    void readRequest(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
    QString path_;
    int lockFd_ = -1;
    unsigned trustedUid_;
};
