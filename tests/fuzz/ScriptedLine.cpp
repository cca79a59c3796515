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
    const QByteArray data = body.mid(1, 231);
    QByteArray reply(24 + data.size() + 2, '\0');
    auto* out = reinterpret_cast<quint8*>(reply.data());
    const auto* in = reinterpret_cast<const quint8*>(request.constData());
    out[0] = 0xCC;
    out[1] = 0x01;
    out[2] = quint8(24 + data.size());
    std::copy(in + 9, in + 15, out + 3);  // to the controller
    std::copy(in + 3, in + 9, out + 9);   // from the addressed fixture
    out[15] = in[15];                     // transaction number
    out[16] = quint8(body[0]);            // response type
    out[17] = 0;
    out[18] = in[18];
    out[19] = in[19];
    out[20] = quint8(in[20] + 1);  // the response class
    out[21] = in[21];
    out[22] = in[22];
    out[23] = quint8(data.size());
    std::copy(data.begin(), data.end(), reply.begin() + 24);
    RDMProtocol::CalculateChecksum(out, 24 + int(data.size()));
    return reply;
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
