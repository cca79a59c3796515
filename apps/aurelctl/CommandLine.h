#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the verbs of aurelctl share.
namespace CommandLine {

// The exit status of a wrong invocation.
constexpr int kUsageStatus = 2;

// Prints "aurelctl: MESSAGE" on standard error and returns `status`.
int Fail(const QString& message, int status);
// Refuses to remove a folder that still holds `count` children (files, or a package's folders)
// unless --recursive was given: the reason, and the usage status; 0 when it may go.
int RefuseFullFolder(const QCommandLineParser& parser, const QString& folder, int count,
                     const QString& children);
// Reads a command's arguments: --help prints its help and exits with 0; an unknown option, or
// an option without its value, is a wrong invocation: the reason, then exit with 2.
void Process(QCommandLineParser& parser, const QStringList& arguments);
// Writes text to standard output.
void Print(const QString& text);
// Columns padded to their widest cell, two blanks apart, a heading row first.
QString Table(const QStringList& headings, const QList<QStringList>& rows);

}  // namespace CommandLine
