#include "lumo/tree/LumoContentErasure.h"

#include "content/ContentModelMutex.h"
#include "lumo/LumoProtocol.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <QThread>

#include <functional>

namespace {

constexpr quint8 kFirstQuorelFolder = 251;

// Runs the change on the device's tree, if it has one, on the thread the device lives in.
// The group changes cannot refuse here and are not given the caller's feedback, which may
// be gone by the time a queued change runs.
void ChangeTree(LumoRDM* device, const std::function<void(LumoRDMContentRoot*)>& change) {
    auto apply = [device, change] {
        const ContentModelLock lock;
        if (LumoRDMContentRoot* root = device->ContentRootIfMade()) {
            change(root);
        }
    };
    if (QThread::currentThread() == device->thread()) {
        apply();
    } else {
        QMetaObject::invokeMethod(device, apply, Qt::QueuedConnection);
    }
}

// Folder 251 and the other Quorel folders the tree shows (the second family has more).
QList<quint8> QuorelFolders(const LumoRDM* device) {
    QList<quint8> numbers{kFirstQuorelFolder};
    const ContentModelLock lock;
    const LumoRDMContentRoot* root = device->ContentRootIfMade();
    const LumoRDMContentGroup* group = root ? root->QuorelGroup() : nullptr;
    for (int i = 0, count = group ? group->ChildCount() : 0; i < count; ++i) {
        const quint8 number = quint8(group->Child(i)->Address());
        if (!numbers.contains(number)) {
            numbers.append(number);
        }
    }
    return numbers;
}

}  // namespace

bool LumoContentErasure::DeleteAllUserContent(LumoRDM* device, IFeedback* feedback) {
    if (!device || !LumoProtocol::ProtocolFor(device)->EraseUserContent(device, feedback)) {
        return false;
    }
    ChangeTree(device, [](LumoRDMContentRoot* root) { root->UserGroup()->RemoveAll(nullptr); });
    return true;
}

bool LumoContentErasure::DeleteAllQuorelContent(LumoRDM* device, IFeedback* feedback) {
    if (!device) {
        return false;
    }
    LumoProtocol* protocol = LumoProtocol::ProtocolFor(device);
    bool erased = true;
    for (const quint8 number : QuorelFolders(device)) {
        erased = protocol->EraseFolder(device, number, feedback) && erased;
    }
    if (!erased) {
        return false;
    }
    ChangeTree(device, [](LumoRDMContentRoot* root) {
        const LumoContentLocks::QuorelUnlock unlock;
        root->QuorelGroup()->RemoveAll(nullptr);
    });
    return true;
}
