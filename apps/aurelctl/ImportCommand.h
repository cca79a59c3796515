#pragma once

#include "content/import/ImportSettings.h"

#include <QCommandLineParser>
#include <QStringList>

// aurelctl image import: pictures and clips sampled into LED images, one file to an image
// file or a whole folder into a library folder.
namespace ImportCommand {

int Run(const QStringList& arguments);

// The sampling options (--sample, --contrast, ...) and reading them into settings; false, with
// `error` saying why, for a value out of range.
void AddSettingsOptions(QCommandLineParser& parser);
bool ReadSettings(const QCommandLineParser& parser, ImportSettings* settings, QString* error);

}  // namespace ImportCommand
