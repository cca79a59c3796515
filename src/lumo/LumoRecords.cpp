#include "lumo/LumoRecords.h"

#include "lumo/LumoDefs.h"

namespace LumoWire {

QByteArray EncodeName(const QString& name) {
    QByteArray bytes = name.toLatin1().left(Lumo::kNameSize);
    bytes.append(Lumo::kNameSize - bytes.size(), '\0');
    return bytes;
}

QString DecodeName(const char* bytes) {
    return QString::fromLatin1(bytes, qstrnlen(bytes, Lumo::kNameSize)).trimmed();
}

QByteArray EncodeFolder(const LumoFolderRecord& record) {
    return char(record.number) + EncodeName(record.name);
}

QList<LumoFolderRecord> DecodeFolders(const QByteArray& data) {
    QList<LumoFolderRecord> records;
    for (qsizetype at = 0; at + Lumo::kFolderEntrySize <= data.size();
         at += Lumo::kFolderEntrySize) {
        records.append({quint8(data[at]), DecodeName(data.constData() + at + 1)});
    }
    return records;
}

QByteArray EncodeFile(const LumoFileRecord& record, KeyOrder order) {
    QByteArray bytes;
    bytes.append(char(record.folder));
    bytes.append(char(record.file));
    for (int i = 0; i < 4; ++i) {
        const int shift = order == KeyOrder::LowFirst ? 8 * i : 8 * (3 - i);
        bytes.append(char(quint8(record.key >> shift)));
    }
    return bytes + EncodeName(record.name);
}

QList<LumoFileRecord> DecodeFiles(const QByteArray& data, KeyOrder order) {
    QList<LumoFileRecord> records;
    for (qsizetype at = 0; at + Lumo::kFileEntrySize <= data.size(); at += Lumo::kFileEntrySize) {
        const auto* entry = reinterpret_cast<const quint8*>(data.constData() + at);
        quint32 key = 0;
        for (int i = 0; i < 4; ++i) {
            const int shift = order == KeyOrder::LowFirst ? 8 * i : 8 * (3 - i);
            key |= quint32(entry[2 + i]) << shift;
        }
        records.append({entry[0], entry[1], key, DecodeName(data.constData() + at + 6)});
    }
    return records;
}

}  // namespace LumoWire
