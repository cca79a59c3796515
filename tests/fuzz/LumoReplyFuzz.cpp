// Feeds scripted replies to the LED fixtures' manufacturer parameters: folder and file lists,
// transfer states, downloads, uploads and the version queries of either family must end
// without a crash whatever comes back, and a download never yields a malformed image.
#include "FuzzFeedback.h"
#include "FuzzRig.h"

#include "content/ledimage/MarqaRDMImage.h"
#include "content/ledimage/SolviRDMImage.h"
#include "lumo/MarqaProtocol.h"
#include "lumo/SolviProtocol.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"

#include <cstdlib>

namespace {

template <class Device, class Record>
void Exercise(LumoProtocol& protocol, FuzzFeedback& feedback) {
    Device device(0x43560000A001ULL);
    device.SetPort(0);
    QList<LumoFolderRecord> folders;
    protocol.GetFolderInfo(&device, 0, folders, &feedback);
    QList<LumoFileRecord> files;
    protocol.GetFileInfo(&device, 41, 0, files, &feedback);
    for (const LumoFileRecord& file : files) {
        if (file.folder != 41) {
            std::abort();  // entries of other folders are dropped
        }
    }
    protocol.GetBulkDataReady(0, device.GetUid(), &feedback);
    Record image;
    if (protocol.DownloadFile(&device, 41, 1, image, &feedback) &&
        Record().FromBytes(image.ToBytes()) == false) {
        std::abort();
    }
    Record small;
    small.entries.resize(2);
    for (LumoRDMImage::Entry& entry : small.entries) {
        entry.leds = QByteArray(small.LedCount(), '\1');
    }
    protocol.UploadFile(&device, 41, 2, small, &feedback);
    QList<LumoRDM*> devices{&device};
    protocol.UploadFileToDevices(devices, 41, 3, small, &feedback);
    protocol.GetFpgaVersion(&device, &feedback);
    protocol.GetGraphicsVersion(&device, &feedback);
    protocol.GetGraphicsUniqueId(&device, &feedback);
    protocol.GetGraphicsBootChanged(&device, &feedback);
    protocol.GetQuorelAddress(&device, &feedback);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the family; the rest is the script.
    FuzzRig::Instance().Script(data + 1, size - 1);
    FuzzFeedback feedback;
    if (data[0] % 2 == 0) {
        Exercise<MarqaRDM, MarqaRDMImage>(*MarqaProtocol::Instance(), feedback);
    } else {
        Exercise<SolviRDM, SolviRDMImage>(*SolviProtocol::Instance(), feedback);
    }
    return 0;
}
