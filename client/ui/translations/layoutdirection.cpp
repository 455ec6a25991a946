#include <QtGlobal>

// Qt mirrors the whole application when the installed catalogue translates
// this message of its own to "RTL" (Arabic) and keeps it left to right for
// "LTR". Nothing in our code asks for it, so it is named here for lupdate to
// keep it in every catalogue.
[[maybe_unused]] static const char* const kLayoutDirection =
    QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");
