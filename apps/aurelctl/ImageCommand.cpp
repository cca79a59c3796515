#include "ImageCommand.h"

#include "CommandLine.h"
#include "ImportCommand.h"

#include "archive/ArchivePathRouter.h"
#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <bitset>
#include <functional>
#include <optional>

namespace ImageCommand {

namespace {

using CommandLine::Fail;

// What `image info` tells of an image.
struct Facts {
    QString family;
    int leds = 0;
    QString name;
    quint32 key = 0;
    QList<int> delays;
    int paletteUsed = 0;
};

template <class Image>
Facts FactsOf(const QString& family, const Image& image) {
    Facts facts{family, Image::kLedCount, image.Name(), image.ContentKey(), {}, 0};
    std::bitset<256> used;
    for (const typename Image::Frame& frame : image.Frames()) {
        for (const quint8 value : frame.leds) {
            used.set(value);
        }
        facts.delays.append(frame.delay);
    }
    facts.paletteUsed = int(used.count());
    return facts;
}

QString KeyText(quint32 key) {
    return QStringLiteral("%1").arg(key, 8, 16, QLatin1Char('0'));
}

QString Text(const QString& path, const Facts& facts) {
    QStringList delays;
    for (const int delay : facts.delays) {
        delays.append(QString::number(delay));
    }
    return QStringLiteral(
               "File:          %1\n"
               "Family:        %2 (%3 LEDs)\n"
               "Name:          %4\n"
               "Content key:   %5\n"
               "Frames:        %6\n"
               "Delays (ms):   %7\n"
               "Palette used:  %8 of 256 colours\n")
        .arg(path, facts.family, QString::number(facts.leds), facts.name, KeyText(facts.key),
             QString::number(facts.delays.size()),
             delays.isEmpty() ? QStringLiteral("-") : delays.join(' '),
             QString::number(facts.paletteUsed));
}

// {"file", "family", "leds", "name", "key", "frames", "delays", "paletteUsed"}
QString Json(const QString& path, const Facts& facts) {
    QJsonArray delays;
    for (const int delay : facts.delays) {
        delays.append(delay);
    }
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"file", path},
                                                       {"family", facts.family},
                                                       {"leds", facts.leds},
                                                       {"name", facts.name},
                                                       {"key", "0x" + KeyText(facts.key)},
                                                       {"frames", facts.delays.size()},
                                                       {"delays", delays},
                                                       {"paletteUsed", facts.paletteUsed}})
                                 .toJson());
}

// Calls `action` with the image as its family class.
template <class Result>
Result WithFamily(const Content& image, const std::function<Result(const MarqaImage&)>& marqa,
                  const std::function<Result(const SolviImage&)>& solvi) {
    if (const auto* m = qobject_cast<const MarqaImage*>(&image)) {
        return marqa(*m);
    }
    return solvi(*qobject_cast<const SolviImage*>(&image));
}

std::unique_ptr<Content> LoadImage(const QString& path, int* status) {
    QString why;
    std::unique_ptr<Content> image = LEDImageFamily::LoadFile(path, &why);
    if (!image) {
        // A file that is there but named as no LED image is a wrong invocation.
        const bool misnamed = ArchivePathRouter::Exists(path) &&
                              !LEDImageFamily::FamilyOfSuffix(QFileInfo(path).suffix());
        *status = misnamed ? Fail(path + ": " + why, 2)
                           : Fail("cannot read LED image " + path + ": " + why, 1);
    }
    return image;
}

// The values of the options, checked by the actions that use them.
struct Options {
    QString frame;
    QString size;
    bool json = false;
};

int Info(const QStringList& files, const Options& options) {
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (image) {
        CommandLine::Print(Describe(files[0], *image, options.json));
    }
    return status;
}

// Writes the image of files[0] to files[1], whose suffix `takes` must accept.
int Write(const QStringList& files, bool (*takes)(const QString& suffix), const char* suffixes) {
    if (!takes(QFileInfo(files[1]).suffix())) {
        return Fail(files[1] + ": the output suffix must be " + suffixes, 2);
    }
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (!image) {
        return status;
    }
    const QString problem = LEDImageFamily::SaveAs(*image, files[1]);
    return problem.isEmpty() ? 0 : Fail(problem, 1);
}

int Gif(const QStringList& files, const Options& /*options*/) {
    return Write(files, &LEDImageFamily::IsGifSuffix, ".gif");
}

