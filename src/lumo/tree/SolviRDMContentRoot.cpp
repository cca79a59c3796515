#include "lumo/tree/SolviRDMContentRoot.h"

#include "lumo/devices/SolviRDM.h"

SolviRDMContentRoot::SolviRDMContentRoot(SolviRDM* device) : LumoRDMContentRoot(device) {
    MakeGroups<SolviRDMContentGroup>(kQuorelLastFolder);
    DiscoverFolders();
}
