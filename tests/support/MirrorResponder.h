#pragma once

#include "sim/RdmResponder.h"

#include <algorithm>

// A fixture that answers every request with its bytes in reverse order, and counts them.
class MirrorResponder : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& request) override {
        ++requests;
        QByteArray reply = request;
        std::reverse(reply.begin(), reply.end());
        return reply;
    }
    int requests = 0;
};
