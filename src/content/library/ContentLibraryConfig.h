#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The description file of a library directory, "config.xml": an "objects" element (the
// directory's policy, the library version) and one empty element per described child.
struct ContentLibraryConfig {
    // The largest description read: thousands of children take a few hundred kilobytes.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    struct Child {
        QString element;  // "package", "folder" or "content"
        QString name;
        QString address;
        QString quorelId;
        QString policy;
    };

    QString policy;
    QString version;
    std::vector<Child> children;

    // Reads the elements "objects", "package", "folder" and "content" (attributes "name",
    // "policy", "address", "quorelID", "version"); other elements are passed over. False,
    // with nothing usable, when the text is not well-formed.
    bool Parse(const QByteArray& text);
    // The file's text, indented. `version` and `policy` are written when not empty; "quorelID"
    // when `quorelIds` is set.
    QByteArray Write(bool quorelIds) const;
};
