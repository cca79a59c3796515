#include "lumo/LumoProtocol.h"

#include "comm/IFeedback.h"
#include "lumo/MarqaProtocol.h"
#include "lumo/SolviProtocol.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/devices/MarqaRDM.h"

#include <QHash>

namespace {

QByteArray Bytes(std::initializer_list<quint8> bytes) {
    QByteArray data;
    for (const quint8 byte : bytes) {
        data.append(char(byte));
    }
    return data;
}

QByteArray Be32(quint32 value) {
    return Bytes({quint8(value >> 24), quint8(value >> 16), quint8(value >> 8), quint8(value)});
}

quint32 ReadBe32(const QByteArray& data) {
    quint32 value = 0;
    for (int i = 0; i < 4 && i < data.size(); ++i) {
        value = value << 8 | quint8(data[i]);
    }
    return value;
}

}  // namespace

LumoProtocol::LumoProtocol(QObject* parent) : RDMProtocol(parent) {}

QString LumoProtocol::Hex(quint64 value) {
    return QString::number(value, 16);
}

QString LumoProtocol::Line(const char* text, quint64 uid) {
    return QString::fromLatin1(text).arg(Hex(uid));
}

LumoProtocol* LumoProtocol::ProtocolFor(const Device* device) {
    if (qobject_cast<const MarqaRDM*>(device)) {
        return MarqaProtocol::Instance();
    }
    return SolviProtocol::Instance();
}

QString LumoProtocol::LumoErrorText(quint16 reason) {
    static const QHash<quint16, const char*> texts = {
        {0x8100, "(0x%1) No erase destination"},
        {0x8101, "(0x%1) Invalid block number"},
        {0x8102, "(0x%1) Invalid file destination"},
        {0x8103, "(0x%1) Invalid block type"},
        {0x8104, "(0x%1) Invalid block number"},
        {0x8105, "(0x%1) No erase destination"},
        {0x8106, "(0x%1) Invalid block type"},
        {0x8107, "(0x%1) Invalid file"},
        {0x8108, "(0x%1) Invalid prior state"},
        {0x8109, "(0x%1) Invalid file"},
        {0x810A, "(0x%1) Invalid prior state"},
        {0x810B, "(0x%1) Invalid request type"},
        {0x810C, "(0x%1) File overrrun"},
        {0x810D, "(0x%1) Folder does not exist"},
        {0x810E, "(0x%1) File does not exist"},
        {0x810F, "(0x%1) FPGA CRC error"},
        {0x8110, "(0x%1) FPGA programming error"},
        {0x8111, "(0x%1) Flash memory CRC error"},
        {0x8113, "(0x%1) Could not erase existing unique Id"},
        {0x8114, "(0x%1) Could not erase existing unique Id"},
    };
    const char* text = texts.value(reason, "Unknown Error code 0x%1 !");
    return QString::fromLatin1(text).arg(Hex(reason));
}

LumoProtocol::Reply LumoProtocol::Request(quint8 port, quint64 uid, quint8 commandClass,
                                          quint16 pid, const QByteArray& data, quint32 capacity,
                                          IFeedback* feedback) {
    QByteArray buffer(int(capacity), '\0');
    quint32 length = capacity;
    Reply reply;
    reply.status =
        RdmTransaction(port, quint32(uid), quint16(uid >> 32), commandClass, pid,
                       reinterpret_cast<const quint8*>(data.constData()), int(data.size()),
                       reinterpret_cast<quint8*>(buffer.data()), length, feedback);
    reply.data = buffer.left(int(std::min(length, capacity)));
    if (reply.status == ResponseNack) {
        reply.reason = reply.data.size() >= 2
                           ? quint16(quint8(reply.data[0]) << 8 | quint8(reply.data[1]))
                           : 0;
    }
    return reply;
}

LumoProtocol::Reply LumoProtocol::Request(const LumoRDM* device, quint8 commandClass, quint16 pid,
                                          const QByteArray& data, quint32 capacity,
                                          IFeedback* feedback) {
    return Request(device->GetPort(), device->GetUid(), commandClass, pid, data, capacity,
                   feedback);
}

