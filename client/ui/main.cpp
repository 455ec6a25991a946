#include "controlhost.h"
#include "log.h"
#include "mainwindow.h"
#include "secretstore.h"
#include "unixapplication.h"

#include <QCommandLineParser>
#include <QDebug>
#include <QMessageBox>
#include <QSslSocket>
#include <QStyleFactory>

namespace {

void chooseStyle()
{
    QString chosen;
    bool fusion = false;
    for (const QString& name : QStyleFactory::keys()) {
        if (name.contains(QLatin1String("gtk"), Qt::CaseInsensitive)) {
            chosen = name;
        }
        if (name == QLatin1String("Fusion")) {
            fusion = true;
        }
    }
    if (chosen.isEmpty() && fusion) {
        chosen = QStringLiteral("Fusion");
    }
    if (!chosen.isEmpty()) {
        qDebug() << "Set style" << chosen;
        QApplication::setStyle(chosen);
    } else {
        qDebug() << "Didn't set style";
    }
}

} // namespace

int main(int argc, char* argv[])
{
    UnixApplication app(argc, argv);
    chooseStyle();

    if (!QSslSocket::supportsSsl()) {
        QMessageBox box(QMessageBox::Critical, QObject::tr("Error"),
                        QObject::tr("SSL libs not found! Link the version %1 library")
                            .arg(QSslSocket::sslLibraryBuildVersionString()),
                        QMessageBox::Ok);
        box.exec();
        // Without TLS the client cannot reach its service: that is a failed start.
        return 1;
    }

    qInstallMessageHandler(myMessageOutput);

    QCommandLineParser parser;
    const QCommandLineOption hiddenOption(QStringLiteral("h"), QObject::tr("Run appplication hidden"));
    const QCommandLineOption autostartOption(QStringLiteral("a"), QObject::tr("Autostart mode"));
    parser.addOption(hiddenOption);
    parser.addOption(autostartOption);
    parser.process(app);

    QApplication::setQuitOnLastWindowClosed(true);

    if (!app.launch(parser.isSet(hiddenOption))) {
        return 0;
    }
    // kestrova-cli reaches this window's connection through the user's
    // control socket; a background session of the command line hands its
    // connection over first, so that there is one tunnel.
    ControlHost control(app.window()->connectionSession(), QStringLiteral("window"));
    QString controlError;
    if (control.start(true, &controlError) != ControlHost::Start::Serving) {
        qWarning() << "The command line cannot reach this window:" << controlError;
    }
    const int status = app.exec();
    // A password written just before quitting must not be lost on the way.
    SecretStore::finishPendingWrites(3000);
    return status;
}
