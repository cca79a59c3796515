#include "sim/Rig.h"

#include "archive/ArchivePathRouter.h"

#include "hardware/DriverRequests.h"
#include "hardware/InterfaceClasses.h"
#include "sim/RigFixtureReader.h"
#include "sim/SimulatedPortLayer.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
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
    { "name": "demo-dmx-4", "productCode": 17, "firmware": "2.7",
      "fixtures": [
        { "port": 0, "uid": "4a41:00000101", "manufacturerLabel": "Stagecraft",
          "modelDescription": "Wash 575", "deviceLabel": "Wash SL", "startAddress": 1,
          "softwareVersionLabel": "3.1.4",
          "personalities": [ { "footprint": 14, "description": "Standard 14ch" },
                             { "footprint": 20, "description": "Extended 20ch" } ],
          "deviceHours": 1834, "lampHours": 922, "lampStrikes": 311, "powerCycles": 208 },
        { "port": 0, "uid": "4a41:00000102", "manufacturerLabel": "Stagecraft",
          "modelDescription": "Wash 575", "deviceLabel": "Wash SR", "startAddress": 15,
          "softwareVersionLabel": "3.1.4",
          "personalities": [ { "footprint": 14, "description": "Standard 14ch" } ] },
        { "port": 0, "uid": "4a41:00000210", "manufacturerLabel": "Stagecraft",
          "modelDescription": "Spot 700", "deviceLabel": "Spot Centre", "startAddress": 29,
          "softwareVersionLabel": "1.9.0", "lampState": 1, "lampOnMode": 1,
          "personalities": [ { "footprint": 24, "description": "Full 24ch" } ],
          "deviceHours": 4410, "lampHours": 2210, "lampStrikes": 640, "writeProtected": [ 130 ] },
        { "port": 1, "uid": "5142:0000a001", "manufacturerLabel": "Lumen Works",
          "modelDescription": "Par LED 7", "startAddress": 101,
          "personalities": [ { "footprint": 7, "description": "RGBW 7ch" } ],
          "supportedParameters": [ 128, 129, 130, 225, 1024 ] },
        { "port": 1, "uid": "5142:0000a002", "manufacturerLabel": "Lumen Works",
          "modelDescription": "Par LED 7", "deviceLabel": "Floor Left", "startAddress": 108,
          "personalities": [ { "footprint": 7, "description": "RGBW 7ch" } ],
          "supportedParameters": [ 128, 129, 130, 225, 1024 ] },
        { "port": 1, "uid": "6d10:00c0ffee", "manufacturerLabel": "Northbeam",
          "modelDescription": "Strobe 3000", "deviceLabel": "Upstage Strobe",
          "startAddress": 150, "softwareVersionLabel": "0.8",
          "personalities": [ { "footprint": 2, "description": "Basic 2ch" },
                             { "footprint": 4, "description": "Effects 4ch" } ],
          "personality": 2, "powerState": 255, "displayLevel": 80 },
        { "port": 0, "type": "marqa", "uid": "4356:00001001", "deviceLabel": "Marqa Stage",
          "softwareVersionLabel": "4.2.1", "graphicsUniqueId": "0x00a10001",
          "graphicsVersion": "2.3.0.11", "fpgaVersion": 7, "quorelAddress": 12,
          "folders": [
            { "number": 1, "name": "Stock",
              "files": [ { "file": 1, "name": "Sunrise", "key": "0x00010001" },
                         { "file": 2, "name": "Ocean", "key": "0x00010002" } ] },
            { "number": 41, "name": "My Shows",
              "files": [ { "file": 1, "name": "Fire", "key": "0x00290001" },
                         { "file": 2, "name": "Forest", "key": "0x00290002" },
                         { "file": 3, "name": "Neon", "key": "0x00290003" } ] },
            { "number": 251, "name": "Quorel",
              "files": [ { "file": 1, "name": "Wave Part 1", "key": "0x00fb0001" } ] } ] },
        { "port": 1, "type": "solvi", "uid": "4356:00002001", "deviceLabel": "Solvi Floor",
          "softwareVersionLabel": "3.0.5", "graphicsUniqueId": "0x00b20001",
          "graphicsVersion": "1.8.2.4", "fpgaVersion": 5, "quorelAddress": 13,
          "folders": [
            { "number": 1, "name": "Stock",
              "files": [ { "file": 1, "name": "Pulse", "key": "0x00020001" } ] },
            { "number": 41, "name": "Club",
              "files": [ { "file": 1, "name": "Strobe Red", "key": "0x00420001" },
                         { "file": 2, "name": "Ice", "key": "0x00420002" } ] },
            { "number": 251, "name": "Quorel",
              "files": [ { "file": 1, "name": "Wave Part 2", "key": "0x00fb0002" } ] } ] },
        { "port": 2, "type": "orx", "id": "0x00a1b2c3", "dmxAddress": 201, "fixtureType": 4,
          "firmwareMajor": 3, "firmwareMinor": 12, "deviceHours": 5120, "footprint": 18 },
        { "port": 3, "type": "orx", "id": "0x00a1b2d7", "dmxAddress": 301, "fixtureType": 7,
          "firmwareMajor": 2, "firmwareMinor": 40, "deviceHours": 880, "footprint": 16 }
      ] },
    { "name": "demo-dmx-1", "productCode": 2, "firmware": "1.4",
      "interfaceClass": "d98a7a23-98bd-48c1-a651-cf054d42db0a" }
  ]
})";

