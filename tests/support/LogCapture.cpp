#include "support/LogCapture.h"

class LogCapture::Recorder : public Os::Log::Writer {
public:
    QString Name() const override { return QStringLiteral("LogCapture"); }
    void Write(const Os::Log::Context& context) override {
        std::lock_guard lock(mutex);
        lines.push_back({context.function, context.file, context.text});
    }

    mutable std::mutex mutex;
    std::vector<Line> lines;
};

LogCapture::LogCapture() : m_recorder(new Recorder) {
    Os::Log::Manager::Instance().AddWriter(m_recorder);
}

LogCapture::~LogCapture() {
    Os::Log::Manager::Instance().RemoveWriter(m_recorder.get());
}

std::vector<LogCapture::Line> LogCapture::Lines() const {
    std::lock_guard lock(m_recorder->mutex);
    return m_recorder->lines;
}

QStringList LogCapture::Texts() const {
    QStringList texts;
    for (const Line& line : Lines()) {
        texts.append(line.text);
    }
    return texts;
}

QStringList LogCapture::Matching(const QString& prefix) const {
    QStringList texts;
    for (const Line& line : Lines()) {
        if (line.text.startsWith(prefix)) {
            texts.append(line.text);
        }
    }
    return texts;
}

void LogCapture::Clear() {
    std::lock_guard lock(m_recorder->mutex);
    m_recorder->lines.clear();
}
