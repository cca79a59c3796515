#pragma once

#include "hardware/WidgetSummary.h"

#include <QByteArray>

// `aurelctl widgets`: the present widgets as a table, or as JSON for scripts.
namespace WidgetsCommand {

QByteArray FormatTable(const QList<Hardware::WidgetSummary>& widgets);
QByteArray FormatJson(const QList<Hardware::WidgetSummary>& widgets);

}  // namespace WidgetsCommand
