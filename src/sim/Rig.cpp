#include "sim/Rig.h"

#include "hardware/DriverRequests.h"
#include "hardware/InterfaceClasses.h"
#include "sim/SimulatedPortLayer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>
#include <vector>

namespace Sim {

namespace {

const char kDemoRig[] = R"({
  "widgets": [
    { "name": "demo-dmx-8", "productCode": 26, "firmware": "2.7",
      "fixtures": [
        { "port": 0, "uid": "4a41:00000101", "manufacturerLabel": "Stagecraft",
          "modelDescription": "Wash 575", "deviceLabel": "Wash SL", "startAddress": 1,
          "personalities": [ { "footprint": 14, "description": "Standard 14ch" },
                             { "footprint": 20, "description": "Extended 20ch" } ],
          "deviceHours": 1834, "lampHours": 922, "lampStrikes": 311, "powerCycles": 208 },
        { "port": 0, "uid": "4a41:00000102", "manufacturerLabel": "Stagecraft",
          "modelDescription": "Wash 575", "deviceLabel": "Wash SR", "startAddress": 15,
          "personalities": [ { "footprint": 14, "description": "Standard 14ch" } ] },
        { "port": 1, "uid": "5142:0000a001", "manufacturerLabel": "Lumen Works",
          "modelDescription": "Par LED 7", "startAddress": 101,
          "personalities": [ { "footprint": 7, "description": "RGBW 7ch" } ],
          "supportedParameters": [ 128, 129, 130, 225, 1024 ] }
      ] },
    { "name": "demo-dmx-1", "productCode": 2, "firmware": "1.4",
      "interfaceClass": "d98a7a23-98bd-48c1-a651-cf054d42db0a" }
  ]
})";

// Reads one field of a JSON object into a fixture's configuration.
struct Field {
    const char* key;
    const char* expected;  // what the message says the value must be
    std::function<bool(const QJsonValue&, RdmResponderConfig&)> read;
};

bool ReadNumber(const QJsonValue& value, double low, double high, double* out) {
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < low || number > high || number != qint64(number)) {
        return false;
    }
    *out = number;
    return true;
}

template <class T>
Field NumberField(const char* key, T RdmResponderConfig::*member, double low, double high,
                  const char* expected) {
    return {key, expected, [=](const QJsonValue& value, RdmResponderConfig& config) {
                double number = 0;
                if (!ReadNumber(value, low, high, &number)) {
                    return false;
                }
                config.*member = T(number);
                return true;
            }};
}

template <class T>
Field FaultField(const char* key, T RdmFaults::*member, double high, const char* expected) {
    return {key, expected, [=](const QJsonValue& value, RdmResponderConfig& config) {
                double number = 0;
                if (value.isBool()) {
                    config.faults.*member = T(value.toBool());
                    return true;
                }
                if (!ReadNumber(value, 0, high, &number)) {
                    return false;
                }
                config.faults.*member = T(number);
                return true;
            }};
}

Field TextField(const char* key, QString RdmResponderConfig::*member) {
    return {key, "a text of at most 32 characters",
            [=](const QJsonValue& value, RdmResponderConfig& config) {
                if (!value.isString() || value.toString().size() > 32) {
                    return false;
                }
                config.*member = value.toString();
                return true;
            }};
}

Field FlagField(const char* key, bool RdmResponderConfig::*member) {
    return {key, "true or false", [=](const QJsonValue& value, RdmResponderConfig& config) {
                if (!value.isBool()) {
                    return false;
                }
                config.*member = value.toBool();
                return true;
            }};
}

std::optional<quint64> ParseUid(const QString& text) {
    static const QRegularExpression pattern("^([0-9A-Fa-f]{4}):([0-9A-Fa-f]{8})$");
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const quint64 uid = match.captured(1).toULongLong(nullptr, 16) << 32 |
                        match.captured(2).toULongLong(nullptr, 16);
    // Broadcast device ids are not fixture ids.
    if ((uid & 0xFFFFFFFFULL) == 0xFFFFFFFFULL || uid >> 32 == 0xFFFF) {
        return std::nullopt;
    }
    return uid;
}

