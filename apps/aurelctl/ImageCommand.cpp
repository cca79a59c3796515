#include "ImageCommand.h"

#include "CommandLine.h"
#include "ImportCommand.h"

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <bitset>
#include <functional>
#include <optional>

namespace ImageCommand {

namespace {

using CommandLine::Fail;

template <class Image>
QString DescribeImage(const QString& path, const QString& family, const Image& image) {
    const std::vector<typename Image::Frame> frames = image.Frames();
    std::bitset<256> used;
    QStringList delays;
    for (const typename Image::Frame& frame : frames) {
        for (const quint8 value : frame.leds) {
            used.set(value);
        }
        delays.append(QString::number(frame.delay));
    }
    return QStringLiteral(
               "File:          %1\n"
               "Family:        %2 (%3 LEDs)\n"
               "Name:          %4\n"
               "Content key:   %5\n"
               "Frames:        %6\n"
               "Delays (ms):   %7\n"
               "Palette used:  %8 of 256 colours\n")
        .arg(path, family)
        .arg(Image::kLedCount)
        .arg(image.Name())
        .arg(image.ContentKey(), 8, 16, QLatin1Char('0'))
        .arg(frames.size())
        .arg(delays.isEmpty() ? QStringLiteral("-") : delays.join(' '))
        .arg(used.count());
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
    if (!LEDImageFamily::FamilyOfSuffix(QFileInfo(path).suffix())) {
        *status = Fail(path + ": not an LED image file name (use .mqi or .slvi)", 2);
        return nullptr;
    }
    QString why;
    std::unique_ptr<Content> image = LEDImageFamily::LoadFile(path, &why);
    if (!image) {
        *status = Fail("cannot read LED image " + path + ": " + why, 1);
    }
    return image;
}

// The values of the options, checked by the actions that use them.
struct Options {
    QString frame;
    QString size;
};

int Info(const QStringList& files, const Options& /*options*/) {
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (image) {
        CommandLine::Print(Describe(files[0], *image));
    }
    return status;
}

int Gif(const QStringList& files, const Options& /*options*/) {
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (!image) {
        return status;
    }
    const bool ok = WithFamily<bool>(
        *image, [&](const MarqaImage& m) { return m.ExportGif(files[1]); },
        [&](const SolviImage& s) { return s.ExportGif(files[1]); });
    return ok ? 0 : Fail("cannot write " + files[1], 1);
}

int Convert(const QStringList& files, const Options& /*options*/) {
    const std::optional<LEDImageFamily::Family> family =
        LEDImageFamily::FamilyOfSuffix(QFileInfo(files[1]).suffix());
    if (!family) {
        return Fail(files[1] + ": the output suffix must be .mqi or .slvi", 2);
    }
    int status = 0;
    const std::unique_ptr<Content> image = LoadImage(files[0], &status);
    if (!image) {
        return status;
    }
    const std::unique_ptr<Content> converted = LEDImageFamily::ConvertTo(*family, *image);
    if (const QString problem = converted->StoreProblem(); !problem.isEmpty()) {
        return Fail("cannot write " + files[1] + ": " + problem, 1);
    }
    return converted->Save(files[1]) ? 0 : Fail("cannot write " + files[1], 1);
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
    {"info", 1, "FILE", &Info},
    {"gif", 2, "FILE OUT.gif", &Gif},
    {"convert", 2, "IN OUT", &Convert},
    {"render", 2, "FILE OUT.png [--frame N] [--size N]", &Render},
};

}  // namespace

QString Describe(const QString& path, const Content& image) {
    return WithFamily<QString>(
        image, [&](const MarqaImage& m) { return DescribeImage(path, "Marqa", m); },
        [&](const SolviImage& s) { return DescribeImage(path, "Solvi", s); });
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
        "  image info FILE            family, frames, delays, palette use, key and name\n"
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
    parser.addOptions({frameOption, sizeOption});
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
        return action.run(positional, {parser.value(frameOption), parser.value(sizeOption)});
    }
    return Fail("image: unknown action " + name + " (info, gif, convert, render or import)", 2);
}

}  // namespace ImageCommand
