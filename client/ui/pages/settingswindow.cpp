#include "settingswindow.h"

#include "backkeys.h"
#include "constants.h"
#include "localsettings.h"
#include "mirroredicon.h"
#include "mirroredstylesheet.h"
#include "rowheightdelegate.h"
#include "secretstore.h"
#include "ui_settingswindow.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSignalBlocker>
#include <QTextStream>

namespace {

struct Language
{
    const char* code;
    const char* name; // the language's own name, UTF-8
};

const Language kLanguages[] = {
    {"ar", "عربي"},     {"de", "Deutsch"},    {"en", "English"},    {"es", "Español"},
    {"fr", "Français"}, {"hi", "हिन्दी"},      {"it", "Italiano"},   {"ja", "日本語"},
    {"ko", "한국어"},   {"pl", "Polski"},     {"pt", "Português"},  {"ru", "Русский"},
    {"tr", "Türkçe"},   {"uk", "Українська"}, {"vi", "Tiếng Việt"}, {"zh_CN", "简体中文"},
};

const QString kClientProgram = QStringLiteral("/usr/bin/kestrova");

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::SettingsWindow), rowHeight(new RowHeightDelegate())
{
    ui->setupUi(this);
    new MirroredIcon(ui->pbBack);
    ui->cbAllowLocalDevices->hide();
    ui->lbAllowLocalDesc->hide();
    ui->cbLanguage->view()->setItemDelegate(rowHeight.get());
    ui->cbProto->view()->setItemDelegate(rowHeight.get());

    for (const Language& language : kLanguages) {
        ui->cbLanguage->addItem(QString::fromUtf8(language.name), QString::fromLatin1(language.code));
    }

    connect(ui->pbBack, &QPushButton::clicked, this, &SettingsWindow::onSave);
    connect(new BackKeys(this), &BackKeys::activated, this, &SettingsWindow::onSave);
    new MirroredStyleSheet(ui->centralWidget);
    for (QCheckBox* box : {ui->cbAutoconnectOnStart, ui->cbLaunchOnStart, ui->cbKillSwitch,
                           ui->cbAllowLocalDevices, ui->cbChangeTimezone}) {
        connect(box, &QCheckBox::clicked, this, &SettingsWindow::changed);
    }
    connect(ui->cbProto, qOverload<int>(&QComboBox::currentIndexChanged), this, &SettingsWindow::changed);
    connect(ui->cbLanguage, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SettingsWindow::onLanguageChange);

    secretsNote = new QLabel(ui->centralWidget);
    secretsNote->setObjectName(QStringLiteral("lbSecretsInFile"));
    secretsNote->setWordWrap(true);
    ui->centralLayout->insertWidget(ui->centralLayout->indexOf(ui->lbAllowLocalDesc) + 1, secretsNote);
    SecretStore* store = SecretStore::instance();
    connect(store, &SecretStore::loaded, this, &SettingsWindow::showSecretsPlace);
    connect(store, &SecretStore::fellBackToFile, this, &SettingsWindow::showSecretsPlace);
    showSecretsPlace();
}

void SettingsWindow::showSecretsPlace()
{
    if (!secretsNote) {
        return;
    }
    secretsNote->setText(tr("Passwords are stored in a file readable only by you: no keyring is available"));
    secretsNote->setVisible(SecretStore::instance()->isFallback());
}

SettingsWindow::~SettingsWindow()
{
    // Qt keeps even an empty catalogue in its list; never leave it dangling.
    QCoreApplication::removeTranslator(&translator);
}

void SettingsWindow::loadSettings(QList<PROTOCOL_TYPE> offered)
{
    auto settings = LocalSettings::instance();
    const QList<QPair<QString, QCheckBox*>> boxes = {
        {Keys::LaunchOnStart, ui->cbLaunchOnStart},   {Keys::ConnectOnStart, ui->cbAutoconnectOnStart},
        {Keys::KillConnect, ui->cbKillSwitch},        {Keys::AllowLocalDevices, ui->cbAllowLocalDevices},
        {Keys::ChangeTimezone, ui->cbChangeTimezone},
    };
    for (const auto& [key, box] : boxes) {
        box->setChecked(settings->value(key).toString() == QLatin1String("true"));
    }

    {
        // Filling the chooser is not the user changing the protocol.
        const QSignalBlocker blocker(ui->cbProto);
        fillProto(offered);
        ui->cbProto->setCurrentIndex(0);
        const QString stored = settings->value(Keys::OvpnProtocol).toString();
        for (int i = 0; i < ui->cbProto->count(); ++i) {
            const QString label = ui->cbProto->itemData(i).toString();
            if (!label.isEmpty() && label == stored) {
                ui->cbProto->setCurrentIndex(i);
                break;
            }
        }
    }
    loadLanguage();
}

