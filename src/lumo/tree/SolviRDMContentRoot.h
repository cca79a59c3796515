#pragma once

#include "lumo/tree/LumoRDMContentRoot.h"

class SolviRDM;

// The content tree of a second-family fixture.
class SolviRDMContentRoot : public LumoRDMContentRoot {
    Q_OBJECT

public:
    static constexpr int kQuorelLastFolder = 255;

    // Makes the groups and starts reading the fixture's folders.
    explicit SolviRDMContentRoot(SolviRDM* device);
};
