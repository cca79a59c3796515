#include "sim/RigFixtureReader.h"

#include "archive/ArchivePathRouter.h"

#include "lumo/LumoDefs.h"
#include "sim/JsonFields.h"

#include "content/ledimage/LumoRDMImage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QtEndian>

namespace Sim {

namespace {

using namespace JsonFields;

constexpr double kMax32 = 4294967295.0;

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

// A list of parameter ids, in place of the member's list.
Field<RdmResponderConfig> PidList(const char* key, QList<quint16> RdmResponderConfig::*member) {
    return {key, "a list of parameter ids from 0 to 65535",
            [member](const QJsonValue& value, RdmResponderConfig& config) {
                if (!value.isArray()) {
                    return false;
                }
                (config.*member).clear();
                for (const QJsonValue& item : value.toArray()) {
                    double pid = 0;
                    if (!ReadNumber(item, 0, 0xFFFF, &pid)) {
                        return false;
                    }
                    (config.*member).append(quint16(pid));
                }
                return true;
            }};
}

const std::vector<Field<RdmResponderConfig>>& RdmFields() {
    using C = RdmResponderConfig;
    static const std::vector<Field<C>> fields = {
        {"uid", "\"mmmm:dddddddd\" in hexadecimal, not a broadcast id",
         [](const QJsonValue& value, C& config) {
             const auto uid = ParseUid(value.toString());
             config.uid = uid.value_or(0);
             return uid.has_value();
         }},
        Text("manufacturerLabel", &C::manufacturerLabel),
        Text("deviceLabel", &C::deviceLabel),
        Text("modelDescription", &C::modelDescription),
        Text("softwareVersionLabel", &C::softwareVersionLabel),
        Text("bootSoftwareVersionLabel", &C::bootSoftwareVersionLabel),
        Number("modelId", &C::modelId, 0, 0xFFFF, "a whole number from 0 to 65535"),
        Number("productCategory", &C::productCategory, 0, 0xFFFF, "a whole number from 0 to 65535"),
        Number("softwareVersionId", &C::softwareVersionId, 0, kMax32, "a whole number"),
        Number("startAddress", &C::startAddress, 1, 512, "a whole number from 1 to 512"),
        Number("personality", &C::personality, 1, 255, "a whole number from 1 to 255"),
        Number("subDeviceCount", &C::subDeviceCount, 0, 512, "a whole number from 0 to 512"),
        Number("sensorCount", &C::sensorCount, 0, 255, "a whole number from 0 to 255"),
        Number("deviceHours", &C::deviceHours, 0, kMax32, "a whole number"),
        Number("lampHours", &C::lampHours, 0, kMax32, "a whole number"),
        Number("lampStrikes", &C::lampStrikes, 0, kMax32, "a whole number"),
        Number("powerCycles", &C::powerCycles, 0, kMax32, "a whole number"),
        Number("lampState", &C::lampState, 0, 255, "a whole number from 0 to 255"),
        Number("lampOnMode", &C::lampOnMode, 0, 255, "a whole number from 0 to 255"),
        Number("displayInvert", &C::displayInvert, 0, 255, "a whole number from 0 to 255"),
        Number("displayLevel", &C::displayLevel, 0, 255, "a whole number from 0 to 255"),
        Number("powerState", &C::powerState, 0, 255, "a whole number from 0 to 255"),
        Number("parametersPerReply", &C::parametersPerReply, 1, 115,
               "a whole number from 1 to 115"),
        Flag("factoryDefaults", &C::factoryDefaults),
        Flag("identify", &C::identify),
        Flag("panInvert", &C::panInvert),
        Flag("tiltInvert", &C::tiltInvert),
        Flag("panTiltSwap", &C::panTiltSwap),
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
        PidList("supportedParameters", &C::supportedParameters),
        PidList("writeProtected", &C::writeProtected),
    };
    return fields;
}

const std::vector<Field<RdmFaults>>& RdmFaultFields() {
    using F = RdmFaults;
    static const std::vector<Field<F>> fields = {
        Number("dropEvery", &F::dropEvery, 0, 1e6, "a whole number"),
        Number("corruptChecksum", &F::corruptChecksum, 0, 1, "true or false"),
        Number("foreignController", &F::foreignController, 0, 1, "true or false"),
        Number("busyCount", &F::busyCount, 0, 1e6, "a whole number"),
        Number("ackTimerCount", &F::ackTimerCount, 0, 1e6, "a whole number"),
        Number("ackTimerEstimate", &F::ackTimerEstimate, 0, 0xFFFF,
               "a whole number from 0 to 65535 (tenths of a second)"),
        Number("wrongLength", &F::wrongLength, 0, 1, "true or false"),
        Number("noMuteAck", &F::noMuteAck, 0, 1, "true or false"),
        Number("lateBranchMs", &F::lateBranchMs, 0, 1000, "a whole number from 0 to 1000"),
        Number("answersEveryBranch", &F::answersEveryBranch, 0, 1, "true or false"),
    };
    return fields;
}

// The faults of a fixture's firmware upload (its `firmware` member) after the others.
template <class Faults>
std::vector<Field<Faults>> WithFirmwareFaults(std::vector<Field<Faults>> fields) {
    using F = FirmwareFaults;
    const Field<F> firmware[] = {
        Number("powerLossAfterPackets", &F::powerLossAfterPackets, 0, 1e6, "a whole number"),
        Number("neverReady", &F::neverReady, 0, 1, "true or false"),
        Number("failVerify", &F::failVerify, 0, 1, "true or false"),
    };
    for (const Field<F>& field : firmware) {
        fields.push_back({field.key, field.expected,
                          [read = field.read](const QJsonValue& value, Faults& faults) {
                              return read(value, faults.firmware);
                          }});
    }
    return fields;
}

const std::vector<Field<OrxFixtureConfig>>& OrxFields() {
    using C = OrxFixtureConfig;
    static const char* const kByte = "a whole number from 0 to 255";
    static const std::vector<Field<C>> fields = {
        {"id", "a device id of 1 to 8 hexadecimal digits, as \"0x0001a2b3\"",
         [](const QJsonValue& value, C& config) {
             static const QRegularExpression pattern("^(0x)?([0-9A-Fa-f]{1,8})$");
             const auto match = pattern.match(value.toString());
             config.id = quint32(match.captured(2).toULongLong(nullptr, 16));
             return match.hasMatch();
         }},
        Number("fixtureType", &C::fixtureType, 0, 255, kByte),
        Number("dmxAddress", &C::dmxAddress, 1, 512, "a whole number from 1 to 512"),
        Number("personality", &C::personality, 0, 255, kByte),
        Number("panTiltSwap", &C::panTiltSwap, 0, 1, "true or false"),
        Number("panInvert", &C::panInvert, 0, 1, "true or false"),
        Number("tiltInvert", &C::tiltInvert, 0, 1, "true or false"),
        Number("displayInvert", &C::displayInvert, 0, 1, "true or false"),
        Number("displayOn", &C::displayOn, 0, 1, "true or false"),
        Number("lampLimit", &C::lampLimit, 0, 255, kByte),
        Number("lampState", &C::lampState, 0, 255, kByte),
        Number("firmwareMajor", &C::firmwareMajor, 0, 255, kByte),
        Number("firmwareMinor", &C::firmwareMinor, 0, 255, kByte),
        Number("deviceHours", &C::deviceHours, 0, kMax32, "a whole number"),
        Number("footprint", &C::footprint, 0, 512, "a whole number from 0 to 512"),
        Number("shutdownTime", &C::shutdownTime, 0, 0xFFFF, "a whole number from 0 to 65535"),
        Number("datalossTime", &C::datalossTime, 0, 0xFFFF, "a whole number from 0 to 65535"),
        Number("encoderDisable", &C::encoderDisable, 0, 1, "true or false"),
        Number("lensType", &C::lensType, 0, 255, kByte),
        Number("fastMode", &C::fastMode, 0, 1, "true or false"),
        Number("eraseTimeMs", &C::eraseTimeMs, 0, 600000,
               "a whole number of milliseconds up to 600000"),
    };
    return fields;
}

const std::vector<Field<OrxFaults>>& OrxFaultFields() {
    using F = OrxFaults;
    static const std::vector<Field<F>> fields = {
        Number("neverExtinguish", &F::neverExtinguish, 0, 1, "true or false"),
        Number("dropEvery", &F::dropEvery, 0, 1e6, "a whole number"),
    };
    static const std::vector<Field<F>> all = WithFirmwareFaults(fields);
    return all;
}

std::optional<quint32> ParseHex32(const QJsonValue& value) {
    static const QRegularExpression pattern("^(0x)?([0-9A-Fa-f]{1,8})$");
    const auto match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch()) {
        return std::nullopt;
    }
    return quint32(match.captured(2).toULongLong(nullptr, 16));
}

const std::vector<Field<LumoFixtureConfig>>& LedFields() {
    using C = LumoFixtureConfig;
    static const std::vector<Field<C>> fields = {
        {"graphicsUniqueId", "a 32-bit id of 1 to 8 hexadecimal digits, as \"0x00c0ffee\"",
         [](const QJsonValue& value, C& config) {
             const auto id = ParseHex32(value);
             config.graphicsUniqueId = id.value_or(0);
             return id.has_value();
         }},
        Text("graphicsVersion", &C::graphicsVersion),
        Number("fpgaVersion", &C::fpgaVersion, 0, 255, "a whole number from 0 to 255"),
        Number("quorelAddress", &C::quorelAddress, 0, 0xFFFF, "a whole number from 0 to 65535"),
        Number("bootCodeChanged", &C::bootCodeChanged, 0, 255, "a whole number from 0 to 255"),
        Number("foldersPerReply", &C::foldersPerReply, 1, 13, "a whole number from 1 to 13"),
        Number("filesPerReply", &C::filesPerReply, 1, 10, "a whole number from 1 to 10"),
        Number("eraseTimeMs", &C::eraseTimeMs, 0, 600000,
               "a whole number of milliseconds up to 600000"),
    };
    return fields;
}

const std::vector<Field<LumoFaults>>& LedFaultFields() {
    using F = LumoFaults;
    static const char* const kBlock = "a block number from 0 to 65535, or -1 for never";
    static const std::vector<Field<F>> fields = {
        Number("abortAtBlock", &F::abortAtBlock, -1, 0xFFFF, kBlock),
        Number("retryCount", &F::retryCount, 0, 1e6, "a whole number"),
        Number("silentAfterBlock", &F::silentAfterBlock, -1, 0xFFFF, kBlock),
        Number("nackDownloadCount", &F::nackDownloadCount, 0, 1e6, "a whole number"),
    };
    static const std::vector<Field<F>> all = WithFirmwareFaults(fields);
    return all;
}

template <class Config>
QSet<QString> KeysOf(const std::vector<Field<Config>>& fields) {
    QSet<QString> keys;
    for (const Field<Config>& field : fields) {
        keys.insert(field.key);
    }
    return keys;
}

bool HasOnly(const QJsonObject& object, const QSet<QString>& keys, const QString& where,
             QString* error) {
    for (const QString& key : object.keys()) {
        if (!keys.contains(key)) {
            *error = where + ": unknown field \"" + key + "\"";
            return false;
        }
    }
    return true;
}

bool ReadName(const QJsonObject& object, const QString& where, QString* name, QString* error) {
    const QJsonValue value = object.value("name");
    if (value.isUndefined()) {
        return true;
    }
    if (!value.isString() || value.toString().size() > 16) {
        *error = where + ": \"name\" must be a text of at most 16 characters";
        return false;
    }
    *name = value.toString();
    return true;
}

// The bytes of a file: its image file (whose header takes the file's key and name), or an
// image made for it.
bool ReadLedFile(const QJsonValue& value, const QString& where, const QString& model,
                 const QString& folder, quint8 folderNumber, LumoStoredFile* file, QString* error) {
    const QJsonObject object = value.toObject();
    if (!value.isObject()) {
        *error = where + ": not an object";
        return false;
    }
    if (!HasOnly(object, {"file", "name", "key", "image"}, where, error)) {
        return false;
    }
    double number = 0;
    if (!ReadNumber(object.value("file"), 1, 255, &number)) {
        *error = where + ": \"file\" must be a whole number from 1 to 255";
        return false;
    }
    file->number = quint8(number);
    const bool hasKey = object.contains("key");
    const auto key = ParseHex32(object.value("key"));
    if (hasKey && !key) {
        *error = where + ": \"key\" must be 1 to 8 hexadecimal digits, as \"0x00001234\"";
        return false;
    }
    const bool hasName = object.contains("name");
    if (!ReadName(object, where, &file->name, error)) {
        return false;
    }
    if (!object.contains("image")) {
        file->key = key.value_or(quint32(folderNumber) << 8 | file->number);
        if (!hasName) {
            file->name = QStringLiteral("File %1").arg(file->number);
        }
        file->bytes = SimLumoFixture::MakeImage(model, file->key, file->name);
        return true;
    }
    const QString path = QDir(folder).filePath(object.value("image").toString());
    QString reason;
    if (!object.value("image").isString() ||
        !ArchivePathRouter::ReadAll(path, &file->bytes, &reason, LumoRDMImage::kMaxFileBytes)) {
        *error = where + ": \"image\" must name a readable image file: " + path +
                 (reason.isEmpty() ? QString() : " (" + reason + ")");
        return false;
    }
    LumoRDMImage record(SimLumoFixture::LedCount(model));
    if (!record.FromBytes(file->bytes)) {
        *error = where + ": " + path + " is not an image of a " + model + " fixture";
        return false;
    }
    file->key = key.value_or(record.header.contentKey);
    if (!hasName) {
        file->name = record.NameText();
    }
    record.header.contentKey = file->key;
    record.SetNameText(file->name);
    file->bytes.replace(0, LumoRDMImage::kHeaderSize,
                        record.ToBytes().left(LumoRDMImage::kHeaderSize));
    return true;
}

bool ReadLedFolders(const QJsonValue& value, const QString& where, const QString& model,
                    const QString& folder, QList<LumoStoredFolder>* folders, QString* error) {
    if (!value.isArray()) {
        *error = where + ": \"folders\" must be a list";
        return false;
    }
    QSet<int> numbers;
    int files = 0;
    const QJsonArray list = value.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QString at = where + QStringLiteral(" folder %1").arg(i + 1);
        const QJsonObject object = list.at(i).toObject();
        if (!list.at(i).isObject() || !HasOnly(object, {"number", "name", "files"}, at, error)) {
            if (!list.at(i).isObject()) {
                *error = at + ": not an object";
            }
            return false;
        }
        LumoStoredFolder stored;
        double number = 0;
        if (!ReadNumber(object.value("number"), 1, 255, &number) || numbers.contains(int(number))) {
            *error = at + ": \"number\" must be a whole number from 1 to 255, once per fixture";
            return false;
        }
        numbers.insert(int(number));
        stored.number = quint8(number);
        if (!ReadName(object, at, &stored.name, error)) {
            return false;
        }
        const QJsonValue fileList = object.value("files");
        if (!fileList.isUndefined() && !fileList.isArray()) {
            *error = at + ": \"files\" must be a list";
            return false;
        }
        QSet<int> fileNumbers;
        const QJsonArray entries = fileList.toArray();
        for (int j = 0; j < entries.size(); ++j) {
            const QString fileAt = at + QStringLiteral(" file %1").arg(j + 1);
            LumoStoredFile file;
            if (!ReadLedFile(entries.at(j), fileAt, model, folder, stored.number, &file, error)) {
                return false;
            }
            if (fileNumbers.contains(file.number)) {
                *error = fileAt + ": \"file\" is used twice in the folder";
                return false;
            }
            fileNumbers.insert(file.number);
            stored.files.append(file);
        }
        files += int(stored.files.size());
        folders->append(stored);
    }
    if (files > Lumo::kContentCapacity) {
        *error = where + QStringLiteral(": holds %1 files, more than 255").arg(files);
        return false;
    }
    return true;
}