std::optional<RigWidget> ParseWidget(const QJsonValue& value, int index, const QString& folder,
                                     QString* error) {
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
        const auto fixture = ParseRigFixture(
            list.at(i), where + QStringLiteral(" fixture %1").arg(i + 1), portCount, folder, error);
        if (!fixture) {
            return std::nullopt;
        }
        widget.fixtures.append(*fixture);
    }
    return widget;
}

}  // namespace

std::optional<Rig> Rig::Load(const QString& path, QString* error) {
    // A rig file is a few kilobytes; the bound keeps a wrong path (a device, a huge file) out.
    constexpr qint64 kMaxRigFileBytes = 16 * 1024 * 1024;
    QByteArray json;
    QString reason;
    if (!ArchivePathRouter::ReadAll(path, &json, &reason, kMaxRigFileBytes)) {
        *error = "cannot read rig file " + path + ": " + reason;
        return std::nullopt;
    }
    auto rig = Parse(json, error, QFileInfo(path).absolutePath());
    if (!rig) {
        *error = "rig file " + path + ": " + *error;
    }
    return rig;
}

namespace {

// The id a fixture answers to, as the rig file writes it.
quint64 IdOf(const RigFixture& fixture) {
    return fixture.type == RigFixture::Orx ? fixture.orx.id : fixture.rdm.uid;
}

QString IdText(const RigFixture& fixture) {
    return fixture.type == RigFixture::Orx
               ? QStringLiteral("0x%1").arg(fixture.orx.id, 8, 16, QLatin1Char('0'))
               : QStringLiteral("%1:%2")
                     .arg(fixture.rdm.uid >> 32, 4, 16, QLatin1Char('0'))
                     .arg(fixture.rdm.uid & 0xFFFFFFFFULL, 8, 16, QLatin1Char('0'));
}

// Two fixtures that answer to one id would answer as one: the second is named.
bool EveryIdOnce(const Rig& rig, QString* error) {
    QHash<quint64, QString> seen;
    for (int w = 0; w < rig.widgets.size(); ++w) {
        const QList<RigFixture>& fixtures = rig.widgets[w].fixtures;
        for (int f = 0; f < fixtures.size(); ++f) {
            const QString where = QStringLiteral("widget %1 fixture %2").arg(w + 1).arg(f + 1);
            const auto first = seen.constFind(IdOf(fixtures[f]));
            if (first != seen.constEnd()) {
                *error = QStringLiteral("%1: the id %2 is used twice (%3 has it)")
                             .arg(where, IdText(fixtures[f]), *first);
                return false;
            }
            seen.insert(IdOf(fixtures[f]), where);
        }
    }
    return true;
}

}  // namespace

std::optional<Rig> Rig::Parse(const QByteArray& json, QString* error, const QString& folder) {
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
        const auto widget = ParseWidget(widgets.at(i), i, folder, error);
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
    if (!EveryIdOnce(rig, error)) {
        return std::nullopt;
    }
    return rig;
}

Rig Rig::Demo() {
    QString error;
    return *Parse(kDemoRig, &error);
}

void RigWidget::AttachFixtures(SimWidget& widget, std::optional<int> line) const {
    for (const RigFixture& fixture : fixtures) {
        const int port = line.value_or(fixture.port);
        if (fixture.type == RigFixture::Orx) {
            widget.AttachResponder(port, std::make_shared<SimOrxFixture>(fixture.orx));
        } else if (fixture.type == RigFixture::Led) {
            widget.AttachResponder(port,
                                   std::make_shared<SimLumoFixture>(fixture.rdm, fixture.led));
        } else {
            widget.AttachResponder(port, std::make_shared<SimRdmResponder>(fixture.rdm));
        }
    }
}

std::shared_ptr<SimWidget> RigWidget::AsUsbProInterface() const {
    WidgetConfig interface = config;
    interface.productCode = Hardware::DriverRequests::kUsbProProductCode;
    auto widget = std::make_shared<SimWidget>(interface);
    AttachFixtures(*widget, 0);
    return widget;
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
