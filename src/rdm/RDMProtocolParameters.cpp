// The standard parameters of RDMProtocol: one GET or SET each, decoded into the device.

#include "comm/IFeedback.h"
#include "comm/ProgressMeter.h"
#include "rdm/DiscoveryProgress.h"
#include "rdm/RDMProtocol.h"
#include "rdm/SettableParameter.h"
#include "rdm/devices/RDMDevice.h"

#include <functional>
#include <map>

namespace {

constexpr quint32 kLabelCapacity = 60;
constexpr quint32 kAddressCapacity = 50;
constexpr quint32 kLongCapacity = 255;
constexpr int kDeviceInfoSize = 19;

const quint8* Bytes(const QByteArray& data) {
    return reinterpret_cast<const quint8*>(data.constData());
}

// Text parameters need no terminator; a fixture that pads with zeros ends the text there.
QString Text(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return QString::fromLatin1(end < 0 ? data : data.left(end));
}

}  // namespace

// How one parameter is read: its request, the reply capacity, the words of its NACK
// message, the smallest reply it can decode and where the value goes.
struct RDMProtocol::Getter {
    quint16 pid;
    quint32 capacity;
    const char* action;
    int minimumLength;
    std::function<void(RDMDevice&, const QByteArray&)> store;
};

namespace {

using Store = std::function<void(RDMDevice&, const QByteArray&)>;

template <class Setter>
Store U8(Setter setter) {
    return [setter](RDMDevice& d, const QByteArray& data) { (d.*setter)(quint8(data[0])); };
}
template <class Setter>
Store Flag(Setter setter) {
    return [setter](RDMDevice& d, const QByteArray& data) { (d.*setter)(data[0] != 0); };
}
template <class Setter>
Store U16(Setter setter) {
    return [setter](RDMDevice& d, const QByteArray& data) {
        (d.*setter)(RDMProtocol::UnpackUInt16(Bytes(data)));
    };
}
template <class Setter>
Store U32(Setter setter) {
    return [setter](RDMDevice& d, const QByteArray& data) {
        (d.*setter)(RDMProtocol::UnpackUInt32(Bytes(data)));
    };
}
template <class Setter>
Store Label(Setter setter) {
    return [setter](RDMDevice& d, const QByteArray& data) { (d.*setter)(Text(data)); };
}

}  // namespace

static const std::map<quint16, RDMProtocol::Getter>& Getters() {
    using D = RDMDevice;
    using G = RDMProtocol::Getter;
    static const std::map<quint16, G> getters = [] {
        const G rows[] = {
            {Rdm::DmxStartAddress, kAddressCapacity, "Getting Dmx Start Address", 2,
             U16(&D::SetDmxStartAddress)},
            {Rdm::DeviceModelDescription, kLabelCapacity, "Getting Model Description", 1,
             Label(&D::SetModelDescription)},
            {Rdm::ManufacturerLabel, kLabelCapacity, "Getting Manufacturer label", 1,
             Label(&D::SetManufacturerLabel)},
            {Rdm::DeviceLabel, kLabelCapacity, "Getting Device label", 1,
             Label(&D::SetDeviceLabel)},
            {Rdm::FactoryDefaults, kLabelCapacity, "Getting Factory Defaults", 1,
             Flag(&D::SetFactoryDefaults)},
            {Rdm::SoftwareVersionLabel, kAddressCapacity, "Getting Software version label", 1,
             Label(&D::SetSoftwareVersionLabel)},
            {Rdm::BootSoftwareVersionLabel, kLabelCapacity, "Get Boot Version", 1,
             Label(&D::SetBootSoftwareVersionLabel)},
            {Rdm::DeviceHours, kLabelCapacity, "Getting Device hours", 4, U32(&D::SetDeviceHours)},
            {Rdm::LampHours, kLabelCapacity, "Getting lamp hours", 4, U32(&D::SetLampHours)},
            {Rdm::LampStrikes, kLabelCapacity, "Getting lamp strikes", 4, U32(&D::SetLampStrikes)},
            {Rdm::LampState, kLabelCapacity, "Getting Lamp state", 1, U8(&D::SetLampState)},
            {Rdm::LampOnMode, kLabelCapacity, "Getting Lamp On Mode", 1, U8(&D::SetLampOnMode)},
            {Rdm::DevicePowerCycles, kLabelCapacity, "Getting Device Power Cycles", 4,
             U32(&D::SetPowerCycles)},
            {Rdm::DisplayInvert, kLabelCapacity, "Getting Display Invert", 1,
             U8(&D::SetDisplayInvert)},
            {Rdm::DisplayLevel, kLabelCapacity, "Getting Display Level", 1,
             U8(&D::SetDisplayLevel)},
            {Rdm::PanInvert, kLabelCapacity, "Getting Pan Invert", 1, Flag(&D::SetPanInvert)},
            {Rdm::TiltInvert, kLabelCapacity, "Getting Tilt Invert", 1, Flag(&D::SetTiltInvert)},
            {Rdm::PanTiltSwap, kLabelCapacity, "Getting Pan Tilt Swap", 1,
             Flag(&D::SetPanTiltSwap)},
            {Rdm::PowerState, kLabelCapacity, "Getting Power State", 1, U8(&D::SetPowerState)},
            {Rdm::IdentifyDevice, kLabelCapacity, "Getting Identify", 1, Flag(&D::SetIdentify)},
        };
        std::map<quint16, G> table;
        for (const G& row : rows) {
            table.emplace(row.pid, row);
        }
        return table;
    }();
    return getters;
}

