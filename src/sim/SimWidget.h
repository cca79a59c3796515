#pragma once

#include "sim/RdmResponder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace Sim {

struct WidgetConfig {
    QString name;  // the device's file name without ".sock", unique per rig
    QUuid interfaceClass;
    quint16 productCode = 26;
    quint8 firmwareMajor = 1;
    quint8 firmwareMinor = 0;
};

// A simulated widget driver: answers the driver's requests byte for byte (port modes,
// RDM send and receive, device info, firmware version, DMX frame writes), hands RDM
// requests to the responders on each port and lets the clock run by the line time.
class SimWidget {
public:
    enum Kind : quint32 { kIoControl = 1, kWrite = 2 };

    struct Reply {
        int status = 0;  // 0, or an errno value
        QByteArray output;
        quint32 transferred = 0;  // output length, or bytes written
    };

    // One request as the driver saw it.
    struct Exchange {
        quint32 kind = kIoControl;
        quint32 code = 0;
        QByteArray input;
        quint32 capacity = 0;
        Reply reply;
    };

    static constexpr size_t kTrafficKept = 1000;

    explicit SimWidget(WidgetConfig config);

    const WidgetConfig& Config() const { return m_config; }
    int PortCount() const { return m_portCount; }

    Reply IoControl(quint32 code, const QByteArray& input, quint32 capacity);
    Reply Write(const QByteArray& data);

    void AttachResponder(int port, std::shared_ptr<RdmResponder> responder);
    // Takes every responder off the port's line.
    void DetachResponders(int port);

    // Fault injection: the next `count` requests fail with this errno value.
    void FailNextRequests(int errorCode, int count = 1);

    QByteArray PortModeBlock() const;
    QByteArray Frame(int port) const;
    std::vector<Exchange> Traffic() const;
    void ClearTraffic();

private:
    Reply Handle(quint32 code, const QByteArray& input, quint32 capacity);
    Reply RdmSend(const QByteArray& input);
    Reply RdmReceive(const QByteArray& input, quint32 capacity);
    Reply WriteFrames(const QByteArray& data);
    void Record(quint32 kind, quint32 code, const QByteArray& input, quint32 capacity,
                const Reply& reply);

    const WidgetConfig m_config;
    const int m_portCount;

    mutable std::mutex m_lock;
    QByteArray m_portModes;
    std::array<QByteArray, 8> m_frames;
    std::array<QByteArray, 8> m_pendingReplies;
    // Replies that start after the controller's reply window, with the time they come in.
    struct LateReply {
        qint64 arrivesAt = 0;
        QByteArray bytes;
    };
    std::array<std::vector<LateReply>, 8> m_lateReplies;
    std::multimap<int, std::shared_ptr<RdmResponder>> m_responders;
    int m_failCode = 0;
    int m_failCount = 0;
    std::deque<Exchange> m_traffic;  // the most recent kTrafficKept requests
};

}  // namespace Sim
