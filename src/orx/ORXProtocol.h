#pragma once

#include "firmware/IFirmwareProtocol.h"
#include "rdm/IDiscoveryProtocol.h"

#include <QByteArray>
#include <QObject>

class DiscoveryProgress;
class ORXDevice;
class QIODevice;

// The talk-back protocol of the legacy moving lights, over the widget's RDM path: discovery
// by range search and extinguishing, the device reads, and firmware upload.
class ORXProtocol : public QObject, public IDiscoveryProtocol, public IFirmwareProtocol {
    Q_OBJECT
public:
    static constexpr int kQuerySends = 6;
    static constexpr qint64 kQueryWaitMs = 11;
    static constexpr quint32 kQueryReceiveWait = 3000;
    static constexpr qint64 kTalkbackWaitMs = 11;
    static constexpr quint32 kTalkbackReceiveWait = 500;
    static constexpr int kResetPasses = 20;
    static constexpr qint64 kResetSettleMs = 1101;
    static constexpr int kSinglePasses = 4;
    static constexpr int kExtinguishTries = 50;
    static constexpr int kRangeQueries = 3;
    static constexpr int kUploadResetPasses = 51;
    static constexpr qint64 kEraseTimeoutMs = 60000;
    static constexpr qint64 kErasePollMs = 21;
    static constexpr int kVerifyPasses = 3;

    static ORXProtocol* Instance();
    explicit ORXProtocol(QObject* parent = nullptr);

    static QByteArray CommandFrame(quint8 code, quint32 deviceId, const QByteArray& data);
    static QByteArray QueryFrame(quint8 code, quint32 deviceId, quint16 parameter);
    static QByteArray TalkbackFrame(quint8 operation, quint8 code, quint32 deviceId);
    // True when a query reply's checksum (bytes 10..11) covers 0x26 and bytes 1..9.
    static bool QueryReplyValid(const QByteArray& reply);

    bool SendCommand(quint16 port, quint8 code, quint32 deviceId, const QByteArray& data = {});
    // The reply's length, 0 when none came after six sends (or no widget), -1 when it did not
    // add up.
    int Query(quint16 port, quint8 code, quint32 deviceId, quint16 parameter, int capacity,
              QByteArray* reply = nullptr);
    // One talk-back read; on success *data holds the reply's fields after its header.
    bool Talkback(quint16 port, quint32 deviceId, quint8 operation, quint8 code, QByteArray* data,
                  IFeedback* feedback);

    void Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback,
                  DiscoverySearch search) override;
    bool SearchRange(quint16 port, QList<Device*>& devices, quint32 lower, quint32 upper,
                     IFeedback* feedback);
    // Reads the device's type, parameters and information.
    void ReadDevice(ORXDevice* device, IFeedback* feedback);

    // Any fixture that takes firmware through the talk-back boot loader, reached by its port
    // and the lower 32 bits of its id. The file may be an entry of a package.
    bool UploadFirmware(const QList<Device*>& devices, const QString& file,
                        IFeedback* feedback) override;

private:
    void SearchSingle(quint16 port, QList<Device*>& devices, quint32 id, IFeedback* feedback);
    // The range holds no fixture left to find: it counts as searched for the progress.
    void Settle(quint32 lower, quint32 upper);
    bool ResetForUpload(IFeedback* feedback);
    bool Erase(QList<Device*>& devices, IFeedback* feedback);
    bool SendPackets(QIODevice& image, QList<Device*>& devices, quint16* imageChecksum,
                     int* packetCount, IFeedback* feedback);
    bool Verify(const QList<Device*>& devices, quint16 imageChecksum, int packetCount,
                IFeedback* feedback);
    bool IsReady(Device* device);
    bool IsPresent(Device* device, quint16 probe);

    DiscoveryProgress* m_progress = nullptr;  // how far the running discovery has come
};
