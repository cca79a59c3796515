#pragma once

#include <QByteArray>
#include <QString>

// The 16-byte key of enciphered package entries: built into the program, replaced by the
// environment variable AUREL_PACKAGE_KEY (32 hexadecimal digits) when that is set.
namespace PackageKey {

// The key in force. A malformed AUREL_PACKAGE_KEY is reported (once) and the built-in key used.
QByteArray Key();
// The key that `text` gives, or an empty array with `error` set when it is not 32 hex digits.
QByteArray Parse(const QString& text, QString* error);

}  // namespace PackageKey
