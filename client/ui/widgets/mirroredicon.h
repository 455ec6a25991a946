#pragma once

#include <QIcon>
#include <QObject>

class QAbstractButton;

// Keeps a button's arrow pointing the way the page reads: right to left, a
// back arrow that points left would point into the page instead of out of it.
// Only icons that show a direction need this (back, log out); pictures such
// as the gear or the magnifier read the same both ways.
class MirroredIcon : public QObject
{
    Q_OBJECT

public:
    // Takes the button's present icon as the left-to-right one.
    explicit MirroredIcon(QAbstractButton* button);

    // The icon drawn flipped left for right, in every size and mode.
    static QIcon mirrored(const QIcon& icon);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();

    QAbstractButton* button;
    QIcon leftToRight;
    QIcon rightToLeft;
};
