#include "ProgressPrinter.h"

#include "comm/Command.h"

#include <algorithm>

#include <unistd.h>

ProgressPrinter::ProgressPrinter(std::FILE* out, bool terminal)
    : m_out(out), m_terminal(terminal) {}

ProgressPrinter::~ProgressPrinter() {
    EndLine();
}

bool ProgressPrinter::IsTerminal(std::FILE* out) {
    return isatty(fileno(out)) == 1;
}

void ProgressPrinter::Follow(Command* command) {
    // Direct: the worker thread prints as it reports, also while this thread waits.
    QObject::connect(
        command, &Command::IFeedback_SetTotal, command, [this](int total) { SetTotal(total); },
        Qt::DirectConnection);
    QObject::connect(
        command, &Command::IFeedback_SetCurrent, command,
        [this](int current) { SetCurrent(current); }, Qt::DirectConnection);
    QObject::connect(
        command, &Command::IFeedback_SetProgressText, command,
        [this](const QString& text) { SetText(text); }, Qt::DirectConnection);
}

void ProgressPrinter::EndLine() {
    const std::lock_guard lock(m_mutex);
    if (m_lineOpen) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
        m_lineOpen = false;
    }
}

void ProgressPrinter::SetTotal(int total) {
    const std::lock_guard lock(m_mutex);
    m_total = total;
    m_current = 0;
}

void ProgressPrinter::SetCurrent(int current) {
    const std::lock_guard lock(m_mutex);
    m_current = current;
    if (m_terminal && !m_text.isEmpty()) {
        Print();  // the per cent moves on its own line; plain output waits for the next text
    }
}

void ProgressPrinter::SetText(const QString& text) {
    const std::lock_guard lock(m_mutex);
    m_text = text;
    Print();
}

void ProgressPrinter::Print() {
    const int percent =
        m_total > 0 ? int(qint64(std::clamp(m_current, 0, m_total)) * 100 / m_total) : 0;
    const QByteArray line = QStringLiteral("[%1%] %2").arg(percent, 3).arg(m_text).toLocal8Bit();
    if (m_terminal) {
        // Back to the start of the line, the progress, and the rest of the old line cleared.
        std::fprintf(m_out, "\r%s\033[K", line.constData());
        m_lineOpen = true;
    } else {
        std::fprintf(m_out, "%s\n", line.constData());
    }
    std::fflush(m_out);
}
