#pragma once

#include "os/Log.h"

#include <QStringList>

#include <mutex>
#include <vector>

// Records every log record while it lives.
class LogCapture {
public:
    struct Line {
        QString function;
        QString file;
        QString text;
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Line> Lines() const;
    QStringList Texts() const;
    // Texts that start with `prefix`.
    QStringList Matching(const QString& prefix) const;
    void Clear();

private:
    class Recorder;
    zub::counted_ref<Recorder> m_recorder;
};
