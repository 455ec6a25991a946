#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace Ui {
class MovableWidget;
}

// A title bar for a frameless window: close and minimise buttons, and dragging
// with the left button moves the window it belongs to.
class MovableWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MovableWidget(QWidget* parent);
    ~MovableWidget() override;

    void setMovingWindow(QWidget* window);

signals:
    void closeClick();
    void hideClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* target();
    void retranslate();

    std::unique_ptr<Ui::MovableWidget> ui;
    QPointer<QWidget> movingWindow_;
    bool dragging_ = false;
    QPoint dragOffset_;
};
