#pragma once

#include "lumo/commands/LumoDeviceCommand.h"

// Erases all user content, or all Quorel content, of a fixture and, once the fixture has
// taken that, empties the same group of its content tree.
class LumoEraseContentCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    enum Kind { UserContent, QuorelContent };

    explicit LumoEraseContentCommand(QObject* parent = nullptr);

    void Setup(Device* device, Kind kind);
    bool Execute() override;

private:
    Kind m_kind = UserContent;
};
