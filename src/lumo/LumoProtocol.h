#pragma once

#include "comm/IFeedback.h"
#include "lumo/LumoDefs.h"
#include "lumo/LumoRecords.h"
#include "rdm/RDMProtocol.h"

#include <QList>

class Device;
class LumoRDM;
class LumoRDMImage;

// Speaks the manufacturer parameters of the LED fixtures: folders and files, bulk transfers
// (download from one fixture, broadcast upload to many), firmware for the FPGA, versions,
// unique ids and the Quorel address. Every request goes through RdmTransaction; every
// operation blocks the command worker thread until it is done and reports on `feedback`.
class LumoProtocol : public RDMProtocol {
    Q_OBJECT
public:
    static constexpr int kMaxOverflows = 250;
    static constexpr int kBulkPolls = 101;
    static constexpr qint64 kBulkPollWaitMs = 500;
    static constexpr int kMaxRetries = 10;
    static constexpr int kMaxDownloadErrors = 5;
    static constexpr int kReadyReads = 20;
    static constexpr qint64 kUploadSettleMs = 1000;
    static constexpr int kVersionAttempts = 6;

    explicit LumoProtocol(QObject* parent = nullptr);

    // The process-wide protocol object of the device's family.
    static LumoProtocol* ProtocolFor(const Device* device);
    // The text of a manufacturer NACK reason.
    static QString LumoErrorText(quint16 reason);

    // Folder 0 reads every folder.
    virtual bool GetFolderInfo(LumoRDM* device, quint8 folder, QList<LumoFolderRecord>& folders,
                               IFeedback* feedback);
    // Adds a folder (old number 0) or renames one.
    virtual bool SetFolderInfo(LumoRDM* device, const LumoFolderRecord& old,
                               const LumoFolderRecord& now, IFeedback* feedback);
    virtual bool MoveFolder(LumoRDM* device, const LumoFolderRecord& old,
                            const LumoFolderRecord& now, IFeedback* feedback);
    virtual bool EraseFolder(LumoRDM* device, quint8 folder, IFeedback* feedback);
    virtual bool UploadFile(LumoRDM* device, quint8 folder, quint8 file, const LumoRDMImage& image,
                            IFeedback* feedback);
    // One file to many fixtures at once; `devices` is left holding the ones that completed.
    virtual bool UploadFileToDevices(QList<LumoRDM*>& devices, quint8 folder, quint8 file,
                                     const LumoRDMImage& image, IFeedback* feedback);
    // Fills `image` only when the whole file arrived and reads as an image.
    virtual bool DownloadFile(LumoRDM* device, quint8 folder, quint8 file, LumoRDMImage& image,
                              IFeedback* feedback);
    // The files of `folder` from `firstFile` on; entries of other folders are dropped.
    virtual bool GetFileInfo(LumoRDM* device, quint8 folder, quint8 firstFile,
                             QList<LumoFileRecord>& files, IFeedback* feedback);
    virtual bool SetFileInfo(LumoRDM* device, const LumoFileRecord& record, IFeedback* feedback);
    virtual bool MoveFile(LumoRDM* device, quint8 sourceFolder, quint8 sourceFile,
                          quint8 destinationFolder, quint8 destinationFile, IFeedback* feedback);
    virtual bool EraseFile(LumoRDM* device, quint8 folder, quint8 file, IFeedback* feedback);
    virtual bool EraseUserContent(LumoRDM* device, IFeedback* feedback);
    virtual bool EraseQuorelContent(LumoRDM* device, IFeedback* feedback);
    // The version queries store what they read in the device.
    virtual bool GetFpgaVersion(LumoRDM* device, IFeedback* feedback);
    virtual bool GetGraphicsUniqueId(LumoRDM* device, IFeedback* feedback);
    virtual bool GetGraphicsVersion(LumoRDM* device, IFeedback* feedback);
    virtual bool GetGraphicsBootChanged(LumoRDM* device, IFeedback* feedback);
    virtual bool SetMotionUniqueId(LumoRDM* device, quint32 id, IFeedback* feedback);
    virtual bool SetGraphicsUniqueId(LumoRDM* device, quint32 id, IFeedback* feedback);
    // Programs the FPGA of the fixtures that are ready; `devices` is left holding the ones
    // that took the whole image.
    virtual bool ProgramFpga(QList<LumoRDM*>& devices, const QByteArray& image,
                             IFeedback* feedback);
    virtual bool SetQuorelAddress(LumoRDM* device, quint16 address, IFeedback* feedback);
    virtual bool GetQuorelAddress(LumoRDM* device, IFeedback* feedback);
    // The bytes of the image as the family's fixtures store it; returns their number.
    virtual int SerializeImage(const LumoRDMImage& image, QByteArray* out) const = 0;

    // The transfer state of a fixture; BulkAbort when it cannot be read.
    virtual quint8 GetBulkDataReady(quint8 port, quint64 uid, IFeedback* feedback);
    virtual quint8 GetFpgaBulkDataReady(quint8 port, quint64 uid, IFeedback* feedback);

protected:
    // Numbers in log lines: hexadecimal without leading zeros.
    static QString Hex(quint64 value);
    // A log line whose %1 is the device UID.
    static QString Line(const char* text, quint64 uid);

    // The outcome of one request: the result code, the reply data and, for a NACK, the reason.
    struct Reply {
        ResponseStatus status = ResponseNoReply;
        QByteArray data;
        quint16 reason = 0;
        bool Ack() const { return status == ResponseAck; }
    };
    Reply Request(quint8 port, quint64 uid, quint8 commandClass, quint16 pid,
                  const QByteArray& data, quint32 capacity, IFeedback* feedback);
    Reply Request(const LumoRDM* device, quint8 commandClass, quint16 pid, const QByteArray& data,
                  quint32 capacity, IFeedback* feedback);
    // The common handling: ACK is success, a NACK logs `nackLine` (with the device UID and the
    // reason's text) at `nackStatus`, anything else fails silently.
    bool Succeeded(const Reply& reply, quint64 uid, const char* nackLine, IFeedback* feedback,
                   FeedbackStatus nackStatus = FeedbackStatusError);
    // True when a widget is open; otherwise says " Error: No communication device detected".
    static bool WidgetPresent(IFeedback* feedback);

private:
    // What the block engine sends: the parameter, the bytes, the header before each block's
    // data, and the state each fixture is polled with between blocks.
    struct BlockSource {
        quint16 pid = 0;
        quint16 statePid = 0;
        QByteArray bytes;
        quint8 folder = 0;
        quint8 file = 0;
        bool fpga = false;
    };
    quint8 ReadBulkState(quint8 port, quint64 uid, quint16 pid, const char* nackLine,
                         IFeedback* feedback);
    // Sends a whole image in blocks to the broadcast UID on every port, polling the fixtures
    // between blocks and dropping those that lose the transfer.
    bool BroadcastBlocks(QList<LumoRDM*>& devices, const BlockSource& source, IFeedback* feedback);
    bool BroadcastFile(QList<LumoRDM*>& devices, const LumoRDMImage& image, quint8 folder,
                       quint8 file, IFeedback* feedback);
    bool BroadcastFpga(QList<LumoRDM*>& devices, const QByteArray& image, IFeedback* feedback);
    bool GetWithRetries(LumoRDM* device, quint16 pid, quint32 capacity, const char* nackLine,
                        const char* failLine, int attempts, IFeedback* feedback, QByteArray* data);
    bool SetUniqueId(LumoRDM* device, quint16 pid, quint32 id, IFeedback* feedback);
};