bool LumoProtocol::Succeeded(const Reply& reply, quint64 uid, const char* nackLine,
                             IFeedback* feedback, FeedbackStatus nackStatus) {
    if (reply.status == ResponseNack) {
        Report(feedback, QString::fromLatin1(nackLine).arg(Hex(uid), LumoErrorText(reply.reason)),
               nackStatus);
        return false;
    }
    return reply.status == ResponseAck;
}

bool LumoProtocol::GetFolderInfo(LumoRDM* device, quint8 folder, QList<LumoFolderRecord>& folders,
                                 IFeedback* feedback) {
    Report(feedback,
           folder == 0
               ? Line("Device 0x%1: Getting info for all folders", device->GetUid())
               : Line("Device 0x%1: Getting info for folder %2", device->GetUid()).arg(folder),
           FeedbackStatusNormal);
    for (int request = 0; request <= kMaxOverflows; ++request) {
        const Reply reply =
            Request(device, Rdm::kGet, Lumo::FolderInfo, Bytes({folder}), 256, feedback);
        if (reply.status == ResponseAck || reply.status == ResponseAckOverflow) {
            for (const LumoFolderRecord& record : LumoWire::DecodeFolders(reply.data)) {
                folders.append(record);
                Report(feedback,
                       QStringLiteral(" Discovered folder=%1, name=%2")
                           .arg(record.number)
                           .arg(record.name),
                       FeedbackStatusNormal);
            }
            if (reply.status == ResponseAck) {
                return true;
            }
            continue;
        }
        return Succeeded(reply, device->GetUid(),
                         " Device 0x%1 Failed to get folder name: Nack Error %2!", feedback);
    }
    Report(feedback, QStringLiteral(" Error received over 250 overflow responses"),
           FeedbackStatusError);
    return false;
}

bool LumoProtocol::SetFolderInfo(LumoRDM* device, const LumoFolderRecord& old,
                                 const LumoFolderRecord& now, IFeedback* feedback) {
    if (old.number == 0) {
        Report(feedback,
               Line("Device 0x%1: Adding folder %2 address %3", device->GetUid())
                   .arg(now.name)
                   .arg(now.number),
               FeedbackStatusNormal);
    } else {
        Report(feedback,
               Line("Device 0x%1: Rename folder %2 from %3 to %4", device->GetUid())
                   .arg(old.number)
                   .arg(old.name, now.name),
               FeedbackStatusNormal);
    }
    const Reply reply =
        Request(device, Rdm::kSet, Lumo::FolderInfo, LumoWire::EncodeFolder(now), 256, feedback);
    return Succeeded(reply, device->GetUid(),
                     " Device 0x%1 Failed to Set Folder Name: Nack Error %2!", feedback);
}

bool LumoProtocol::MoveFolder(LumoRDM* device, const LumoFolderRecord& old,
                              const LumoFolderRecord& now, IFeedback* feedback) {
    Report(feedback,
           Line("Device 0x%1: Move folder %2 from %3 to %4", device->GetUid())
               .arg(old.name)
               .arg(old.number)
               .arg(now.number),
           FeedbackStatusNormal);
    const Reply reply = Request(device, Rdm::kSet, Lumo::MoveFolder,
                                Bytes({old.number, now.number}), 256, feedback);
    return Succeeded(reply, device->GetUid(), " Device 0x%1 Failed to Move Folder: Nack Error %2!",
                     feedback);
}

bool LumoProtocol::EraseFolder(LumoRDM* device, quint8 folder, IFeedback* feedback) {
    Report(feedback,
           QStringLiteral("Device %1: Deleting folder %2").arg(Hex(device->GetUid())).arg(folder),
           FeedbackStatusNormal);
    const Reply reply =
        Request(device, Rdm::kSet, Lumo::EraseFolder, Bytes({folder}), 50, feedback);
    if (reply.status != ResponseAck && reply.status != ResponseNack) {
        Report(feedback, QStringLiteral(" Device not responding"), FeedbackStatusError);
        return false;
    }
    return Succeeded(reply, device->GetUid(), " Device 0x%1 Failed to Erase Folder: Nack Error %2!",
                     feedback);
}

