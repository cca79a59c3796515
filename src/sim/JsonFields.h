#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QSet>
#include <QString>

#include <algorithm>
#include <functional>
#include <vector>

// Reading rig-file objects into configuration structs with tables of fields.
namespace Sim::JsonFields {

template <class Config>
struct Field {
    const char* key;
    const char* expected;  // what the message says the value must be
    std::function<bool(const QJsonValue&, Config&)> read;
};

inline bool ReadNumber(const QJsonValue& value, double low, double high, double* out) {
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < low || number > high || number != qint64(number)) {
        return false;
    }
    *out = number;
    return true;
}

// A whole number in [low, high]; true and false count as 1 and 0 when high is 1.
template <class Config, class T>
Field<Config> Number(const char* key, T Config::*member, double low, double high,
                     const char* expected) {
    return {key, expected, [=](const QJsonValue& value, Config& config) {
                if (high == 1 && value.isBool()) {
                    config.*member = T(value.toBool());
                    return true;
                }
                double number = 0;
                if (!ReadNumber(value, low, high, &number)) {
                    return false;
                }
                config.*member = T(number);
                return true;
            }};
}

template <class Config>
Field<Config> Text(const char* key, QString Config::*member) {
    return {key, "a text of at most 32 characters", [=](const QJsonValue& value, Config& config) {
                if (!value.isString() || value.toString().size() > 32) {
                    return false;
                }
                config.*member = value.toString();
                return true;
            }};
}

template <class Config>
Field<Config> Flag(const char* key, bool Config::*member) {
    return {key, "true or false", [=](const QJsonValue& value, Config& config) {
                if (!value.isBool()) {
                    return false;
                }
                config.*member = value.toBool();
                return true;
            }};
}

// Reads every key of the object with the table; a key neither in the table nor among
// `otherKeys` is an error.
template <class Config>
bool Read(const QJsonObject& object, const std::vector<Field<Config>>& fields,
          const QSet<QString>& otherKeys, const QString& where, Config& config, QString* error) {
    for (const QString& key : object.keys()) {
        if (otherKeys.contains(key)) {
            continue;
        }
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const Field<Config>& f) { return key == f.key; });
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

// Reads an optional "faults" object of a fixture into `faults`.
template <class Faults>
bool ReadFaults(const QJsonObject& fixture, const std::vector<Field<Faults>>& fields,
                const QString& where, Faults& faults, QString* error) {
    const QJsonValue value = fixture.value("faults");
    if (value.isUndefined()) {
        return true;
    }
    if (!value.isObject()) {
        *error = where + ": \"faults\" must be an object";
        return false;
    }
    return Read(value.toObject(), fields, {}, where + " faults", faults, error);
}

}  // namespace Sim::JsonFields
