#include "content/operations/ContentEraseOperation.h"

#include "comm/IFeedback.h"
#include "content/operations/FeedbackWrapper.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"

ContentEraseOperation::ContentEraseOperation(const QList<Device*>& devices,
                                             LumoEraseContentCommand::Kind kind,
                                             const QString& title)
    : m_kind(kind), m_title(title) {
    for (Device* device : devices) {
        m_devices.append(device);
    }
}

QString ContentEraseOperation::Title() const {
    return m_title.arg(m_devices.size());
}

bool ContentEraseOperation::CanExecute() const {
    return !m_devices.isEmpty();
}

int ContentEraseOperation::Execute(IFeedback* feedback, int /*options*/) {
    feedback->SetTotal(int(m_devices.size()));
    bool failed = false;
    for (int i = 0; i < m_devices.size(); ++i) {
        auto* fixture = qobject_cast<LumoRDM*>(m_devices[i].data());
        // A fixture whose content has not been read yet is read first, so that its tree
        // follows the erasure.
        LumoRDMContentRoot* root = fixture ? FixtureTree(fixture) : nullptr;
        if (root) {
            FeedbackWrapper step(feedback, i, i + 1);
            root->EraseContent(m_kind, &step);
            const int result = step.WaitResult();
            if (result == Cancelled) {
                return failed ? Failed : Cancelled;
            }
            failed = failed || result != Succeeded;
        }
        feedback->SetCurrent(i + 1);
    }
    return failed ? Failed : Succeeded;
}

ContentDeleteUserContentOperation::ContentDeleteUserContentOperation(const QList<Device*>& devices)
    : ContentEraseOperation(devices, LumoEraseContentCommand::UserContent,
                            QStringLiteral("Deleting User Content from %1 devices")) {}

ContentDeleteQuorelContentOperation::ContentDeleteQuorelContentOperation(
    const QList<Device*>& devices)
    : ContentEraseOperation(devices, LumoEraseContentCommand::QuorelContent,
                            QStringLiteral("Deleting Quorel Content from %1 devices")) {}
