#pragma once

#include <QByteArray>
#include <QMap>

#include <optional>

namespace Sim {

// Misbehaviour of a fixture while it takes firmware over the talk-back protocol.
struct FirmwareFaults {
    int powerLossAfterPackets = 0;  // goes dark after this many firmware packets (0: never)
    bool neverReady = false;        // its flash never reports erased
    bool failVerify = false;        // reports a wrong image checksum and keeps the old firmware
};

// One talk-back frame as the fixtures read it.
struct TalkbackFrame {
    enum Kind { Command, Query, Talkback };
    Kind kind = Command;
    quint8 code = 0;
    quint8 operation = 0;  // talk-back reads
    quint32 id = 0;
    quint16 parameter = 0;  // queries
    QByteArray data;        // commands

    // Nothing when the bytes are not a talk-back frame that adds up.
    static std::optional<TalkbackFrame> Parse(const QByteArray& bytes);
    // A query reply carrying up to nine payload bytes.
    static QByteArray QueryReply(const QByteArray& payload);
};

// The boot loader of a fixture that takes firmware over the talk-back protocol: the upload
// reset starts it, the erase command clears the flash (taking its time), packets fill it and
// the checksum query verifies it. An image that verifies is installed: the fixture runs it
// from then on. A fixture that was reset but not told to erase goes back to its own program
// after a while (counted from the last reset); one whose flash was erased stays in the boot loader
// until an image verifies. Not thread-safe: its owner serialises the calls.
class TalkbackFirmwareLoader {
public:
    static constexpr qint64 kIdleResetMs = 20000;

    TalkbackFirmwareLoader(quint32 id, qint64 eraseTimeMs, FirmwareFaults faults);

    // The reply to a frame of the firmware flow (empty when it is not answered), or nothing
    // when the frame is not part of it.
    std::optional<QByteArray> Handle(const TalkbackFrame& frame);

    bool Powered() const { return m_powered; }
    // True while the boot loader runs instead of the fixture's own program.
    bool InBootLoader() const;
    // The image installed since the last call, padded to whole packets.
    std::optional<QByteArray> TakeInstalled();
    // The flash: `packets` packets of erased (0xFF) or written bytes.
    QByteArray Flash(int packets) const;
    int PacketsStored() const { return m_packets; }
    void SetFaults(const FirmwareFaults& faults) { m_faults = faults; }

private:
    std::optional<QByteArray> OnCommand(const TalkbackFrame& frame);
    std::optional<QByteArray> OnQuery(const TalkbackFrame& frame);
    bool EraseDone() const;

    quint32 m_id;
    qint64 m_eraseTimeMs;
    FirmwareFaults m_faults;
    bool m_bootLoader = false;
    qint64 m_resetAtMs = 0;
    qint64 m_eraseStartMs = -1;
    QMap<int, QByteArray> m_flash;  // packet index -> 256 bytes
    int m_packets = 0;
    bool m_powered = true;
    std::optional<QByteArray> m_installed;
};

}  // namespace Sim
