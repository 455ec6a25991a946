#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ShowLog;
}

// "Connection Details": the OpenVPN log of the current connection attempt.
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

public slots:
    void onUpdateLog(QString line);

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::ShowLog> ui;
};
