#pragma once

#include "quorel/QuorelTemplate.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// The Quorel templates of every family, in the order the user made them, kept in one file,
// "templates.xml" in the content library root. A file that cannot be parsed gives an empty list
// and is left alone until the user changes something, so a file that can still be mended by hand
// is not overwritten by an empty one.
class QuorelTemplateList {
public:
    using Templates = std::vector<std::unique_ptr<QuorelTemplate>>;
    enum class LoadResult { Read, Missing, Malformed };

    // "templates.xml" in the content library root.
    static QString DefaultPath();

    // Replaces the list with the file's templates (none when it is missing or malformed).
    LoadResult Load(const QString& path);
    // Writes the whole list in one go (an interrupted write leaves the old file). True when
    // written, or when nothing may be written yet (a malformed file not yet changed).
    bool Save(const QString& path) const;

    // The templates of a templates.xml document; false (and none) when it is malformed.
    static bool Parse(const QByteArray& xml, Templates* templates);
    static QByteArray Write(const Templates& templates);

    const Templates& All() const { return m_templates; }
    int Count() const { return int(m_templates.size()); }
    QuorelTemplate* At(int index) const;

    // "New Template %d" with the smallest number from 1 up that no template bears.
    QString NewTemplateName() const;
    // Appends a new template of the family, copying the layout of `copyFrom` when given.
    QuorelTemplate* AddNew(int fixtureType, const QuorelTemplate* copyFrom = nullptr);
    void Remove(int index);
    void Rename(int index, const QString& name);
    // Says that a template's fixtures or settings were edited: the list may be saved.
    void MarkChanged() { m_keepFile = false; }

private:
    Templates m_templates;
    bool m_keepFile = false;  // read from a malformed file and unchanged since
};
