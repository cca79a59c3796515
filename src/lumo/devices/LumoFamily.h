#pragma once

#include "rdm/devices/RdmFamily.h"

// The two LED fixture families as discovery knows them: it makes their device objects, reads
// the FPGA version and the graphics engine's unique id before taking a fixture as one of
// them, and on a factory machine gives fixtures without identities new unique ids.
class LumoFamily : public RdmFamily {
public:
    // Registers the second family, then the first (the order discovery compares them in).
    // Later calls do nothing.
    static void RegisterAll();

    bool Check(RDMDevice* device, IFeedback* feedback) const override;
    void AssignIdentities(RDMDevice* device, IFeedback* feedback) const override;
};
