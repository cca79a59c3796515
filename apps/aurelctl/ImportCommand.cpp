#include "ImportCommand.h"

#include "CommandLine.h"
#include "ContentLocation.h"
#include "DeviceSession.h"

#include "comm/FeedbackCollector.h"
#include "content/ContentFolder.h"
#include "content/import/SettingsImageImport.h"
#include "content/ledimage/LEDImageFamily.h"
#include "content/operations/ContentCopyOperation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace ImportCommand {

namespace {

using CommandLine::Fail;

constexpr const char* kUsage =
    "usage: aurelctl image import IN OUT.mqi|OUT.slvi [settings] [--name NAME]\n"
    "       aurelctl image import FOLDER --into LOCATION [settings]";

// The number settings: option, field, range.
struct NumberOption {
    const char* name;
    int ImportSettings::*field;
    int min;
    int max;
};

const NumberOption kNumbers[] = {
    {"sample", &ImportSettings::sampleSize, ImportSettings::kMinSampleSize, 4096},
    {"contrast", &ImportSettings::contrast, 0, ImportSettings::kMaxLevel},
    {"brightness", &ImportSettings::brightness, 0, ImportSettings::kMaxLevel},
    {"luminance-weight", &ImportSettings::luminanceWeight, 0, ImportSettings::kMaxLevel},
    {"distance-weight", &ImportSettings::distanceWeight, 0, ImportSettings::kMaxLevel},
    {"cutoff", &ImportSettings::cutoff, 0, ImportSettings::kMaxLevel},
};

// A choice option's words, in the order of the setting's values.
template <class Enum>
struct ChoiceOption {
    const char* name;
    Enum ImportSettings::*field;
    QStringList words;
};

const ChoiceOption<ImportSettings::Aspect> kAspect{
    "aspect", &ImportSettings::aspect, {"keep", "ignore"}};
const ChoiceOption<ImportSettings::CutoffMode> kCutoffMode{
    "cutoff-mode", &ImportSettings::cutoffMode, {"less", "greater"}};
const ChoiceOption<ImportSettings::ColourMode> kColour{
    "color", &ImportSettings::colour, {"normal", "greyscale", "monochrome"}};

template <class Enum>
bool ReadChoice(const QCommandLineParser& parser, const ChoiceOption<Enum>& option,
                ImportSettings* settings, QString* error) {
    if (!parser.isSet(option.name)) {
        return true;
    }
    const int index = option.words.indexOf(parser.value(option.name).toLower());
    if (index < 0) {
        *error = QStringLiteral("--%1 takes %2").arg(option.name, option.words.join(" or "));
        return false;
    }
    settings->*option.field = Enum(index);
    return true;
}

}  // namespace

bool ReadSettings(const QCommandLineParser& parser, ImportSettings* settings, QString* error) {
    for (const NumberOption& option : kNumbers) {
        if (!parser.isSet(option.name)) {
            continue;
        }
        bool ok = false;
        const int value = parser.value(option.name).toInt(&ok);
        if (!ok || value < option.min || value > option.max) {
            *error = QStringLiteral("--%1 takes a number from %2 to %3")
                         .arg(option.name)
                         .arg(option.min)
                         .arg(option.max);
            return false;
        }
        settings->*option.field = value;
    }
    settings->invert = parser.isSet("invert");
    return ReadChoice(parser, kAspect, settings, error) &&
           ReadChoice(parser, kCutoffMode, settings, error) &&
           ReadChoice(parser, kColour, settings, error);
}

void AddSettingsOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {"aspect", "keep (the disc stays round) or ignore (it spans the picture).", "MODE"},
        {"sample", "The edge of each LED's sample in pixels (10 and up).", "N"},
        {"contrast", "0 to 255, 128 unchanged.", "N"},
        {"brightness", "0 to 255, 128 unchanged.", "N"},
        {"luminance-weight", "0 to 255: how much more bright pixels count.", "N"},
        {"distance-weight", "0 to 255: how much more a sample's centre counts.", "N"},
        {"cutoff", "0 to 255: pixels on the cut side of this luminance do not count.", "N"},
        {"cutoff-mode", "less (darker pixels are cut) or greater (brighter ones).", "MODE"},
        {"invert", "Invert the colours."},
        {"color", "normal, greyscale or monochrome.", "MODE"},
    });
}

