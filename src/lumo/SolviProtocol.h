#pragma once

#include "lumo/LumoProtocol.h"

// The manufacturer parameters as the second family speaks them: 70-byte image entries.
class SolviProtocol : public LumoProtocol {
    Q_OBJECT
public:
    static constexpr int kEntrySize = 70;
    using LumoProtocol::LumoProtocol;
    static SolviProtocol* Instance();
    int SerializeImage(const LumoRDMImage& image, QByteArray* out) const override;
};