void SettingsWindow::fillProto(QList<PROTOCOL_TYPE> offered)
{
    protocols = offered;
    ui->cbProto->clear();
    for (const VpnProtocol* row = gVpnProtocol; row->type != PROTOCOL_NONE; ++row) {
        if (protocols.contains(row->type)) {
            ui->cbProto->addItem(row->translatedTitle(), row->label);
        }
    }
}

void SettingsWindow::loadLanguage()
{
    const QString systemLanguage = QLocale::system().name().split('_').first().toLower();
    const QString stored = LocalSettings::instance()->value(Keys::Language).toString();
    int index = stored.isEmpty() ? -1 : ui->cbLanguage->findData(stored, Qt::UserRole, Qt::MatchFixedString);
    if (index < 0) {
        index = ui->cbLanguage->findData(systemLanguage, Qt::UserRole, Qt::MatchFixedString);
    }
    if (index < 0) {
        index = ui->cbLanguage->findData(QStringLiteral("en"));
    }
    if (index == ui->cbLanguage->currentIndex() &&
        appliedLanguage == ui->cbLanguage->itemData(index).toString()) {
        return;
    }
    if (index == ui->cbLanguage->currentIndex()) {
        // No index change, so no signal: apply the language here.
        onLanguageChange(index);
    } else {
        ui->cbLanguage->setCurrentIndex(index);
    }
}

void SettingsWindow::onLanguageChange(int index)
{
    // Out of the application's list before loading: loading an installed
    // translator would announce a second language change. installTranslator
    // lists even a catalogue without entries (the English one) while it
    // reports false, so the removal does not depend on that answer.
    QCoreApplication::removeTranslator(&translator);
    const QString code = ui->cbLanguage->itemData(index).toString();
    appliedLanguage = code;
    if (translator.load(Constants::TranslationResource.arg(code))) {
        QCoreApplication::installTranslator(&translator);
    } else {
        qDebug() << "No translation for" << code;
    }
    // Without a catalogue no LanguageChange arrives; the texts still need to
    // go back to the built-in ones.
    ui->retranslateUi(this);
    const QSignalBlocker blocker(ui->cbProto);
    const int previous = ui->cbProto->currentIndex();
    fillProto(protocols);
    ui->cbProto->setCurrentIndex(previous);
}

void SettingsWindow::saveSettings()
{
    qDebug() << "saveSettings()";
    auto settings = LocalSettings::instance();
    settings->setValue(Keys::ConnectOnStart, ui->cbAutoconnectOnStart->isChecked());
    settings->setValue(Keys::LaunchOnStart, ui->cbLaunchOnStart->isChecked());
    settings->setValue(Keys::OvpnProtocol, ui->cbProto->currentData().toString());
    settings->setValue(Keys::KillConnect, ui->cbKillSwitch->isChecked());
    settings->setValue(Keys::IPv6LeakProtect, true);
    settings->setValue(Keys::AllowLocalDevices, ui->cbAllowLocalDevices->isChecked());
    settings->setValue(Keys::ChangeTimezone, ui->cbChangeTimezone->isChecked());
    settings->setValue(Keys::Language, ui->cbLanguage->currentData().toString());
    qDebug() << "protocol" << ui->cbProto->currentData().toString();
    writeAutostartEntry(ui->cbLaunchOnStart->isChecked());
}

QString SettingsWindow::autostartPath()
{
    return Constants::AutostartFile.arg(QDir::homePath());
}

void SettingsWindow::writeAutostartEntry(bool launchOnStart)
{
    const QString path = autostartPath();
    if (!launchOnStart) {
        if (QFile::exists(path)) {
            QFile::remove(path);
        }
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qWarning() << "Cannot write the autostart entry" << path;
        return;
    }
    QTextStream out(&file);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << QStringLiteral("Exec='%1' -h\n").arg(kClientProgram) << "Name=Kestrova";
}

void SettingsWindow::loadDefaults()
{
    LocalSettings::instance()->createDefaultSettings();
}

void SettingsWindow::showWithMode(Mode mode)
{
    if (mode == Lite) {
        ui->cbKillSwitch->hide();
        ui->lbKillSwitchDesc->hide();
        ui->cbAllowLocalDevices->hide();
        ui->lbAllowLocalDesc->hide();
    } else {
        ui->cbKillSwitch->show();
        ui->lbKillSwitchDesc->show();
        ui->cbAllowLocalDevices->setVisible(ui->cbKillSwitch->isChecked());
        ui->lbAllowLocalDesc->setVisible(ui->cbKillSwitch->isChecked());
    }
    show();
}

void SettingsWindow::setVersion(QString version)
{
    ui->lbAppVersion->setText(version);
}

void SettingsWindow::onSave()
{
    saveSettings();
    emit back();
}

void SettingsWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showSecretsPlace();
    }
    QWidget::changeEvent(event);
}
