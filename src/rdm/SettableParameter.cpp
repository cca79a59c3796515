#include "rdm/SettableParameter.h"

#include "rdm/RdmDefs.h"
#include "rdm/devices/RDMDevice.h"

#include <algorithm>
#include <cmath>

namespace {

using D = const RDMDevice&;
using K = SettableParameter::Kind;

constexpr int kLabelLength = 32;

const std::vector<SettableParameter::Choice> kOnOff = {{0, "off", nullptr}, {1, "on", nullptr}};

QString PersonalityText(quint8 number, const RDMDevice& device) {
    const auto personalities = device.GetPersonalities();
    const auto it = personalities.find(number);
    if (it == personalities.end()) {
        return QStringLiteral("%1: Personality %1").arg(number);
    }
    return QStringLiteral("%1: %2 (%3 channels)")
        .arg(number)
        .arg(it->description)
        .arg(it->footprint);
}

int PersonalityCount(const RDMDevice& device) {
    const auto personalities = device.GetPersonalities();
    const int read = personalities.isEmpty() ? 0 : personalities.lastKey();
    return std::max({int(device.GetPersonalityCount()), read, int(device.GetPersonality())});
}

}  // namespace

const std::vector<SettableParameter>& SettableParameter::All() {
    static const std::vector<SettableParameter> all = {
        {Rdm::DeviceLabel, "label", "Setting Device Label", K::Text, kLabelLength},
        {Rdm::DmxPersonality,
         "personality",
         "Setting Dmx Personality",
         K::Personality,
         1,
         {},
         nullptr,
         [](D d) { return quint32(d.GetPersonality()); },
         Rdm::DmxPersonalityDescription},
        {Rdm::DisplayInvert,
         "display-invert",
         "Setting Display Invert",
         K::Choice,
         1,
         {{0, "off", nullptr}, {1, "on", nullptr}, {2, "auto", nullptr}},
         &RDMDevice::DisplayInvertText,
         [](D d) { return d.GetDisplayInvert(); }},
        {Rdm::DisplayLevel,
         "display-level",
         "Setting Display Level",
         K::Percent,
         1,
         {},
         nullptr,
         [](D d) { return quint32(d.GetDisplayLevel()); }},
        {Rdm::PanInvert, "pan-invert", "Setting Pan Invert", K::Choice, 1, kOnOff,
         &RDMDevice::YesNoText, [](D d) { return quint32(d.GetPanInvert()); }},
        {Rdm::TiltInvert, "tilt-invert", "Setting Tilt Invert", K::Choice, 1, kOnOff,
         &RDMDevice::YesNoText, [](D d) { return quint32(d.GetTiltInvert()); }},
        {Rdm::PanTiltSwap, "pan-tilt-swap", "Setting Pan Tilt Swap", K::Choice, 1, kOnOff,
         &RDMDevice::YesNoText, [](D d) { return quint32(d.GetPanTiltSwap()); }},
        {Rdm::LampState,
         "lamp-state",
         "Setting Lamp State",
         K::Choice,
         1,
         {{0, "off", nullptr}, {1, "on", nullptr}, {2, "strike", nullptr}, {3, "standby", nullptr}},
         &RDMDevice::LampStateText,
         [](D d) { return d.GetLampState(); }},
        {Rdm::LampOnMode,
         "lamp-on-mode",
         "Setting Lamp On Mode",
         K::Choice,
         1,
         {{0, "off", nullptr}, {1, "dmx", nullptr}, {2, "on", nullptr}, {3, "home", nullptr}},
         &RDMDevice::LampOnModeText,
         [](D d) { return d.GetLampOnMode(); }},
        {Rdm::PowerState,
         "power-state",
         "Setting Power State",
         K::Choice,
         1,
         {{0, "off", nullptr},
          {1, "shutdown", nullptr},
          {2, "standby", nullptr},
          {255, "normal", nullptr}},
         &RDMDevice::PowerStateText,
         [](D d) { return d.GetPowerState(); }},
        {Rdm::ResetDevice,
         "reset",
         "Setting Reset Device",
         K::Choice,
         1,
         {{1, "warm", "Warm Reset"}, {255, "cold", "Cold Reset"}}},
    };
    return all;
}

