#pragma once

#include <QCommandLineOption>
#include <QStringList>

#include <functional>

class DeviceSession;
class QCommandLineParser;
class RDMDevice;

// Verbs that act on one fixture named by its UID; the fixture is located by asking each
// port for it, without a discovery.
//   aurelctl identify UID [on|off]
//   aurelctl address UID N
namespace DeviceVerbs {

// What one device verb needs: its words, and what it does with the located device.
struct DeviceVerb {
    const char* name;
    const char* description;
    const char* arguments;  // after the UID, for the help text
    int minArguments;
    int maxArguments;
    // Checks the arguments after the UID; an empty text when they are fine.
    std::function<QString(const QStringList&)> check;
    // Runs the verb's command on the located device; returns the exit status.
    std::function<int(DeviceSession&, RDMDevice&, const QStringList&, bool)> act;
    // Options of the verb beyond the common ones, and the parser that read them (set while
    // `act` runs).
    QList<QCommandLineOption> options = {};
};

// The parser of the verb that is running.
const QCommandLineParser& Options();

// Parses the verb's words, locates the fixture and acts on it; returns the exit status.
int RunVerb(const DeviceVerb& verb, const QStringList& arguments);

int Identify(const QStringList& arguments);
int Address(const QStringList& arguments);

// "0x4a4100000101", "4a4100000101" or "4a41:00000101".
bool ParseUid(const QString& text, quint64* uid);

}  // namespace DeviceVerbs