bool RDMProtocol::Transact(RDMDevice* device, quint8 commandClass, quint16 pid,
                           const QByteArray& data, quint32 capacity, const QString& action,
                           IFeedback* feedback, QByteArray* reply) {
    if (!device) {
        return false;
    }
    QByteArray buffer(int(capacity), '\0');
    quint32 length = capacity;
    const ResponseStatus status = RdmTransaction(
        device->GetPort(), device->DeviceId(), device->ManufacturerId(), commandClass, pid,
        Bytes(data), int(data.size()), reinterpret_cast<quint8*>(buffer.data()), length, feedback);
    if (status == ResponseNack) {
        Report(feedback,
               QStringLiteral(" Device 0x%1 Failed %2: Nack Error %3!")
                   .arg(QString::number(device->GetUid(), 16), action)
                   .arg(UnpackUInt16(Bytes(buffer))),
               FeedbackStatusError);
        return false;
    }
    if (status != ResponseAck) {
        return false;
    }
    if (reply) {
        *reply = buffer.left(int(length));
    }
    return true;
}

bool RDMProtocol::Get(RDMDevice* device, const Getter& getter, IFeedback* feedback) {
    QByteArray data;
    if (!Transact(device, Rdm::kGet, getter.pid, {}, getter.capacity, getter.action, feedback,
                  &data) ||
        data.size() < std::max(1, getter.minimumLength)) {
        return false;
    }
    getter.store(*device, data);
    return true;
}

bool RDMProtocol::GetFromTable(RDMDevice* device, quint16 pid, IFeedback* feedback) {
    return Get(device, Getters().at(pid), feedback);
}

bool RDMProtocol::SetIdentify(RDMDevice* device, quint8 value, IFeedback* feedback) {
    if (!Transact(device, Rdm::kSet, Rdm::IdentifyDevice, QByteArray(1, char(value)),
                  kLabelCapacity, "Setting Identify", feedback, nullptr)) {
        return false;
    }
    device->SetIdentify(value);
    return true;
}

bool RDMProtocol::SetDmxStartAddress(RDMDevice* device, quint16 address, IFeedback* feedback) {
    QByteArray data(2, '\0');
    PackUInt16(reinterpret_cast<quint8*>(data.data()), address);
    if (!Transact(device, Rdm::kSet, Rdm::DmxStartAddress, data, kAddressCapacity,
                  "Setting Dmx Start Address", feedback, nullptr)) {
        return false;
    }
    device->SetDmxStartAddress(address);
    return true;
}

