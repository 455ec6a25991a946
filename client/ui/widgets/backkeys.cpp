#include "backkeys.h"

#include <QKeySequence>
#include <QList>
#include <QShortcut>
#include <QWidget>

BackKeys::BackKeys(QWidget* page) : QObject(page)
{
    QList<QKeySequence> keys{QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_Left)};
    for (const QKeySequence& back : QKeySequence::keyBindings(QKeySequence::Back)) {
        // The same keys twice would make both shortcuts ambiguous.
        if (!keys.contains(back)) {
            keys.append(back);
        }
    }
    // A shortcut of a hidden widget never fires, so each page owns its own
    // and the one shown answers.
    for (const QKeySequence& sequence : keys) {
        auto* shortcut = new QShortcut(sequence, page, nullptr, nullptr, Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &BackKeys::activated);
    }
}
