#pragma once

#include <QString>
#include <QStringList>

// What the verbs of aurelctl share.
namespace CommandLine {

// Prints "aurelctl: MESSAGE" on standard error and returns `status`.
int Fail(const QString& message, int status);
// Writes text to standard output.
void Print(const QString& text);
// Columns padded to their widest cell, two blanks apart, a heading row first.
QString Table(const QStringList& headings, const QList<QStringList>& rows);

}  // namespace CommandLine