namespace {

int ImportOne(const QString& in, const QString& out, const QString& name,
              const ImportSettings& settings) {
    const std::optional<LEDImageFamily::Family> family =
        LEDImageFamily::FamilyOfSuffix(QFileInfo(out).suffix());
    if (!family) {
        return Fail(out + ": the output suffix must be .mqi or .slvi", 2);
    }
    const std::unique_ptr<Content> image = LEDImageFamily::NewImage(*family);
    QString error;
    if (!SettingsImageImport::ImportFile(*image, in, settings, &error)) {
        return Fail(error, 1);
    }
    image->SetName(name.isEmpty() ? QFileInfo(in).completeBaseName() : name);
    if (!image->Save(out)) {
        return Fail("cannot write " + out, 1);
    }
    CommandLine::Print(QStringLiteral("%1: imported into %2\n").arg(in, out));
    return 0;
}

// Every picture and clip of `folder`, in name order, into the library folder `into`.
int ImportFolder(const QCommandLineParser& parser, const QString& folder, const QString& into,
                 const ImportSettings& settings) {
    const QDir source(folder);
    if (!source.exists()) {
        return Fail(folder + " is not a folder", 2);
    }
    ContentLocation location;
    QString error;
    if (!ContentLocation::Parse(into, &location, &error)) {
        return Fail(error, 2);
    }
    if (location.IsFixture()) {
        return Fail(
            "--into takes a library folder (lib:PACKAGE/FOLDER); copy to fixtures with "
            "aurelctl content cp",
            2);
    }
    ContentPlaces places(parser);
    auto* target = qobject_cast<ContentFolder*>(places.Resolve(location, &error));
    if (!target) {
        return Fail(error.isEmpty() ? into + " is not a folder" : error, 1);
    }
    SettingsImageImport import(settings);
    IImageImport::Install(&import);
    const QFileInfoList files = source.entryInfoList(QDir::Files, QDir::Name);
    QStringList failed;
    int done = 0;
    for (const QFileInfo& file : files) {
        std::fprintf(stderr, "[%d/%d] %s\n", ++done, int(files.size()),
                     qPrintable(file.fileName()));
        const int address = ContentCopyOperation::AddressIn(target, 0);
        ContentList items = target->ImportFile(address, file.filePath());
        if (items.empty()) {
            const QString why = import.LastError().isEmpty()
                                    ? QStringLiteral("%1 does not take it").arg(target->Name())
                                    : import.LastError();
            failed.append(QStringLiteral("%1: %2").arg(file.fileName(), why));
            continue;
        }
        for (auto& item : items) {
            item->SetAddress(address);
        }
        FeedbackCollector feedback;
        if (!target->AddContent(std::move(items), &feedback)) {
            failed.append(QStringLiteral("%1: %2").arg(
                file.fileName(), feedback.Errors().value(0, "the folder refused it")));
        }
    }
    IImageImport::Install(nullptr);
    places.WritePackageFiles();
    CommandLine::Print(QStringLiteral("%1 of %2 file(s) imported into %3\n")
                           .arg(files.size() - failed.size())
                           .arg(files.size())
                           .arg(target->Name()));
    for (const QString& line : failed) {
        CommandLine::Print("  failed: " + line + "\n");
    }
    return failed.isEmpty() ? 0 : 1;
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sample pictures, animated pictures and clips into LED images.\n\n%1")
            .arg(QLatin1String(kUsage)));
    parser.addHelpOption();
    AddSettingsOptions(parser);
    parser.addOptions({
        {"name", "The image's name (default: the file's base name).", "NAME"},
        {"into", "Import every file of FOLDER into this library folder.", "LOCATION"},
    });
    DeviceSession::AddOptions(parser);
    CommandLine::Process(parser, arguments);
    const QStringList words = parser.positionalArguments().mid(2);  // "image import"
    ImportSettings settings;
    QString error;
    if (!ReadSettings(parser, &settings, &error)) {
        return Fail(error, 2);
    }
    if (parser.isSet("into")) {
        return words.size() == 1 ? ImportFolder(parser, words[0], parser.value("into"), settings)
                                 : Fail(kUsage, 2);
    }
    return words.size() == 2 ? ImportOne(words[0], words[1], parser.value("name"), settings)
                             : Fail(kUsage, 2);
}

}  // namespace ImportCommand