bool RDMProtocol::GetSupportedParameters(RDMDevice* device, IFeedback* feedback) {
    if (!device) {
        return false;
    }
    // A fixture that keeps saying "more to come" cannot hold the worker: after this many
    // chunks the list read so far is kept and the read counts as failed.
    constexpr int kMaxOverflowChunks = 250;
    for (int chunk = 0;; ++chunk) {
        if (chunk > kMaxOverflowChunks) {
            Report(feedback,
                   QStringLiteral(" Device 0x%1 Failed Getting Supported Parameters: Too many "
                                  "overflow replies!")
                       .arg(QString::number(device->GetUid(), 16)),
                   FeedbackStatusError);
            return false;
        }
        QByteArray buffer(int(kLongCapacity), '\0');
        quint32 length = kLongCapacity;
        const ResponseStatus status =
            RdmTransaction(device->GetPort(), device->DeviceId(), device->ManufacturerId(),
                           Rdm::kGet, Rdm::SupportedParameters, nullptr, 0,
                           reinterpret_cast<quint8*>(buffer.data()), length, feedback);
        const QString uid = QString::number(device->GetUid(), 16);
        if (status == ResponseNack) {
            Report(feedback,
                   QStringLiteral(" Device 0x%1 Failed Getting Supported Parameters: Nack Error "
                                  "%2!")
                       .arg(uid)
                       .arg(UnpackUInt16(Bytes(buffer))),
                   FeedbackStatusError);
            return false;
        }
        if (status != ResponseAck && status != ResponseAckOverflow) {
            return false;
        }
        if (length == 0) {
            Report(feedback,
                   QStringLiteral(" Device 0x%1 Failed Getting Supported Parameters: No "
                                  "response!")
                       .arg(uid),
                   FeedbackStatusError);
            return false;
        }
        for (quint32 i = 0; i + 1 < length; i += 2) {
            device->AddSupportedParameter(UnpackUInt16(Bytes(buffer) + i));
        }
        if (status == ResponseAck) {
            return true;
        }
    }
}

bool RDMProtocol::GetPersonality(RDMDevice* device, quint8 personality, IFeedback* feedback) {
    QByteArray data;
    if (!Transact(device, Rdm::kGet, Rdm::DmxPersonalityDescription,
                  QByteArray(1, char(personality)), kLongCapacity,
                  "Getting Dmx Personality Description", feedback, &data) ||
        data.size() < 3) {
        return false;
    }
    device->SetPersonalityDescription(personality,
                                      {UnpackUInt16(Bytes(data) + 1), Text(data.mid(3))});
    return true;
}

bool RDMProtocol::GetDmxPersonalityDescription(RDMDevice* device, IFeedback* feedback) {
    if (!device || !GetPersonality(device, device->GetPersonality(), feedback)) {
        return false;
    }
    const DmxPersonality current = device->GetPersonalities().value(device->GetPersonality());
    device->SetDmxFootprint(current.footprint);
    device->SetPersonalityDescription(current.description);
    return true;
}

bool RDMProtocol::GetDmxPersonalities(RDMDevice* device, IFeedback* feedback) {
    bool all = device != nullptr;
    for (int number = 1; device && number <= device->GetPersonalityCount(); ++number) {
        // Descriptions do not change: one read already (the current one) is not repeated.
        if (!device->GetPersonalities().contains(quint8(number))) {
            all = GetPersonality(device, quint8(number), feedback) && all;
        }
    }
    return all;
}

bool RDMProtocol::SetParameter(RDMDevice* device, const SettableParameter& parameter,
                               const QByteArray& value, IFeedback* feedback) {
    if (!Transact(device, Rdm::kSet, parameter.pid, value, kLabelCapacity, parameter.setting,
                  feedback, nullptr)) {
        return false;
    }
    if (parameter.pid == Rdm::DmxPersonality) {
        device->SetPersonality(value.isEmpty() ? 0 : quint8(value[0]));
        GetDeviceInfo(device, feedback);  // the footprint and description follow it
        return true;
    }
    const auto getter = Getters().find(parameter.pid);
    if (getter != Getters().end()) {
        // A label may be emptied; any other value has the width the getter decodes.
        if (value.size() >= getter->second.minimumLength ||
            parameter.kind == SettableParameter::Kind::Text) {
            getter->second.store(*device, value);
        }
        Get(device, getter->second, feedback);
    }
    return true;
}