const QSet<QString> kCommonKeys = {"port", "type", "faults"};

bool ReadRdm(const QJsonObject& object, const QString& where, RigFixture& fixture, QString* error) {
    if (!object.contains("uid")) {
        *error = where + ": \"uid\" is missing";
        return false;
    }
    if (!Read(object, RdmFields(), kCommonKeys, where, fixture.rdm, error) ||
        !ReadFaults(object, RdmFaultFields(), where, fixture.rdm.faults, error)) {
        return false;
    }
    if (fixture.rdm.personality > fixture.rdm.personalities.size()) {
        *error = where + ": \"personality\" is not one of its personalities";
        return false;
    }
    return true;
}

bool ReadOrx(const QJsonObject& object, const QString& where, RigFixture& fixture, QString* error) {
    if (!object.contains("id")) {
        *error = where + ": \"id\" is missing";
        return false;
    }
    return Read(object, OrxFields(), kCommonKeys, where, fixture.orx, error) &&
           ReadFaults(object, OrxFaultFields(), where, fixture.orx.faults, error);
}

bool ReadLed(const QJsonObject& object, const QString& where, const QString& folder,
             RigFixture& fixture, QString* error) {
    if (!object.contains("uid")) {
        *error = where + ": \"uid\" is missing";
        return false;
    }
    fixture.rdm.manufacturerLabel = QStringLiteral("Corvane");
    fixture.rdm.modelDescription = object.value("type").toString() == "solvi"
                                       ? QStringLiteral("Solvi")
                                       : QStringLiteral("MARQA");
    const QSet<QString> common = kCommonKeys + QSet<QString>{"folders"};
    if (!Read(object, RdmFields(), common + KeysOf(LedFields()), where, fixture.rdm, error) ||
        !Read(object, LedFields(), common + KeysOf(RdmFields()), where, fixture.led, error)) {
        return false;
    }
    const QJsonObject faults = object.value("faults").toObject();
    if (object.contains("faults") && !object.value("faults").isObject()) {
        *error = where + ": \"faults\" must be an object";
        return false;
    }
    const QString faultsAt = where + " faults";
    if (!Read(faults, RdmFaultFields(), KeysOf(LedFaultFields()), faultsAt, fixture.rdm.faults,
              error) ||
        !Read(faults, LedFaultFields(), KeysOf(RdmFaultFields()), faultsAt, fixture.led.faults,
              error)) {
        return false;
    }
    if (fixture.rdm.personality > fixture.rdm.personalities.size()) {
        *error = where + ": \"personality\" is not one of its personalities";
        return false;
    }
    return !object.contains("folders") ||
           ReadLedFolders(object.value("folders"), where, fixture.rdm.modelDescription, folder,
                          &fixture.led.folders, error);
}

}  // namespace

std::optional<RigFixture> ParseRigFixture(const QJsonValue& value, const QString& where,
                                          int portCount, const QString& folder, QString* error) {
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
    const QString type = object.value("type").toString("rdm");
    bool ok = false;
    if (type == "rdm") {
        ok = ReadRdm(object, where, fixture, error);
    } else if (type == "orx") {
        fixture.type = RigFixture::Orx;
        ok = ReadOrx(object, where, fixture, error);
    } else if (type == "marqa" || type == "solvi") {
        fixture.type = RigFixture::Led;
        ok = ReadLed(object, where, folder, fixture, error);
    } else {
        *error = where + ": \"type\" must be \"rdm\", \"marqa\", \"solvi\" or \"orx\"";
    }
    return ok ? std::optional<RigFixture>(fixture) : std::nullopt;
}

}  // namespace Sim
