#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// What a program run by a test printed and how it ended (-1: it crashed or did not finish).
struct ProgramResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ProgramResult RunProgram(
    const QString& program, const QStringList& arguments, int timeoutMs = 30000,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const QString& workingDirectory = QString()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    ProgramResult result;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The same run, what it printed read as UTF-8 text.
struct ProgramText {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ProgramText RunProgramText(const QString& program, const QStringList& arguments) {
    const ProgramResult run = RunProgram(program, arguments);
    return {run.exitCode, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}
