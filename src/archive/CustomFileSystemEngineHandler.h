#pragma once

#include "archive/ArchiveEngine.h"

#include <QString>

#include <memory>

// Chooses the engine for a path that runs through a package archive: a writer while write mode
// is on (for the suffixes that can be written), the decrypting reader for "decode#" paths into
// ".lumopkg" packages, else the reader. Other paths get none and are ordinary files.
class CustomFileSystemEngineHandler {
public:
    // Scope guard over the calling thread's write mode: sets it, and restores the saved value
    // when it goes. Other threads keep their own mode.
    class Enabler {
    public:
        Enabler(const Enabler&) = delete;
        Enabler& operator=(const Enabler&) = delete;

    protected:
        explicit Enabler(bool writeMode);
        ~Enabler();

    private:
        bool m_saved;
    };

    static std::unique_ptr<ArchiveEngine> create(const QString& fileName);
    static bool WriteMode();
};

// Write mode on for its lifetime: package paths open as writers.
class ArchiveWriterEnabler : public CustomFileSystemEngineHandler::Enabler {
public:
    ArchiveWriterEnabler() : Enabler(true) {}
};

// Write mode off for its lifetime: package paths open as readers.
class ArchiveReaderEnabler : public CustomFileSystemEngineHandler::Enabler {
public:
    ArchiveReaderEnabler() : Enabler(false) {}
};