const std::vector<Field>& FixtureFields() {
    using C = RdmResponderConfig;
    static const std::vector<Field> fields = {
        {"uid", "\"mmmm:dddddddd\" in hexadecimal, not a broadcast id",
         [](const QJsonValue& value, C& config) {
             const auto uid = ParseUid(value.toString());
             config.uid = uid.value_or(0);
             return uid.has_value();
         }},
        TextField("manufacturerLabel", &C::manufacturerLabel),
        TextField("deviceLabel", &C::deviceLabel),
        TextField("modelDescription", &C::modelDescription),
        TextField("softwareVersionLabel", &C::softwareVersionLabel),
        TextField("bootSoftwareVersionLabel", &C::bootSoftwareVersionLabel),
        NumberField("modelId", &C::modelId, 0, 0xFFFF, "a whole number from 0 to 65535"),
        NumberField("productCategory", &C::productCategory, 0, 0xFFFF,
                    "a whole number from 0 to 65535"),
        NumberField("softwareVersionId", &C::softwareVersionId, 0, 4294967295.0,
                    "a whole number from 0 to 4294967295"),
        NumberField("startAddress", &C::startAddress, 1, 512, "a whole number from 1 to 512"),
        NumberField("personality", &C::personality, 1, 255, "a whole number from 1 to 255"),
        NumberField("subDeviceCount", &C::subDeviceCount, 0, 512, "a whole number from 0 to 512"),
        NumberField("sensorCount", &C::sensorCount, 0, 255, "a whole number from 0 to 255"),
        NumberField("deviceHours", &C::deviceHours, 0, 4294967295.0, "a whole number"),
        NumberField("lampHours", &C::lampHours, 0, 4294967295.0, "a whole number"),
        NumberField("lampStrikes", &C::lampStrikes, 0, 4294967295.0, "a whole number"),
        NumberField("powerCycles", &C::powerCycles, 0, 4294967295.0, "a whole number"),
        NumberField("lampState", &C::lampState, 0, 255, "a whole number from 0 to 255"),
        NumberField("lampOnMode", &C::lampOnMode, 0, 255, "a whole number from 0 to 255"),
        NumberField("displayInvert", &C::displayInvert, 0, 255, "a whole number from 0 to 255"),
        NumberField("displayLevel", &C::displayLevel, 0, 255, "a whole number from 0 to 255"),
        NumberField("powerState", &C::powerState, 0, 255, "a whole number from 0 to 255"),
        NumberField("parametersPerReply", &C::parametersPerReply, 1, 115,
                    "a whole number from 1 to 115"),
        FlagField("factoryDefaults", &C::factoryDefaults),
        FlagField("identify", &C::identify),
        FlagField("panInvert", &C::panInvert),
        FlagField("tiltInvert", &C::tiltInvert),
        FlagField("panTiltSwap", &C::panTiltSwap),
        {"personalities", "a list of 1 to 255 { \"footprint\": 1..512, \"description\": text }",
         [](const QJsonValue& value, C& config) {
             const QJsonArray list = value.toArray();
             if (!value.isArray() || list.isEmpty() || list.size() > 255) {
                 return false;
             }
             config.personalities.clear();
             for (const QJsonValue& item : list) {
                 double footprint = 0;
                 const QJsonValue description = item.toObject().value("description");
                 if (!item.isObject() ||
                     !ReadNumber(item.toObject().value("footprint"), 1, 512, &footprint) ||
                     !description.isString() || description.toString().size() > 32) {
                     return false;
                 }
                 config.personalities.append({quint16(footprint), description.toString()});
             }
             return true;
         }},
        {"supportedParameters", "a list of parameter ids from 0 to 65535",
         [](const QJsonValue& value, C& config) {
             if (!value.isArray()) {
                 return false;
             }
             config.supportedParameters.clear();
             for (const QJsonValue& item : value.toArray()) {
                 double pid = 0;
                 if (!ReadNumber(item, 0, 0xFFFF, &pid)) {
                     return false;
                 }
                 config.supportedParameters.append(quint16(pid));
             }
             return true;
         }},
    };
    return fields;
}

