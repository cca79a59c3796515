#include "lumo/devices/MarqaRDM.h"

#include "lumo/tree/MarqaRDMContentRoot.h"

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
    return OpenFolderFile(folder, QStringLiteral("Marqa_config.xml"));
}

LumoRDMContentRoot* MarqaRDM::GetContentRoot() {
    return ContentRoot<MarqaRDMContentRoot>(this);
}
