#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Keeps a widget's style sheet facing the reading direction: right to left,
// its left and right paddings, margins and borders trade places, as the
// layouts mirror the widgets themselves. Only what the style reads as it
// paints follows (a combo box's text padding): widgets already laid out keep
// the margins they were given, so the pages indent labels with QLabel's own
// indent, which follows the direction.
class MirroredStyleSheet : public QObject
{
    Q_OBJECT

public:
    // Takes the widget's present style sheet as the left-to-right one.
    explicit MirroredStyleSheet(QWidget* widget);

    static QString mirrored(const QString& styleSheet);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();

    QWidget* widget;
    QString leftToRight;
};
