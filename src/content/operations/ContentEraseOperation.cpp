#include "content/operations/ContentEraseOperation.h"

#include "comm/IFeedback.h"
#include "content/operations/FeedbackWrapper.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"

ContentEraseOperation::ContentEraseOperation(const QList<Device*>& devices,
                                             LumoEraseContentCommand::Kind kind,
                                             const QString& title)
    : ContentFixturesOperation(devices), m_kind(kind), m_title(title) {}

QString ContentEraseOperation::Title() const {
    return m_title.arg(DeviceCount());
}

int ContentEraseOperation::Execute(IFeedback* feedback, int /*options*/) {
    feedback->SetTotal(DeviceCount());
    bool failed = false;
    for (int i = 0; i < DeviceCount(); ++i) {
        LumoRDM* fixture = FixtureAt(i);
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