bool LumoProtocol::GetFileInfo(LumoRDM* device, quint8 folder, quint8 firstFile,
                               QList<LumoFileRecord>& files, IFeedback* feedback) {
    Report(
        feedback,
        folder == 0
            ? Line("Device 0x%1: Getting all content", device->GetUid())
            : Line("Device 0x%1: Getting all content for folder %2", device->GetUid()).arg(folder),
        FeedbackStatusNormal);
    for (int request = 0; request <= kMaxOverflows; ++request) {
        const Reply reply =
            Request(device, Rdm::kGet, Lumo::FileInfo, Bytes({folder, firstFile}), 512, feedback);
        if (reply.status == ResponseNack) {
            return Succeeded(reply, device->GetUid(),
                             " Device 0x%1 Failed to Get File Name: Nack Error %2!", feedback);
        }
        if (reply.status != ResponseAck && reply.status != ResponseAckOverflow) {
            break;
        }
        for (const LumoFileRecord& record :
             LumoWire::DecodeFiles(reply.data, LumoWire::KeyOrder::LowFirst)) {
            Report(feedback,
                   QStringLiteral(" Discovered folder=%1, file=%2, name=%3")
                       .arg(record.folder)
                       .arg(record.file)
                       .arg(record.name),
                   FeedbackStatusNormal);
            if (record.folder == folder) {
                files.append(record);
            }
        }
        if (reply.status == ResponseAck) {
            return true;
        }
    }
    Report(feedback, QStringLiteral(" Error received over 250 overflow responses"),
           FeedbackStatusError);
    return false;
}

bool LumoProtocol::SetFileInfo(LumoRDM* device, const LumoFileRecord& record, IFeedback* feedback) {
    Report(feedback,
           Line("Device 0x%1: Setting info for file %2 in folder %3", device->GetUid())
               .arg(record.file)
               .arg(record.folder),
           FeedbackStatusNormal);
    if (record.file == 0) {
        Report(feedback,
               Line(" Device 0x%1 Error: Invalid file %2", device->GetUid()).arg(record.file),
               FeedbackStatusError);
        return false;
    }
    const Reply reply =
        Request(device, Rdm::kSet, Lumo::FileInfo,
                LumoWire::EncodeFile(record, LumoWire::KeyOrder::HighFirst), 50, feedback);
    if (!Succeeded(reply, device->GetUid(), " Device 0x%1 Failed to Set File Name: Nack Error %2!",
                   feedback)) {
        return false;
    }
    Report(feedback,
           QStringLiteral(" Set Content Info for folder %1 and content %2!")
               .arg(record.folder)
               .arg(record.file),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::MoveFile(LumoRDM* device, quint8 sourceFolder, quint8 sourceFile,
                            quint8 destinationFolder, quint8 destinationFile, IFeedback* feedback) {
    Report(
        feedback,
        Line("Device 0x%1: Moving file %2 in folder %3 to file %4 to folder %5", device->GetUid())
            .arg(sourceFile)
            .arg(sourceFolder)
            .arg(destinationFile)
            .arg(destinationFolder),
        FeedbackStatusNormal);
    if (destinationFile == 0) {
        Report(feedback,
               Line(" Device 0x%1 Error: Invalid file %2", device->GetUid()).arg(destinationFile),
               FeedbackStatusNormal);
        return false;
    }
    const Reply reply = Request(
        device, Rdm::kSet, Lumo::MoveFile,
        Bytes({sourceFolder, sourceFile, destinationFolder, destinationFile}), 50, feedback);
    return Succeeded(reply, device->GetUid(), " Device 0x%1 Failed to Move File: Nack Error %2!",
                     feedback);
}

bool LumoProtocol::EraseFile(LumoRDM* device, quint8 folder, quint8 file, IFeedback* feedback) {
    if (folder == 0 || file == 0) {
        Report(feedback,
               Line(" Device 0x%1: Attempting to delete an invalid file %2 or folder %3",
                    device->GetUid())
                   .arg(file)
                   .arg(folder),
               FeedbackStatusNormal);
        return false;
    }
    Report(feedback,
           Line(" Device 0x%1: Deleting file %2 in folder %3 if it exists.", device->GetUid())
               .arg(file)
               .arg(folder),
           FeedbackStatusNormal);
    const Reply reply =
        Request(device, Rdm::kSet, Lumo::EraseFile, Bytes({folder, file}), 50, feedback);
    if (Succeeded(reply, device->GetUid(), " Device 0x%1 Failed to Erase File: Nack Error %2!",
                  feedback)) {
        return true;
    }
    Report(feedback, Line(" Device 0x%1 Failed deleting content!", device->GetUid()),
           FeedbackStatusError);
    return false;
}

bool LumoProtocol::EraseUserContent(LumoRDM* device, IFeedback* feedback) {
    Report(feedback, Line("Device 0x%1: Deleting all user content!", device->GetUid()),
           FeedbackStatusNormal);
    const Reply reply = Request(device, Rdm::kSet, Lumo::EraseUserContent, {}, 50, feedback);
    if (reply.status != ResponseAck && reply.status != ResponseNack) {
        Report(feedback, QStringLiteral(" Failed deleting content!"), FeedbackStatusError);
        return false;
    }
    return Succeeded(reply, device->GetUid(),
                     " Device 0x%1 Failed to delete all user content: Nack Error %2!", feedback);
}

bool LumoProtocol::EraseQuorelContent(LumoRDM* device, IFeedback* feedback) {
    Report(feedback, Line("Device 0x%1: Deleting all quorel content!", device->GetUid()),
           FeedbackStatusNormal);
    const Reply reply = Request(device, Rdm::kSet, Lumo::EraseQuorelContent, {}, 50, feedback);
    if (reply.status != ResponseAck && reply.status != ResponseNack) {
        Report(feedback, QStringLiteral(" Failed deleting quorelcontent!"), FeedbackStatusError);
        return false;
    }
    return Succeeded(reply, device->GetUid(),
                     " Device 0x%1 Failed to delete all quorel content: Nack Error %2!", feedback);
}

bool LumoProtocol::GetWithRetries(LumoRDM* device, quint16 pid, quint32 capacity,
                                  const char* nackLine, const char* failLine, int attempts,
                                  IFeedback* feedback, QByteArray* data) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const Reply reply = Request(device, Rdm::kGet, pid, {}, capacity, feedback);
        if (reply.status == ResponseNack) {
            return Succeeded(reply, device->GetUid(), nackLine, feedback);
        }
        if (reply.Ack() && !reply.data.isEmpty()) {
            *data = reply.data;
            return true;
        }
    }
    Report(feedback, QString::fromLatin1(failLine), FeedbackStatusError);
    return false;
}

