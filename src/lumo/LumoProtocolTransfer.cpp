// The bulk transfers of the manufacturer parameters: the bulk state, the broadcast block
// engine behind uploads and FPGA programming, and downloads.
#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "comm/ProgressMeter.h"
#include "content/ledimage/LumoRDMImage.h"
#include "hardware/RdmUniverseUsb.h"
#include "lumo/LumoProtocol.h"
#include "lumo/devices/LumoRDM.h"
#include "os/Clock.h"

#include <QBuffer>
#include <QHash>

#include <optional>

namespace {

constexpr quint64 kBroadcastUid =
    quint64(Rdm::kBroadcastManufacturer) << 32 | Rdm::kBroadcastDevice;

}  // namespace

bool LumoProtocol::WidgetPresent(IFeedback* feedback) {
    if (CommManager::Instance()->IsWidgetPresent() && CommManager::Instance()->GetUniverse()) {
        return true;
    }
    Report(feedback, QStringLiteral(" Error: No communication device detected"),
           FeedbackStatusError);
    return false;
}

quint8 LumoProtocol::ReadBulkState(quint8 port, quint64 uid, quint16 pid, const char* nackLine,
                                   IFeedback* feedback) {
    for (int request = 1;; ++request) {
        const Reply reply = Request(port, uid, Rdm::kGet, pid, {}, 2, feedback);
        if (reply.Ack()) {
            if (reply.data.isEmpty()) {
                Report(feedback,
                       Line(" Device 0x%1 Failed Bulk Data Ready - No value returned", uid),
                       FeedbackStatusError);
                return Lumo::BulkAbort;
            }
            return quint8(reply.data[0]);
        }
        if (reply.status == ResponseNack) {
            Succeeded(reply, uid, nackLine, feedback);
            return Lumo::BulkAbort;
        }
        if (request >= kBulkPolls) {
            Report(feedback, QStringLiteral(" Failed - Device did not respond."),
                   FeedbackStatusError);
            return Lumo::BulkAbort;
        }
        Os::Clock::Instance().Wait(kBulkPollWaitMs);
    }
}

quint8 LumoProtocol::GetBulkDataReady(quint8 port, quint64 uid, IFeedback* feedback) {
    return ReadBulkState(port, uid, Lumo::BulkDataReady,
                         " Device 0x%1 Failed Bulk Data Ready: Nack Error %2!", feedback);
}

quint8 LumoProtocol::GetFpgaBulkDataReady(quint8 port, quint64 uid, IFeedback* feedback) {
    return ReadBulkState(port, uid, Lumo::FpgaBulkDataReady,
                         " Device 0x%1 Failed FPGA Bulk Data Ready: Nack Error %2!", feedback);
}

