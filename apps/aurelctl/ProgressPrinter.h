#pragma once

#include <QString>

#include <cstdio>
#include <mutex>

class Command;

// Shows the progress that commands report on a stream (standard error): on a terminal one
// line, written over as the progress moves; otherwise a plain line for each new progress
// text. The commands report from the worker thread.
class ProgressPrinter {
public:
    ProgressPrinter(std::FILE* out, bool terminal);
    ~ProgressPrinter();
    ProgressPrinter(const ProgressPrinter&) = delete;
    ProgressPrinter& operator=(const ProgressPrinter&) = delete;

    // Whether the stream is a terminal.
    static bool IsTerminal(std::FILE* out);

    // Shows the command's progress until it is gone.
    void Follow(Command* command);
    // Ends the line being written over, so that what follows starts on a line of its own.
    void EndLine();

private:
    void SetTotal(int total);
    void SetCurrent(int current);
    void SetText(const QString& text);
    // Writes the progress (m_mutex held).
    void Print();

    std::FILE* const m_out;
    const bool m_terminal;
    std::mutex m_mutex;
    int m_total = 0;
    int m_current = 0;
    QString m_text;
    bool m_lineOpen = false;
};
