#pragma once

#include <QList>
#include <QString>

class Device;
class IFeedback;

// A way of putting a firmware image into fixtures.
class IFirmwareProtocol {
public:
    virtual ~IFirmwareProtocol() = default;

    // Uploads the image in `file` to the devices; true when at least one took it.
    virtual bool UploadFirmware(const QList<Device*>& devices, const QString& file,
                                IFeedback* feedback) = 0;
};
