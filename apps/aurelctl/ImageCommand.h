#pragma once

#include <QStringList>

class Content;

// `aurelctl image`: LED image files from the command line.
//   image info FILE [--json]             family, frames, delays, palette use, key, name
//   image gif FILE OUT.gif               the animation as a looping GIF
//   image convert IN OUT                 to the family of OUT's suffix (.mqi or .slvi)
//   image render FILE OUT.png [--frame N] [--size N]   one frame as a picture
namespace ImageCommand {

// Runs the command with the program's arguments; returns the exit status (2 for a wrong
// invocation, 1 for a file that cannot be read or written).
int Run(const QStringList& arguments);

// The text (or JSON) that `image info` prints for an image read from `path`.
QString Describe(const QString& path, const Content& image, bool json = false);

}  // namespace ImageCommand
