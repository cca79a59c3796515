#pragma once

#include "sim/FirmwareCatalogue.h"
#include "sim/SimRdmResponder.h"
#include "sim/TalkbackFirmwareLoader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <mutex>
#include <optional>

namespace Sim {

// One file in a folder of an LED fixture: its bytes are an image record.
struct LumoStoredFile {
    quint8 number = 0;  // 1..255
    quint32 key = 0;    // content key
    QString name;       // at most 16 characters
    QByteArray bytes;

    bool operator==(const LumoStoredFile&) const = default;
};

struct LumoStoredFolder {
    quint8 number = 0;  // 1..255
    QString name;       // at most 16 characters
    QList<LumoStoredFile> files;

    bool operator==(const LumoStoredFolder&) const = default;
};

// Misbehaviour of an LED fixture's content transfers (replies are dropped with
// RdmFaults::dropEvery). Block numbers count from 0; -1 means never.
struct LumoFaults {
    int abortAtBlock = -1;         // a transfer aborts when this block arrives
    int retryCount = 0;            // this many state reads during a transfer answer "retry"
    int silentAfterBlock = -1;     // after this block of a transfer nothing is answered at all
    int nackDownloadCount = 0;     // this many download packet requests are NACKed
    FirmwareFaults firmware = {};  // while it takes motion and graphics engine firmware
};

// What an LED fixture holds besides its RDM identity. The model description of its RDM
// configuration ("MARQA" or "Solvi") names the family and so the size of its images.
struct LumoFixtureConfig {
    quint32 graphicsUniqueId = 0;
    QString graphicsVersion = QStringLiteral("2.1.0.7");
    quint8 fpgaVersion = 1;
    quint16 quorelAddress = 0;
    quint8 bootCodeChanged = 0;
    int foldersPerReply = 13;   // folder entries per GET reply (1..13)
    int filesPerReply = 10;     // file entries per GET reply (1..10)
    qint64 eraseTimeMs = 3000;  // how long erasing its flash for new firmware takes
    QList<LumoStoredFolder> folders;
    LumoFaults faults;
};

// A simulated LED fixture: an RDM fixture that also stores image files in numbered folders
// and speaks the manufacturer parameters that list, move, erase, upload and download them,
// program its FPGA and report its versions, ids and Quorel address.
//
// Uploads (file blocks, and FPGA blocks the same way without folder and file) run a state
// machine whose state the bulk-state parameters report:
//   1 ready   - idle, waiting for the first block.
//   2 next    - a transfer runs: each block must carry the next block number (and, for files,
//               the same folder and file); type 2 blocks carry 226 data bytes, a type 4 block
//               ends the transfer.
//   3 retry   - reported instead of 2 while a "retry" fault lasts; blocks are still taken.
//   4 done    - the last block was stored: a file takes its content key (little-endian at
//               header offset 4) and name (16 bytes at offset 8) from the image header in its
//               bytes. Reported once, then the state is 1 again.
//   5 abort   - a wrong block number, folder, file or type, a destination folder gone by the
//               last block, a full fixture (255 files), too many bytes for an image, or a
//               file too short to hold the key and name. Later blocks are ignored. Reported once,
//               then the state is 1 again.
// From any state, block 0 of type 1 starts a transfer and block 0 of type 4 is a whole file,
// unless the destination folder does not exist here: uploads are broadcast, and one into a
// folder this fixture lacks is meant for other fixtures, so it stays at 1.
// Continuation blocks while no transfer runs (states 1, 4, 5) are ignored. Unicast blocks
// that abort are NACKed with the reason; broadcast ones are never answered.
//
// Downloads hand out a file in packets of up to 226 bytes numbered from 1; the packet types
// are 1 first, 2 middle and 4 last (a file of one packet is one packet of type 4). "Repeat"
// sends again the packet the previous request was about.
//
// Folder and file lists longer than one reply come in ACK_OVERFLOW chunks: the same request
// again continues where the last reply stopped; any other request starts over.
//
// Motion and graphics engine firmware arrive over the talk-back protocol through the boot
// loader (its device id is the device part of the UID); while the boot loader runs, RDM is not
// answered. An installed image, and a whole FPGA image, change the version the fixture reports
// to the one the firmware catalogue knows the image by.
class SimLumoFixture : public SimRdmResponder {
public:
    SimLumoFixture(RdmResponderConfig rdm, LumoFixtureConfig lumo);

