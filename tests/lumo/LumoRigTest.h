#pragma once

#include "content/ledimage/MarqaRDMImage.h"
#include "content/ledimage/SolviRDMImage.h"
#include "lumo/LumoDefs.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "sim/SimLumoFixture.h"
#include "support/RdmRig.h"

// A rig of simulated LED fixtures, with the device objects that stand for them.
class LumoRigTest : public RdmRigTest {
protected:
    static constexpr quint64 kMarqaUid = 0x43560000A001ULL;
    static constexpr quint64 kSolviUid = 0x43560000B001ULL;

    std::shared_ptr<Sim::SimLumoFixture> AddLumo(const QString& model, quint64 uid,
                                                 Sim::LumoFixtureConfig lumo = {}, int port = 0) {
        Sim::RdmResponderConfig rdm = Fixture(uid);
        rdm.modelDescription = model;
        auto fixture = std::make_shared<Sim::SimLumoFixture>(rdm, std::move(lumo));
        m_widget->AttachResponder(port, fixture);
        return fixture;
    }

    template <class Device>
    std::unique_ptr<Device> MakeDevice(quint64 uid, int port = 0) {
        auto device = std::make_unique<Device>(uid);
        device->SetPort(quint8(port));
        return device;
    }

    // A fixture holding these folders.
    static Sim::LumoFixtureConfig Holding(QList<Sim::LumoStoredFolder> folders,
                                          Sim::LumoFaults faults = {}) {
        Sim::LumoFixtureConfig config;
        config.folders = std::move(folders);
        config.faults = faults;
        return config;
    }

    // A folder holding nothing, for Sim::LumoFixtureConfig::folders.
    static Sim::LumoStoredFolder Folder(quint8 number, const QString& name = "Folder") {
        return {number, name, {}};
    }

    // An image record of the family with `frames` frames (its key and name set).
    template <class Record>
    static Record Image(int frames, quint32 key = 0x1234ABCD, const QString& name = "Ring") {
        Record record;
        record.header.contentKey = key;
        record.SetNameText(name);
        for (int f = 0; f < frames; ++f) {
            LumoRDMImage::Entry entry;
            entry.delay = quint16(40 + f);
            entry.leds = QByteArray(record.LedCount(), char(f * 7 + 1));
            record.entries.push_back(entry);
        }
        for (size_t i = 0; i < record.header.palette.size(); ++i) {
            record.header.palette[i] = quint8(i * 13);
        }
        return record;
    }

    // The parameter data of the requests sent with this parameter id (and command class).
    std::vector<QByteArray> Requests(quint16 pid, quint8 commandClass = 0) const {
        std::vector<QByteArray> found;
        for (const QByteArray& request : SentRequests()) {
            if (request.size() >= 24 && (quint8(request[21]) << 8 | quint8(request[22])) == pid &&
                (commandClass == 0 || quint8(request[20]) == commandClass)) {
                found.push_back(request.mid(24, quint8(request[23])));
            }
        }
        return found;
    }
};
