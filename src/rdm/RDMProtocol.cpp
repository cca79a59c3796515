#include "rdm/RDMProtocol.h"

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"

#include <cstring>

namespace {

QString Hex(quint64 value) {
    return QString::number(value, 16);
}

bool IsBroadcast(quint16 manufacturerId, quint32 deviceId) {
    return manufacturerId == Rdm::kBroadcastManufacturer && deviceId == Rdm::kBroadcastDevice;
}

}  // namespace

RDMProtocol* RDMProtocol::Instance() {
    static RDMProtocol* const protocol = new RDMProtocol;
    return protocol;
}

RDMProtocol::RDMProtocol(QObject* parent) : QObject(parent) {}

void RDMProtocol::Report(IFeedback* feedback, const QString& text, int status) {
    if (feedback) {
        feedback->AddString(text, FeedbackStatus(status));
    }
}

// ---- byte routines ----

void RDMProtocol::CalculateChecksum(quint8* buffer, int size) {
    if (!buffer) {
        return;
    }
    quint16 sum = 0;
    for (int i = 0; i < size; ++i) {
        sum = quint16(sum + buffer[i]);
    }
    PackUInt16(buffer + size, sum);
}

bool RDMProtocol::VerifyChecksum(const quint8* buffer, int size) {
    if (!buffer || size < Rdm::kChecksumSize) {
        return false;
    }
    quint16 sum = 0;
    for (int i = 0; i < size - Rdm::kChecksumSize; ++i) {
        sum = quint16(sum + buffer[i]);
    }
    return sum == UnpackUInt16(buffer + size - Rdm::kChecksumSize);
}

void RDMProtocol::PackUid(quint8* buffer, quint64 uid) {
    if (buffer) {
        PackUInt16(buffer, quint16(uid >> 32));
        PackUInt32(buffer + 2, quint32(uid));
    }
}

quint64 RDMProtocol::UnpackUid(const quint8* buffer) {
    return buffer ? quint64(UnpackUInt16(buffer)) << 32 | UnpackUInt32(buffer + 2) : 0;
}

void RDMProtocol::PackUInt32(quint8* buffer, quint32 value) {
    if (buffer) {
        PackUInt16(buffer, quint16(value >> 16));
        PackUInt16(buffer + 2, quint16(value));
    }
}

quint32 RDMProtocol::UnpackUInt32(const quint8* buffer) {
    return buffer ? quint32(UnpackUInt16(buffer)) << 16 | UnpackUInt16(buffer + 2) : 0;
}

void RDMProtocol::PackUInt16(quint8* buffer, quint16 value) {
    if (buffer) {
        buffer[0] = quint8(value >> 8);
        buffer[1] = quint8(value);
    }
}

quint16 RDMProtocol::UnpackUInt16(const quint8* buffer) {
    return buffer ? quint16(buffer[0] << 8 | buffer[1]) : 0;
}

QByteArray RDMProtocol::ReverseCopy(const quint8* source, int size) {
    QByteArray copy(size, '\0');
    for (int i = 0; i < size; ++i) {
        copy[i] = char(source[size - 1 - i]);
    }
    return copy;
}

void RDMProtocol::ReverseCopy(const quint8* source, int size, quint8* target) {
    for (int i = 0; i < size; ++i) {
        target[1 + i] = source[size - 1 - i];
    }
}

// ---- transactions ----

