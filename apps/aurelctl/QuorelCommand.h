#pragma once

#include <QStringList>

// `aurelctl quorel template ls|show|add|rm`: the Quorel templates of templates.xml in the
// content library root.
namespace QuorelCommand {

int Run(const QStringList& arguments);

}  // namespace QuorelCommand
