#pragma once

#include <QTreeView>

// The server list: no selection, a pointing hand, and a click reported as an
// index rather than selecting anything. Star clicks on server rows are the
// delegates' business and never reported.
class ServerTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit ServerTreeView(QWidget* parent = nullptr);

signals:
    void selectLocationIndex(QModelIndex index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Presses never reach the base class (it would start editors), so the
    // release that toggles a star goes to the row's delegate from here.
    void mouseReleaseEvent(QMouseEvent* event) override;
};