bool LumoProtocol::BroadcastBlocks(QList<LumoRDM*>& devices, const BlockSource& source,
                                   IFeedback* feedback) {
    if (devices.isEmpty()) {
        // Nothing is sent: broadcast blocks would reach fixtures no one asked.
        Report(feedback, QStringLiteral(" Error: No device left to upload to"),
               FeedbackStatusError);
        return false;
    }
    if (!WidgetPresent(feedback)) {
        devices.clear();
        return false;
    }
    RdmUniverseUsb* universe = CommManager::Instance()->GetUniverse();
    const quint16 ports = universe->GetPortCount();
    const int total = int(source.bytes.size());
    const int blocks = std::max(1, (total + Lumo::kBlockDataSize - 1) / Lumo::kBlockDataSize);
    ProgressMeter progress(feedback, blocks);

    QList<LumoRDM*> completed;
    QHash<quint64, int> retries;
    int offset = 0;
    quint16 block = 0;
    do {
        const int remaining = total - offset;
        const int length = std::min(Lumo::kBlockDataSize, remaining);
        const bool last = remaining <= Lumo::kBlockDataSize;
        const quint8 type =
            last ? Lumo::BlockLast : (offset == 0 ? Lumo::BlockFirst : Lumo::BlockMiddle);
        QByteArray payload;
        if (!source.fpga) {
            payload.append(char(source.folder));
            payload.append(char(source.file));
        } else {
            Report(feedback,
                   QStringLiteral(" Uploading FPGA - processing %1 bytes of %2.")
                       .arg(length)
                       .arg(remaining),
                   FeedbackStatusNormal);
        }
        payload.append(char(block >> 8));
        payload.append(char(block & 0xFF));
        payload.append(char(type));
        payload.append(source.bytes.mid(offset, length));
        for (quint16 port = 0; port < ports; ++port) {
            Request(quint8(port), kBroadcastUid, Rdm::kSet, source.pid, payload, 2, feedback);
        }
        offset += length;
        ++block;

        for (auto it = devices.begin(); it != devices.end();) {
            LumoRDM* device = *it;
            const quint64 uid = device->GetUid();
            if (last) {
                Report(feedback, Line(" Device 0x%1 is writing %2 bytes!", uid).arg(total),
                       FeedbackStatusNormal);
                completed.append(device);
                ++it;
                continue;
            }
            const quint8 state = source.fpga
                                     ? GetFpgaBulkDataReady(device->GetPort(), uid, feedback)
                                     : GetBulkDataReady(device->GetPort(), uid, feedback);
            bool drop = false;
            if (state == Lumo::BulkRetry) {
                const int tally = ++retries[uid];
                Report(feedback,
                       QStringLiteral(" Received %1 retries from device 0x%2")
                           .arg(tally)
                           .arg(Hex(uid)),
                       FeedbackStatusNormal);
                if (tally > kMaxRetries) {
                    Report(feedback,
                           Line(" Error: Too many retries for device 0x%1. Removing device", uid),
                           FeedbackStatusError);
                    drop = true;
                }
            } else if (state == Lumo::BulkAbort || state == Lumo::BulkFirst) {
                Report(feedback,
                       QString::fromLatin1(state == Lumo::BulkAbort
                                               ? " Received ABORT(0x%1) for device 0x%2. Removing "
                                                 "device"
                                               : " Received BR_FIRST(0x%1) for device 0x%2. "
                                                 "Removing device")
                           .arg(Hex(state), Hex(uid)),
                       FeedbackStatusError);
                drop = true;
            }
            it = drop ? devices.erase(it) : it + 1;
        }
        progress.Step(block, ProgressMeter::TransferText("Block", block, blocks, devices.size()),
                      last);
    } while (offset < total && !devices.isEmpty());

    const bool ok = !completed.isEmpty();
    devices = completed;
    return ok;
}