    QByteArray HandleRdm(const QByteArray& request) override;

    // The current state (thread-safe copies, for tests and tools).
    QList<LumoStoredFolder> Folders() const;
    std::optional<LumoStoredFile> File(quint8 folder, quint8 file) const;
    quint16 QuorelAddress() const;
    quint32 GraphicsUniqueId() const;
    quint32 MotionUniqueId() const;  // the device part of its UID
    QByteArray FpgaImage() const;    // the last FPGA image received whole
    quint8 BulkState() const;
    quint8 FpgaBulkState() const;
    // The last firmware image of the role it installed (padded to whole packets for motion
    // and graphics), empty when none.
    QByteArray InstalledImage(FirmwareRole role) const;
    // Changes the transfer faults while the rig runs.
    void SetLumoFaults(const LumoFaults& faults);

    // LEDs of the family a model description names: 127 for "MARQA", 61 for "Solvi".
    static int LedCount(const QString& modelDescription);
    // A small image record of a family: a few frames of colours derived from the key.
    static QByteArray MakeImage(const QString& modelDescription, quint32 key, const QString& name);

protected:
    std::optional<Answer> OwnParameter(quint8 commandClass, quint16 pid,
                                       const QByteArray& data) override;

private:
    struct FileData {
        quint32 key = 0;
        QString name;
        QByteArray bytes;
    };
    struct FolderData {
        QString name;
        std::map<quint8, FileData> files;
    };
    // One upload state machine (files or FPGA).
    struct Transfer {
        quint8 state = 1;
        quint8 folder = 0;
        quint8 file = 0;
        int nextBlock = 0;
        QByteArray bytes;
    };
    struct Download {
        quint8 folder = 0;
        quint8 file = 0;
        int packet = 0;  // the packet the last request was about, from 1; 0 before the first
    };
    struct Listing {
        quint16 pid = 0;
        QByteArray request;
        int offset = 0;
    };

    static Answer Ack(const QByteArray& data = {});
    static Answer Nack(quint16 reason);
    Answer Get(quint16 pid, const QByteArray& data);
    Answer Set(quint16 pid, const QByteArray& data);
    Answer ReadState(Transfer& transfer);
    Answer Block(Transfer& transfer, bool fpga, const QByteArray& data);
    std::optional<quint16> TakeBlock(Transfer& transfer, bool fpga, quint8 folder, quint8 file,
                                     int number, quint8 type, const QByteArray& payload);
    std::optional<quint16> Store(const Transfer& transfer);
    // Runs an image the boot loader verified. Called without the lock.
    void Install(const QByteArray& image);
    Answer Packet(const QByteArray& data);
    Answer Chunk(quint16 pid, const QByteArray& request, const QList<QByteArray>& entries,
                 int perReply);
    Answer FolderEntries(const QByteArray& data);
    Answer FileEntries(const QByteArray& data);
    Answer MoveOneFile(const QByteArray& data);
    Answer MoveOneFolder(const QByteArray& data);
    void EraseFolders(int first, int last);
    int FileCount() const;

    mutable std::mutex m_lumoLock;  // taken inside the base's lock, never around it
    LumoFixtureConfig m_lumo;       // its folder list is unused: m_folders holds the content
    const QString m_model;
    quint64 m_uid = 0;
    std::map<quint8, FolderData> m_folders;
    Transfer m_files;
    Transfer m_fpga;
    QByteArray m_fpgaImage;
    Download m_download;
    Listing m_listing;
    bool m_silent = false;
    TalkbackFirmwareLoader m_loader;
    std::map<FirmwareRole, QByteArray> m_installed;
};

}  // namespace Sim
