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

std::optional<quint32> UniqueIdGenerator::NextId(const QString& model, QString* why) {
    const QSettings settings = SystemSettings();
    const QString key = "UniqueIdGenerator/" + model;
    const QString path = settings.value(key).toString();
    const QString named = QStringLiteral("named under \"%1\" in %2").arg(key, settings.fileName());
    const auto fail = [why](const QString& reason) -> std::optional<quint32> {
        if (why) {
            *why = reason;
        }
        return std::nullopt;
    };
    if (model.isEmpty() || path.isEmpty()) {
        return fail("no unique id file is " + named);
    }
    QFile file(path);
    if (!file.exists()) {
        return fail(QStringLiteral("the unique id file %1 (%2) does not exist").arg(path, named));
    }
    if (!HasFactoryKey()) {
        return fail(QStringLiteral("the unique id file %1 is only used on a factory machine, and "
                                   "%2 holds no factory key under \"UniqueIdGenerator/key\"")
                        .arg(path, settings.fileName()));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("the unique id file %1 cannot be read: %2")
                        .arg(path, file.errorString()));
    }
    bool ok = false;
    const quint64 next = file.readAll().trimmed().toULongLong(&ok);
    file.close();
    if (!ok || next == 0 || next >= 0xFFFFFFFFULL) {
        return fail(QStringLiteral("the unique id file %1 holds no next id from 1 to 4294967294")
                        .arg(path));
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(QByteArray::number(next + 1) + "\n") < 0 ||
        !save.commit()) {
        // An id that cannot be recorded as used is not handed out.
        return fail(QStringLiteral("the unique id file %1 cannot be written: %2")
                        .arg(path, save.errorString()));
    }
    return quint32(next);
}
