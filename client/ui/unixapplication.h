#pragma once

#include "singleapplication.h"

class MainWindow;

// The client's application object: one instance per user session, and the
// owner of the main window.
class UnixApplication : public SingleApplication
{
    Q_OBJECT

public:
    static constexpr int WakeUpTimeoutMs = 500;
    static constexpr int WakeUpAttempts = 2;
    static constexpr int WakeUpPauseMs = 100;
    // How long a second start keeps trying to wake a busy first instance.
    static constexpr int WakeUpPatienceMs = 10000;

    UnixApplication(int& argc, char** argv);
    ~UnixApplication() override;

    // False when another instance was found: the caller then exits.
    bool launch(bool hidden);
    bool oneInstance();
    void showMainTopmost();

    MainWindow* window() const { return mainWindow; }

public slots:
    void handleMessage(const QString& cmd);

private:
    MainWindow* mainWindow = nullptr;
};
