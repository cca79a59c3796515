#include "QuorelCommand.h"

#include "CommandLine.h"
#include "ImportCommand.h"

#include "comm/FeedbackCollector.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "content/library/QuorelContentLibrary.h"
#include "quorel/QuorelCollage.h"
#include "quorel/QuorelRenderer.h"
#include "quorel/QuorelTemplateList.h"

#include <QCommandLineParser>

#include <cstdio>
#include <functional>

namespace QuorelCommand {

namespace {

using CommandLine::Fail;

constexpr int kUsageStatus = 2;
// A long clip says how far its render has come every this many frames, on standard error.
constexpr int kProgressFrames = 50;

const char kUsage[] =
    "usage: aurelctl quorel template ls | show NAME | add [NAME] --family marqa|solvi "
    "[--copy FROM] | rm NAME\n"
    "       aurelctl quorel render TEMPLATE MEDIA NAME [settings]\n"
    "       aurelctl quorel ls";

QString FamilyName(int fixtureType) {
    return fixtureType == QuorelTypes::kMarqa ? QStringLiteral("MARQA") : QStringLiteral("Solvi");
}

QString Real(double value) {
    return QString::asprintf("%.3f", value);
}

// The list and where it lives; the verbs that change it refuse a file that cannot be parsed,
// which the user may still mend.
struct Templates {
    QString path = QuorelTemplateList::DefaultPath();
    QuorelTemplateList list;
    QuorelTemplateList::LoadResult loaded = list.Load(path);

