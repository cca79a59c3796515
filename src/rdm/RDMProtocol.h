#pragma once

#include "rdm/IDiscoveryProtocol.h"
#include "rdm/RdmDefs.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class IFeedback;
class RDMDevice;
class DiscoveryProgress;
class SearchBudget;
struct SettableParameter;

// Speaks RDM to the fixtures on the widget's ports: builds each request, sends it through
// the universe, validates and decodes the reply, waits and resends where the fixture asks
// for it, retries lost exchanges, and reads and writes the standard parameters.
class RDMProtocol : public QObject, public IDiscoveryProtocol {
    Q_OBJECT
public:
    static constexpr quint16 kProgramManufacturer = 0x7FF1;
    static constexpr quint32 kProgramDevice = 0x12345789;
    static constexpr int kAttempts = 5;
    static constexpr qint64 kBusyWaitMs = 1000;
    // Resends after ACK_TIMER or a busy NACK allowed in one transaction.
    static constexpr int kMaxResends = 30;
    // The longest single wait an ACK_TIMER reply gets, whatever time the fixture asks for
    // (the field allows up to 109 minutes).
    static constexpr qint64 kMaxAckTimerWaitMs = 3000;

    // Discovery figures.
    static constexpr quint64 kSearchUpper = 0xFFFFFFFFFFFEULL;
    static constexpr quint64 kProductionSearchUpper = 0x7FF100000002ULL;
    static constexpr qint64 kUnmuteSettleMs = 501;
    static constexpr qint64 kBranchReplyWaitMs = 61;
    static constexpr int kBranchAttempts = 5;
    static constexpr int kMuteAttempts = 3;
    static constexpr quint32 kBranchExpectedLength = 63;
    static constexpr quint32 kBranchReceiveWait = 10000;

    // How one standard parameter is read (the table lives with the parameter operations).
    struct Getter;

    static quint64 ProgramUid() { return quint64(kProgramManufacturer) << 32 | kProgramDevice; }

    // The process-wide protocol object shared by the device commands.
    static RDMProtocol* Instance();

    explicit RDMProtocol(QObject* parent = nullptr);

    // The next transaction number; it wraps from 255 to 0.
    quint8 TransactionNumber() const { return m_transaction; }
    quint8 NextTransactionNumber() { return m_transaction++; }

