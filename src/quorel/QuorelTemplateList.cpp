#include "quorel/QuorelTemplateList.h"

#include "os/NamedFolders.h"
#include "quorel/QuorelLog.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

// Reads up to `count` numbers written as "%f %f ..." or "%d %d ...": each may follow white
// space and a sign; reading stops at the first that does not read. Returns how many were read.
template <class Number>
int ScanNumbers(QStringView text, Number* numbers, int count) {
    const QByteArray bytes = text.toUtf8();
    const char* at = bytes.constData();
    const char* end = at + bytes.size();
    int read = 0;
    for (; read < count; ++read) {
        while (at < end && std::isspace(static_cast<unsigned char>(*at))) {
            ++at;
        }
        if (at < end && *at == '+') {
            ++at;
        }
        Number number{};
        const auto [next, error] = std::from_chars(at, end, number);
        if (error != std::errc()) {
            break;
        }
        numbers[read] = number;
        at = next;
    }
    return read;
}

// An attribute read as "%d": `fallback` when it is absent, empty or does not read.
int IntAttribute(const QXmlStreamAttributes& attributes, QLatin1String name, int fallback) {
    int value = fallback;
    ScanNumbers(attributes.value(name), &value, 1);
    return value;
}

std::unique_ptr<QuorelTemplate> ReadTemplate(const QXmlStreamAttributes& attributes) {
    auto quorel = std::make_unique<QuorelTemplate>();
    quorel->name = attributes.value(QLatin1String("name")).toString();
    quorel->zoom = IntAttribute(attributes, QLatin1String("zoom"), QuorelTemplate::kDefaultZoom);
    quorel->sample =
        IntAttribute(attributes, QLatin1String("sample"), QuorelTemplate::kDefaultSample);
    quorel->locked = IntAttribute(attributes, QLatin1String("locked"), 0) != 0;
    quorel->fixtureType =
        IntAttribute(attributes, QLatin1String("fixtureType"), QuorelTypes::kMarqa);
    quorel->frame = QuorelTemplate::kStoredFrame;
    ScanNumbers(attributes.value(QLatin1String("scale")), quorel->frame.data(), 4);
    return quorel;
}

QuorelTypes::Fixture ReadFixture(const QXmlStreamAttributes& attributes) {
    double pos[2] = {0, 0};
    double scale[2] = {0, 0};
    QuorelTypes::Fixture fixture;
    ScanNumbers(attributes.value(QLatin1String("pos")), pos, 2);
    ScanNumbers(attributes.value(QLatin1String("scale")), scale, 2);
    ScanNumbers(attributes.value(QLatin1String("num")), &fixture.num, 1);
    ScanNumbers(attributes.value(QLatin1String("type")), &fixture.type, 1);
    fixture.pos = {pos[0], pos[1]};
    fixture.scale = {scale[0], scale[1]};
    if (fixture.num < 1) {
        ++fixture.num;  // raised once, as files written by earlier versions expect
    }
    return fixture;
}

}  // namespace

QString QuorelTemplateList::DefaultPath() {
    return QDir(Os::NamedFolders::Path(QStringLiteral("ContentLibraryRoot")))
        .filePath(QStringLiteral("templates.xml"));
}

bool QuorelTemplateList::Parse(const QByteArray& xml, Templates* templates) {
    templates->clear();
    QXmlStreamReader reader(xml);
    QuorelTemplate* current = nullptr;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (reader.name() == QLatin1String("template")) {
            templates->push_back(ReadTemplate(reader.attributes()));
            current = templates->back().get();
        } else if (reader.name() == QLatin1String("fixture") && current) {
            current->AddFixture(ReadFixture(reader.attributes()));
        }
    }
    if (reader.hasError()) {
        templates->clear();
        return false;
    }
    return true;
}

QByteArray QuorelTemplateList::Write(const Templates& templates) {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("templates"));
    for (const auto& quorel : templates) {
        const QuorelTemplate::Frame& frame = quorel->frame;
        writer.writeStartElement(QStringLiteral("template"));
        writer.writeAttribute(QStringLiteral("name"), quorel->name);
        writer.writeAttribute(QStringLiteral("zoom"), QString::number(quorel->zoom));
        writer.writeAttribute(QStringLiteral("sample"), QString::number(quorel->sample));
        writer.writeAttribute(QStringLiteral("locked"), QString::number(int(quorel->locked)));
        writer.writeAttribute(QStringLiteral("fixtureType"), QString::number(quorel->fixtureType));
        writer.writeAttribute(
            QStringLiteral("scale"),
            QString::asprintf("%f %f %f %f", frame[0], frame[1], frame[2], frame[3]));
        for (const auto& fixture : quorel->Fixtures()) {
            writer.writeEmptyElement(QStringLiteral("fixture"));
            writer.writeAttribute(QStringLiteral("pos"),
                                  QString::asprintf("%f %f", fixture->pos.x(), fixture->pos.y()));
            writer.writeAttribute(
                QStringLiteral("scale"),
                QString::asprintf("%f %f", fixture->scale.width(), fixture->scale.height()));
            writer.writeAttribute(QStringLiteral("num"), QString::number(fixture->num));
            writer.writeAttribute(QStringLiteral("type"), QString::number(fixture->type));
        }
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return xml;
}

QuorelTemplateList::LoadResult QuorelTemplateList::Load(const QString& path) {
    m_keepFile = false;
    m_templates.clear();
    QFile file(path);
    if (!file.exists()) {
        return LoadResult::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        OS_LOG_WARNING(
            Quorel::Log::Quorel(),
            QStringLiteral("Cannot read %1 (%2): no templates").arg(path, file.errorString()));
        return LoadResult::Missing;
    }
    if (!Parse(file.readAll(), &m_templates)) {
        m_keepFile = true;
        OS_LOG_WARNING(Quorel::Log::Quorel(),
                       QStringLiteral("%1 cannot be parsed: no templates; the file is kept as it "
                                      "is until a template is changed")
                           .arg(path));
        return LoadResult::Malformed;
    }
    return LoadResult::Read;
}

bool QuorelTemplateList::Save(const QString& path) const {
    if (m_keepFile) {
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(Write(m_templates)) < 0 ||
        !file.commit()) {
        OS_LOG_ERROR(Quorel::Log::Quorel(),
                     QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

QuorelTemplate* QuorelTemplateList::At(int index) const {
    return index >= 0 && index < Count() ? m_templates[size_t(index)].get() : nullptr;
}

QString QuorelTemplateList::NewTemplateName() const {
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("New Template %1").arg(number);
        if (std::none_of(m_templates.begin(), m_templates.end(),
                         [&name](const auto& quorel) { return quorel->name == name; })) {
            return name;
        }
    }
}

QuorelTemplate* QuorelTemplateList::AddNew(int fixtureType, const QuorelTemplate* copyFrom) {
    auto quorel = std::make_unique<QuorelTemplate>();
    quorel->name = NewTemplateName();
    quorel->fixtureType = fixtureType;
    if (copyFrom) {
        quorel->CopyLayoutFrom(*copyFrom);
    }
    m_templates.push_back(std::move(quorel));
    MarkChanged();
    return m_templates.back().get();
}

void QuorelTemplateList::Remove(int index) {
    if (At(index)) {
        m_templates.erase(m_templates.begin() + index);
        MarkChanged();
    }
}

void QuorelTemplateList::Rename(int index, const QString& name) {
    if (QuorelTemplate* quorel = At(index)) {
        quorel->name = name;
        MarkChanged();
    }
}
