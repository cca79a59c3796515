#pragma once

#include "hardware/WidgetSummary.h"

#include <QByteArray>
#include <QStringList>

// `aurelctl widgets`: the present widgets as a table, or as JSON for scripts.
namespace WidgetsCommand {

// Runs `aurelctl widgets` with the program's arguments; returns the exit status.
int Run(const QStringList& arguments);

// The table, or a line naming where widgets were looked for when there are none.
QByteArray FormatTable(const QList<Hardware::WidgetSummary>& widgets, const QString& searched);
QByteArray FormatJson(const QList<Hardware::WidgetSummary>& widgets);

}  // namespace WidgetsCommand
