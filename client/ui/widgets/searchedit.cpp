#include "searchedit.h"

#include <QEvent>
#include <QStyle>
#include <QToolButton>

SearchEdit::SearchEdit(QWidget* parent) : QLineEdit(parent), clear(new QToolButton(this))
{
    setObjectName(QStringLiteral("searchEdit"));
    clear->setObjectName(QStringLiteral("clearButton"));
    clear->setIcon(QIcon(QStringLiteral(":/resources/delete.svg")));
    clear->setIconSize(QSize(14, 14));
    clear->setCursor(Qt::PointingHandCursor);
    clear->setStyleSheet(QStringLiteral("QToolButton { border: none; padding:5px 6px 3px;}"));
    clear->hide();
    connect(clear, &QToolButton::clicked, this, &QLineEdit::clear);
    connect(this, &QLineEdit::textChanged, this, &SearchEdit::updateCloseButton);

    setStyleSheet(QStringLiteral("QLineEdit{padding: 0 30 0 10; border: none; border-radius:2;}"
                                 "QWidget:focus {border: none; outline: none; background-color: white;}"));
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    retranslate();
    // Over the filter buttons, whose section begins right of the back button.
    setGeometry(12, 12, 240, 25);
}

void SearchEdit::updateCloseButton(const QString& text)
{
    clear->setVisible(!text.isEmpty());
}

void SearchEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const QSize hint = clear->sizeHint();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    clear->move(width() - frame - hint.width(), (height() - hint.height()) / 2);
}

void SearchEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QLineEdit::changeEvent(event);
}

void SearchEdit::retranslate()
{
    setPlaceholderText(tr("Location"));
}
