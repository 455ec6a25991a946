// The update's dialogue with the user: whether to download the new version,
// the download's progress with its Cancel, and what went wrong. The work
// itself is the UpdateManager's.
#pragma once

#include "updatemanager.h"

#include <QObject>
#include <QPointer>
#include <QSharedPointer>

class ProgressDlg;
class QWidget;

class UpdatePrompt : public QObject
{
    Q_OBJECT

public:
    // The boxes and the progress dialog belong to `window`.
    UpdatePrompt(UpdateManager* updates, QWidget* window);
    ~UpdatePrompt() override;

signals:
    // A question for the user: the window should come to the front.
    void attentionNeeded();
    // The download was cancelled or failed, or the package was refused: the
    // client goes on as before.
    void downloadEnded();

private:
    void askToDownload();
    void showProgress();
    void closeProgress();
    void onCancelled();
    void onDownloadFailed();
    void onInstallFailed(UpdateManager::InstallFailure failure);
    void onInsecureLink();

    UpdateManager* updates;
    QPointer<QWidget> window;
    QSharedPointer<ProgressDlg> progressDlg;
};
