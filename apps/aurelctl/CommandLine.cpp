#include "CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace CommandLine {

namespace {

bool IsNegativeNumber(const QString& argument) {
    static const QRegularExpression number(QStringLiteral("^-[0-9]+(\\.[0-9]+)?$"));
    return number.match(argument).hasMatch();
}

// True when the option word is followed by its value as the next argument: the parser, given
// the word alone, misses the value.
bool TakesValue(QCommandLineParser& parser, const QString& program, const QString& word) {
    return !word.contains('=') && !parser.parse({program, word}) &&
           parser.errorText().startsWith(QLatin1String("Missing value"));
}

// The parser takes "-1" for an option; a negative number that stands where a word belongs is a
// value instead. The options go first, then "--" and the words, the numbers among them.
QStringList NegativeNumbersAsWords(QCommandLineParser& parser, const QStringList& arguments) {
    if (std::none_of(arguments.begin() + 1, arguments.end(), &IsNegativeNumber)) {
        return arguments;
    }
    QStringList options = {arguments.value(0)};
    QStringList words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            words += arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith('-') || argument.size() == 1 || IsNegativeNumber(argument)) {
            words.append(argument);
            continue;
        }
        options.append(argument);
        if (TakesValue(parser, arguments[0], argument) && i + 1 < arguments.size()) {
            options.append(arguments[++i]);
        }
    }
    return options + QStringList{QStringLiteral("--")} + words;
}

}  // namespace

int Fail(const QString& message, int status) {
    std::fprintf(stderr, "aurelctl: %s\n", qPrintable(message));
    return status;
}

int RefuseFullFolder(const QCommandLineParser& parser, const QString& folder, int count,
                     const QString& children) {
    if (count == 0 || parser.isSet("recursive")) {
        return 0;
    }
    return Fail(QStringLiteral("folder %1 holds %2 %3; add --recursive to remove it with them")
                    .arg(folder)
                    .arg(count)
                    .arg(children),
                kUsageStatus);
}

void Process(QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.parse(NegativeNumbersAsWords(parser, arguments))) {
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
