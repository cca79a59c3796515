#pragma once

#include "comm/CommManager.h"
#include "hardware/DriverRequests.h"
#include "rdm/RDMProtocol.h"
#include "sim/SimRdmResponder.h"
#include "support/RecordingFeedback.h"
#include "support/SimulatedRig.h"

// A test fixture with an 8-port simulated widget, a command manager of its own (installed as
// the process-wide one) and RDM responders to put on the widget's lines.
class RdmRigTest : public SimulatedRigTest {
protected:
    static constexpr quint64 kFixtureUid = 0x4A4100000101ULL;

    RdmRigTest()
        : m_widget(layer().Plug(Config("w", 26))),
          m_comm(std::make_unique<CommManager>()),
          m_previous(CommManager::Install(m_comm.get())) {}

    ~RdmRigTest() override {
        CommManager::Install(m_previous);
        m_comm.reset();
    }

    std::shared_ptr<Sim::SimRdmResponder> AddResponder(Sim::RdmResponderConfig config,
                                                       int port = 0) {
        auto responder = std::make_shared<Sim::SimRdmResponder>(std::move(config));
        m_widget->AttachResponder(port, responder);
        return responder;
    }

    static Sim::RdmResponderConfig Fixture(quint64 uid = kFixtureUid) {
        Sim::RdmResponderConfig config;
        config.uid = uid;
        return config;
    }

    // The RDM requests the widget was given, without the driver's header.
    std::vector<QByteArray> SentRequests() const {
        std::vector<QByteArray> requests;
        for (const auto& exchange : m_widget->Traffic()) {
            if (exchange.kind == Sim::SimWidget::kIoControl &&
                exchange.code == Hardware::DriverRequests::kRdmSend) {
                requests.push_back(exchange.input.mid(16));
            }
        }
        return requests;
    }

    std::shared_ptr<Sim::SimWidget> m_widget;
    std::unique_ptr<CommManager> m_comm;
    CommManager* m_previous;
    RDMProtocol m_protocol;
    RecordingFeedback m_feedback;
};
