#pragma once

#include "utils.h"

#include <QList>
#include <QTranslator>
#include <QWidget>
#include <memory>

class QLabel;
class RowHeightDelegate;

namespace Ui {
class SettingsWindow;
}

// The settings page: interface language, VPN protocol, start-up behaviour and
// the protection options. Leaving the page saves it; a new language applies
// at once.
class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    enum Mode
    {
        Lite = 0, // lite accounts have no kill switch
        Full = 1
    };

    explicit SettingsWindow(QWidget* parent);
    ~SettingsWindow() override;

    void loadSettings(QList<PROTOCOL_TYPE> protocols);
    void saveSettings();
    void loadDefaults();
    void showWithMode(Mode mode);
    void setVersion(QString version);
    void loadLanguage();
    void fillProto(QList<PROTOCOL_TYPE> protocols);

    // "%1/.config/autostart/kestrova.desktop" in the user's home.
    static QString autostartPath();

signals:
    void back();
    void changed();

public slots:
    void onSave();
    void onLanguageChange(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void writeAutostartEntry(bool launchOnStart);
    // The note that passwords sit in the settings file, shown only then.
    void showSecretsPlace();

    std::unique_ptr<Ui::SettingsWindow> ui;
    std::unique_ptr<RowHeightDelegate> rowHeight;
    QTranslator translator;
    // The code of the catalogue last applied; empty before the first.
    QString appliedLanguage;
    QList<PROTOCOL_TYPE> protocols;
    QLabel* secretsNote = nullptr;
};