bool LumoProtocol::BroadcastFile(QList<LumoRDM*>& devices, const LumoRDMImage& image, quint8 folder,
                                 quint8 file, IFeedback* feedback) {
    BlockSource source;
    source.pid = Lumo::BroadcastFileBlock;
    source.folder = folder;
    source.file = file;
    SerializeImage(image, &source.bytes);
    Report(feedback,
           QStringLiteral(" Uploading file %1 to folder %2 on %3 devices..")
               .arg(file)
               .arg(folder)
               .arg(devices.size()),
           FeedbackStatusNormal);
    if (!BroadcastBlocks(devices, source, feedback)) {
        return false;
    }
    Report(feedback, QStringLiteral(" Content uploaded!"), FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::BroadcastFpga(QList<LumoRDM*>& devices, const QByteArray& image,
                                 IFeedback* feedback) {
    Report(feedback, QStringLiteral("Uploading FPGA on %1 device(s).").arg(devices.size()),
           FeedbackStatusNormal);
    BlockSource source;
    source.pid = Lumo::BroadcastFpgaBlock;
    source.bytes = image;
    source.fpga = true;
    if (!BroadcastBlocks(devices, source, feedback)) {
        return false;
    }
    Report(feedback, QStringLiteral(" FPGA uploaded!"), FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::ProgramFpga(QList<LumoRDM*>& devices, const QByteArray& image,
                               IFeedback* feedback) {
    Report(feedback,
           QStringLiteral("Waiting for %1 devices to be ready to program the FPGA...")
               .arg(devices.size()),
           FeedbackStatusNormal);
    devices.removeIf([&](LumoRDM* device) {
        return GetFpgaBulkDataReady(device->GetPort(), device->GetUid(), feedback) ==
               Lumo::BulkAbort;
    });
    return !devices.isEmpty() && BroadcastFpga(devices, image, feedback);
}

bool LumoProtocol::UploadFile(LumoRDM* device, quint8 folder, quint8 file,
                              const LumoRDMImage& image, IFeedback* feedback) {
    const quint64 uid = device->GetUid();
    Report(feedback,
           Line(" Device 0x%1: Uploading file %2 to folder %3", uid).arg(file).arg(folder),
           FeedbackStatusNormal);
    if (!WidgetPresent(feedback)) {
        return false;
    }
    if (file == 0) {
        Report(feedback, Line(" Device 0x%1 Error: Invalid file %2", uid).arg(file),
               FeedbackStatusNormal);
        return false;
    }
    const QString waiting = QStringLiteral(" Waiting for the device to be ready...");
    const QString notReady = Line(" Device 0x%1 not ready.", uid);
    Report(feedback, waiting, FeedbackStatusNormal);
    quint8 state = Lumo::BulkRetry;
    for (int read = 0; read < kReadyReads && state == Lumo::BulkRetry; ++read) {
        state = GetBulkDataReady(device->GetPort(), uid, feedback);
    }
    if (state != Lumo::BulkFirst && state != Lumo::BulkNext) {
        Report(feedback, notReady, FeedbackStatusError);
        return false;
    }
    QList<LumoRDM*> devices{device};
    if (!BroadcastFile(devices, image, folder, file, feedback)) {
        return false;
    }
    Os::Clock::Instance().Wait(kUploadSettleMs);
    Report(feedback, waiting, FeedbackStatusNormal);
    if (GetBulkDataReady(device->GetPort(), uid, feedback) != Lumo::BulkComplete) {
        Report(feedback, notReady, FeedbackStatusError);
        return false;
    }
    Report(feedback, Line(" Device 0x%1 is ready.", uid), FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::UploadFileToDevices(QList<LumoRDM*>& devices, quint8 folder, quint8 file,
                                       const LumoRDMImage& image, IFeedback* feedback) {
    Report(feedback,
           QStringLiteral(" Uploading file %1 to folder %2 on %3 device(s)")
               .arg(file)
               .arg(folder)
               .arg(devices.size()),
           FeedbackStatusNormal);
    if (!WidgetPresent(feedback)) {
        return false;
    }
    if (file == 0) {
        Report(feedback, QStringLiteral(" Error: Invalid file %1").arg(file), FeedbackStatusNormal);
        return false;
    }
    Report(feedback, QStringLiteral(" Waiting for %1 devices to be ready...").arg(devices.size()),
           FeedbackStatusNormal);
    devices.removeIf([&](LumoRDM* device) {
        const quint64 uid = device->GetUid();
        if (GetBulkDataReady(device->GetPort(), uid, feedback) == Lumo::BulkAbort) {
            Report(feedback, Line(" Device 0x%1 is not ready and sent an ABORT!", uid),
                   FeedbackStatusError);
            return true;
        }
        Report(feedback, Line(" Device 0x%1 is ready...", uid), FeedbackStatusNormal);
        return false;
    });
    if (!BroadcastFile(devices, image, folder, file, feedback)) {
        Report(feedback, QStringLiteral("Error! Transmission failed!"), FeedbackStatusError);
        return false;
    }
    Os::Clock::Instance().Wait(kUploadSettleMs);
    const qsizetype sent = devices.size();
    // A fixture that failed at the end did not take the file: it leaves the list.
    devices.removeIf([&](LumoRDM* device) {
        const quint64 uid = device->GetUid();
        if (GetBulkDataReady(device->GetPort(), uid, feedback) == Lumo::BulkAbort) {
            Report(feedback, Line("Error! Device 0x%1 failed.", uid), FeedbackStatusError);
            return true;
        }
        Report(feedback, Line(" Device 0x%1 completed succesfully.", uid), FeedbackStatusNormal);
        return false;
    });
    Report(
        feedback,
        QStringLiteral(" %1 of %2 devices completed successfully.").arg(devices.size()).arg(sent),
        FeedbackStatusNormal);
    return !devices.isEmpty();
}

bool LumoProtocol::DownloadFile(LumoRDM* device, quint8 folder, quint8 file, LumoRDMImage& image,
                                IFeedback* feedback) {
    const quint64 uid = device->GetUid();
    const int capacity = LumoRDMImage::kHeaderSize + Lumo::kContentCapacity * image.EntrySize();
    QByteArray buffer(capacity, '\0');
    Report(feedback,
           Line("Device 0x%1: Downloading file %2 to folder %3", uid).arg(file).arg(folder),
           FeedbackStatusNormal);
    if (!WidgetPresent(feedback)) {
        return false;
    }

    int errors = 0;
    quint8 requestType = Lumo::PacketFirst;
    int accepted = 0;
    int firstNumber = 0;
    int filled = 0;
    bool outOfOrder = false;
    bool done = false;
    std::optional<ProgressMeter> progress;  // once the first packet tells the image's size
    while (!done) {
        const Reply reply =
            Request(device, Rdm::kGet, Lumo::DownloadPacket,
                    QByteArray(1, char(folder)) + char(file) + char(requestType), 512, feedback);
        bool error = true;
        outOfOrder = false;
        if (reply.Ack()) {
            if (reply.data.size() < Lumo::kPacketHeaderSize) {
                Report(feedback,
                       QStringLiteral(" Error! Packet too short for folder %1").arg(folder),
                       FeedbackStatusError);
                return false;
            }
            const int number = quint8(reply.data[2]) << 8 | quint8(reply.data[3]);
            const quint8 type = quint8(reply.data[4]);
            Report(feedback,
                   Line(" Device 0x%1: Downloading file %2, folder %3, packet %4", uid)
                       .arg(quint8(reply.data[1]))
                       .arg(quint8(reply.data[0]))
                       .arg(number),
                   FeedbackStatusNormal);
            if (accepted == 0) {
                firstNumber = number;
            }
            if (number == firstNumber + accepted) {
                const int length = int(reply.data.size()) - Lumo::kPacketHeaderSize;
                if (filled + length > capacity) {
                    Report(feedback,
                           QStringLiteral(" Error! Data exceeds the largest image for folder %1")
                               .arg(folder),
                           FeedbackStatusError);
                    return false;
                }
                std::copy_n(reply.data.constData() + Lumo::kPacketHeaderSize, length,
                            buffer.data() + filled);
                filled += length;
                ++accepted;
                if (!progress && filled > 1) {
                    // The header's second byte is the frame count.
                    const int bytes =
                        LumoRDMImage::kHeaderSize + quint8(buffer[1]) * image.EntrySize();
                    progress.emplace(feedback, std::max(1, (bytes + length - 1) / length));
                }
                requestType = Lumo::PacketNext;
                done = type == Lumo::BlockLast;
                if (progress) {
                    // The size told is that of whole entries: a short last packet may come early.
                    const int packets = done ? accepted : std::max(accepted, progress->Total());
                    progress->Step(done ? progress->Total() : accepted,
                                   ProgressMeter::TransferText("Packet", accepted, packets, 1),
                                   done);
                }
                // A packet without data that is not the last moves nothing: it counts as an
                // error, else a fixture sending only those would hold the worker for 65,535
                // requests.
                error = length == 0 && !done;
                if (!error) {
                    errors = 0;
                }
            } else {
                outOfOrder = true;
                // A repeat of the packet already taken means the fixture missed the request
                // for the next one: ask for it again rather than for another repeat.
                requestType =
                    number == firstNumber + accepted - 1 ? Lumo::PacketNext : Lumo::PacketRepeat;
            }
        } else {
            if (reply.status == ResponseNack) {
                Succeeded(reply, uid,
                          " Device 0x%1 Failed to Get Bulk Data Download: Nack Error %2!", feedback,
                          FeedbackStatusNormal);
            }
            requestType = Lumo::PacketRepeat;
        }
        if (error && ++errors > kMaxDownloadErrors) {
            if (outOfOrder) {
                Report(feedback,
                       QStringLiteral(" Error! Packet out of order for folder %1").arg(folder),
                       FeedbackStatusError);
            }
            Report(
                feedback,
                QStringLiteral(" Error count exceeded getting content for folder %1").arg(folder),
                FeedbackStatusError);
            return false;
        }
    }

    LumoRDMImage read(image);
    QByteArray bytes = buffer.left(filled);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    if (!read.Read(stream)) {
        Report(feedback,
               QStringLiteral(" Error! Failed to import image for folder %1, file %2")
                   .arg(folder)
                   .arg(file),
               FeedbackStatusError);
        return false;
    }
    image = read;
    Report(
        feedback,
        QStringLiteral(" Sucessfuly imported image for folder %1, file %2").arg(folder).arg(file),
        FeedbackStatusNormal);
    return true;
}