    // The index of the one template named `name`, or -1 after saying why.
    int Find(const QString& name) const {
        int found = -1;
        for (int i = 0; i < list.Count(); ++i) {
            if (list.At(i)->name != name) {
                continue;
            }
            if (found >= 0) {
                Fail(QStringLiteral("several templates are named \"%1\"").arg(name), 1);
                return -1;
            }
            found = i;
        }
        if (found < 0) {
            Fail(QStringLiteral("no template named \"%1\" in %2").arg(name, path), 1);
        }
        return found;
    }
    bool Changeable() const {
        if (loaded == QuorelTemplateList::LoadResult::Malformed) {
            Fail(QStringLiteral("%1 cannot be parsed; mend or remove it first").arg(path), 1);
            return false;
        }
        return true;
    }
    int Save() const {
        return list.Save(path) ? 0 : Fail(QStringLiteral("cannot write %1").arg(path), 1);
    }
};

int List(const Templates& templates) {
    if (templates.loaded == QuorelTemplateList::LoadResult::Malformed) {
        return Fail(QStringLiteral("%1 cannot be parsed").arg(templates.path), 1);
    }
    CommandLine::Print(templates.path + "\n");
    if (templates.list.Count() == 0) {
        CommandLine::Print("(no templates)\n");
        return 0;
    }
    QList<QStringList> rows;
    for (const auto& quorel : templates.list.All()) {
        rows.append({quorel->name, FamilyName(quorel->fixtureType),
                     QString::number(quorel->Fixtures().size()),
                     quorel->locked ? QStringLiteral("yes") : QStringLiteral("no")});
    }
    CommandLine::Print(CommandLine::Table({"Template", "Family", "Fixtures", "Locked"}, rows));
    return 0;
}

int Show(const Templates& templates, const QString& name) {
    const int index = templates.Find(name);
    if (index < 0) {
        return 1;
    }
    const QuorelTemplate& quorel = *templates.list.At(index);
    const QuorelTemplate::Frame& frame = quorel.frame;
    CommandLine::Print(QStringLiteral("Template:  %1\n"
                                      "Family:    %2\n"
                                      "Locked:    %3\n"
                                      "Zoom:      %4\n"
                                      "Sample:    %5\n"
                                      "Frame:     %6 %7 %8 %9\n")
                           .arg(quorel.name, FamilyName(quorel.fixtureType),
                                quorel.locked ? QStringLiteral("yes") : QStringLiteral("no"))
                           .arg(quorel.zoom)
                           .arg(quorel.sample)
                           .arg(Real(frame[0]), Real(frame[1]), Real(frame[2]), Real(frame[3])));
    if (quorel.Fixtures().empty()) {
        CommandLine::Print("(no fixtures)\n");
        return 0;
    }
    QList<QStringList> rows;
    for (const auto& fixture : quorel.Fixtures()) {
        rows.append({QString::number(fixture->num), FamilyName(fixture->type),
                     Real(fixture->pos.x()), Real(fixture->pos.y()), Real(fixture->scale.width()),
                     Real(fixture->scale.height())});
    }
    CommandLine::Print(
        CommandLine::Table({"Quorel address", "Family", "X", "Y", "Width", "Height"}, rows));
    return 0;
}

int Add(Templates& templates, const QString& name, const QString& family, const QString& copy) {
    static const QMap<QString, int> kFamilies{{"marqa", QuorelTypes::kMarqa},
                                              {"solvi", QuorelTypes::kSolvi}};
    if (!kFamilies.contains(family.toLower())) {
        return Fail(QStringLiteral("--family must be marqa or solvi"), kUsageStatus);
    }
    if (!templates.Changeable()) {
        return 1;
    }
    const int fixtureType = kFamilies.value(family.toLower());
    const QuorelTemplate* source = nullptr;
    if (!copy.isEmpty()) {
        const int index = templates.Find(copy);
        if (index < 0) {
            return 1;
        }
        source = templates.list.At(index);
        if (source->fixtureType != fixtureType) {
            return Fail(QStringLiteral("\"%1\" is a %2 template")
                            .arg(copy, FamilyName(source->fixtureType)),
                        1);
        }
    }
    for (const auto& quorel : templates.list.All()) {
        if (!name.isEmpty() && quorel->name == name) {
            return Fail(QStringLiteral("a template named \"%1\" exists already").arg(name), 1);
        }
    }
    QuorelTemplate* added = templates.list.AddNew(fixtureType, source);
    if (!name.isEmpty()) {
        templates.list.Rename(templates.list.Count() - 1, name);
    }
    if (const int status = templates.Save()) {
        return status;
    }
    CommandLine::Print(QStringLiteral("added %1 template \"%2\"\n")
                           .arg(FamilyName(added->fixtureType), added->name));
    return 0;
}

int Remove(Templates& templates, const QString& name) {
    if (!templates.Changeable()) {
        return 1;
    }
    const int index = templates.Find(name);
    if (index < 0) {
        return 1;
    }
    templates.list.Remove(index);
    if (const int status = templates.Save()) {
        return status;
    }
    CommandLine::Print(QStringLiteral("removed template \"%1\"\n").arg(name));
    return 0;
}

// The import settings the options gave, as the creator's controls.
QuorelSettings ControlsOf(const ImportSettings& given) {
    QuorelSettings controls;
    controls.sampleSize = given.sampleSize;
    controls.contrast = given.contrast;
    controls.brightness = given.brightness;
    controls.luminanceWeight = given.luminanceWeight;
    controls.distanceWeight = given.distanceWeight;
    controls.cutoff = given.cutoff;
    controls.cutoffMode = given.cutoffMode;
    controls.invert = given.invert;
    controls.colour = given.colour;
    return controls;
}

// The collages of the Quorel library: each one's family and, folder by folder, the Quorel
// addresses of the fixtures it has images for.
int ListCollages() {
    QuorelContentLibraryRoot library;
    CommandLine::Print(library.DirPath() + "\n");
    const ContentModelLock lock;
    QList<QStringList> rows;
    for (int c = 0; c < library.ChildCount(); ++c) {
        const auto* collage = qobject_cast<const ContentPolicyFolder*>(library.Child(c));
        if (!collage) {
            continue;
        }
        const QString family = collage->Policy() == &NamedPolicies::MarqaQuorelContentPackage()
                                   ? FamilyName(QuorelTypes::kMarqa)
                                   : FamilyName(QuorelTypes::kSolvi);
        for (int f = 0; f < collage->ChildCount(); ++f) {
            const auto* folder = qobject_cast<const ContentFolder*>(collage->Child(f));
            if (!folder) {
                continue;
            }
            QStringList addresses;
            for (int i = 0; i < folder->ChildCount(); ++i) {
                addresses.append(QString::number(folder->Child(i)->Tag()));
            }
            rows.append({collage->Name(), family, folder->Name(),
                         QString::number(folder->Address()), addresses.join(", ")});
        }
    }
    if (rows.isEmpty()) {
        CommandLine::Print("(no collages)\n");
        return 0;
    }
    CommandLine::Print(
        CommandLine::Table({"Collage", "Family", "Folder", "Number", "Quorel addresses"}, rows));
    return 0;
}

// Renders the template's fixtures from the media and stores them as collage `name` in the
// Quorel library of the template's family; an existing collage is never replaced.
int Render(const Templates& templates, const QStringList& words, const ImportSettings& given) {
    const int index = templates.Find(words[0]);
    if (index < 0) {
        return 1;
    }
    const QuorelTemplate& quorel = *templates.list.At(index);
    std::vector<QuorelRenderer::Rendered> rendered;
    QString error;
    QStringList warnings;
    const auto progress = [](int frames) {
        if (frames % kProgressFrames == 0) {
            std::fprintf(stderr, "rendered %d frames\n", frames);
        }
        return true;
    };
    if (!QuorelRenderer::Render(quorel, words[1], ControlsOf(given), &rendered, &error, &warnings,
                                progress)) {
        return Fail(error, 1);
    }
    for (const QString& warning : warnings) {
        CommandLine::Print("warning: " + warning + "\n");
    }
    QuorelCollage collage(quorel.fixtureType, std::move(rendered));
    QuorelContentLibraryRoot library;
    if (collage.StoreAs(library, words[2], &error) != QuorelCollage::Stored::Yes) {
        return Fail(error, 1);
    }
    CommandLine::Print(QStringLiteral("%1 collage \"%2\": %3 image(s) in %4\n")
                           .arg(FamilyName(quorel.fixtureType), words[2])
                           .arg(collage.ImageCount())
                           .arg(library.DirPath()));
    return 0;
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "List, show, add and remove the Quorel templates (templates.xml in the content\n"
        "library, the \"Aurel Content Library\" folder of the documents folder).");
    parser.addHelpOption();
    parser.addPositionalArgument("quorel", "The command.");
    parser.addPositionalArgument("template", "template ls | show NAME | add [NAME] | rm NAME");
    const QCommandLineOption familyOption("family", "The new template's family.", "marqa|solvi");
    const QCommandLineOption copyOption("copy", "Copy the fixtures and settings of a template.",
                                        "FROM");
    parser.addOption(familyOption);
    parser.addOption(copyOption);
    ImportCommand::AddSettingsOptions(parser);
    CommandLine::Process(parser, arguments);

    QStringList positional = parser.positionalArguments();
    positional.removeFirst();  // "quorel"
    if (positional.size() == 4 && positional[0] == "render") {
        ImportSettings given;
        QString error;
        if (!ImportCommand::ReadSettings(parser, &given, &error)) {
            return Fail(error, kUsageStatus);
        }
        return Render(Templates(), positional.mid(1), given);
    }
    if (positional == QStringList{"ls"}) {
        return ListCollages();
    }
    if (positional.size() < 2 || positional[0] != "template") {
        return Fail(kUsage, kUsageStatus);
    }
    const QString action = positional[1];
    const QString name = positional.value(2);
    const qsizetype count = positional.size();
    Templates templates;
    if (action == "ls" && count == 2) {
        return List(templates);
    }
    if (action == "show" && count == 3) {
        return Show(templates, name);
    }
    if (action == "add" && count <= 3 && parser.isSet(familyOption)) {
        return Add(templates, name, parser.value(familyOption), parser.value(copyOption));
    }
    if (action == "rm" && count == 3) {
        return Remove(templates, name);
    }
    return Fail(kUsage, kUsageStatus);
}

}  // namespace QuorelCommand
