#include "custommessagebox.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QQueue>
#include <QSpacerItem>
#include <QTimer>

namespace {

struct ScriptState
{
    bool scripted = false;
    QQueue<QMessageBox::StandardButton> answers;
    QList<CustomMessageBox::Shown> shown;
    int open = 0;
};

ScriptState& script()
{
    static ScriptState state;
    return state;
}

// The pages' look: their background, text and accent colour, the filled
// button for the answer the box suggests and outlined ones for the others.
const char* const kStyle =
    "QMessageBox { background-color: #fafafa; }"
    "QMessageBox QLabel { font: 14px \"Arial\"; color: #4a4a4a; }"
    "QMessageBox QPushButton { font: 14px \"Arial\"; color: #33a5db; background-color: transparent;"
    " border: 1px solid #33a5db; border-radius: 3px; min-width: 80px; min-height: 32px; padding: 0px 12px; }"
    "QMessageBox QPushButton:hover { background-color: #eaf5fb; }"
    "QMessageBox QPushButton:default { color: white; background-color: #33a5db; border: 0px; }"
    "QMessageBox QPushButton:default:hover { background-color: #2b95c8; }";
const int kMinimumWidth = 300;
// One width for every box, inside the 340 px main window.
const int kBoxWidth = 300;
const int kOwnerMargin = 10;

// A box of the one width, centred on the window it belongs to and kept
// inside it, whatever its text.
class FittedBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

    QWidget* owner() const { return parentWidget() ? parentWidget()->window() : nullptr; }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        fit();
    }

private:
    void fit()
    {
        if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            label->setWordWrap(true);
        }
        QWidget* window = owner();
        int width = kBoxWidth;
        if (window && window->width() > 2 * kOwnerMargin) {
            width = qMin(width, window->width() - 2 * kOwnerMargin);
        }
        layout()->activate();
        const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                         : layout()->totalSizeHint().height();
        setFixedSize(width, height);
        if (!window) {
            return;
        }
        const QRect area = window->geometry();
        QRect box(QPoint(0, 0), size());
        box.moveCenter(area.center());
        box.moveLeft(qMax(area.left(), qMin(box.left(), area.right() + 1 - box.width())));
        box.moveTop(qMax(area.top(), qMin(box.top(), area.bottom() + 1 - box.height())));
        // move() places the frame; the box's own area lies inside it.
        move(box.topLeft() - (geometry().topLeft() - pos()));
    }
};

} // namespace

void CustomMessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    run(Kind::Information, parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void CustomMessageBox::critical(QWidget* parent, const QString& title, const QString& text)
{
    run(Kind::Critical, parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton CustomMessageBox::question(QWidget* parent, const QString& title,
                                                       const QString& text, int buttons,
                                                       QMessageBox::StandardButton defaultButton)
{
    return run(Kind::Question, parent, title, text, QMessageBox::StandardButtons(buttons), defaultButton);
}

QMessageBox::StandardButton CustomMessageBox::run(Kind kind, QWidget* parent, const QString& title,
                                                  const QString& text, QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    FittedBox box(parent);
    // Before the buttons exist: under a parent that has a style sheet of its
    // own (every window has), buttons created earlier keep the desktop look.
    box.setStyleSheet(kStyle);
    box.setWindowTitle(title);
    box.setStandardButtons(buttons);
    box.setDefaultButton(defaultButton);

    const struct
    {
        QMessageBox::StandardButton button;
        QString text;
    } labels[] = {{QMessageBox::Ok, tr("Ok")},
                  {QMessageBox::Cancel, tr("Cancel")},
                  {QMessageBox::No, tr("No")},
                  {QMessageBox::Yes, tr("Yes")}};
    QStringList buttonTexts;
    for (const auto& label : labels) {
        if (QAbstractButton* b = box.button(label.button)) {
            b->setText(label.text);
            // Some desktop styles add their own pictures to standard buttons.
            b->setIcon(QIcon());
            buttonTexts << label.text;
        }
    }

    if (kind == Kind::Critical) {
        box.setIconPixmap(QIcon(":/resources/attention-sign-in-circles.svg").pixmap(32, 32));
    } else if (kind == Kind::Question) {
        box.setIconPixmap(QIcon(":/resources/question-sign-in-circles.svg").pixmap(32, 32));
    }
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(kMinimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setText(text);

    ScriptState& s = script();
    ++s.open;
    QMessageBox::StandardButton result;
    if (s.scripted) {
        // A modal loop of its own rather than exec(): a test that has already
        // asked the application to quit would see exec() return at once.
        // Whatever the loop lets run meanwhile (timers, replies, activation)
        // runs as it would for a user; the answer comes from inside it.
        const QMessageBox::StandardButton answer = s.answers.isEmpty() ? defaultButton : s.answers.dequeue();
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        s.shown.append({kind, title, text, buttonTexts, answer, box.geometry(),
                        box.owner() ? box.owner()->geometry() : QRect()});
        QTimer::singleShot(0, &box, [&box, answer] {
            if (QAbstractButton* b = box.button(answer)) {
                b->click();
            } else {
                box.done(answer);
            }
        });
        while (box.isVisible()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        result = static_cast<QMessageBox::StandardButton>(box.result());
    } else {
        result = static_cast<QMessageBox::StandardButton>(box.exec());
    }
    --s.open;
    return result;
}

int CustomMessageBox::openCount()
{
    return script().open;
}

void CustomMessageBox::setScripted(bool on)
{
    script().scripted = on;
}

bool CustomMessageBox::isScripted()
{
    return script().scripted;
}

void CustomMessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    script().answers.enqueue(answer);
}

QList<CustomMessageBox::Shown> CustomMessageBox::shown()
{
    return script().shown;
}

void CustomMessageBox::clearShown()
{
    script().shown.clear();
    script().answers.clear();
}