const std::vector<Field>& FaultFields() {
    using F = RdmFaults;
    static const std::vector<Field> fields = {
        FaultField("dropEvery", &F::dropEvery, 1e6, "a whole number"),
        FaultField("corruptChecksum", &F::corruptChecksum, 1, "true or false"),
        FaultField("foreignController", &F::foreignController, 1, "true or false"),
        FaultField("busyCount", &F::busyCount, 1e6, "a whole number"),
        FaultField("ackTimerCount", &F::ackTimerCount, 1e6, "a whole number"),
        FaultField("ackTimerEstimate", &F::ackTimerEstimate, 0xFFFF,
                   "a whole number from 0 to 65535 (tenths of a second)"),
        FaultField("wrongLength", &F::wrongLength, 1, "true or false"),
    };
    return fields;
}

// Reads the fields of an object with a table; any other key is an error.
bool ReadFields(const QJsonObject& object, const std::vector<Field>& fields,
                const QSet<QString>& otherKeys, const QString& where, RdmResponderConfig& config,
                QString* error) {
    for (const QString& key : object.keys()) {
        if (otherKeys.contains(key)) {
            continue;
        }
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const Field& f) { return key == f.key; });
        if (field == fields.end()) {
            *error = where + ": unknown field \"" + key + "\"";
            return false;
        }
        if (!field->read(object.value(key), config)) {
            *error = where + ": \"" + key + "\" must be " + field->expected;
            return false;
        }
    }
    return true;
}

std::optional<RigFixture> ParseFixture(const QJsonValue& value, const QString& where, int portCount,
                                       QString* error) {
    if (!value.isObject()) {
        *error = where + ": not an object";
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    RigFixture fixture;
    double port = 0;
    if (!ReadNumber(object.value("port"), 0, portCount - 1, &port)) {
        *error =
            where +
            QStringLiteral(": \"port\" must be a port of the widget, 0 to %1").arg(portCount - 1);
        return std::nullopt;
    }
    fixture.port = int(port);
    if (object.value("type").toString("rdm") != "rdm") {
        *error = where + ": \"type\" must be \"rdm\"";
        return std::nullopt;
    }
    if (!object.contains("uid")) {
        *error = where + ": \"uid\" is missing";
        return std::nullopt;
    }
    if (!ReadFields(object, FixtureFields(), {"port", "type", "faults"}, where, fixture.rdm,
                    error)) {
        return std::nullopt;
    }
    const QJsonValue faults = object.value("faults");
    if (!faults.isUndefined() &&
        (!faults.isObject() || !ReadFields(faults.toObject(), FaultFields(), {}, where + " faults",
                                           fixture.rdm, error))) {
        if (!faults.isObject()) {
            *error = where + ": \"faults\" must be an object";
        }
        return std::nullopt;
    }
    if (fixture.rdm.personality > fixture.rdm.personalities.size()) {
        *error = where + ": \"personality\" is not one of its personalities";
        return std::nullopt;
    }
    return fixture;
}

std::optional<RigWidget> ParseWidget(const QJsonValue& value, int index, QString* error) {
    const QString where = QStringLiteral("widget %1").arg(index + 1);
    if (!value.isObject()) {
        *error = where + ": not an object";
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    static const QSet<QString> known = {"name", "productCode", "firmware", "interfaceClass",
                                        "fixtures"};
    for (const QString& key : object.keys()) {
        if (!known.contains(key)) {
            *error = where + ": unknown field \"" + key + "\"";
            return std::nullopt;
        }
    }
    WidgetConfig config;
    config.name = object.value("name").toString();
    static const QRegularExpression namePattern("^[A-Za-z0-9._-]{1,64}$");
    if (!namePattern.match(config.name).hasMatch()) {
        *error = where + ": \"name\" must be 1 to 64 letters, digits, '.', '_' or '-'";
        return std::nullopt;
    }
    const QJsonValue product = object.value("productCode");
    const double code = product.toDouble(-1);
    if (!product.isDouble() || code < 0 || code > 0xFFFF || code != qint64(code)) {
        *error = where + ": \"productCode\" must be a whole number from 0 to 65535";
        return std::nullopt;
    }
    config.productCode = quint16(code);
    const QString firmware = object.value("firmware").toString("1.0");
    static const QRegularExpression versionPattern("^(\\d{1,3})\\.(\\d{1,3})$");
    const auto version = versionPattern.match(firmware);
    if (!version.hasMatch() || version.captured(1).toInt() > 255 ||
        version.captured(2).toInt() > 255) {
        *error = where + ": \"firmware\" must be \"major.minor\" with numbers up to 255";
        return std::nullopt;
    }
    config.firmwareMajor = quint8(version.captured(1).toInt());
    config.firmwareMinor = quint8(version.captured(2).toInt());
    const QString interfaceClass =
        object.value("interfaceClass")
            .toString(Hardware::InterfaceClasses::Text(Hardware::InterfaceClasses::All()[2]));
    config.interfaceClass = QUuid::fromString(interfaceClass);
    if (Hardware::InterfaceClasses::IndexOf(config.interfaceClass) < 0) {
        *error = where + ": \"interfaceClass\" is not a widget interface class";
        return std::nullopt;
    }
    RigWidget widget{config, {}};
    const QJsonValue fixtures = object.value("fixtures");
    if (!fixtures.isUndefined() && !fixtures.isArray()) {
        *error = where + ": \"fixtures\" must be a list";
        return std::nullopt;
    }
    const int portCount = Hardware::DriverRequests::PortCountForProduct(config.productCode);
    const QJsonArray list = fixtures.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const auto fixture = ParseFixture(
            list.at(i), where + QStringLiteral(" fixture %1").arg(i + 1), portCount, error);
        if (!fixture) {
            return std::nullopt;
        }
        widget.fixtures.append(*fixture);
    }
    return widget;
}

}  // namespace

