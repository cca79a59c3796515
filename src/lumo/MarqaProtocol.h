#pragma once

#include "lumo/LumoProtocol.h"

// The manufacturer parameters as the first family speaks them: 136-byte image entries.
class MarqaProtocol : public LumoProtocol {
    Q_OBJECT
public:
    static constexpr int kEntrySize = 136;
    using LumoProtocol::LumoProtocol;
    static MarqaProtocol* Instance();
    int SerializeImage(const LumoRDMImage& image, QByteArray* out) const override;
};