bool LumoProtocol::GetFpgaVersion(LumoRDM* device, IFeedback* feedback) {
    Report(feedback, Line("Device 0x%1: Getting FPGA version", device->GetUid()),
           FeedbackStatusNormal);
    QByteArray data;
    if (!GetWithRetries(device, Lumo::FpgaVersion, 50,
                        " Device 0x%1 Failed to get FPGA version: Nack Error %2!",
                        " Failed getting FPGA version!", kVersionAttempts, feedback, &data)) {
        return false;
    }
    device->SetFpgaVersion(quint8(data[0]));
    Report(feedback, QStringLiteral(" FPGA version is %1").arg(device->GetFpgaVersion()),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::GetGraphicsUniqueId(LumoRDM* device, IFeedback* feedback) {
    Report(feedback, Line("Device 0x%1: Getting Graphics Engine Unique Id", device->GetUid()),
           FeedbackStatusNormal);
    QByteArray data;
    if (!GetWithRetries(device, Lumo::GraphicsUniqueId, 150,
                        " Device 0x%1 Failed to get Graphics Engine Unique Id: Nack Error %2!",
                        " Device failed to respond!", kVersionAttempts, feedback, &data)) {
        return false;
    }
    device->SetGraphicsUniqueId(ReadBe32(data));
    Report(feedback,
           QStringLiteral(" Graphics Engine Unique Id is 0x%1")
               .arg(Hex(device->GetGraphicsUniqueId())),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::GetGraphicsVersion(LumoRDM* device, IFeedback* feedback) {
    QByteArray data;
    if (!GetWithRetries(device, Lumo::GraphicsVersion, 50,
                        " Device 0x%1 Failed to get Graphics Engine version label: Nack Error %2!",
                        " Device failed to respond!", 1, feedback, &data)) {
        return false;
    }
    device->SetGraphicsVersion(
        QString::fromLatin1(data.constData(), qstrnlen(data.constData(), size_t(data.size()))));
    Report(feedback,
           QStringLiteral(" Graphics Engine version is %1").arg(device->GetGraphicsVersion()),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::GetGraphicsBootChanged(LumoRDM* device, IFeedback* feedback) {
    QByteArray data;
    if (!GetWithRetries(device, Lumo::GraphicsBootChanged, 50,
                        " Device 0x%1 Failed to get Graphics Boot Changed: Nack Error %2!",
                        " Device failed to respond!", 1, feedback, &data)) {
        return false;
    }
    device->SetBootCodeChanged(quint8(data[0]));
    Report(feedback,
           QStringLiteral(" Graphics Boot Changed is %1").arg(device->GetBootCodeChanged()),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::SetMotionUniqueId(LumoRDM* device, quint32 id, IFeedback* feedback) {
    Report(feedback,
           Line(" Device 0x%1: Changing motion unique from 0x%2 on 0x%3", device->GetUid())
               .arg(Hex(device->DeviceId()), Hex(id)),
           FeedbackStatusNormal);
    return SetUniqueId(device, Lumo::MotionUniqueId, id, feedback);
}

bool LumoProtocol::SetGraphicsUniqueId(LumoRDM* device, quint32 id, IFeedback* feedback) {
    Report(feedback,
           Line(" Device 0x%1: Changing graphics card unique id to 0x%2 ", device->GetUid())
               .arg(Hex(id)),
           FeedbackStatusNormal);
    return SetUniqueId(device, Lumo::GraphicsUniqueId, id, feedback);
}

bool LumoProtocol::SetUniqueId(LumoRDM* device, quint16 pid, quint32 id, IFeedback* feedback) {
    const bool motion = pid == Lumo::MotionUniqueId;
    Report(feedback,
           QString::fromLatin1(motion ? " Sending new motion unique 0x%1 to 0x%2"
                                      : " Sending new graphics engine unique 0x%1 to 0x%2")
               .arg(Hex(id), Hex(device->GetUid())),
           FeedbackStatusNormal);
    const Reply reply = Request(device, Rdm::kSet, pid, Be32(id), 50, feedback);
    if (reply.status == ResponseNack) {
        return Succeeded(reply, device->GetUid(),
                         motion ? " Device 0x%1 Failed to set motion unique Id: Nack Error %2!"
                                : " Device 0x%1 Failed to set graphics engine unique Id: Nack "
                                  "Error %2!",
                         feedback);
    }
    if (!reply.Ack()) {
        Report(feedback,
               motion ? Line(" Device 0x%1 did not respond!", device->GetUid())
                      : QStringLiteral(" Device did not respond!"),
               FeedbackStatusError);
        return false;
    }
    if (motion) {
        device->SetUid(quint64(device->ManufacturerId()) << 32 | id);
    } else {
        device->SetGraphicsUniqueId(id);
    }
    Report(feedback,
           QString::fromLatin1(motion ? " Changed motion unique id to 0x%1"
                                      : " Changed graphics unique id to 0x%1")
               .arg(Hex(id)),
           FeedbackStatusNormal);
    return true;
}

bool LumoProtocol::SetQuorelAddress(LumoRDM* device, quint16 address, IFeedback* feedback) {
    const Reply reply = Request(device, Rdm::kSet, Lumo::QuorelAddress,
                                Bytes({quint8(address), quint8(address >> 8)}), 60, feedback);
    if (!Succeeded(reply, device->GetUid(),
                   " Device 0x%1 Failed Setting Quorel Address: Nack Error %2!", feedback,
                   FeedbackStatusWarning)) {
        return false;
    }
    device->SetQuorelAddress(address);
    return true;
}

bool LumoProtocol::GetQuorelAddress(LumoRDM* device, IFeedback* feedback) {
    const Reply reply = Request(device, Rdm::kGet, Lumo::QuorelAddress, {}, 255, feedback);
    if (!Succeeded(reply, device->GetUid(),
                   " Device 0x%1 Failed Getting Quorel Address: Nack Error %2!", feedback) ||
        reply.data.size() < 2) {
        return false;
    }
    device->SetQuorelAddress(quint16(quint8(reply.data[0]) << 8 | quint8(reply.data[1])));
    return true;
}