bool RDMProtocol::DecodeReply(RDMDevice* device, quint16 pid, const QByteArray& data) {
    const auto getter = Getters().find(pid);
    if (pid == Rdm::DeviceInfo && data.size() >= kDeviceInfoSize) {
        DecodeDeviceInfo(device, data);
        return true;
    }
    if (pid == Rdm::DmxPersonalityDescription && data.size() >= 3) {
        device->SetDmxFootprint(UnpackUInt16(Bytes(data) + 1));
        device->SetPersonalityDescription(Text(data.mid(3)));
        return true;
    }
    if (getter == Getters().end() || data.size() < std::max(1, getter->second.minimumLength)) {
        return false;
    }
    getter->second.store(*device, data);
    return true;
}

bool RDMProtocol::Request(RDMDevice* device, quint8 commandClass, quint16 pid,
                          const QByteArray& data, QByteArray* reply, IFeedback* feedback) {
    const QString action = QStringLiteral("%1 Parameter 0x%2")
                               .arg(commandClass == Rdm::kSet ? "Setting" : "Getting")
                               .arg(pid, 4, 16, QLatin1Char('0'));
    return Transact(device, commandClass, pid, data, kLongCapacity, action, feedback, reply);
}

bool RDMProtocol::GetStartAddressWithText(RDMDevice* device, const QString& text,
                                          IFeedback* feedback) {
    if (!device) {
        return false;
    }
    const QByteArray data = text.toLatin1().left(Rdm::kMaxParameterData);
    QByteArray buffer(int(kAddressCapacity), '\0');
    quint32 length = kAddressCapacity;
    return RdmTransaction(device->GetPort(), device->DeviceId(), device->ManufacturerId(),
                          Rdm::kGet, Rdm::DmxStartAddress, Bytes(data), int(data.size()),
                          reinterpret_cast<quint8*>(buffer.data()), length,
                          feedback) == ResponseAck;
}

bool RDMProtocol::GetSoftwareVersionLabel(RDMDevice* device, IFeedback* feedback) {
    if (!GetFromTable(device, Rdm::SoftwareVersionLabel, feedback)) {
        return false;
    }
    Report(feedback, " Software version is " + device->GetSoftwareVersionLabel(),
           FeedbackStatusNormal);
    return true;
}

bool RDMProtocol::GetDeviceInfo(RDMDevice* device, IFeedback* feedback) {
    QByteArray data;
    if (!Transact(device, Rdm::kGet, Rdm::DeviceInfo, {}, kLabelCapacity, "Getting Device Info",
                  feedback, &data) ||
        data.size() < kDeviceInfoSize) {
        return false;
    }
    DecodeDeviceInfo(device, data);
    return GetDmxPersonalityDescription(device, feedback);
}

bool RDMProtocol::DecodeDeviceInfo(RDMDevice* device, const QByteArray& data) {
    const QByteArray info = data.leftJustified(kDeviceInfoSize, '\0');
    const quint8* bytes = Bytes(info);
    device->SetDmxStartAddress(UnpackUInt16(bytes + 14));
    device->SetModelNumber(UnpackUInt16(bytes + 2));
    device->SetSoftwareVersionId({bytes[6], bytes[7], bytes[8], bytes[9]});
    device->SetDmxFootprint(UnpackUInt16(bytes + 10));
    device->SetSensorCount(bytes[18]);
    device->SetProductCategory(UnpackUInt16(bytes + 4));
    device->SetSubDeviceCount(UnpackUInt16(bytes + 16));
    device->SetPersonality(bytes[12]);
    device->SetPersonalityCount(bytes[13]);
    return true;
}

