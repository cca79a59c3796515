#pragma once

#include <QString>

class ImageSink;

// Reading the frames of a file into a sink. Both readers deliver at most kMaxReadFrames
// frames and stop early when the sink asks them to.
namespace FrameReaders {

constexpr int kMaxReadFrames = 255;

// A picture or animated picture through the toolkit's image reader (format from the content),
// each frame with its own delay. False when the file cannot be read as a picture.
bool ReadPictures(const QString& file, ImageSink& sink);

// A video clip: the first video stream, each picture delayed until the next one's time stamp
// and the last until the end of the stream (0 ms throughout without time stamps). False when
// the file is not a clip this build can decode; `error` then says why.
bool ReadVideo(const QString& file, ImageSink& sink, QString* error = nullptr);

// ReadPictures, then ReadVideo when the file is not a picture. `error` says why neither read it.
bool ReadFrames(const QString& file, ImageSink& sink, QString* error = nullptr);

}  // namespace FrameReaders
