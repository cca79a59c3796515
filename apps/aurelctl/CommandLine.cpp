#include "CommandLine.h"

#include <cstdio>

namespace CommandLine {

int Fail(const QString& message, int status) {
    std::fprintf(stderr, "aurelctl: %s\n", qPrintable(message));
    return status;
}

void Print(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

}  // namespace CommandLine
