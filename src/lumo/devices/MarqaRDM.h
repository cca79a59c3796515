#pragma once

#include "lumo/devices/LumoRDM.h"

// A first-family LED fixture.
class MarqaRDM : public LumoRDM {
    Q_OBJECT
public:
    static constexpr const char* kModelName = "MARQA";

    explicit MarqaRDM(quint64 uid, QObject* parent = nullptr);

    QString GetFirmwarePackagePath() const override;
    QString GetFirmwarePackagePattern() const override;
    std::unique_ptr<QIODevice> OpenVersionFile(const QString& folder) const override;
    LumoRDMContentRoot* GetContentRoot() override;
};
