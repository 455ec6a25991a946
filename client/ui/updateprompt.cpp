#include "updateprompt.h"

#include "constants.h"
#include "custommessagebox.h"
#include "progressdlg.h"

UpdatePrompt::UpdatePrompt(UpdateManager* updates, QWidget* window)
    : QObject(window), updates(updates), window(window)
{
    connect(updates, &UpdateManager::newVersion, this, &UpdatePrompt::askToDownload);
    connect(updates, &UpdateManager::insecureLink, this, &UpdatePrompt::onInsecureLink);
    connect(updates, &UpdateManager::downloadStarted, this, &UpdatePrompt::showProgress);
    connect(updates, &UpdateManager::downloadFailed, this, &UpdatePrompt::onDownloadFailed);
    connect(updates, &UpdateManager::installFailed, this, &UpdatePrompt::onInstallFailed);
    connect(updates, &UpdateManager::handedOver, this, &UpdatePrompt::closeProgress);
}

UpdatePrompt::~UpdatePrompt() = default;

void UpdatePrompt::askToDownload()
{
    emit attentionNeeded();
    const auto answer =
        CustomMessageBox::question(window, tr("Kestrova Update"), tr("Available new update. Download it?"),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        updates->download();
    }
}

void UpdatePrompt::showProgress()
{
    // The dialog may be released from inside its own cancel().
    progressDlg = QSharedPointer<ProgressDlg>(new ProgressDlg(window), &QObject::deleteLater);
    connect(progressDlg.data(), &ProgressDlg::cancel, this, &UpdatePrompt::onCancelled);
    connect(updates, &UpdateManager::progress, progressDlg.data(), &ProgressDlg::setProgress);
    progressDlg->open();
}

void UpdatePrompt::closeProgress()
{
    progressDlg.reset();
}

void UpdatePrompt::onCancelled()
{
    closeProgress();
    updates->cancelDownload();
    emit downloadEnded();
}

void UpdatePrompt::onDownloadFailed()
{
    closeProgress();
    emit downloadEnded();
    CustomMessageBox::critical(window, Constants::ProductTitle, tr("Error during downloading update."));
}

void UpdatePrompt::onInstallFailed(UpdateManager::InstallFailure failure)
{
    if (failure == UpdateManager::InstallFailure::NoPackage) {
        CustomMessageBox::information(window, Constants::ProductTitle, tr("Name of update file is empty."));
    } else {
        CustomMessageBox::critical(window, Constants::ProductTitle, tr("Error during installing update."));
    }
    // Nothing will restart the client: it must stay usable.
    closeProgress();
    emit downloadEnded();
}

void UpdatePrompt::onInsecureLink()
{
    CustomMessageBox::critical(window, Constants::ProductTitle,
                               tr("A new version is offered over an insecure link. It was not downloaded."));
}
