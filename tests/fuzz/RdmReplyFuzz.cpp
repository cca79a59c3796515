// Feeds scripted replies to the RDM layer: a discovery, the device information, the list of
// supported parameters and every standard getter must end without a crash whatever comes
// back, and every exchange ends when the script does.
#include "FuzzFeedback.h"
#include "FuzzRig.h"

#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

#include <QStandardItemModel>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRig::Instance().Script(data, size);
    static RDMProtocol protocol;
    FuzzFeedback feedback;
    QList<Device*> found;
    protocol.Discover(0, found, &feedback, DiscoverySearch::Fast);
    RDMDevice device(0x4A4100000101ULL);
    device.SetPort(0);
    protocol.GetDeviceInfo(&device, &feedback);
    protocol.GetSupportedParameters(&device, &feedback);
    protocol.UpdateDeviceInformation({&device}, &feedback);
    QStandardItemModel model;
    device.FillProperties(&model);
    qDeleteAll(found);
    return 0;
}
