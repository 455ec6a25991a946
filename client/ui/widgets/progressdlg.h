#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ProgressDlg;
}

// Shows the download of an update package; Cancel, Esc or closing it stops it.
class ProgressDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDlg(QWidget* parent);
    ~ProgressDlg() override;

    int percent() const;

signals:
    void cancel();

public slots:
    // value is the downloaded fraction, 0 to 1.
    void setProgress(float value);
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::ProgressDlg> ui;
};