int Convert(const QStringList& files, const Options& /*options*/) {
    return Write(
        files,
        [](const QString& suffix) { return LEDImageFamily::FamilyOfSuffix(suffix).has_value(); },
        ".mqi or .slvi");
}

int Render(const QStringList& files, const Options& options) {
    bool frameOk = false;
    bool sizeOk = false;
    const int frame = options.frame.toInt(&frameOk);
    const int size = options.size.toInt(&sizeOk);
    if (!frameOk || !sizeOk || size < 1 || size > LEDImageRender::kMaxSize) {
        return Fail(QStringLiteral("--frame takes a frame number, --size 1 to %1")
                        .arg(LEDImageRender::kMaxSize),
                    2);
    }
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (!image) {
        return status;
    }
    const int frames = WithFamily<int>(
        *image, [](const MarqaImage& m) { return m.FrameCount(); },
        [](const SolviImage& s) { return s.FrameCount(); });
    if (frame < 0 || frame >= frames) {
        return Fail(QStringLiteral("%1 has %2 frame(s); there is no frame %3")
                        .arg(files[0])
                        .arg(frames)
                        .arg(frame),
                    2);
    }
    const QImage picture = WithFamily<QImage>(
        *image, [&](const MarqaImage& m) { return m.RenderPreview(frame, size); },
        [&](const SolviImage& s) { return s.RenderPreview(frame, size); });
    return picture.save(files[1], "PNG") ? 0 : Fail("cannot write " + files[1], 1);
}

struct Action {
    const char* name;
    int fileCount;
    const char* files;
    int (*run)(const QStringList& files, const Options& options);
};

const Action kActions[] = {
    {"info", 1, "FILE [--json]", &Info},
    {"gif", 2, "FILE OUT.gif", &Gif},
    {"convert", 2, "IN OUT", &Convert},
    {"render", 2, "FILE OUT.png [--frame N] [--size N]", &Render},
};

}  // namespace

QString Describe(const QString& path, const Content& image, bool json) {
    const Facts facts = WithFamily<Facts>(
        image, [](const MarqaImage& m) { return FactsOf("Marqa", m); },
        [](const SolviImage& s) { return FactsOf("Solvi", s); });
    return json ? Json(path, facts) : Text(path, facts);
}

int Run(const QStringList& arguments) {
    // "import" has options of its own.
    const qsizetype at = arguments.indexOf(QStringLiteral("image"));
    if (at >= 0 && arguments.value(at + 1) == QLatin1String("import")) {
        return ImportCommand::Run(arguments);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Show, convert and render LED image files (.mqi, .slvi).\n\n"
        "  image info FILE [--json]   family, frames, delays, palette use, key and name\n"
        "  image gif FILE OUT.gif     the animation as an endlessly looping GIF\n"
        "  image convert IN OUT       to the family that OUT's suffix names\n"
        "  image render FILE OUT.png  one frame as a picture\n"
        "  image import IN OUT        a picture or clip sampled into an LED image\n"
        "                             (aurelctl image import --help for its settings)");
    parser.addHelpOption();
    parser.addPositionalArgument("image", "The command.");
    parser.addPositionalArgument("action", "info, gif, convert, render or import.");
    const QCommandLineOption frameOption("frame", "The frame to render (from 0).", "N", "0");
    const QCommandLineOption sizeOption("size", "The edge of the rendered picture in pixels.", "N",
                                        QString::number(LEDImageRender::kDefaultSize));
    const QCommandLineOption jsonOption("json", "image info: print the facts as JSON.");
    parser.addOptions({frameOption, sizeOption, jsonOption});
    CommandLine::Process(parser, arguments);

    QStringList positional = parser.positionalArguments();
    positional.removeFirst();  // "image"
    if (positional.isEmpty()) {
        return Fail("image: no action given (info, gif, convert, render or import)", 2);
    }
    const QString name = positional.takeFirst();
    for (const Action& action : kActions) {
        if (name != QLatin1String(action.name)) {
            continue;
        }
        if (positional.size() != action.fileCount) {
            return Fail(QStringLiteral("usage: aurelctl image %1 %2").arg(name, action.files), 2);
        }
        return action.run(positional, {parser.value(frameOption), parser.value(sizeOption),
                                       parser.isSet(jsonOption)});
    }
    return Fail("image: unknown action " + name + " (info, gif, convert, render or import)", 2);
}

}  // namespace ImageCommand
