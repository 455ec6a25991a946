#pragma once

#include <QApplication>
#include <QString>
#include <memory>

class QLocalServer;

// One running client per user session. The first instance listens on a local
// socket named after the application id and the user; a later one finds it
// there and can hand it a message.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(int& argc, char** argv, const QString& appId);
    ~SingleApplication() override;

    // True when another instance is listening. The first call decides: when
    // nobody answers, this instance starts listening.
    bool isRunning();
    // Delivers message to the running instance; false when there is none (or
    // this one is it) or it did not confirm within timeout ms.
    bool sendMessage(const QString& message, int timeout = 5000);

    // True when this process is the instance that others reach.
    bool isListening() const;

    QString id() const { return appId_; }
    QString socketPath() const;

signals:
    void messageReceived(const QString& message);

private:
    void onNewConnection();
    bool listen();

    QString appId_;
    std::unique_ptr<QLocalServer> server_;
    bool decided_ = false;
    bool otherRunning_ = false;
};
