#include "lumo/devices/MarqaRDM.h"

#include "firmware/FirmwarePackage.h"
#include "lumo/tree/MarqaRDMContentRoot.h"

MarqaRDM::MarqaRDM(quint64 uid, QObject* parent) : LumoRDM(uid, parent) {
    SetModelDescription(QString::fromLatin1(kModelName));
}

QString MarqaRDM::GetFirmwarePackagePath() const {
    return StockPackagePath(QLatin1String(FirmwarePackage::kMarqa.stock));
}

QString MarqaRDM::GetFirmwarePackagePattern() const {
    return QLatin1String(FirmwarePackage::kMarqa.pattern);
}

std::unique_ptr<QIODevice> MarqaRDM::OpenVersionFile(const QString& folder) const {
    return OpenFolderFile(folder, QLatin1String(FirmwarePackage::kMarqa.versions));
}

LumoRDMContentRoot* MarqaRDM::GetContentRoot() {
    return ContentRoot<MarqaRDMContentRoot>(this);
}
