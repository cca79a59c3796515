#include "content/operations/ContentFixturesOperation.h"

#include "comm/IFeedback.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FeedbackWrapper.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"

ContentFixturesOperation::ContentFixturesOperation(const QList<Device*>& devices) {
    for (Device* device : devices) {
        m_devices.append(device);
    }
}

bool ContentFixturesOperation::CanExecute() const {
    return !m_devices.isEmpty();
}

LumoRDM* ContentFixturesOperation::FixtureAt(int index) const {
    return qobject_cast<LumoRDM*>(m_devices[index].data());
}

void ContentFixturesOperation::BeginUpdate(IFeedback* feedback) {
    feedback->SetTotal(100);
    m_failed = false;
    m_steps = 0;
}

bool ContentFixturesOperation::UpdateStep(IFeedback* feedback, ContentFolder* source,
                                          const QList<ContentFolder*>& locations, int options,
                                          int start, int end) {
    ContentSyncOperation sync(source, locations);
    sync.SetAggregators(LumoRDMContentFolderAggregator::Families());
    FeedbackWrapper step(feedback, start, end);
    const int result = sync.Execute(&step, options);
    m_steps += sync.Steps();
    m_failed = m_failed || result == Failed;
    return result == Cancelled;
}

void ContentFixturesOperation::Fail(IFeedback* feedback, const QString& line) {
    if (!line.isEmpty()) {
        feedback->AddString(line, FeedbackStatusError);
    }
    m_failed = true;
}

int ContentFixturesOperation::EndUpdate(IFeedback* feedback, const QString& title,
                                        const QString& upToDate) {
    feedback->SetCurrent(100);
    if (!m_failed && m_steps == 0) {
        emit InformationMessageBox(title, upToDate);
    }
    return m_failed ? Failed : Succeeded;
}
