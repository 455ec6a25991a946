#pragma once

#include <QObject>

class QWidget;

// The keys that go back from a page, as its back arrow does: Esc, and the
// desktop's Back key (Alt+Left). They act only while the page is shown.
class BackKeys : public QObject
{
    Q_OBJECT

public:
    explicit BackKeys(QWidget* page);

signals:
    void activated();
};