QByteArray RDMProtocol::BuildRequest(quint32 deviceId, quint16 manufacturerId, quint8 commandClass,
                                     quint16 pid, const quint8* data, quint8 dataLength) {
    const quint8 length = std::min<quint8>(data ? dataLength : 0, Rdm::kMaxParameterData);
    QByteArray request(Rdm::kHeaderSize + length + Rdm::kChecksumSize, '\0');
    auto* bytes = reinterpret_cast<quint8*>(request.data());
    bytes[0] = Rdm::kStartCode;
    bytes[1] = Rdm::kSubStartCode;
    bytes[Rdm::kOffsetMessageLength] = quint8(Rdm::kHeaderSize + length);
    PackUid(bytes + Rdm::kOffsetDestination, quint64(manufacturerId) << 32 | deviceId);
    PackUid(bytes + Rdm::kOffsetSource, ProgramUid());
    bytes[Rdm::kOffsetTransaction] = NextTransactionNumber();
    bytes[Rdm::kOffsetPortOrResponseType] = 1;
    bytes[Rdm::kOffsetMessageCount] = 0;
    PackUInt16(bytes + Rdm::kOffsetSubDevice, 0);
    bytes[Rdm::kOffsetCommandClass] = commandClass;
    PackUInt16(bytes + Rdm::kOffsetPid, pid);
    bytes[Rdm::kOffsetDataLength] = length;
    if (length > 0) {
        std::memcpy(bytes + Rdm::kOffsetData, data, length);
    }
    CalculateChecksum(bytes, Rdm::kHeaderSize + length);
    return request;
}

