#include "ui/Preferences.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>

namespace {

// Reads "lastPath" documents into two maps: the document element clears them, an element with
// a "value" attribute is an on/off choice, every other element adds its name with its "path"
// attribute.
class LastPathHandler {
public:
    LastPathHandler(QMap<QString, QString>* paths, QMap<QString, bool>* flags)
        : m_paths(paths), m_flags(flags) {}

    bool Read(QIODevice* device) {
        QXmlStreamReader reader(device);
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            if (reader.name() == QLatin1String("lastPath")) {
                m_paths->clear();
                m_flags->clear();
            } else if (attributes.hasAttribute("value")) {
                m_flags->insert(reader.name().toString(),
                                attributes.value("value") == QLatin1String("true"));
            } else {
                m_paths->insert(reader.name().toString(),
                                reader.attributes().value("path").toString());
            }
        }
        return !reader.hasError();
    }

private:
    QMap<QString, QString>* m_paths;
    QMap<QString, bool>* m_flags;
};

struct Shared {
    std::unique_ptr<Preferences> preferences;
    int uses = 0;
    QMutex mutex;
};

Shared& SharedPreferences() {
    static Shared shared;
    return shared;
}

bool IsElementName(const QString& key) {
    static const QRegularExpression pattern("^[A-Za-z_][A-Za-z0-9._-]*$");
    return pattern.match(key).hasMatch() && !key.startsWith("xml", Qt::CaseInsensitive);
}

}  // namespace

Preferences::Preferences(const QString& folder) : m_file(folder + "/Preferences.xml") {
    Load();
}

Preferences::~Preferences() {
    Save();
}

QString Preferences::GetLastPath(const QString& key) const {
    QMutexLocker lock(&m_mutex);
    return m_paths.value(key);
}

void Preferences::SetLastPath(const QString& key, const QString& path) {
    {
        QMutexLocker lock(&m_mutex);
        if (path.isEmpty()) {
            m_paths.remove(key);
        } else {
            m_paths.insert(key, path);
        }
    }
    Save();
}

bool Preferences::GetFlag(const QString& key) const {
    QMutexLocker lock(&m_mutex);
    return m_flags.value(key, false);
}

void Preferences::SetFlag(const QString& key, bool on) {
    {
        QMutexLocker lock(&m_mutex);
        m_flags.insert(key, on);
    }
    Save();
}

void Preferences::Load() {
    QMutexLocker lock(&m_mutex);
    m_paths.clear();
    m_flags.clear();
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    if (!LastPathHandler(&m_paths, &m_flags).Read(&file)) {
        m_paths.clear();
        m_flags.clear();
    }
}

bool Preferences::Save() const {
    QMutexLocker lock(&m_mutex);
    if (m_paths.isEmpty() && m_flags.isEmpty()) {
        return !QFile::exists(m_file) || QFile::remove(m_file);
    }
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement("lastPath");
    for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it) {
        // A key that cannot be an element name would make the file unreadable.
        if (IsElementName(it.key())) {
            writer.writeEmptyElement(it.key());
            writer.writeAttribute("path", it.value());
        }
    }
    for (auto it = m_flags.cbegin(); it != m_flags.cend(); ++it) {
        if (IsElementName(it.key())) {
            writer.writeEmptyElement(it.key());
            writer.writeAttribute("value", it.value() ? "true" : "false");
        }
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return file.commit();
}

Preferences* Preferences::AcquirePreferences() {
    Shared& shared = SharedPreferences();
    QMutexLocker lock(&shared.mutex);
    if (!shared.preferences) {
        shared.preferences = std::make_unique<Preferences>(QDir::currentPath());
    }
    ++shared.uses;
    return shared.preferences.get();
}

void Preferences::ReleasePreferences() {
    Shared& shared = SharedPreferences();
    QMutexLocker lock(&shared.mutex);
    if (shared.uses > 0 && --shared.uses == 0) {
        shared.preferences.reset();
    }
}
