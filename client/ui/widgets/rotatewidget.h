#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// Busy indicator: a picture turning about its centre, 2 degrees every 10 ms.
class RotateWidget : public QWidget
{
    Q_OBJECT

public:
    RotateWidget(QString imagePath, QWidget* parent);

    int angle() const { return angle_; }

public slots:
    void rotate_disc();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    QTimer timer_;
    int angle_ = 0;
};
