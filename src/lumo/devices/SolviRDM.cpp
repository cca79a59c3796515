#include "lumo/devices/SolviRDM.h"

#include "lumo/tree/SolviRDMContentRoot.h"

SolviRDM::SolviRDM(quint64 uid, QObject* parent) : LumoRDM(uid, parent) {
    SetModelDescription(QString::fromLatin1(kModelName));
}

QString SolviRDM::GetFirmwarePackagePath() const {
    return StockPackagePath(QStringLiteral("solvi.crvpkg"));
}

QString SolviRDM::GetFirmwarePackagePattern() const {
    return QStringLiteral("solvi*.crvpkg");
}

std::unique_ptr<QIODevice> SolviRDM::OpenVersionFile(const QString& folder) const {
    return OpenFolderFile(folder, QStringLiteral("Solvi_config.xml"));
}

LumoRDMContentRoot* SolviRDM::GetContentRoot() {
    return ContentRoot<SolviRDMContentRoot>(this);
}
