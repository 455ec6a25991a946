#pragma once

#include <QDialog>
#include <memory>

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

    // An OpenVPN log record is "time,flags,text[,more text]"; the user only
    // wants the text.
    static QString logRecordText(const QString& line);
    // Its time as hh:mm:ss in local time; empty when it has none.
    static QString logRecordTime(const QString& line);

public slots:
    void onUpdateLog(QString line);

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::ShowLog> ui;
};