const SettableParameter* SettableParameter::Find(quint16 pid) {
    for (const SettableParameter& parameter : All()) {
        if (parameter.pid == pid) {
            return &parameter;
        }
    }
    return nullptr;
}

const SettableParameter* SettableParameter::Find(const QString& name) {
    for (const SettableParameter& parameter : All()) {
        if (name.compare(QLatin1String(parameter.name), Qt::CaseInsensitive) == 0) {
            return &parameter;
        }
    }
    return nullptr;
}

const SettableParameter* SettableParameter::ForRow(quint16 rowPid) {
    for (const SettableParameter& parameter : All()) {
        if ((parameter.row ? parameter.row : parameter.pid) == rowPid) {
            return &parameter;
        }
    }
    return nullptr;
}

QList<SettableParameter::Offer> SettableParameter::Offers(const RDMDevice& device) const {
    QList<Offer> offers;
    if (kind == K::Personality) {
        const int count = PersonalityCount(device);
        for (int number = 1; number <= count; ++number) {
            offers.append({quint8(number), PersonalityText(quint8(number), device)});
        }
    }
    for (const Choice& choice : choices) {
        offers.append(
            {choice.value, choice.text ? QString::fromLatin1(choice.text) : shown(choice.value)});
    }
    return offers;
}

int SettableParameter::CurrentOffer(const RDMDevice& device) const {
    if (!value) {
        return -1;
    }
    const quint32 current = value(device);
    const QList<Offer> offers = Offers(device);
    for (int i = 0; i < offers.size(); ++i) {
        if (offers[i].first == current) {
            return i;
        }
    }
    return -1;
}

QString SettableParameter::Current(const RDMDevice& device) const {
    if (kind == K::Personality) {
        return PersonalityText(device.GetPersonality(), device);
    }
    return KeepsValue() ? device.ParameterText(pid) : QString();
}

QString SettableParameter::Accepted(const RDMDevice* device) const {
    switch (kind) {
        case K::Text:
            return QStringLiteral("a label of up to %1 characters").arg(width);
        case K::Percent:
            return QStringLiteral("a per cent from 0 to 100");
        case K::Personality:
            return device && PersonalityCount(*device) > 0
                       ? QStringLiteral("a personality from 1 to %1").arg(PersonalityCount(*device))
                       : QStringLiteral("a personality number");
        case K::Choice:
            break;
    }
    QStringList names;
    for (const Choice& choice : choices) {
        names.append(QLatin1String(choice.name));
    }
    return names.join(QStringLiteral(" or "));
}

quint8 SettableParameter::PercentToLevel(int percent) {
    return quint8(std::lround(std::clamp(percent, 0, 100) * 255.0 / 100.0));
}

QString SettableParameter::Encode(const QString& text, const RDMDevice& device,
                                  QByteArray* data) const {
    const QString problem =
        QStringLiteral("%1 takes %2, not \"%3\"").arg(QLatin1String(name), Accepted(&device), text);
    bool ok = false;
    switch (kind) {
        case K::Text: {
            const QByteArray bytes = text.toLatin1();
            if (text.size() > width || QString::fromLatin1(bytes) != text) {
                return problem;
            }
            *data = bytes;
            return {};
        }
        case K::Percent: {
            QString digits = text.trimmed();
            if (digits.endsWith('%')) {
                digits.chop(1);
            }
            const int percent = digits.toInt(&ok);
            if (!ok || percent < 0 || percent > 100) {
                return problem;
            }
            *data = QByteArray(1, char(PercentToLevel(percent)));
            return {};
        }
        case K::Personality: {
            const int number = text.toInt(&ok);
            const int count = PersonalityCount(device);
            if (!ok || number < 1 || number > 255 || (count > 0 && number > count)) {
                return problem;
            }
            *data = QByteArray(1, char(number));
            return {};
        }
        case K::Choice:
            break;
    }
    for (const Choice& choice : choices) {
        const QString shownText =
            choice.text ? QString::fromLatin1(choice.text) : shown(choice.value);
        if (text.compare(QLatin1String(choice.name), Qt::CaseInsensitive) == 0 ||
            text.compare(shownText, Qt::CaseInsensitive) == 0 ||
            (text.toInt(&ok) == choice.value && ok)) {
            *data = QByteArray(1, char(choice.value));
            return {};
        }
    }
    return problem;
}
