#include "lumo/devices/SolviRDM.h"

#include "lumo/tree/SolviRDMContentRoot.h"

#include <QDir>
#include <QFile>

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
    auto file = std::make_unique<QFile>(folder + QStringLiteral("/Solvi_config.xml"));
    if (!file->open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    return file;
}

LumoRDMContentRoot* SolviRDM::GetContentRoot() {
    if (LumoRDMContentRoot* root = ContentRootIfMade()) {
        return root;
    }
    return AdoptContentRoot(std::make_unique<SolviRDMContentRoot>(this));
}
