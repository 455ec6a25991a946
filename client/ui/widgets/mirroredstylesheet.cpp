#include "mirroredstylesheet.h"

#include <QEvent>
#include <QRegularExpression>
#include <QWidget>

MirroredStyleSheet::MirroredStyleSheet(QWidget* widget)
    : QObject(widget), widget(widget), leftToRight(widget->styleSheet())
{
    widget->installEventFilter(this);
    apply();
}

QString MirroredStyleSheet::mirrored(const QString& styleSheet)
{
    static const QRegularExpression side(QStringLiteral("\\b(padding|margin|border)-(left|right)\\b"));
    QString result;
    int from = 0;
    auto match = side.globalMatch(styleSheet);
    while (match.hasNext()) {
        const QRegularExpressionMatch m = match.next();
        result += styleSheet.mid(from, m.capturedStart() - from);
        result += m.captured(1) + (m.captured(2) == QLatin1String("left") ? QStringLiteral("-right")
                                                                          : QStringLiteral("-left"));
        from = m.capturedEnd();
    }
    return result + styleSheet.mid(from);
}

bool MirroredStyleSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget && event->type() == QEvent::LayoutDirectionChange) {
        apply();
    }
    return QObject::eventFilter(watched, event);
}

void MirroredStyleSheet::apply()
{
    const QString wanted = widget->layoutDirection() == Qt::RightToLeft ? mirrored(leftToRight) : leftToRight;
    if (widget->styleSheet() != wanted) {
        widget->setStyleSheet(wanted);
    }
}
