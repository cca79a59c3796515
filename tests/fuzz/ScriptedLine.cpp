#include "ScriptedLine.h"

#include "orx/OrxDefs.h"
#include "rdm/RDMProtocol.h"
#include "sim/SimRdmResponder.h"

void ScriptedLine::Reset(const uint8_t* data, size_t size) {
    m_script = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    m_at = 0;
}

namespace {

// A reply to `request` with the response type and data given, as a fixture would send it.
QByteArray WellFormedReply(const QByteArray& request, const QByteArray& body) {
    if (request.size() < 26 || body.isEmpty()) {
        return body;
    }
    const auto* bytes = reinterpret_cast<const quint8*>(request.constData());
    return Sim::SimRdmResponder::BuildReply(request, RDMProtocol::UnpackUid(bytes + 3),
                                            RDMProtocol::UnpackUid(bytes + 9), quint8(body[0]),
                                            body.mid(1, 231));
}

void AppendBe16(QByteArray* bytes, quint16 value) {
    bytes->append(char(value >> 8));
    bytes->append(char(value & 0xFF));
}

// A talk-back frame's answer as a fixture would send it: a read names its operation, code and
// device before the data; a query's reply is twelve bytes. The checksums are right.
QByteArray WellFormedTalkback(const QByteArray& request, const QByteArray& body) {
    if (request.size() >= 8 && quint8(request[1]) == Orx::kTalkbackMark) {
        QByteArray reply = request.left(8);
        reply[2] = char(quint8(request[2]) + 1);
        reply += body;
        AppendBe16(&reply, Orx::Checksum(reply));
        return reply;
    }
    QByteArray reply(1, char(Orx::kStartCode));
    reply += body.leftJustified(9, '\0', true);
    AppendBe16(&reply, Orx::Checksum(reply));
    return reply;
}

}  // namespace

QByteArray ScriptedLine::HandleRdm(const QByteArray& request) {
    if (m_at + 2 > m_script.size()) {
        return {};
    }
    const quint8 control = quint8(m_script[m_at]);
    const int length = quint8(m_script[m_at + 1]);
    const QByteArray body = m_script.mid(m_at + 2, length);
    m_at += 2 + length;
    switch (control % 4) {
        case 1:
            return body;
        case 2:
            return !request.isEmpty() && quint8(request[0]) == 0xCC
                       ? WellFormedReply(request, body)
                       : WellFormedTalkback(request, body);
        case 3: {
            quint64 uid = 0;
            for (int i = 0; i < 6 && i < body.size(); ++i) {
                uid = uid << 8 | quint8(body[i]);
            }
            return Sim::SimRdmResponder::EncodeDiscoveryReply(uid);
        }
        default:
            return {};
    }
}
