#pragma once

#include <QtGlobal>

// The manufacturer parameters of the LED fixtures and the figures of their transfers.
namespace Lumo {

enum Pid : quint16 {
    BulkDataReady = 0xA060,
    FpgaBulkDataReady = 0xA061,
    BroadcastFileBlock = 0xA070,
    BroadcastFpgaBlock = 0xA071,
    DownloadPacket = 0xA080,
    EraseFile = 0xA090,
    FolderInfo = 0xA0A1,
    FileInfo = 0xA0A2,
    EraseFolder = 0xA0A3,
    MoveFile = 0xA0A4,
    MoveFolder = 0xA0A5,
    EraseUserContent = 0xA0A6,
    EraseQuorelContent = 0xA0A7,
    FpgaVersion = 0xA0B0,
    GraphicsUniqueId = 0xA0B2,
    MotionUniqueId = 0xA0B3,
    GraphicsVersion = 0xA0B4,
    QuorelAddress = 0xA0B5,
    GraphicsBootChanged = 0xA0D0,
};

// The transfer state a fixture reports for a bulk transfer.
enum BulkState : quint8 {
    BulkFirst = 1,     // ready for the first block
    BulkNext = 2,      // ready for the next block
    BulkRetry = 3,     // busy before a transfer, retry requested during one
    BulkComplete = 4,  // last block received
    BulkAbort = 5,     // aborted; also what a failed read gives
};

// Block types of uploads and packet types of downloads.
enum BlockType : quint8 {
    BlockFirst = 1,
    BlockMiddle = 2,
    BlockLast = 4,
};

// Request types of download packets.
enum PacketRequest : quint8 {
    PacketFirst = 1,
    PacketNext = 2,
    PacketRepeat = 3,
};

// Manufacturer NACK reasons the fixtures send.
enum NackReason : quint16 {
    NackNoEraseDestination = 0x8100,
    NackInvalidBlockNumber = 0x8101,
    NackInvalidFileDestination = 0x8102,
    NackInvalidBlockType = 0x8103,
    NackInvalidFile = 0x8107,
    NackInvalidPriorState = 0x8108,
    NackInvalidRequestType = 0x810B,
    NackFileOverrun = 0x810C,
    NackFolderDoesNotExist = 0x810D,
    NackFileDoesNotExist = 0x810E,
    NackFpgaCrc = 0x810F,
    NackFpgaProgramming = 0x8110,
};

constexpr int kNameSize = 16;
constexpr int kFolderEntrySize = 1 + kNameSize;
constexpr int kFileEntrySize = 2 + 4 + kNameSize;
// Data bytes of one upload block: with its 5-byte header it fills the 231 parameter bytes.
constexpr int kBlockDataSize = 226;
constexpr int kFileBlockHeaderSize = 5;
constexpr int kFpgaBlockHeaderSize = 3;
constexpr int kPacketHeaderSize = 5;

// Number of items a fixture holds.
constexpr int kContentCapacity = 255;

}  // namespace Lumo
