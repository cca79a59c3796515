#pragma once

#include "hardware/WidgetSummary.h"

#include <QByteArray>
#include <QStringList>

// `aurelctl widgets`: the present widgets as a table, or as JSON for scripts.
namespace WidgetsCommand {

// Runs `aurelctl widgets` with the program's arguments; returns the exit status.
int Run(const QStringList& arguments);

QByteArray FormatTable(const QList<Hardware::WidgetSummary>& widgets);
QByteArray FormatJson(const QList<Hardware::WidgetSummary>& widgets);

}  // namespace WidgetsCommand
