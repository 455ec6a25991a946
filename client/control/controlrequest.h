#pragma once

#include <QJsonObject>
#include <QObject>
#include <QPointer>

class QLocalSocket;

// One request from one peer. The engine answers with events and exactly one
// final reply; a peer that leaves first turns the request into `abandoned()`
// and every later answer into nothing.
class ControlRequest : public QObject
{
    Q_OBJECT
public:
    ControlRequest(QLocalSocket* socket, QJsonObject body, QObject* parent = nullptr);

    QString command() const;
    QJsonObject body() const { return body_; }
    bool isOpen() const;

    void notify(const QJsonObject& event);
    // Adds "ok" and "code" (Ok) to the result, sends it and closes.
    void finish(QJsonObject result = {});
    void fail(int code, const QString& text);
    // finish() with a descriptor passed along (SCM_RIGHTS): the peer gets a
    // socket of its own to the same connection.
    void finishPassing(QJsonObject result, int descriptor);

signals:
    void abandoned();

private:
    void send(const QJsonObject& object);

    QPointer<QLocalSocket> socket_;
    QJsonObject body_;
    bool finished_ = false;
};
