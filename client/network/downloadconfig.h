#pragma once

#include <QString>
#include <QThread>

// Fetches a short text (an OpenVPN configuration given by URL) on its own
// thread; the caller waits for finished() and then reads `success` and `text`.
class DownloadConfig : public QThread
{
    Q_OBJECT
public:
    DownloadConfig(QString url, QObject* parent);

    // A server that never answers must not keep the waiting caller forever.
    static constexpr int TimeoutMs = 10000;

    bool success = false;
    QString text;

protected:
    void run() override;

private:
    QString url;
};
