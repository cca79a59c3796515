// Feeds scripted answers to the talk-back protocol: the range search and the reads of a found
// fixture must end without a crash whatever comes back.
#include "FuzzFeedback.h"
#include "FuzzRig.h"

#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"

#include <QStandardItemModel>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRig::Instance().Script(data, size);
    FuzzFeedback feedback;
    ORXProtocol& protocol = *ORXProtocol::Instance();
    QList<Device*> found;
    protocol.SearchRange(0, found, 0, 0xFFFFFFFF, &feedback);
    ORXDevice device(0, 0x01020304);
    protocol.ReadDevice(&device, &feedback);
    QStandardItemModel model;
    device.FillProperties(&model);
    for (Device* other : found) {
        protocol.ReadDevice(static_cast<ORXDevice*>(other), &feedback);
    }
    qDeleteAll(found);
    return 0;
}
