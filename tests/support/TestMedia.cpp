#include "support/TestMedia.h"

#include <QProcess>
#include <QStandardPaths>

namespace TestMedia {

bool MakeClip(const QString& path, const QString& source, const QStringList& options,
              QString* error) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (program.isEmpty()) {
        if (error) {
            *error = QStringLiteral("ffmpeg is not installed (scripts/setup installs it)");
        }
        return false;
    }
    QProcess ffmpeg;
    QStringList arguments{"-v", "error", "-y", "-f", "lavfi", "-i", source};
    arguments << options << path;
    ffmpeg.start(program, arguments);
    const bool done = ffmpeg.waitForFinished(120000);
    if (done && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0) {
        return true;
    }
    ffmpeg.kill();
    if (error) {
        *error = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
    }
    return false;
}

}  // namespace TestMedia
