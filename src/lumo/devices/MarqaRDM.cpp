#include "lumo/devices/MarqaRDM.h"

#include "lumo/tree/MarqaRDMContentRoot.h"

#include <QDir>
#include <QFile>

MarqaRDM::MarqaRDM(quint64 uid, QObject* parent) : LumoRDM(uid, parent) {
    SetModelDescription(QString::fromLatin1(kModelName));
}

QString MarqaRDM::GetFirmwarePackagePath() const {
    return StockPackagePath(QStringLiteral("marqa.crvpkg"));
}

QString MarqaRDM::GetFirmwarePackagePattern() const {
    return QStringLiteral("marqa*.crvpkg");
}

std::unique_ptr<QIODevice> MarqaRDM::OpenVersionFile(const QString& folder) const {
    auto file = std::make_unique<QFile>(folder + QStringLiteral("/Marqa_config.xml"));
    if (!file->open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    return file;
}

LumoRDMContentRoot* MarqaRDM::GetContentRoot() {
    if (LumoRDMContentRoot* root = ContentRootIfMade()) {
        return root;
    }
    return AdoptContentRoot(std::make_unique<MarqaRDMContentRoot>(this));
}
