#include "lumo/MarqaProtocol.h"

#include "content/ledimage/LumoRDMImage.h"

MarqaProtocol* MarqaProtocol::Instance() {
    static MarqaProtocol* protocol = new MarqaProtocol;  // lives until the program ends
    return protocol;
}

int MarqaProtocol::SerializeImage(const LumoRDMImage& image, QByteArray* out) const {
    *out = image.ToBytes();
    return int(out->size());
}