std::optional<Rig> Rig::Load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot read rig file " + path + ": " + file.errorString();
        return std::nullopt;
    }
    auto rig = Parse(file.readAll(), error);
    if (!rig) {
        *error = "rig file " + path + ": " + *error;
    }
    return rig;
}

std::optional<Rig> Rig::Parse(const QByteArray& json, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not valid JSON at offset %1: %2")
                     .arg(parseError.offset)
                     .arg(parseError.errorString());
        return std::nullopt;
    }
    if (!document.isObject() || !document.object().value("widgets").isArray()) {
        *error = "expected an object with a \"widgets\" array";
        return std::nullopt;
    }
    Rig rig;
    QSet<QString> names;
    const QJsonArray widgets = document.object().value("widgets").toArray();
    for (int i = 0; i < widgets.size(); ++i) {
        const auto widget = ParseWidget(widgets.at(i), i, error);
        if (!widget) {
            return std::nullopt;
        }
        if (names.contains(widget->config.name)) {
            *error = QStringLiteral("widget %1: the name \"%2\" is used twice")
                         .arg(i + 1)
                         .arg(widget->config.name);
            return std::nullopt;
        }
        names.insert(widget->config.name);
        rig.widgets.append(*widget);
    }
    return rig;
}

Rig Rig::Demo() {
    QString error;
    return *Parse(kDemoRig, &error);
}

void RigWidget::AttachFixtures(SimWidget& widget) const {
    for (const RigFixture& fixture : fixtures) {
        widget.AttachResponder(fixture.port, std::make_shared<SimRdmResponder>(fixture.rdm));
    }
}

void Rig::PlugInto(SimulatedPortLayer& layer) const {
    for (const RigWidget& widget : widgets) {
        // Fixtures go on the lines before the widget is announced.
        const auto plugged = layer.Plug(widget.config, false);
        widget.AttachFixtures(*plugged);
    }
    if (!widgets.isEmpty()) {
        layer.AnnounceChange();  // one device change for the whole rig
    }
}

}  // namespace Sim
