#pragma once

#include "lumo/tree/LumoRDMContentRoot.h"

class MarqaRDM;

// The content tree of a first-family fixture.
class MarqaRDMContentRoot : public LumoRDMContentRoot {
    Q_OBJECT

public:
    static constexpr int kQuorelLastFolder = 251;

    // Makes the groups and starts reading the fixture's folders.
    explicit MarqaRDMContentRoot(MarqaRDM* device);
};
