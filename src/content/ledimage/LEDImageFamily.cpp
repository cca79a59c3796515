#include "content/ledimage/LEDImageFamily.h"

#include "archive/ArchivePathRouter.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QFileInfo>

namespace LEDImageFamily {

namespace {

struct FamilyRow {
    Family family;
    const char* name;
    const char* suffix;
    std::unique_ptr<Content> (*make)();
};

const FamilyRow kFamilies[] = {
    {Family::Marqa, "Marqa", "mqi", [] { return std::unique_ptr<Content>(new MarqaImage); }},
    {Family::Solvi, "Solvi", "slvi", [] { return std::unique_ptr<Content>(new SolviImage); }},
};

const FamilyRow& Row(Family family) {
    return kFamilies[family == Family::Marqa ? 0 : 1];
}

}  // namespace

std::optional<Family> FamilyOfSuffix(const QString& suffix) {
    for (const FamilyRow& row : kFamilies) {
        if (suffix.compare(QLatin1String(row.suffix), Qt::CaseInsensitive) == 0) {
            return row.family;
        }
    }
    return std::nullopt;
}

QString FamilyName(Family family) {
    return QString::fromLatin1(Row(family).name);
}

std::unique_ptr<Content> NewImage(Family family) {
    return Row(family).make();
}

std::unique_ptr<Content> ConvertTo(Family family, const Content& content) {
    const auto* marqa = qobject_cast<const MarqaImage*>(&content);
    const auto* solvi = qobject_cast<const SolviImage*>(&content);
    if (family == Family::Marqa) {
        return marqa   ? marqa->Clone()
               : solvi ? std::unique_ptr<Content>(MarqaImage::ConvertFrom(*solvi))
                       : nullptr;
    }
    return solvi   ? solvi->Clone()
           : marqa ? std::unique_ptr<Content>(SolviImage::ConvertFrom(*marqa))
                   : nullptr;
}

std::unique_ptr<Content> LoadFile(const QString& path, QString* why) {
    if (!ArchivePathRouter::Exists(path)) {
        if (why) {
            *why = QStringLiteral("no such file");
        }
        return nullptr;
    }
    const std::optional<Family> family = FamilyOfSuffix(QFileInfo(path).suffix());
    std::unique_ptr<Content> image = family ? NewImage(*family) : nullptr;
    if (image && image->Load(path)) {
        return image;
    }
    if (why) {
        *why = image ? image->LoadProblem()
                     : QStringLiteral("not an LED image file name (use .mqi or .slvi)");
    }
    return nullptr;
}

bool ExportGif(const Content& image, const QString& path) {
    if (const auto* marqa = qobject_cast<const MarqaImage*>(&image)) {
        return marqa->ExportGif(path);
    }
    const auto* solvi = qobject_cast<const SolviImage*>(&image);
    return solvi && solvi->ExportGif(path);
}

bool IsGifSuffix(const QString& suffix) {
    return suffix.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0;
}

QString SaveAs(const Content& image, const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const QString failed = "cannot write " + path;
    if (IsGifSuffix(suffix)) {
        return ExportGif(image, path) ? QString() : failed;
    }
    const std::optional<Family> family = FamilyOfSuffix(suffix);
    if (!family) {
        return failed + ": the suffix must be .mqi, .slvi or .gif";
    }
    const std::unique_ptr<Content> converted = ConvertTo(*family, image);
    if (!converted) {
        return failed + ": not an LED image";
    }
    if (const QString problem = converted->StoreProblem(); !problem.isEmpty()) {
        return failed + ": " + problem;
    }
    return converted->Save(path) ? QString() : failed;
}

}  // namespace LEDImageFamily
