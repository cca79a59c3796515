#pragma once

#include <QIODevice>

#include <array>
#include <optional>

// Reads the version file of a firmware folder: XML whose element "motion" and element
// "graphics" carry "version" as four decimal numbers joined by ".", and whose element "fpga"
// carries "version" as one decimal number. Other elements are ignored.
class ConfigHandler {
public:
    using Version = std::array<quint32, 4>;

    // False when the file is not well-formed XML or a version attribute is malformed.
    bool Read(QIODevice& file);

    std::optional<Version> Motion() const { return m_motion; }
    std::optional<Version> Graphics() const { return m_graphics; }
    std::optional<quint32> Fpga() const { return m_fpga; }

    // "a.b.c.d" with exactly four decimal parts.
    static std::optional<Version> ParseVersion(const QString& text);

private:
    std::optional<Version> m_motion;
    std::optional<Version> m_graphics;
    std::optional<quint32> m_fpga;
};
