#include "content/operations/FixtureTrees.h"

#include "comm/IFeedback.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace {
constexpr int kReadWaitMs = 120000;
constexpr int kPollMs = 10;
}  // namespace

LumoRDMContentRoot* FixtureTree(LumoRDM* fixture) {
    if (LumoRDMContentRoot* root = fixture->ContentRootIfMade()) {
        return root;
    }
    QMetaObject::invokeMethod(
        fixture, [fixture] { fixture->GetContentRoot(); },
        QThread::currentThread() == fixture->thread() ? Qt::DirectConnection
                                                      : Qt::BlockingQueuedConnection);
    return fixture->ContentRootIfMade();
}

LumoRDMContentRoot* ReadFixtureTree(LumoRDM* fixture, IFeedback* feedback) {
    LumoRDMContentRoot* root = FixtureTree(fixture);
    const bool here = QThread::currentThread() == fixture->thread();
    const QDeadlineTimer deadline(kReadWaitMs);
    while (root && root->ContentRead() == LumoRDMContentFolder::Reading && !deadline.hasExpired()) {
        if (here) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        }
        QThread::msleep(kPollMs);
    }
    if (root && root->ContentRead() == LumoRDMContentFolder::Read) {
        return root;
    }
    feedback->AddString(QStringLiteral("Can't read the content of %1").arg(fixture->UidText()),
                        FeedbackStatusError);
    return nullptr;
}
