#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdio>

// Where the command line's answers go: readable text or one JSON document on
// standard output, errors always on standard error.
class CliOutput
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    explicit CliOutput(bool json, FILE* out = stdout, FILE* err = stderr) : json_(json), out_(out), err_(err)
    {
    }

    bool json() const { return json_; }
    void line(const QString& text) const;
    // Rows padded into columns; the first row is the heading.
    void table(const QList<QStringList>& rows) const;
    void document(const QJsonObject& object) const;
    // "kestrova-cli: text" on standard error; returns the code for chaining.
    int error(int code, const QString& text) const;

    // The connection's status: its lines, or the document.
    void status(const QJsonObject& status) const;
    // An engine's progress event: its text on standard error, where it
    // stays out of the outcome on standard output; nothing in JSON mode.
    void progress(const QJsonObject& event) const;
    // An engine's final reply: the status it carries, or its error. Returns
    // the exit code.
    int reply(const QJsonObject& reply) const;

private:
    bool json_;
    FILE* out_;
    FILE* err_;
};
