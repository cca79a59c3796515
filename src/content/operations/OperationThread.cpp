#include "content/operations/OperationThread.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <memory>

bool RunOnOwnThread(const std::function<void()>& work, int boundMs) {
    std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (boundMs >= 0) {
        bound.start(boundMs);
    }
    worker->start();
    loop.exec();
    if (!worker->isFinished()) {
        worker.release();
        return false;
    }
    worker->wait();
    return true;
}
