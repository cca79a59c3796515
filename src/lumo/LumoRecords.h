#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

// One folder as a fixture reports it.
struct LumoFolderRecord {
    quint8 number = 0;
    QString name;  // at most 16 characters

    bool operator==(const LumoFolderRecord&) const = default;
};

// One file as a fixture reports it.
struct LumoFileRecord {
    quint8 folder = 0;
    quint8 file = 0;
    quint32 key = 0;  // content key of the file's image data
    QString name;     // at most 16 characters

    bool operator==(const LumoFileRecord&) const = default;
};

Q_DECLARE_METATYPE(LumoFolderRecord)
Q_DECLARE_METATYPE(LumoFileRecord)

// The byte layouts of folder and file entries. Names are 16 bytes of 8-bit text padded with
// zero bytes. The content key of a file entry is low byte first in what a fixture sends and
// high byte first in what the program sends; both directions are here so that the simulated
// fixture speaks the same layout.
namespace LumoWire {

enum class KeyOrder { LowFirst, HighFirst };

// The name as sent: 8-bit text cut to 16 bytes and padded with zero bytes.
QByteArray EncodeName(const QString& name);
// A received name: the bytes up to the first zero (or all 16), trimmed.
QString DecodeName(const char* bytes);

QByteArray EncodeFolder(const LumoFolderRecord& record);
// Whole 17-byte entries of `data`; a trailing partial entry is ignored.
QList<LumoFolderRecord> DecodeFolders(const QByteArray& data);

QByteArray EncodeFile(const LumoFileRecord& record, KeyOrder order);
// Whole 22-byte entries of `data`; a trailing partial entry is ignored.
QList<LumoFileRecord> DecodeFiles(const QByteArray& data, KeyOrder order);

}  // namespace LumoWire
