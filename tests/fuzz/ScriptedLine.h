#pragma once

#include "sim/RdmResponder.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// A line whose answers a fuzz input writes: every request or frame sent on it takes the next
// step of the script. A step is a control byte, a length byte and that many bytes:
//   control % 4 == 0  no answer;
//   control % 4 == 1  the bytes as they are;
//   control % 4 == 2  a well-formed reply: to an RDM request, one addressed to the program
//                     with its transaction number and parameter (the first byte is the
//                     response type, the rest the parameter data); to a talk-back frame, the
//                     bytes framed as that frame's answer; the checksums right;
//   control % 4 == 3  the encoded DISC_UNIQUE_BRANCH reply of the UID in the first 6 bytes.
// Once the script ends the line stays silent, so every exchange the code under test starts
// is bounded by the input's length.
class ScriptedLine : public Sim::RdmResponder {
public:
    void Reset(const uint8_t* data, size_t size);
    QByteArray HandleRdm(const QByteArray& request) override;

private:
    QByteArray m_script;
    qsizetype m_at = 0;
};
