#include "lumo/devices/ConfigHandler.h"

#include <QXmlStreamReader>

std::optional<ConfigHandler::Version> ConfigHandler::ParseVersion(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    Version version{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        version[size_t(i)] = parts[i].trimmed().toUInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return version;
}

bool ConfigHandler::Read(QIODevice& file) {
    m_motion.reset();
    m_graphics.reset();
    m_fpga.reset();
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = reader.name();
        const QString version = reader.attributes().value(QStringLiteral("version")).toString();
        if (name == QLatin1String("motion") || name == QLatin1String("graphics")) {
            const auto parsed = ParseVersion(version);
            if (!parsed) {
                return false;
            }
            (name == QLatin1String("motion") ? m_motion : m_graphics) = parsed;
        } else if (name == QLatin1String("fpga")) {
            bool ok = false;
            const quint32 value = version.trimmed().toUInt(&ok);
            if (!ok) {
                return false;
            }
            m_fpga = value;
        }
    }
    return !reader.hasError();
}
