#include "lumo/tree/MarqaRDMContentRoot.h"

#include "lumo/devices/MarqaRDM.h"

MarqaRDMContentRoot::MarqaRDMContentRoot(MarqaRDM* device) : LumoRDMContentRoot(device) {
    MakeGroups<MarqaRDMContentGroup>(kQuorelLastFolder);
    DiscoverFolders();
}
