#pragma once

#include <QStringList>

// aurelctl image import: pictures and clips sampled into LED images, one file to an image
// file or a whole folder into a library folder.
namespace ImportCommand {

int Run(const QStringList& arguments);

}  // namespace ImportCommand
