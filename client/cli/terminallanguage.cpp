#include "terminallanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool TerminalLanguage::install(QTranslator& translator)
{
    // Tries "Kestrova_de_DE", then "Kestrova_de", for each language the
    // environment names, in order.
    if (!translator.load(QLocale::system(), QStringLiteral("Kestrova"), QStringLiteral("_"),
                         QStringLiteral(":/translations"))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}
