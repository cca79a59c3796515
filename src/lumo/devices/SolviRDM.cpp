#include "lumo/devices/SolviRDM.h"

#include "firmware/FirmwarePackage.h"
#include "lumo/tree/SolviRDMContentRoot.h"

SolviRDM::SolviRDM(quint64 uid, QObject* parent) : LumoRDM(uid, parent) {
    SetModelDescription(QString::fromLatin1(kModelName));
}

QString SolviRDM::GetFirmwarePackagePath() const {
    return StockPackagePath(QLatin1String(FirmwarePackage::kSolvi.stock));
}

QString SolviRDM::GetFirmwarePackagePattern() const {
    return QLatin1String(FirmwarePackage::kSolvi.pattern);
}

std::unique_ptr<QIODevice> SolviRDM::OpenVersionFile(const QString& folder) const {
    return OpenFolderFile(folder, QLatin1String(FirmwarePackage::kSolvi.versions));
}

LumoRDMContentRoot* SolviRDM::GetContentRoot() {
    return ContentRoot<SolviRDMContentRoot>(this);
}
