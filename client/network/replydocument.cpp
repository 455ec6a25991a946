#include "replydocument.h"

#include <QXmlStreamReader>

namespace {

// Reads the element whose start tag was just read, up to its end tag. Child
// elements are kept at `depth` 1 only; deeper ones contribute their text.
void readElement(QXmlStreamReader& xml, ReplyElement& element, int depth)
{
    element.tag = xml.qualifiedName().toString();
    element.attributes = xml.attributes();
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (depth == 1) {
                ReplyElement child;
                readElement(xml, child, depth + 1);
                element.text += child.text;
                element.children.append(std::move(child));
            } else {
                ReplyElement nested;
                readElement(xml, nested, depth + 1);
                element.text += nested.text;
            }
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            element.text += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return;
        default:
            break;
        }
    }
}

} // namespace

namespace ReplyDocument {

std::optional<QVector<ReplyElement>> parse(const QByteArray& body)
{
    QXmlStreamReader xml(body);
    QVector<ReplyElement> result;
    bool inRoot = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (inRoot) {
                ReplyElement child;
                readElement(xml, child, 1);
                result.append(std::move(child));
            } else {
                inRoot = true;
            }
        }
    }
    if (xml.hasError() || !inRoot) {
        return std::nullopt;
    }
    return result;
}

QVector<ReplyElement> children(const QByteArray& body)
{
    return parse(body).value_or(QVector<ReplyElement>());
}

} // namespace ReplyDocument
