#include "rdm/UniqueIdGenerator.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace {

QSettings SystemSettings() {
    return QSettings(QSettings::SystemScope, QStringLiteral("Corvane"), QStringLiteral("Aurel"));
}

}  // namespace

bool UniqueIdGenerator::HasFactoryKey() {
    bool ok = false;
    const quint64 key =
        SystemSettings().value("UniqueIdGenerator/key").toString().toULongLong(&ok, 0);
    return ok && key == kFactoryKey;
}

bool UniqueIdGenerator::IsProductionMode() {
    return HasFactoryKey() && SystemSettings().value("ProductionMode", false).toBool();
}

std::optional<quint32> UniqueIdGenerator::NextId(const QString& model) {
    if (!HasFactoryKey() || model.isEmpty()) {
        return std::nullopt;
    }
    const QString path = SystemSettings().value("UniqueIdGenerator/" + model).toString();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool ok = false;
    const quint64 next = file.readAll().trimmed().toULongLong(&ok);
    file.close();
    if (!ok || next == 0 || next >= 0xFFFFFFFFULL) {
        return std::nullopt;
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(QByteArray::number(next + 1) + "\n") < 0 ||
        !save.commit()) {
        return std::nullopt;  // an id that cannot be recorded as used is not handed out
    }
    return quint32(next);
}
