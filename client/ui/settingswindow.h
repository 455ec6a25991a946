#pragma once

// Placeholder of the settings page: the surface the main window uses. The
// settings page's own implementation replaces it.

#include "utils.h"

#include <QList>
#include <QWidget>

class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    enum Mode
    {
        Lite = 0,
        Full = 1
    };

    explicit SettingsWindow(QWidget* parent);

    void loadSettings(QList<PROTOCOL_TYPE> protocols);
    void saveSettings();
    void loadDefaults();
    void showWithMode(Mode mode);
    void setVersion(QString version);
    void loadLanguage();

signals:
    void back();
    void changed();

public slots:
    void onSave();

private:
    QList<PROTOCOL_TYPE> protocols_;
};