    // Finds every RDM fixture on the port, reads its information and appends it to `devices`.
    // A cancelled search stops before its next request and adds nothing.
    void Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback,
                  DiscoverySearch search) override;
    // Halves the range down to single UIDs, upper half first, wherever anyone answers;
    // confirms each UID by muting it. Always false.
    virtual bool SearchRange(quint16 port, QList<Device*>& devices, quint64 lower, quint64 upper,
                             IFeedback* feedback);
    // True when any byte came back for the range within the long reply window.
    virtual bool DiscUniqueBranch(quint16 port, quint64 lower, quint64 upper, IFeedback* feedback);
    virtual bool DiscMute(quint16 port, quint64 uid, IFeedback* feedback);
    // Finds a fixture by UID without a search: asks each port for its DEVICE_INFO, then
    // reads it as discovery would. The caller owns the result; null when no port has it.
    RDMDevice* LocateDevice(quint64 uid, quint16 portCount, IFeedback* feedback);
    virtual bool DiscUnMute(quint16 port, quint64 uid, IFeedback* feedback);

    // Standard parameters: each sends one request to the device and stores the decoded
    // value in it; false on any failure, which leaves the device unchanged.
    virtual bool SetIdentify(RDMDevice* device, quint8 value, IFeedback* feedback);
    virtual bool SetDmxStartAddress(RDMDevice* device, quint16 address, IFeedback* feedback);
    virtual bool GetSupportedParameters(RDMDevice* device, IFeedback* feedback);
    // Reads the information of every device; one failed query does not stop the others.
    virtual bool UpdateDeviceInformation(const QList<RDMDevice*>& devices, IFeedback* feedback);
    virtual bool GetDmxStartAddress(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDmxPersonalityDescription(RDMDevice* device, IFeedback* feedback);
    virtual bool GetModelDescription(RDMDevice* device, IFeedback* feedback);
    virtual bool GetManufacturerLabel(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDeviceLabel(RDMDevice* device, IFeedback* feedback);
    virtual bool GetStartAddressWithText(RDMDevice* device, const QString& text,
                                         IFeedback* feedback);
    virtual bool GetFactoryDefaults(RDMDevice* device, IFeedback* feedback);
    virtual bool GetSoftwareVersionLabel(RDMDevice* device, IFeedback* feedback);
    virtual bool GetBootSoftwareVersionLabel(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDeviceHours(RDMDevice* device, IFeedback* feedback);
    virtual bool GetLampHours(RDMDevice* device, IFeedback* feedback);
    virtual bool GetLampStrikes(RDMDevice* device, IFeedback* feedback);
    virtual bool GetLampState(RDMDevice* device, IFeedback* feedback);
    virtual bool GetLampOnMode(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDevicePowerCycles(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDisplayInvert(RDMDevice* device, IFeedback* feedback);
    virtual bool GetDisplayLevel(RDMDevice* device, IFeedback* feedback);
    virtual bool GetPanInvert(RDMDevice* device, IFeedback* feedback);
    virtual bool GetTiltInvert(RDMDevice* device, IFeedback* feedback);
    virtual bool GetPanTiltSwap(RDMDevice* device, IFeedback* feedback);
    virtual bool GetPowerState(RDMDevice* device, IFeedback* feedback);
    // DEVICE_INFO, then the current personality's description; true if both succeed.
    virtual bool GetDeviceInfo(RDMDevice* device, IFeedback* feedback);
    virtual bool GetIdentify(RDMDevice* device, IFeedback* feedback);
    virtual bool DecodeDeviceInfo(RDMDevice* device, const QByteArray& data);
    // The description and footprint of each personality the fixture has; true if all came.
    virtual bool GetDmxPersonalities(RDMDevice* device, IFeedback* feedback);
    // Sets a parameter to the value's bytes. On the fixture's ACK the device takes the value,
    // then reads it back from the fixture (a new personality brings its footprint); on a
    // NACK the parameter's message names the reason and the device stays as it was.
    virtual bool SetParameter(RDMDevice* device, const SettableParameter& parameter,
                              const QByteArray& value, IFeedback* feedback);
    // Any GET or SET of any parameter; on success *reply holds the parameter data. A NACK
    // is reported with the parameter id.
    bool Request(RDMDevice* device, quint8 commandClass, quint16 pid, const QByteArray& data,
                 QByteArray* reply, IFeedback* feedback);
    // Stores a GET reply of a parameter the program reads in the device, as its getter
    // would; false for a parameter it does not read or a reply too short for it.
    bool DecodeReply(RDMDevice* device, quint16 pid, const QByteArray& data);

    // Byte routines. A null buffer makes the pack routines do nothing and the unpack
    // routines give 0.
    static void CalculateChecksum(quint8* buffer, int size);
    static bool VerifyChecksum(const quint8* buffer, int size);
    static void PackUid(quint8* buffer, quint64 uid);
    static quint64 UnpackUid(const quint8* buffer);
    static void PackUInt32(quint8* buffer, quint32 value);
    static quint32 UnpackUInt32(const quint8* buffer);
    static void PackUInt16(quint8* buffer, quint16 value);
    static quint16 UnpackUInt16(const quint8* buffer);
    static QByteArray ReverseCopy(const quint8* source, int size);
    // Copies `size` bytes in reverse order into `target` from its second byte on.
    static void ReverseCopy(const quint8* source, int size, quint8* target);

    // One request and its reply. `replyLength` is the capacity of `reply` on entry and the
    // number of parameter data bytes placed in it on return. Parameter data longer than an RDM
    // message can carry are refused, never cut.
    virtual ResponseStatus RdmTransaction(quint8 port, quint32 deviceId, quint16 manufacturerId,
                                          quint8 commandClass, quint16 pid, const quint8* data,
                                          int dataLength, quint8* reply, quint32& replyLength,
                                          IFeedback* feedback);

    // Builds a request as sent (message, then checksum).
    QByteArray BuildRequest(quint32 deviceId, quint16 manufacturerId, quint8 commandClass,
                            quint16 pid, const quint8* data, int dataLength);

protected:
    // A GET or SET of one parameter: the NACK message names `action` ("Getting Device
    // label"); other failures are silent. On success *reply holds the parameter data.
    bool Transact(RDMDevice* device, quint8 commandClass, quint16 pid, const QByteArray& data,
                  quint32 capacity, const QString& action, IFeedback* feedback, QByteArray* reply);

    static void Report(IFeedback* feedback, const QString& text, int status);

private:
    struct Names;
    struct Outcome;
    // Checks one reply and takes its data; says whether to send the request again.
    Outcome ReadReply(const quint8* received, quint32 count, quint8 commandClass, quint32 capacity,
                      quint8* reply, quint32& replyLength, const Names& names, IFeedback* feedback);
    // Turns a fixture found by the search into its device object, ready for the list.
    RDMDevice* PrepareFoundDevice(RDMDevice* found, IFeedback* feedback);
    // One unique branch, a search after it with the reply window of the fast search, then a
    // check of the whole range with the long window; the thorough search from the top only
    // if that check hears anyone.
    void FastSearch(quint16 port, QList<Device*>& devices, quint64 upper, IFeedback* feedback);
    // One branch for the range: a fixture whose UID comes back whole is muted at once; a
    // collision splits the range; silence ends it.
    void FastSearchRange(quint16 port, QList<Device*>& devices, quint64 lower, quint64 upper,
                         IFeedback* feedback);
    // Searches the upper half of the range, then the lower half, the way `search` says.
    void SearchHalves(quint16 port, QList<Device*>& devices, quint64 lower, quint64 upper,
                      IFeedback* feedback, DiscoverySearch search);
    // The thorough search's test of a range: up to five branches with the long window.
    bool AnswersSlowly(quint16 port, quint64 lower, quint64 upper, IFeedback* feedback);
    // Mutes the UID (three attempts); on an ACK adds it to `devices` as a found fixture.
    bool MuteFound(quint16 port, QList<Device*>& devices, quint64 uid, IFeedback* feedback);
    // Sends one DISC_UNIQUE_BRANCH, waits `waitMs` more and receives: the bytes that came.
    int UniqueBranch(quint16 port, quint64 lower, quint64 upper, qint64 waitMs, quint8* reply,
                     quint32 capacity);
    // A fixture found earlier in this search: muted, so nothing more to ask it.
    static bool IsFound(const QList<Device*>& devices, quint64 uid);
    void ReportRange(quint64 lower, quint64 upper, IFeedback* feedback);
    // The range holds no fixture left to find: it counts as searched for the progress.
    void Settle(quint64 lower, quint64 upper);
    bool SearchStopped() const;
    void SilentLeaf();
    // DISC_MUTE or DISC_UN_MUTE; `action` names it in the NACK message.
    bool MuteControl(quint16 port, quint64 uid, quint16 pid, const char* action,
                     IFeedback* feedback);
    bool Get(RDMDevice* device, const Getter& getter, IFeedback* feedback);
    bool GetFromTable(RDMDevice* device, quint16 pid, IFeedback* feedback);
    // DMX_PERSONALITY_DESCRIPTION of one personality, kept in the device's list.
    bool GetPersonality(RDMDevice* device, quint8 personality, IFeedback* feedback);

    quint8 m_transaction = 0;
    SearchBudget* m_budget = nullptr;         // the running search's bounds, while Discover runs
    DiscoveryProgress* m_progress = nullptr;  // and how far it has come
};
