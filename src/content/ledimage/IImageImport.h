#pragma once

#include <QString>

class Content;

// Turns a picture, animated picture or video file into an LED image, letting the user tune
// how it is sampled. The user interface installs the implementation; without one, files
// that are not LED images cannot be imported.
class IImageImport {
public:
    virtual ~IImageImport() = default;

    // Fills `image`, a new empty MarqaImage or SolviImage, from `file`. False when the file
    // cannot be read or the user cancels. `address` is shown, not stored.
    virtual bool Import(Content& image, int address, const QString& file) = 0;

    // Several files are imported in a row (a drop of many files): an import may offer to take
    // one choice for all of them. EndBatch() ends the row.
    virtual void BeginBatch(int /*files*/) {}
    virtual void EndBatch() {}

    // The installed import (not owned), or null.
    static IImageImport* Installed();
    // Installs `import` (null removes it); the caller keeps it alive while installed.
    static void Install(IImageImport* import);
};
