#include "mirroredicon.h"

#include <QAbstractButton>
#include <QEvent>
#include <QIconEngine>
#include <QPainter>

namespace {

// Draws another icon flipped: the original keeps doing the work for every
// size, mode and device pixel ratio.
class MirroredIconEngine : public QIconEngine
{
public:
    explicit MirroredIconEngine(const QIcon& original) : original(original) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->save();
        painter->translate(2 * rect.x() + rect.width(), 0);
        painter->scale(-1, 1);
        original.paint(painter, rect, Qt::AlignCenter, mode, state);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap plain = original.pixmap(size, mode, state);
        QPixmap flipped = QPixmap::fromImage(plain.toImage().mirrored(true, false));
        flipped.setDevicePixelRatio(plain.devicePixelRatio());
        return flipped;
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return original.actualSize(size, mode, state);
    }

    QIconEngine* clone() const override { return new MirroredIconEngine(original); }

private:
    QIcon original;
};

} // namespace

MirroredIcon::MirroredIcon(QAbstractButton* button)
    : QObject(button), button(button), leftToRight(button->icon()), rightToLeft(mirrored(leftToRight))
{
    button->installEventFilter(this);
    apply();
}

QIcon MirroredIcon::mirrored(const QIcon& icon)
{
    return icon.isNull() ? icon : QIcon(new MirroredIconEngine(icon));
}

bool MirroredIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == button && event->type() == QEvent::LayoutDirectionChange) {
        apply();
    }
    return QObject::eventFilter(watched, event);
}

void MirroredIcon::apply()
{
    button->setIcon(button->layoutDirection() == Qt::RightToLeft ? rightToLeft : leftToRight);
}
