#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

class RDMDevice;

// A standard parameter that the program sets on fixtures that list it: its name on the
// command line, what its value is on the line, the values it takes, and the words of its
// NACK message. The device view and the command line both read and parse values through it.
struct SettableParameter {
    enum class Kind {
        Text,         // a label of up to `width` characters
        Choice,       // one byte, one of `choices`
        Percent,      // one byte, given as a per cent of 255
        Personality,  // one byte, a personality number of the fixture
    };
    struct Choice {
        quint8 value;
        const char* name;  // on the command line
        const char* text;  // as shown; null: the device's text for the value
    };
    // A value offered to the user: the value and its text as shown.
    using Offer = std::pair<quint8, QString>;

    quint16 pid;
    const char* name;     // on the command line: "label", "display-level"
    const char* setting;  // the NACK message's words: "Setting Device Label"
    Kind kind;
    int width;  // bytes of the value on the line (for a text, the most it may have)
    std::vector<Choice> choices = {};
    QString (*shown)(quint32) = nullptr;           // a choice's text, for choices without their own
    quint32 (*value)(const RDMDevice&) = nullptr;  // the current value; null: none kept
    quint16 row = 0;  // the parameter whose property row shows it, when not its own

    // Every settable parameter, in the order the command line lists them.
    static const std::vector<SettableParameter>& All();
    static const SettableParameter* Find(quint16 pid);
    // By command-line name, in any letter case.
    static const SettableParameter* Find(const QString& name);
    // The parameter that a property row of the given parameter sets, if any.
    static const SettableParameter* ForRow(quint16 rowPid);

    // The bytes to send for a value the user typed: a choice's name or text, a number, a per
    // cent ("40" or "40%"), a personality number or a label. An empty text when the value
    // is good, else what is wrong with it.
    QString Encode(const QString& value, const RDMDevice& device, QByteArray* data) const;
    // The values offered in a choice of the device view (all but text and per cent).
    QList<Offer> Offers(const RDMDevice& device) const;
    // Whether the fixture keeps a value of it to read back (a reset is only done).
    bool KeepsValue() const { return value || kind == Kind::Text; }
    // The current value as shown; for a parameter that holds no value, an empty text.
    QString Current(const RDMDevice& device) const;
    // The current value's position in Offers(), or -1.
    int CurrentOffer(const RDMDevice& device) const;
    // The names the command line takes, for messages: "on|off", "0..100%", "1..3".
    QString Accepted(const RDMDevice* device) const;
    // A per cent as the display level's byte, and back as the program shows it.
    static quint8 PercentToLevel(int percent);
};
