#include "settingswindow.h"

#include "localsettings.h"

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName("SettingsWindow");
    setFixedSize(340, 500);
}

void SettingsWindow::loadSettings(QList<PROTOCOL_TYPE> protocols)
{
    protocols_ = protocols;
}

void SettingsWindow::saveSettings() {}

void SettingsWindow::loadDefaults()
{
    LocalSettings::instance()->createDefaultSettings();
}

void SettingsWindow::showWithMode(Mode)
{
    show();
}

void SettingsWindow::setVersion(QString) {}

void SettingsWindow::loadLanguage() {}

void SettingsWindow::onSave()
{
    saveSettings();
    emit back();
}
