#pragma once

#include <QLineEdit>

class QToolButton;

// The search field of the server list, with a clear button inside it that
// shows only while there is text.
class SearchEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit SearchEdit(QWidget* parent = nullptr);

    QToolButton* clearButton() const { return clear; }

public slots:
    void updateCloseButton(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QToolButton* clear;
};
