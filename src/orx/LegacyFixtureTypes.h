#pragma once

#include <QString>
#include <QStringList>

// The legacy moving-light models, by model number: whether their firmware can be uploaded
// over the talk-back protocol, the upload packet size and the names of their firmware files.
struct LegacyFixtureType {
    const char* name;
    bool uploadable;
    quint16 packetSize;  // bytes: 512, 2048 or 128
    QStringList filePatterns;
};

namespace LegacyFixtureTypes {

constexpr int kCount = 39;

// The row of a model number, or null for a number outside the table.
const LegacyFixtureType* Find(quint16 model);

}  // namespace LegacyFixtureTypes
