#include "archive/PackageKey.h"

#include "archive/ArchiveLog.h"

namespace PackageKey {

namespace {

constexpr unsigned char kBuiltInKey[16] = {0x3a, 0x91, 0x5c, 0xe2, 0x07, 0x6d, 0xb4, 0x18,
                                           0xf5, 0x2e, 0x83, 0x49, 0xc0, 0x7b, 0x16, 0xd9};

}  // namespace

QByteArray Parse(const QString& text, QString* error) {
    const QString trimmed = text.trimmed();
    bool hex = trimmed.size() == 32;
    for (const QChar c : trimmed) {
        hex = hex && isxdigit(c.toLatin1());
    }
    if (!hex) {
        *error = "AUREL_PACKAGE_KEY must be 32 hexadecimal digits";
        return {};
    }
    return QByteArray::fromHex(trimmed.toLatin1());
}

QByteArray Key() {
    const QString text = qEnvironmentVariable("AUREL_PACKAGE_KEY");
    if (text.isEmpty()) {
        return QByteArray(reinterpret_cast<const char*>(kBuiltInKey), sizeof kBuiltInKey);
    }
    QString error;
    const QByteArray key = Parse(text, &error);
    if (key.isEmpty()) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            OS_LOG_ERROR(Archive::Log::Archive(), error + "; the built-in key is used");
        }
        return QByteArray(reinterpret_cast<const char*>(kBuiltInKey), sizeof kBuiltInKey);
    }
    return key;
}

}  // namespace PackageKey
