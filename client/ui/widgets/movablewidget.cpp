#include "movablewidget.h"
#include "ui_movablewidget.h"

#include "constants.h"

#include <QEvent>
#include <QMouseEvent>

MovableWidget::MovableWidget(QWidget* parent) : QWidget(parent), ui(new Ui::MovableWidget)
{
    ui->setupUi(this);
    connect(ui->pbClose, &QPushButton::clicked, this, &MovableWidget::closeClick);
    connect(ui->pbMinimize, &QPushButton::clicked, this, &MovableWidget::hideClick);
    retranslate();
}

MovableWidget::~MovableWidget() = default;

void MovableWidget::setMovingWindow(QWidget* window)
{
    movingWindow_ = window;
}

QWidget* MovableWidget::target()
{
    return movingWindow_ ? movingWindow_.data() : this;
}

void MovableWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = event->globalPos() - target()->frameGeometry().topLeft();
    }
    event->accept();
}

void MovableWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        target()->move(event->globalPos() - dragOffset_);
    }
    event->accept();
}

void MovableWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
    event->accept();
}

void MovableWidget::retranslate()
{
    ui->lbTitle->setText(QStringLiteral("%1 %2").arg(tr("Kestrova"), Constants::VersionText));
}

void MovableWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslate();
    }
    QWidget::changeEvent(event);
}
