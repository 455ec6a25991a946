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

    UnixApplication(int& argc, char** argv);
    ~UnixApplication() override;

    // False when another instance was found and woken: the caller then exits.
    bool launch(bool hidden);
    bool oneInstance();
    void showMainTopmost();

    MainWindow* window() const { return mainWindow; }

public slots:
    void handleMessage(const QString& cmd);

private:
    MainWindow* mainWindow = nullptr;
};
