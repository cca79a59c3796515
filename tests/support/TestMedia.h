#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

// Clips for tests and benchmarks, written by the ffmpeg program from one of its generated
// sources (for example "color=c=red:s=64x64:r=25:d=2" or "testsrc2=s=512x512:r=25:d=10").
namespace TestMedia {

// Writes `path` from the source with the output options given (codec, format); false, with
// ffmpeg's words in `error`, when it could not.
bool MakeClip(const QString& path, const QString& source, const QStringList& options,
              QString* error = nullptr);

// Writes an animated GIF of solid frames of `size`, one per delay (hundredths of a second),
// each frame a different colour.
bool WriteAnimatedGif(const QString& path, QSize size, const std::vector<quint16>& delays);

}  // namespace TestMedia
