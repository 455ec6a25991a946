#pragma once

#include <QDialog>
#include <memory>

class QTimer;

namespace Ui {
class ShowLog;
}

// "Connection Details": the OpenVPN log of the current connection attempt,
// each line with its time, to read or to copy for a support request.
class ShowLog : public QDialog
{
    Q_OBJECT

public:
    explicit ShowLog(QWidget* parent);
    ~ShowLog() override;

    void clear();
    QString plainText() const;

    // An OpenVPN log record is ">LOG:time,flags,text", where the text may
    // hold commas of its own; the user wants the text as OpenVPN wrote it.
    static QString logRecordText(const QString& line);
    // Its time as hh:mm:ss in local time; empty when it has none.
    static QString logRecordTime(const QString& line);

public slots:
    void onUpdateLog(QString line);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onCopy();
    void scrollToEnd();

    std::unique_ptr<Ui::ShowLog> ui;
    QTimer* copiedTimer;
};
