#include "sim/SimLumoFixture.h"
#include "sim/WireBytes.h"

#include "content/ledimage/MarqaRDMImage.h"
#include "content/ledimage/SolviRDMImage.h"
#include "lumo/LumoDefs.h"
#include "lumo/LumoRecords.h"

#include <QtEndian>

#include <algorithm>

namespace Sim {

namespace {

constexpr quint8 kGet = 0x20;
constexpr quint8 kAck = 0;
constexpr quint8 kNack = 2;
constexpr quint8 kAckOverflow = 3;
constexpr quint16 kNackFormatError = 0x0001;
constexpr quint16 kNackUnsupportedCommandClass = 0x0005;
constexpr quint16 kNackDataOutOfRange = 0x0006;
constexpr quint16 kNackFlashCrc = 0x8111;  // a packet that could not be read from flash
constexpr quint16 kNackInvalidPriorDownload = 0x810A;
constexpr int kMaxData = 231;
constexpr int kPacketDataSize = kMaxData - Lumo::kPacketHeaderSize;
constexpr int kNameOffset = 8;
constexpr int kKeyOffset = 4;

using WireBytes::Be16;
using WireBytes::Be32;

quint8 U8(const QByteArray& data, int offset) {
    return quint8(data[offset]);
}

// Which parameters the fixture answers for GET and for SET.
struct Support {
    bool get;
    bool set;
};

const std::map<quint16, Support>& Supported() {
    using namespace Lumo;
    static const std::map<quint16, Support> supported = {
        {BulkDataReady, {true, false}},       {FpgaBulkDataReady, {true, false}},
        {BroadcastFileBlock, {false, true}},  {BroadcastFpgaBlock, {false, true}},
        {DownloadPacket, {true, false}},      {EraseFile, {false, true}},
        {FolderInfo, {true, true}},           {FileInfo, {true, true}},
        {EraseFolder, {false, true}},         {MoveFile, {false, true}},
        {MoveFolder, {false, true}},          {EraseUserContent, {false, true}},
        {EraseQuorelContent, {false, true}},  {FpgaVersion, {true, false}},
        {GraphicsUniqueId, {true, true}},     {MotionUniqueId, {false, true}},
        {GraphicsVersion, {true, false}},     {QuorelAddress, {true, true}},
        {GraphicsBootChanged, {true, false}},
    };
    return supported;
}

// Data length each request must have (-1: checked by its handler).
int RequestLength(quint8 commandClass, quint16 pid) {
    using namespace Lumo;
    const bool get = commandClass == kGet;
    switch (pid) {
        case BroadcastFileBlock:
        case BroadcastFpgaBlock:
            return -1;
        case DownloadPacket:
            return 3;
        case EraseFile:
        case MoveFolder:
            return 2;
        case FolderInfo:
            return get ? 1 : kFolderEntrySize;
        case FileInfo:
            return get ? 2 : kFileEntrySize;
        case EraseFolder:
            return 1;
        case MoveFile:
            return 4;
        case GraphicsUniqueId:
            return get ? 0 : 4;
        case MotionUniqueId:
            return 4;
        case QuorelAddress:
            return get ? 0 : 2;
        default:
            return 0;
    }
}

}  // namespace

SimLumoFixture::SimLumoFixture(RdmResponderConfig rdm, LumoFixtureConfig lumo)
    : SimRdmResponder(rdm),
      m_lumo(std::move(lumo)),
      m_model(rdm.modelDescription),
      m_uid(rdm.uid),
      m_loader(quint32(rdm.uid), m_lumo.eraseTimeMs, m_lumo.faults.firmware) {
    for (const LumoStoredFolder& folder : m_lumo.folders) {
        FolderData& stored = m_folders[folder.number];
        stored.name = folder.name;
        for (const LumoStoredFile& file : folder.files) {
            stored.files[file.number] = {file.key, file.name, file.bytes};
        }
    }
    m_lumo.folders.clear();
}

SimRdmResponder::Answer SimLumoFixture::Ack(const QByteArray& data) {
    return {kAck, data};
}

SimRdmResponder::Answer SimLumoFixture::Nack(quint16 reason) {
    return {kNack, Be16(reason)};
}

int SimLumoFixture::LedCount(const QString& modelDescription) {
    return modelDescription.compare("Solvi", Qt::CaseInsensitive) == 0 ? SolviRDMImage::kLedCount
                                                                       : MarqaRDMImage::kLedCount;
}

QByteArray SimLumoFixture::MakeImage(const QString& modelDescription, quint32 key,
                                     const QString& name) {
    const int leds = LedCount(modelDescription);
    LumoRDMImage image(leds);
    image.header.contentKey = key;
    image.SetNameText(name);
    // Three frames, each in one colour of a palette drawn from the key, with a running dot.
    constexpr int kFrames = 3;
    for (int colour = 0; colour < kFrames + 1; ++colour) {
        const quint32 mix = key * 2654435761U + quint32(colour) * 40503U;
        image.header.palette[3 * colour] = quint8(mix >> 24);
        image.header.palette[3 * colour + 1] = quint8(mix >> 16);
        image.header.palette[3 * colour + 2] = quint8(mix >> 8);
    }
    image.header.frameCount = kFrames;
    for (int frame = 0; frame < kFrames; ++frame) {
        LumoRDMImage::Entry entry;
        entry.delay = 250;
        entry.leds = QByteArray(leds, char(frame + 1));
        entry.leds[(frame * leds) / kFrames] = 0;
        image.entries.push_back(entry);
    }
    return image.ToBytes();
}

QByteArray SimLumoFixture::HandleRdm(const QByteArray& request) {
    const std::optional<TalkbackFrame> frame = TalkbackFrame::Parse(request);
    std::optional<QByteArray> installed;
    QByteArray reply;
    {
        std::lock_guard lock(m_lumoLock);
        if (m_silent || !m_loader.Powered() || (!frame && m_loader.InBootLoader())) {
            return {};
        }
        if (frame) {
            reply = m_loader.Handle(*frame).value_or(QByteArray());
            installed = m_loader.TakeInstalled();
        }
    }
    if (!frame) {
        return SimRdmResponder::HandleRdm(request);
    }
    if (installed) {
        Install(*installed);
    }
    return reply;
}

void SimLumoFixture::Install(const QByteArray& image) {
    const auto release = FirmwareCatalogue::Instance().Find(image);
    if (!release) {
        return;  // an image no one knows: the versions it reports stay as they were
    }
    if (release->role == FirmwareRole::Motion) {
        SetSoftwareVersionLabel(release->version);
    }
    std::lock_guard lock(m_lumoLock);
    if (release->role == FirmwareRole::Graphics) {
        m_lumo.graphicsVersion = release->version;
    }
    m_installed[release->role] = image;
}

QByteArray SimLumoFixture::InstalledImage(FirmwareRole role) const {
    std::lock_guard lock(m_lumoLock);
    const auto found = m_installed.find(role);
    return found == m_installed.end() ? QByteArray() : found->second;
}

std::optional<SimRdmResponder::Answer> SimLumoFixture::OwnParameter(quint8 commandClass,
                                                                    quint16 pid,
                                                                    const QByteArray& data) {
    const auto support = Supported().find(pid);
    if (support == Supported().end()) {
        return std::nullopt;
    }
    const bool get = commandClass == kGet;
    if (!(get ? support->second.get : support->second.set)) {
        return Nack(kNackUnsupportedCommandClass);
    }
    const int length = RequestLength(commandClass, pid);
    if (length >= 0 && data.size() != length) {
        return Nack(kNackFormatError);
    }
    std::lock_guard lock(m_lumoLock);
    if (!get || (pid != Lumo::FolderInfo && pid != Lumo::FileInfo)) {
        m_listing = {};
    }
    return get ? Get(pid, data) : Set(pid, data);
}

SimRdmResponder::Answer SimLumoFixture::Get(quint16 pid, const QByteArray& data) {
    switch (pid) {
        case Lumo::BulkDataReady:
            return ReadState(m_files);
        case Lumo::FpgaBulkDataReady:
            return ReadState(m_fpga);
        case Lumo::DownloadPacket:
            return Packet(data);
        case Lumo::FolderInfo:
            return FolderEntries(data);
        case Lumo::FileInfo:
            return FileEntries(data);
        case Lumo::FpgaVersion:
            return Ack(QByteArray(1, char(m_lumo.fpgaVersion)));
        case Lumo::GraphicsUniqueId:
            return Ack(Be32(m_lumo.graphicsUniqueId));
        case Lumo::GraphicsVersion:
            return Ack(m_lumo.graphicsVersion.toLatin1().left(32));
        case Lumo::QuorelAddress:
            return Ack(Be16(m_lumo.quorelAddress));
        case Lumo::GraphicsBootChanged:
            return Ack(QByteArray(1, char(m_lumo.bootCodeChanged)));
        default:
            return Nack(kNackUnsupportedCommandClass);
    }
}

SimRdmResponder::Answer SimLumoFixture::Set(quint16 pid, const QByteArray& data) {
    switch (pid) {
        case Lumo::BroadcastFileBlock:
            return Block(m_files, false, data);
        case Lumo::BroadcastFpgaBlock:
            return Block(m_fpga, true, data);
        case Lumo::EraseFile: {
            const auto folder = m_folders.find(U8(data, 0));
            if (folder == m_folders.end()) {
                return Nack(Lumo::NackFolderDoesNotExist);
            }
            folder->second.files.erase(U8(data, 1));
            return Ack();
        }
        case Lumo::FolderInfo: {
            const LumoFolderRecord record = LumoWire::DecodeFolders(data).value(0);
            if (record.number == 0) {
                return Nack(kNackDataOutOfRange);
            }
            m_folders[record.number].name = record.name;
            return Ack();
        }
        case Lumo::FileInfo: {
            const LumoFileRecord record =
                LumoWire::DecodeFiles(data, LumoWire::KeyOrder::HighFirst).value(0);
            const auto folder = m_folders.find(record.folder);
            if (folder == m_folders.end() || !folder->second.files.contains(record.file)) {
                return Nack(Lumo::NackFileDoesNotExist);
            }
            FileData& file = folder->second.files[record.file];
            file.key = record.key;
            file.name = record.name;
            return Ack();
        }
        case Lumo::EraseFolder:
            if (m_folders.erase(U8(data, 0)) == 0) {
                return Nack(Lumo::NackFolderDoesNotExist);
            }
            return Ack();
        case Lumo::MoveFile:
            return MoveOneFile(data);
        case Lumo::MoveFolder:
            return MoveOneFolder(data);
        case Lumo::EraseUserContent:
            EraseFolders(41, 250);
            return Ack();
        case Lumo::EraseQuorelContent:
            EraseFolders(251, 255);
            return Ack();
        case Lumo::GraphicsUniqueId:
            m_lumo.graphicsUniqueId = qFromBigEndian<quint32>(data.constData());
            return Ack();
        case Lumo::MotionUniqueId: {
            // The fixture takes the id as its own: it answers under the new UID from now on.
            m_uid = (m_uid & 0xFFFF00000000ULL) | qFromBigEndian<quint32>(data.constData());
            LockedConfig().uid = m_uid;
            return Ack();
        }
        case Lumo::QuorelAddress:
            m_lumo.quorelAddress = qFromLittleEndian<quint16>(data.constData());
            return Ack();
        default:
            return Nack(kNackUnsupportedCommandClass);
    }
}

SimRdmResponder::Answer SimLumoFixture::ReadState(Transfer& transfer) {
    if (transfer.state == Lumo::BulkNext && m_lumo.faults.retryCount > 0) {
        --m_lumo.faults.retryCount;
        return Ack(QByteArray(1, char(Lumo::BulkRetry)));
    }
    const quint8 state = transfer.state;
    if (state == Lumo::BulkComplete || state == Lumo::BulkAbort) {
        // An ended transfer ("complete" or "abort") is reported once; then the fixture is
        // ready for the next one. A broadcast meant for other fixtures (a folder this one
        // lacks) thus costs it nothing beyond one "abort".
        transfer.state = Lumo::BulkFirst;
    }
    return Ack(QByteArray(1, char(state)));
}

SimRdmResponder::Answer SimLumoFixture::Block(Transfer& transfer, bool fpga,
                                              const QByteArray& data) {
    const int header = fpga ? Lumo::kFpgaBlockHeaderSize : Lumo::kFileBlockHeaderSize;
    if (data.size() <= header || data.size() > header + Lumo::kBlockDataSize) {
        return Nack(kNackFormatError);
    }
    const quint8 folder = fpga ? 0 : U8(data, 0);
    const quint8 file = fpga ? 0 : U8(data, 1);
    const int at = fpga ? 0 : 2;
    const int number = qFromBigEndian<quint16>(data.constData() + at);
    const quint8 type = U8(data, at + 2);
    const auto reason = TakeBlock(transfer, fpga, folder, file, number, type, data.mid(header));
    if (reason) {
        transfer.state = Lumo::BulkAbort;
        return Nack(*reason);
    }
    return Ack();
}

// Takes one block into the machine; a reason when the block aborts the transfer.
std::optional<quint16> SimLumoFixture::TakeBlock(Transfer& transfer, bool fpga, quint8 folder,
                                                 quint8 file, int number, quint8 type,
                                                 const QByteArray& payload) {
    using namespace Lumo;
    const bool starts = number == 0 && (type == BlockFirst || type == BlockLast);
    if (starts && !fpga && folder != 0 && !m_folders.contains(folder)) {
        // Uploads reach every fixture at once: one into a folder this fixture lacks is meant
        // for others and leaves it idle.
        transfer.state = BulkFirst;
        return std::nullopt;
    }
    if (starts) {
        transfer = {BulkNext, folder, file, 0, {}};
    } else if (transfer.state != BulkNext) {
        return std::nullopt;  // no transfer runs: ignored
    }
    if (!fpga && (folder == 0 || file == 0 || folder != transfer.folder || file != transfer.file)) {
        return NackInvalidFile;
    }
    if (number != transfer.nextBlock) {
        return NackInvalidBlockNumber;
    }
    if ((type != BlockMiddle && type != BlockLast && !starts) ||
        (type != BlockLast && payload.size() != kBlockDataSize)) {
        return NackInvalidBlockType;
    }
    if (m_lumo.faults.abortAtBlock == number) {
        return NackInvalidBlockNumber;
    }
    if (!fpga && starts && !m_folders[folder].files.contains(file) &&
        FileCount() >= kContentCapacity) {
        return NackFileOverrun;
    }
    const int limit =
        LumoRDMImage::kHeaderSize + kContentCapacity * LumoRDMImage(LedCount(m_model)).EntrySize();
    if (!fpga && transfer.bytes.size() + payload.size() > limit) {
        return NackFileOverrun;
    }
    transfer.bytes += payload;
    ++transfer.nextBlock;
    if (m_lumo.faults.silentAfterBlock == number) {
        m_silent = true;
    }
    if (type != BlockLast) {
        return std::nullopt;
    }
    if (fpga) {
        m_fpgaImage = transfer.bytes;
        const auto release = FirmwareCatalogue::Instance().Find(m_fpgaImage);
        if (release && release->role == FirmwareRole::Fpga) {
            m_lumo.fpgaVersion = quint8(release->version.toUInt());
            m_installed[FirmwareRole::Fpga] = m_fpgaImage;
        }
    } else if (const auto reason = Store(transfer)) {
        return reason;
    }
    transfer.state = BulkComplete;
    transfer.bytes.clear();
    return std::nullopt;
}

std::optional<quint16> SimLumoFixture::Store(const Transfer& transfer) {
    const auto folder = m_folders.find(transfer.folder);
    if (folder == m_folders.end()) {
        return Lumo::NackFolderDoesNotExist;
    }
    if (!folder->second.files.contains(transfer.file) && FileCount() >= Lumo::kContentCapacity) {
        return Lumo::NackFileOverrun;
    }
    const QByteArray& bytes = transfer.bytes;
    if (bytes.size() < kNameOffset + Lumo::kNameSize) {  // no key and name to take
        return Lumo::NackInvalidFile;
    }
    folder->second.files[transfer.file] = {
        qFromLittleEndian<quint32>(bytes.constData() + kKeyOffset),
        LumoWire::DecodeName(bytes.constData() + kNameOffset), bytes};
    return std::nullopt;
}

SimRdmResponder::Answer SimLumoFixture::Packet(const QByteArray& data) {
    const quint8 folderNumber = U8(data, 0);
    const quint8 fileNumber = U8(data, 1);
    const quint8 request = U8(data, 2);
    const auto folder = m_folders.find(folderNumber);
    if (folder == m_folders.end()) {
        return Nack(Lumo::NackFolderDoesNotExist);
    }
    const auto file = folder->second.files.find(fileNumber);
    if (file == folder->second.files.end()) {
        return Nack(Lumo::NackFileDoesNotExist);
    }
    const bool same = m_download.folder == folderNumber && m_download.file == fileNumber;
    const QByteArray& bytes = file->second.bytes;
    const int packets = std::max(1, int((bytes.size() + kPacketDataSize - 1) / kPacketDataSize));
    switch (request) {
        case Lumo::PacketFirst:
            m_download = {folderNumber, fileNumber, 1};
            break;
        case Lumo::PacketNext:
            if (!same || m_download.packet < 1 || m_download.packet >= packets) {
                return Nack(kNackInvalidPriorDownload);
            }
            ++m_download.packet;
            break;
        case Lumo::PacketRepeat:
            if (!same || m_download.packet < 1) {
                return Nack(kNackInvalidPriorDownload);
            }
            break;
        default:
            return Nack(Lumo::NackInvalidRequestType);
    }
    if (m_lumo.faults.nackDownloadCount > 0) {
        --m_lumo.faults.nackDownloadCount;
        return Nack(kNackFlashCrc);
    }
    const int packet = m_download.packet;
    const quint8 type = packet == packets ? Lumo::BlockLast
                        : packet == 1     ? Lumo::BlockFirst
                                          : Lumo::BlockMiddle;
    QByteArray reply;
    reply.append(char(folderNumber));
    reply.append(char(fileNumber));
    reply += Be16(quint16(packet));
    reply.append(char(type));
    reply += bytes.mid(qsizetype(packet - 1) * kPacketDataSize, kPacketDataSize);
    return Ack(reply);
}

SimRdmResponder::Answer SimLumoFixture::Chunk(quint16 pid, const QByteArray& request,
                                              const QList<QByteArray>& entries, int perReply) {
    if (m_listing.pid != pid || m_listing.request != request) {
        m_listing = {pid, request, 0};
    }
    const int start = std::min(m_listing.offset, int(entries.size()));
    const int end = std::min(int(entries.size()), start + perReply);
    QByteArray data;
    for (int i = start; i < end; ++i) {
        data += entries[i];
    }
    if (end < entries.size()) {
        m_listing.offset = end;
        return {kAckOverflow, data};
    }
    m_listing = {};
    return Ack(data);
}

SimRdmResponder::Answer SimLumoFixture::FolderEntries(const QByteArray& data) {
    const quint8 wanted = U8(data, 0);
    if (wanted != 0 && !m_folders.contains(wanted)) {
        m_listing = {};
        return Nack(Lumo::NackFolderDoesNotExist);
    }
    QList<QByteArray> entries;
    for (const auto& [number, folder] : m_folders) {
        if (wanted == 0 || wanted == number) {
            entries.append(LumoWire::EncodeFolder({number, folder.name}));
        }
    }
    const int perReply = std::clamp(m_lumo.foldersPerReply, 1, kMaxData / Lumo::kFolderEntrySize);
    return Chunk(Lumo::FolderInfo, data, entries, perReply);
}

SimRdmResponder::Answer SimLumoFixture::FileEntries(const QByteArray& data) {
    const quint8 wanted = U8(data, 0);
    const quint8 first = U8(data, 1);
    if (wanted != 0 && !m_folders.contains(wanted)) {
        m_listing = {};
        return Nack(Lumo::NackFolderDoesNotExist);
    }
    QList<QByteArray> entries;
    for (const auto& [number, folder] : m_folders) {
        if (wanted != 0 && wanted != number) {
            continue;
        }
        for (auto file = folder.files.lower_bound(first); file != folder.files.end(); ++file) {
            entries.append(
                LumoWire::EncodeFile({number, file->first, file->second.key, file->second.name},
                                     LumoWire::KeyOrder::LowFirst));
        }
    }
    const int perReply = std::clamp(m_lumo.filesPerReply, 1, kMaxData / Lumo::kFileEntrySize);
    return Chunk(Lumo::FileInfo, data, entries, perReply);
}

SimRdmResponder::Answer SimLumoFixture::MoveOneFile(const QByteArray& data) {
    const auto source = m_folders.find(U8(data, 0));
    if (source == m_folders.end() || !source->second.files.contains(U8(data, 1))) {
        return Nack(Lumo::NackFileDoesNotExist);
    }
    const auto destination = m_folders.find(U8(data, 2));
    if (destination == m_folders.end()) {
        return Nack(Lumo::NackFolderDoesNotExist);
    }
    const quint8 target = U8(data, 3);
    if (target == 0 || destination->second.files.contains(target)) {
        return Nack(Lumo::NackInvalidFileDestination);
    }
    auto node = source->second.files.extract(U8(data, 1));
    node.key() = target;
    destination->second.files.insert(std::move(node));
    return Ack();
}

SimRdmResponder::Answer SimLumoFixture::MoveOneFolder(const QByteArray& data) {
    const quint8 target = U8(data, 1);
    if (!m_folders.contains(U8(data, 0))) {
        return Nack(Lumo::NackFolderDoesNotExist);
    }
    if (target == 0 || m_folders.contains(target)) {
        return Nack(Lumo::NackInvalidFileDestination);
    }
    auto node = m_folders.extract(U8(data, 0));
    node.key() = target;
    m_folders.insert(std::move(node));
    return Ack();
}

void SimLumoFixture::EraseFolders(int first, int last) {
    std::erase_if(m_folders, [&](const auto& folder) {
        return folder.first >= first && folder.first <= last;
    });
}

int SimLumoFixture::FileCount() const {
    int count = 0;
    for (const auto& [number, folder] : m_folders) {
        count += int(folder.files.size());
    }
    return count;
}

QList<LumoStoredFolder> SimLumoFixture::Folders() const {
    std::lock_guard lock(m_lumoLock);
    QList<LumoStoredFolder> folders;
    for (const auto& [number, folder] : m_folders) {
        LumoStoredFolder copy{number, folder.name, {}};
        for (const auto& [fileNumber, file] : folder.files) {
            copy.files.append({fileNumber, file.key, file.name, file.bytes});
        }
        folders.append(copy);
    }
    return folders;
}

std::optional<LumoStoredFile> SimLumoFixture::File(quint8 folder, quint8 file) const {
    std::lock_guard lock(m_lumoLock);
    const auto found = m_folders.find(folder);
    if (found == m_folders.end() || !found->second.files.contains(file)) {
        return std::nullopt;
    }
    const auto& stored = found->second.files.at(file);
    return LumoStoredFile{file, stored.key, stored.name, stored.bytes};
}

quint16 SimLumoFixture::QuorelAddress() const {
    std::lock_guard lock(m_lumoLock);
    return m_lumo.quorelAddress;
}

quint32 SimLumoFixture::GraphicsUniqueId() const {
    std::lock_guard lock(m_lumoLock);
    return m_lumo.graphicsUniqueId;
}

quint32 SimLumoFixture::MotionUniqueId() const {
    std::lock_guard lock(m_lumoLock);
    return quint32(m_uid);
}

QByteArray SimLumoFixture::FpgaImage() const {
    std::lock_guard lock(m_lumoLock);
    return m_fpgaImage;
}

quint8 SimLumoFixture::BulkState() const {
    std::lock_guard lock(m_lumoLock);
    return m_files.state;
}

quint8 SimLumoFixture::FpgaBulkState() const {
    std::lock_guard lock(m_lumoLock);
    return m_fpga.state;
}

void SimLumoFixture::SetLumoFaults(const LumoFaults& faults) {
    std::lock_guard lock(m_lumoLock);
    m_lumo.faults = faults;
    m_loader.SetFaults(faults.firmware);
    m_silent = false;
}

}  // namespace Sim
