#pragma once

#include "connectionsession.h"
#include "killswitch.h"
#include "serverinfo.h"
#include "timezonefollower.h"

#include <QMap>
#include <QSharedPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <memory>

class QTimer;
class RotateWidget;
class ShowLog;

namespace Ui {
class ConnectWindow;
}

// The home page after sign-in: the connect button, the chosen location, the
// connection's status line, the subscription line and the notices about the
// kill switch and the system service. It paints the connection session's
// state and forwards the user's presses to it; the session does the work.
class ConnectWindow : public QWidget
{
    Q_OBJECT

public:
    using Dependencies = ConnectionSession::Dependencies;

    // The page's look, as other parts of the window ask for it.
    enum UiState
    {
        Connected = 0,
        Disconnected = 1,
        Connecting = 2,
        Generating = 3,
        CleaningUp = 5
    };

    // With a session of its own, made from the dependencies.
    explicit ConnectWindow(QWidget* parent, Dependencies dependencies = Dependencies());
    // A view of a session that someone else owns and that outlives the page.
    ConnectWindow(QWidget* parent, ConnectionSession* session);
    ~ConnectWindow() override;

    // The session the page paints.
    ConnectionSession* connectionSession() const { return session; }
    // Its look: a UiState.
    int currentUiState() const;

signals:
    void serverList(int protocol);
    void settings();
    void account();
    // The page wants to be the one shown (a connect pressed elsewhere).
    void pageWanted();
    // Something the user must read: the window should come to the front.
    void attentionNeeded();

public slots:
    void onClickConnect();
    void onShowLog();
    void onSelectLocation();
    void doUpdateSubscriptionInfo();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void init();
    void paint(ConnectionSession::State state);
    void showConnectingLook();
    void showConnectedLook();
    void showDisconnectedLook();
    void showDisconnectingLook();
    void showLocationText();
    void showStatusLine();
    void showNotices();
    void onFailed(ConnectionSession::Failure failure, QString detail);
    void onKillSwitchProblem(KillSwitch::Problem problem);
    void onTimezoneProblem(TimezoneFollower::Problem problem);
    void onRenewButtonClicked();
    void goBuyLink(QString url);
    QString serviceMissingText() const;

    std::unique_ptr<Ui::ConnectWindow> ui;
    std::unique_ptr<ConnectionSession> ownSession;
    ConnectionSession* session = nullptr;
    QSharedPointer<ShowLog> logWindow;
    QSharedPointer<RotateWidget> spinner;
    QSharedPointer<QTimer> subscriptionTimer;
    QSharedPointer<QTimer> statusTimer;
    int look = -1;
};
