#include "support/TestMedia.h"

#include "content/ledimage/GifWriter.h"

#include <QFile>
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

bool WriteAnimatedGif(const QString& path, QSize size, const std::vector<quint16>& delays) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    std::array<QRgb, 256> colours{};
    for (int i = 0; i < 256; ++i) {
        colours[size_t(i)] = qRgb(i, 255 - i, 0);
    }
    GifWriter writer(&file);
    std::vector<quint8> pixels(size_t(size.width() * size.height()));
    bool ok = writer.Begin(size.width(), size.height(), colours, 0);
    for (size_t f = 0; f < delays.size(); ++f) {
        std::fill(pixels.begin(), pixels.end(), quint8(f * 40));
        ok = ok && writer.AddFrame(pixels.data(), delays[f], -1);
    }
    return ok && writer.Finish();
}

}  // namespace TestMedia
