#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QXmlStreamAttributes>

#include <optional>

// One child of a reply's document element: its tag, attributes, whole text
// (that of all its descendants, as a DOM's text() gives it) and its own
// child elements, which only "upgrade" has.
struct ReplyElement
{
    QString tag;
    QXmlStreamAttributes attributes;
    QString text;
    QVector<ReplyElement> children;

    QString attribute(const QString& name) const { return attributes.value(name).toString(); }
};

// The service's replies are read as a flat list of the document element's
// children, in document order. A sign-in reply with 5,000 servers is read in
// one pass, without building a full document tree.
namespace ReplyDocument {

// Nothing for a body that is not well-formed XML, so that a broken reply
// changes nothing.
std::optional<QVector<ReplyElement>> parse(const QByteArray& body);

// The children, or an empty list for a body that is not XML.
QVector<ReplyElement> children(const QByteArray& body);

} // namespace ReplyDocument
