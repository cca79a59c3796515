#include "CommandLine.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace CommandLine {

int Fail(const QString& message, int status) {
    std::fprintf(stderr, "aurelctl: %s\n", qPrintable(message));
    return status;
}

void Process(QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.parse(arguments)) {
        Fail(parser.errorText() + " (try --help)", kUsageStatus);
        std::exit(kUsageStatus);
    }
    const QStringList given = parser.optionNames();
    if (given.contains("help") || given.contains("h") || given.contains("?")) {
        parser.showHelp(0);
    }
}

void Print(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString Table(const QStringList& headings, const QList<QStringList>& rows) {
    QList<QStringList> all = {headings};
    all += rows;
    QList<int> widths(headings.size(), 0);
    for (const QStringList& row : all) {
        for (int i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], int(row[i].size()));
        }
    }
    QString text;
    for (const QStringList& row : all) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i) {
            cells.append(i + 1 < row.size() ? row[i].leftJustified(widths[i]) : row[i]);
        }
        text += cells.join("  ") + "\n";
    }
    return text;
}

}  // namespace CommandLine
