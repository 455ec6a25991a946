#pragma once

#include <QCoreApplication>
#include <QList>
#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// The client's one way to show a modal message. Every box carries the same look
// (background, font, icon, minimum width) so the pages never build QMessageBox
// themselves. Tests switch on scripted mode: every box still runs its modal
// loop, and is answered from inside it by a queue filled in advance (or by its
// default button).
class CustomMessageBox
{
    Q_DECLARE_TR_FUNCTIONS(CustomMessageBox)

public:
    enum class Kind
    {
        Information,
        Critical,
        Question
    };

    struct Shown
    {
        Kind kind;
        QString title;
        QString text;
        QStringList buttonTexts;
        QMessageBox::StandardButton answer;
        // Where it showed, and the window it belongs to (empty without one).
        QRect geometry;
        QRect ownerGeometry;
    };

    static void information(QWidget* parent, const QString& title, const QString& text);
    static void critical(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                int buttons, QMessageBox::StandardButton defaultButton);

    // Test hooks.
    static void setScripted(bool on);
    static bool isScripted();
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static QList<Shown> shown();
    static void clearShown();
    // Boxes whose modal loop is running now.
    static int openCount();

private:
    static QMessageBox::StandardButton run(Kind kind, QWidget* parent, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);
};