// clang-format off
bool RDMProtocol::GetDmxStartAddress(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DmxStartAddress, f); }
bool RDMProtocol::GetModelDescription(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DeviceModelDescription, f); }
bool RDMProtocol::GetManufacturerLabel(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::ManufacturerLabel, f); }
bool RDMProtocol::GetDeviceLabel(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DeviceLabel, f); }
bool RDMProtocol::GetFactoryDefaults(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::FactoryDefaults, f); }
bool RDMProtocol::GetBootSoftwareVersionLabel(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::BootSoftwareVersionLabel, f); }
bool RDMProtocol::GetDeviceHours(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DeviceHours, f); }
bool RDMProtocol::GetLampHours(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::LampHours, f); }
bool RDMProtocol::GetLampStrikes(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::LampStrikes, f); }
bool RDMProtocol::GetLampState(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::LampState, f); }
bool RDMProtocol::GetLampOnMode(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::LampOnMode, f); }
bool RDMProtocol::GetDevicePowerCycles(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DevicePowerCycles, f); }
bool RDMProtocol::GetDisplayInvert(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DisplayInvert, f); }
bool RDMProtocol::GetDisplayLevel(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::DisplayLevel, f); }
bool RDMProtocol::GetPanInvert(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::PanInvert, f); }
bool RDMProtocol::GetTiltInvert(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::TiltInvert, f); }
bool RDMProtocol::GetPanTiltSwap(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::PanTiltSwap, f); }
bool RDMProtocol::GetPowerState(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::PowerState, f); }
bool RDMProtocol::GetIdentify(RDMDevice* d, IFeedback* f) { return GetFromTable(d, Rdm::IdentifyDevice, f); }
// clang-format on

bool RDMProtocol::UpdateDeviceInformation(const QList<RDMDevice*>& devices, IFeedback* feedback) {
    using Operation = bool (RDMProtocol::*)(RDMDevice*, IFeedback*);
    // The optional parameters read when the device lists them.
    static const std::map<quint16, Operation> optional = {
        {Rdm::DeviceModelDescription, &RDMProtocol::GetModelDescription},
        {Rdm::ManufacturerLabel, &RDMProtocol::GetManufacturerLabel},
        {Rdm::DeviceLabel, &RDMProtocol::GetDeviceLabel},
        {Rdm::FactoryDefaults, &RDMProtocol::GetFactoryDefaults},
        {Rdm::BootSoftwareVersionLabel, &RDMProtocol::GetBootSoftwareVersionLabel},
        {Rdm::DmxPersonality, &RDMProtocol::GetDmxPersonalities},
        {Rdm::DmxPersonalityDescription, &RDMProtocol::GetDmxPersonalityDescription},
        {Rdm::DeviceHours, &RDMProtocol::GetDeviceHours},
        {Rdm::LampHours, &RDMProtocol::GetLampHours},
        {Rdm::LampStrikes, &RDMProtocol::GetLampStrikes},
        {Rdm::LampState, &RDMProtocol::GetLampState},
        {Rdm::LampOnMode, &RDMProtocol::GetLampOnMode},
        {Rdm::DevicePowerCycles, &RDMProtocol::GetDevicePowerCycles},
        {Rdm::DisplayInvert, &RDMProtocol::GetDisplayInvert},
        {Rdm::DisplayLevel, &RDMProtocol::GetDisplayLevel},
        {Rdm::PanInvert, &RDMProtocol::GetPanInvert},
        {Rdm::TiltInvert, &RDMProtocol::GetTiltInvert},
        {Rdm::PanTiltSwap, &RDMProtocol::GetPanTiltSwap},
        {Rdm::PowerState, &RDMProtocol::GetPowerState},
    };
    static const Operation always[] = {
        &RDMProtocol::GetDeviceInfo,          &RDMProtocol::GetSoftwareVersionLabel,
        &RDMProtocol::GetDmxStartAddress,     &RDMProtocol::GetIdentify,
        &RDMProtocol::GetSupportedParameters,
    };
    Report(feedback,
           QStringLiteral("\n Updating device information for %1 devices").arg(devices.size()),
           FeedbackStatusNormal);
    ProgressMeter progress(feedback, int(devices.size()));
    for (int done = 0; done < progress.Total(); ++done) {
        progress.Step(done, DiscoveryProgress::ReadingText("reading", done, progress.Total()));
        RDMDevice* device = devices[done];
        if (!device) {
            continue;
        }
        for (Operation operation : always) {
            (this->*operation)(device, feedback);
        }
        for (quint16 pid : device->GetSupportedParameters()) {
            const auto it = optional.find(pid);
            if (it != optional.end()) {
                (this->*(it->second))(device, feedback);
            }
        }
    }
    progress.Finish(QStringLiteral("read %1 fixture(s)").arg(progress.Total()));
    return true;
}