ResponseStatus RDMProtocol::RdmTransaction(quint8 port, quint32 deviceId, quint16 manufacturerId,
                                           quint8 commandClass, quint16 pid, const quint8* data,
                                           quint8 dataLength, quint8* reply, quint32& replyLength,
                                           IFeedback* feedback) {
    QByteArray request =
        BuildRequest(deviceId, manufacturerId, commandClass, pid, data, dataLength);
    auto* requestBytes = reinterpret_cast<quint8*>(request.data());
    quint8 received[Rdm::kReplyBufferSize];

    RdmUniverseUsb* universe = CommManager::Instance()->GetUniverse();
    if (!universe) {
        return ResponseNoUniverse;
    }

    const bool broadcast = IsBroadcast(manufacturerId, deviceId);
    const QString device = Hex(quint64(manufacturerId) << 32 | deviceId);
    const QString command = Hex(commandClass);
    const QString parameter = Hex(pid);
    const quint32 capacity = replyLength;
    int attempts = 0;
    int resends = 0;

    for (;;) {
        ResponseStatus failure;
        if (!universe->SendRdm(port, Rdm::kExpectedLength, requestBytes, quint32(request.size()))) {
            Report(feedback,
                   QStringLiteral(" Warning! device (0x%1) : Send failed for COMMAND(0x%2) and "
                                  "PID(0x%3)!")
                       .arg(device, command, parameter),
                   FeedbackStatusWarning);
            failure = ResponseSendFailed;
        } else {
            const quint32 count =
                universe->ReceiveRdm(port, Rdm::kReceiveWait, received, sizeof received);
            if (count == 0) {
                if (broadcast) {
                    return ResponseAck;
                }
                Report(feedback,
                       QStringLiteral(" Warning! device (0x%1) : failed to respond for "
                                      "COMMAND(0x%2) and PID(0x%3)!")
                           .arg(device, command, parameter),
                       FeedbackStatusWarning);
                failure = ResponseNoReply;
            } else {
                // A reply must reach this program, carry its whole parameter data and add up.
                const int dataLengthIn =
                    count > Rdm::kOffsetDataLength ? received[Rdm::kOffsetDataLength] : 0;
                if (count < quint32(Rdm::kHeaderSize + Rdm::kChecksumSize) ||
                    count < quint32(Rdm::kHeaderSize + dataLengthIn + Rdm::kChecksumSize) ||
                    UnpackUid(received + Rdm::kOffsetDestination) != ProgramUid() ||
                    !VerifyChecksum(received, int(count))) {
                    Report(feedback,
                           QStringLiteral(" Error! device (0x%1) : checksum failed for "
                                          "COMMAND(0x%2) and PID(0x%3)!")
                               .arg(device, command, parameter),
                           FeedbackStatusError);
                    replyLength = 0;
                    return ResponseInvalid;
                }
                const quint8 responseType = received[Rdm::kOffsetPortOrResponseType];
                const quint8* replyData = received + Rdm::kOffsetData;
                bool resend = false;
                if (responseType == Rdm::kAckTimer || responseType == Rdm::kNackReason) {
                    if (dataLengthIn != 2) {
                        Report(feedback,
                               QStringLiteral(" Error! device (0x%1) : length (%2) is not the "
                                              "expected size(2) for COMMAND(0x%3) and PID(0x%4) "
                                              "NACK OR ACK_TIMER!")
                                   .arg(device)
                                   .arg(dataLengthIn)
                                   .arg(command, parameter),
                               FeedbackStatusError);
                        replyLength = 0;
                        return ResponseNoUniverse;
                    }
                    const quint16 value = UnpackUInt16(replyData);
                    if (responseType == Rdm::kNackReason && value == Rdm::kNackBusy) {
                        Os::Clock::Instance().Wait(kBusyWaitMs);
                        resend = true;
                    } else if (responseType == Rdm::kNackReason) {
                        if (capacity < quint32(dataLengthIn)) {
                            Report(feedback,
                                   QStringLiteral(" Error! device (0x%1) : receive buffer(%2) is "
                                                  "too small! Expected %3 for COMMAND(0x%4) and "
                                                  "PID(0x%5)for NACK_REASON!")
                                       .arg(device)
                                       .arg(capacity)
                                       .arg(dataLengthIn)
                                       .arg(command, parameter),
                                   FeedbackStatusError);
                            replyLength = 0;
                            return ResponseBufferTooSmall;
                        }
                        std::memcpy(reply, replyData, 2);
                        replyLength = 2;
                        return ResponseNack;
                    } else {
                        Os::Clock::Instance().Wait(qint64(value) * 100);
                        if (commandClass != Rdm::kGet && commandClass != Rdm::kGetResponse) {
                            replyLength = 0;
                            return ResponseAck;
                        }
                        resend = true;
                    }
                } else {
                    if (capacity < quint32(dataLengthIn)) {
                        Report(feedback,
                               QStringLiteral(" Error! device (0x%1) : receive buffer(%2) is too "
                                              "small! Expected %3 for COMMAND(0x%4) and "
                                              "PID(0x%5)!")
                                   .arg(device)
                                   .arg(capacity)
                                   .arg(dataLengthIn)
                                   .arg(command, parameter),
                               FeedbackStatusError);
                        replyLength = 0;
                        return ResponseBufferTooSmall;
                    }
                    if (dataLengthIn > 0) {
                        std::memcpy(reply, replyData, size_t(dataLengthIn));
                    }
                    replyLength = quint32(dataLengthIn);
                    return ResponseStatus(responseType);
                }
                if (resend) {
                    // The fixture asked for time: ask again with a new transaction number.
                    if (++resends > kMaxResends) {
                        Report(feedback,
                               QStringLiteral(" Warning: Resend limit exceeded for device (0x%1) "
                                              "- COMMAND(0x%2) and PID(0x%3)!")
                                   .arg(device, command, parameter),
                               FeedbackStatusWarning);
                        replyLength = 0;
                        return ResponseNoReply;
                    }
                    requestBytes[Rdm::kOffsetTransaction] = NextTransactionNumber();
                    CalculateChecksum(requestBytes, int(request.size()) - Rdm::kChecksumSize);
                    continue;
                }
            }
        }
        // A lost exchange: retry the same bytes, five attempts in all, none for broadcast and
        // discovery requests.
        if (attempts++ > kAttempts - 2 || broadcast || commandClass == Rdm::kDiscovery) {
            Report(feedback,
                   QStringLiteral(" Warning: Retry attempts exceeded for device (0x%1) - "
                                  "COMMAND(0x%2) and PID(0x%3)!")
                       .arg(device, command, parameter),
                   FeedbackStatusWarning);
            replyLength = 0;
            return failure;
        }
    }
}
