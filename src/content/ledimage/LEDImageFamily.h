#pragma once

#include "content/Content.h"

#include <QString>

#include <memory>
#include <optional>

// The two LED image families, chosen by name or file suffix.
namespace LEDImageFamily {

enum class Family { Marqa, Solvi };

// The family whose files carry this suffix ("mqi", "slvi", in any case).
std::optional<Family> FamilyOfSuffix(const QString& suffix);
QString FamilyName(Family family);
// A new empty image of the family.
std::unique_ptr<Content> NewImage(Family family);
// A copy of an image of the family, or an image of the other family converted to it; null
// for anything that is not an LED image.
std::unique_ptr<Content> ConvertTo(Family family, const Content& content);
// The image file at `path`, of the family its suffix names; null, with `why` saying why, when
// it cannot be loaded.
std::unique_ptr<Content> LoadFile(const QString& path, QString* why = nullptr);
// Writes an image's frames as an endlessly looping GIF; false for anything that is not an
// LED image, or when the file cannot be written.
bool ExportGif(const Content& image, const QString& path);
// True for "gif": SaveAs writes that suffix as well as the families' own.
bool IsGifSuffix(const QString& suffix);
// Writes the image in the form the suffix of `path` names: an image file of that family
// (converted when need be) or, for .gif, the animation. Returns what went wrong, empty when
// the file is written.
QString SaveAs(const Content& image, const QString& path);

}  // namespace LEDImageFamily
