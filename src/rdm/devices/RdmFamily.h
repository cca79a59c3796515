#pragma once

#include <QString>

#include <memory>
#include <vector>

class IFeedback;
class RDMDevice;
class RDMProtocol;

// A family of fixtures that discovery recognises by its model description and represents by
// a device class of its own, after checks and the factory assignment of its identities.
class RdmFamily {
public:
    virtual ~RdmFamily() = default;

    // Compared with the model description, ignoring case.
    virtual QString ModelName() const = 0;
    // A new device object of the family for the fixture.
    virtual std::unique_ptr<RDMDevice> Create(quint64 uid, quint8 port) const = 0;
    // Reads what the family needs to work with the fixture; false when the fixture cannot
    // be used as one of the family.
    virtual bool Check(RDMDevice* device, IFeedback* feedback) const = 0;
    // Gives the fixture factory identities where it has none yet.
    virtual void AssignIdentities(RDMDevice* device, IFeedback* feedback) const = 0;

    // The registered families, in the order discovery tries them.
    static const std::vector<std::unique_ptr<RdmFamily>>& All();
    static void Register(std::unique_ptr<RdmFamily> family);
    static void Unregister(const RdmFamily* family);
    // The family whose model name matches, or null.
    static const RdmFamily* ForModel(const QString& modelDescription);
};
