#include "content/library/ContentLibraryConfig.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

bool ContentLibraryConfig::Parse(const QByteArray& text) {
    ContentLibraryConfig parsed;
    QXmlStreamReader reader(text);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView element = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (element == u"objects") {
            parsed.policy = attributes.value("policy").toString();
            parsed.version = attributes.value("version").toString();
        } else if (element == u"package" || element == u"folder" || element == u"content") {
            parsed.children.push_back({element.toString(), attributes.value("name").toString(),
                                       attributes.value("address").toString(),
                                       attributes.value("quorelID").toString(),
                                       attributes.value("policy").toString()});
        }
    }
    if (reader.hasError()) {
        return false;
    }
    *this = std::move(parsed);
    return true;
}

QByteArray ContentLibraryConfig::Write(bool quorelIds) const {
    QByteArray text;
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement("objects");
    if (!version.isEmpty()) {
        writer.writeAttribute("version", version);
    }
    if (!policy.isEmpty()) {
        writer.writeAttribute("policy", policy);
    }
    for (const Child& child : children) {
        writer.writeEmptyElement(child.element);
        writer.writeAttribute("name", child.name);
        if (quorelIds) {
            writer.writeAttribute("quorelID", child.quorelId);
        }
        writer.writeAttribute("address", child.address);
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return text;
}
