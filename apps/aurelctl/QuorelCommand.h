#pragma once

#include <QStringList>

// `aurelctl quorel template ls|show|add|rm`: the Quorel templates of templates.xml in the
// content library root; `aurelctl quorel render`: a template's fixtures rendered from a
// picture or clip into a collage of the Quorel library.
namespace QuorelCommand {

int Run(const QStringList& arguments);

}  // namespace QuorelCommand
