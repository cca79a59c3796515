#include "comm/UserNotice.h"

#include <QMutex>
#include <QObject>
#include <QPointer>

namespace {

struct Installed {
    QMutex lock;
    UserNotice* notice = nullptr;
    QPointer<QObject> context;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

}  // namespace

void UserNotice::Install(UserNotice* notice, QObject* context) {
    Installed& current = Current();
    QMutexLocker lock(&current.lock);
    current.notice = notice;
    current.context = context;
}

void UserNotice::Post(const QString& text) {
    Installed& current = Current();
    QMutexLocker lock(&current.lock);
    if (!current.notice || !current.context) {
        qWarning("%s", qPrintable(text));
        return;
    }
    UserNotice* notice = current.notice;
    QMetaObject::invokeMethod(
        current.context.data(),
        [notice, text] {
            Installed& now = Current();
            {
                QMutexLocker check(&now.lock);
                if (now.notice != notice) {
                    return;  // uninstalled meanwhile
                }
            }
            notice->Show(text);
        },
        Qt::QueuedConnection);
}
