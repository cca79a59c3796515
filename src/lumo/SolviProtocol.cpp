#include "lumo/SolviProtocol.h"

#include "content/ledimage/LumoRDMImage.h"

SolviProtocol* SolviProtocol::Instance() {
    static SolviProtocol* protocol = new SolviProtocol;  // lives until the program ends
    return protocol;
}

int SolviProtocol::SerializeImage(const LumoRDMImage& image, QByteArray* out) const {
    *out = image.ToBytes();
    return int(out->size());
}
