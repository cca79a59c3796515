#include "rdm/RDMProtocol.h"

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"
#include "os/HexText.h"

#include <algorithm>
#include <cstring>

namespace {

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
                                     quint16 pid, const quint8* data, int dataLength) {
    const quint8 length = quint8(std::clamp(data ? dataLength : 0, 0, int(Rdm::kMaxParameterData)));
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

// The words every transaction message names the exchange with.
struct RDMProtocol::Names {
    QString device;
    QString command;
    QString parameter;

    // Fills "%1 device, %2 command, %3 parameter" style texts: the device first, then any
    // numbers in between, then the command and the parameter.
    QString Say(const char* text) const {
        return QString::fromLatin1(text).arg(device, command, parameter);
    }
};

// What to do after a reply: return this status, or send the request again.
struct RDMProtocol::Outcome {
    bool resend = false;
    ResponseStatus status = ResponseAck;
};

ResponseStatus RDMProtocol::RdmTransaction(quint8 port, quint32 deviceId, quint16 manufacturerId,
                                           quint8 commandClass, quint16 pid, const quint8* data,
                                           int dataLength, quint8* reply, quint32& replyLength,
                                           IFeedback* feedback) {
    if (dataLength < 0 || dataLength > Rdm::kMaxParameterData) {
        Report(feedback,
               QStringLiteral(" Error! device (0x%1) : %2 bytes of parameter data are more than "
                              "an RDM request can carry (%3) for COMMAND(0x%4) and PID(0x%5)!")
                   .arg(Hex(quint64(manufacturerId) << 32 | deviceId))
                   .arg(dataLength)
                   .arg(Rdm::kMaxParameterData)
                   .arg(Hex(commandClass), Hex(pid)),
               FeedbackStatusError);
        replyLength = 0;
        return ResponseRequestTooLong;
    }
    QByteArray request =
        BuildRequest(deviceId, manufacturerId, commandClass, pid, data, dataLength);
    auto* requestBytes = reinterpret_cast<quint8*>(request.data());
    RdmUniverseUsb* universe = CommManager::Instance()->GetUniverse();
    if (!universe) {
        return ResponseNoUniverse;
    }
    const bool broadcast = IsBroadcast(manufacturerId, deviceId);
    const Names names{Hex(quint64(manufacturerId) << 32 | deviceId), Hex(commandClass), Hex(pid)};
    const quint32 capacity = replyLength;
    quint8 received[Rdm::kReplyBufferSize];
    int attempts = 0;
    int resends = 0;

    for (;;) {
        ResponseStatus failure = ResponseSendFailed;
        if (!universe->SendRdm(port, Rdm::kExpectedLength, requestBytes, quint32(request.size()))) {
            Report(feedback,
                   names.Say(" Warning! device (0x%1) : Send failed for COMMAND(0x%2) and "
                             "PID(0x%3)!"),
                   FeedbackStatusWarning);
        } else if (const quint32 count =
                       universe->ReceiveRdm(port, Rdm::kReceiveWait, received, sizeof received);
                   count == 0) {
            if (broadcast) {
                return ResponseAck;
            }
            Report(feedback,
                   names.Say(" Warning! device (0x%1) : failed to respond for COMMAND(0x%2) and "
                             "PID(0x%3)!"),
                   FeedbackStatusWarning);
            failure = ResponseNoReply;
        } else {
            const Outcome outcome = ReadReply(received, count, commandClass, capacity, reply,
                                              replyLength, names, feedback);
            if (!outcome.resend) {
                return outcome.status;
            }
            // The fixture asked for time: ask again with a new transaction number.
            if (++resends > kMaxResends) {
                Report(feedback,
                       names.Say(" Warning: Resend limit exceeded for device (0x%1) - "
                                 "COMMAND(0x%2) and PID(0x%3)!"),
                       FeedbackStatusWarning);
                replyLength = 0;
                return ResponseNoReply;
            }
            requestBytes[Rdm::kOffsetTransaction] = NextTransactionNumber();
            CalculateChecksum(requestBytes, int(request.size()) - Rdm::kChecksumSize);
            continue;
        }
        // A lost exchange: retry the same bytes, five attempts in all, none for broadcast and
        // discovery requests.
        if (attempts++ > kAttempts - 2 || broadcast || commandClass == Rdm::kDiscovery) {
            Report(feedback,
                   names.Say(" Warning: Retry attempts exceeded for device (0x%1) - "
                             "COMMAND(0x%2) and PID(0x%3)!"),
                   FeedbackStatusWarning);
            replyLength = 0;
            return failure;
        }
    }
}

RDMProtocol::Outcome RDMProtocol::ReadReply(const quint8* received, quint32 count,
                                            quint8 commandClass, quint32 capacity, quint8* reply,
                                            quint32& replyLength, const Names& names,
                                            IFeedback* feedback) {
    auto fail = [&](ResponseStatus status, const QString& text) {
        Report(feedback, text, FeedbackStatusError);
        replyLength = 0;
        return Outcome{false, status};
    };
    // A reply must reach this program, carry its whole parameter data and add up.
    const int length =
        count > quint32(Rdm::kOffsetDataLength) ? received[Rdm::kOffsetDataLength] : 0;
    if (count < quint32(Rdm::kHeaderSize + length + Rdm::kChecksumSize) ||
        UnpackUid(received + Rdm::kOffsetDestination) != ProgramUid() ||
        !VerifyChecksum(received, int(count))) {
        return fail(ResponseInvalid, names.Say(" Error! device (0x%1) : checksum failed for "
                                               "COMMAND(0x%2) and PID(0x%3)!"));
    }
    const quint8 type = received[Rdm::kOffsetPortOrResponseType];
    const quint8* replyData = received + Rdm::kOffsetData;
    const bool nack = type == Rdm::kNackReason;
    if (type == Rdm::kAckTimer || nack) {
        if (length != 2) {
            return fail(ResponseNoUniverse,
                        QStringLiteral(" Error! device (0x%1) : length (%2) is not the expected "
                                       "size(2) for COMMAND(0x%3) and PID(0x%4) NACK OR "
                                       "ACK_TIMER!")
                            .arg(names.device)
                            .arg(length)
                            .arg(names.command, names.parameter));
        }
        const quint16 value = UnpackUInt16(replyData);
        if (!nack || value == Rdm::kNackBusy) {
            Os::Clock::Instance().Wait(nack ? kBusyWaitMs
                                            : qMin(qint64(value) * 100, kMaxAckTimerWaitMs));
            if (nack || commandClass == Rdm::kGet || commandClass == Rdm::kGetResponse) {
                return Outcome{true, ResponseAck};
            }
            replyLength = 0;  // a SET or discovery request is done when the fixture is
            return Outcome{false, ResponseAck};
        }
    }
    if (capacity < quint32(length)) {
        return fail(ResponseBufferTooSmall,
                    QStringLiteral(" Error! device (0x%1) : receive buffer(%2) is too small! "
                                   "Expected %3 for COMMAND(0x%4) and PID(0x%5)%6")
                        .arg(names.device)
                        .arg(capacity)
                        .arg(length)
                        .arg(names.command, names.parameter,
                             nack ? QStringLiteral("for NACK_REASON!") : QStringLiteral("!")));
    }
    if (length > 0) {
        std::memcpy(reply, replyData, size_t(length));
    }
    replyLength = quint32(length);
    return Outcome{false, nack ? ResponseNack : ResponseStatus(type)};
}
