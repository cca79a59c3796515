#pragma once

#include "sim/RdmResponder.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace Sim {

// Misbehaviour a simulated fixture can be told to show.
struct RdmFaults {
    int dropEvery = 0;                // drop every n-th reply (0: never)
    bool corruptChecksum = false;     // replies carry a wrong checksum
    bool foreignController = false;   // replies are addressed to another controller
    int busyCount = 0;                // answer this many requests with the busy NACK
    int ackTimerCount = 0;            // answer this many GET/SET requests with ACK_TIMER
    quint16 ackTimerEstimate = 0;     // ... estimating this many tenths of a second
    bool wrongLength = false;         // NACK and ACK_TIMER replies carry three data bytes
    bool noMuteAck = false;           // never acknowledges DISC_MUTE (and so never mutes)
    int lateBranchMs = 0;             // answers DISC_UNIQUE_BRANCH this many ms late
    bool answersEveryBranch = false;  // answers every DISC_UNIQUE_BRANCH, garbled, muted or not
};

struct RdmPersonality {
    quint16 footprint = 1;
    QString description;
};

// What a simulated RDM fixture reports about itself.
struct RdmResponderConfig {
    quint64 uid = 0;
    QString manufacturerLabel = QStringLiteral("Generic");
    QString deviceLabel;
    QString modelDescription = QStringLiteral("RDM Fixture");
    QString softwareVersionLabel = QStringLiteral("1.0.0");
    QString bootSoftwareVersionLabel = QStringLiteral("1.0");
    quint16 modelId = 1;
    quint16 productCategory = 0x0101;
    quint32 softwareVersionId = 0x01000000;
    quint16 startAddress = 1;
    QList<RdmPersonality> personalities = {{16, QStringLiteral("Standard")}};
    quint8 personality = 1;  // 1-based
    quint16 subDeviceCount = 0;
    quint8 sensorCount = 0;
    bool factoryDefaults = true;
    bool identify = false;
    quint32 deviceHours = 0;
    quint32 lampHours = 0;
    quint32 lampStrikes = 0;
    quint8 lampState = 1;
    quint8 lampOnMode = 2;
    quint32 powerCycles = 0;
    quint8 displayInvert = 2;
    quint8 displayLevel = 255;
    bool panInvert = false;
    bool tiltInvert = false;
    bool panTiltSwap = false;
    quint8 powerState = 255;
    // The optional parameters the fixture lists; all it knows when left empty. A SET of an
    // optional parameter it does not list is NACKed as unknown.
    QList<quint16> supportedParameters;
    // Parameters whose SET the fixture refuses as write-protected.
    QList<quint16> writeProtected;
    // SUPPORTED_PARAMETERS sends at most this many ids a reply, the rest in ACK_OVERFLOW chunks.
    int parametersPerReply = 115;
    // A multi-port responder's binding UID: when set, mute replies carry it after the control
    // field (8 bytes instead of 2).
    quint64 bindingUid = 0;
    RdmFaults faults;
};

// An RDM fixture on a simulated line: answers the standard parameters, discovery (unique
// branch with the encoded reply, mute, un-mute), NACKs what it does not know, and ignores
// what is not a valid RDM request for it.
class SimRdmResponder : public RdmResponder {
public:
    explicit SimRdmResponder(RdmResponderConfig config);

    QByteArray HandleRdm(const QByteArray& request) override;
    qint64 ReplyDelayMicros() const override;

    // The current state (thread-safe copies, for tests and tools).
    RdmResponderConfig State() const;
    bool IsMuted() const;
    int RequestsHandled() const;
    // Changes the faults while the rig runs.
    void SetFaults(const RdmFaults& faults);
    // What it reports from now on, as after new firmware.
    void SetSoftwareVersionLabel(const QString& label);

    // The optional parameters a fixture can list.
    static QList<quint16> KnownOptionalParameters();
    // The 24-byte reply to DISC_UNIQUE_BRANCH for a UID.
    static QByteArray EncodeDiscoveryReply(quint64 uid);
    // A reply of the same shape whose checksum fails, as noise on the line would look.
    static QByteArray NoiseReply(quint64 uid);
    // A well-formed reply to a request (at least its 24 header bytes): from `source` to
    // `destination`, with the request's transaction number, sub-device and parameter, the
    // response class, the type and data given and the right checksum.
    static QByteArray BuildReply(const QByteArray& request, quint64 source, quint64 destination,
                                 quint8 responseType, const QByteArray& data);

protected:
    // One reply to a GET or SET: response type (0 ACK, 2 NACK, 3 ACK_OVERFLOW) and its data.
    struct Answer {
        quint8 responseType = 0;
        QByteArray data;
    };

    // A subclass's own parameters, consulted before the standard ones: an answer, or nothing
    // to leave the request to the standard table. Called with the lock held.
    virtual std::optional<Answer> OwnParameter(quint8 commandClass, quint16 pid,
                                               const QByteArray& data);
    // The configuration, for the hooks above (the lock is held while they run).
    RdmResponderConfig& LockedConfig() { return m_config; }

private:
    using Handler = std::function<Answer(SimRdmResponder&, const QByteArray&)>;
    struct Parameter {
        Handler get;
        Handler set;
    };
    static const std::map<quint16, Parameter>& Parameters();

    QByteArray Discovery(quint16 pid, const QByteArray& data, bool unicast,
                         const QByteArray& request);
    Answer Dispatch(quint8 commandClass, quint16 pid, const QByteArray& data);
    QByteArray Reply(const QByteArray& request, const Answer& answer) const;
    // The data of a mute or un-mute reply: the control field, then the binding UID if any.
    QByteArray MuteReplyData() const;
    QByteArray SupportedParametersChunk(quint8* responseType);

    mutable std::mutex m_lock;
    RdmResponderConfig m_config;
    bool m_muted = false;
    int m_requests = 0;
    qint64 m_replyDelayMicros = 0;
    int m_replies = 0;
    int m_overflowOffset = 0;
};

}  // namespace Sim
