#pragma once

#include <QString>

#include <optional>

// Hands out new unique ids for the factory assignment of fixture identities. It works only
// on a factory machine: the system-scope settings must hold the factory key under
// "UniqueIdGenerator/key". "UniqueIdGenerator/<model>" then names a file that holds the
// next free id of that model as a decimal number; each id handed out advances it.
class UniqueIdGenerator {
public:
    // The key that marks a factory machine (also required for production mode).
    static constexpr quint64 kFactoryKey = 0x4352564155524C31ULL;

    static bool HasFactoryKey();
    // True on a factory machine whose settings also say "ProductionMode".
    static bool IsProductionMode();

    // The next id for a model, or nothing when there is no key, no file or no valid number;
    // then `why` says which, naming the file and where it is named.
    static std::optional<quint32> NextId(const QString& model, QString* why = nullptr);
};
