#include "ui/quorel/QuorelRenderProgress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

namespace QuorelRenderProgress {

namespace {

// How often the dialog looks at the frames done.
constexpr int kPollMs = 50;

}  // namespace

bool Run(QWidget* parent, const QuorelTemplate& quorel, const QString& media, int frames,
         const QuorelSettings& settings, std::vector<QuorelRenderer::Rendered>* rendered,
         QString* error, QStringList* warnings) {
    std::atomic<int> done{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> finished{false};
    bool result = false;
    QThread* window = QThread::currentThread();

    std::thread worker([&] {
        result = QuorelRenderer::Render(quorel, media, settings, rendered, error, warnings,
                                        [&](int frame) {
                                            done = frame;
                                            return !cancelled.load();
                                        });
        // The images belong to the window's thread from here on.
        for (QuorelRenderer::Rendered& one : *rendered) {
            one.image->moveToThread(window);
        }
        finished = true;
    });

    QProgressDialog progress("Rendering Quorel...", "Cancel", 0, std::max(1, frames), parent);
    progress.setWindowTitle("Create Quorel");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        progress.setValue(std::min(done.load(), progress.maximum()));
        if (finished) {
            loop.quit();
        }
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        progress.setLabelText("Cancelling...");
    });
    poll.start(kPollMs);
    loop.exec();
    worker.join();
    // Closing the progress dialog reports a cancel of its own: the user's came before.
    const bool stopped = cancelled;
    progress.close();
    if (stopped) {
        rendered->clear();
        error->clear();
        return false;
    }
    return result;
}

}  // namespace QuorelRenderProgress
