#pragma once

#include "os/Log.h"

#include <QByteArray>

namespace Os {

// Writes each record as one line to standard error, and to the file named by
// AUREL_LOG_FILE when that is set:
//   [h:mm:ss.mmm process thread file:line] text
class SysLogWriter : public Log::Writer {
public:
    SysLogWriter();
    ~SysLogWriter() override;

    QString Name() const override { return QStringLiteral("SysLogWriter"); }
    void Write(const Log::Context& context) override;

    // Formats one line; the time is the elapsed time since the process started.
    static QByteArray FormatLine(const Log::Context& context, qint64 elapsedMicros);
    // Sends finished text to the writer's outputs (also used by trap reports).
    static void Output(const QByteArray& text);

    static qint64 ElapsedMicros();
};

}  // namespace Os
