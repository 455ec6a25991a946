#include "rotatewidget.h"

#include <QPainter>

RotateWidget::RotateWidget(QString imagePath, QWidget* parent) : QWidget(parent)
{
    if (parent) {
        resize(parent->size());
    }
    move(0, 0);
    picture_.load(imagePath);
    if (!picture_.isNull()) {
        picture_ = picture_.scaled(size(), Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    connect(&timer_, &QTimer::timeout, this, &RotateWidget::rotate_disc);
    timer_.start(10);
    show();
}

void RotateWidget::rotate_disc()
{
    angle_ += 2;
    if (angle_ >= 360) {
        angle_ = 0;
    }
    update();
}

void RotateWidget::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(angle_);
    painter.drawPixmap(-picture_.width() / 2, -picture_.height() / 2, picture_);
}
