#pragma once

#include "quorel/QuorelRenderer.h"

#include <QString>

#include <memory>
#include <vector>

class PolicyBase;
class QuorelContentLibraryRoot;

// A template's rendered images waiting for their name in the Quorel library of their family.
// A name that is taken leaves the images here, so another name can be tried without rendering
// again.
class QuorelCollage {
public:
    enum class Stored { Yes, NameTaken, Failed };

    QuorelCollage(int fixtureType, std::vector<QuorelRenderer::Rendered> rendered);

    int ImageCount() const { return m_images; }
    // The collage package policy of the family.
    const PolicyBase& Policy() const;

    // Stores the images as collage `name` of `library`; an existing collage is never replaced.
    // Failed, with `error` saying why, when the library refuses (a name that is not a safe
    // file name, a disk that refuses).
    Stored StoreAs(QuorelContentLibraryRoot& library, const QString& name, QString* error);

private:
    int m_fixtureType;
    int m_images;
    std::unique_ptr<ContentFolder> m_collage;
};
