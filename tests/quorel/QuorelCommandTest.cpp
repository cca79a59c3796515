#include "SplitPicture.h"
#include "content/library/QuorelContentLibrary.h"
#include "quorel/QuorelTemplateList.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Result = ProgramText;

Result Quorel(const QStringList& arguments) {
    return RunProgramText(AURELCTL, QStringList{"quorel"} + arguments);
}

}  // namespace

// The template verbs change templates.xml as the creator would, refuse what would lose a
// template, and leave a file that cannot be parsed alone.
TEST(QuorelCommandTest, TemplatesAreAddedListedShownAndRemoved) {
    const QString path = QuorelTemplateList::DefaultPath();
    QFile::remove(path);
    EXPECT_EQ(Quorel({"template", "add", "--family", "marqa"}).out,
              "added MARQA template \"New Template 1\"\n");
    EXPECT_EQ(Quorel({"template", "add", "Wall", "--family", "solvi"}).exitCode, 0);
    const struct {
        QStringList arguments;
        int exitCode;
        const char* error;
    } refusals[] = {
        {{"template", "add", "Wall", "--family", "solvi"}, 1, "exists already"},
        {{"template", "add", "--family", "solvi", "--copy", "New Template 1"},
         1,
         "is a MARQA template"},
        {{"template", "add", "--family", "spot"}, 2, "marqa or solvi"},
        {{"template", "show", "Nowhere"}, 1, "no template named \"Nowhere\""},
        {{"template"}, 2, "usage:"},
    };
    for (const auto& refusal : refusals) {
        const Result result = Quorel(refusal.arguments);
        EXPECT_EQ(result.exitCode, refusal.exitCode) << refusal.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(refusal.error)) << result.err.toStdString();
    }
    EXPECT_EQ(Quorel({"template", "add", "Wall 2", "--family", "solvi", "--copy", "Wall"}).exitCode,
              0);
    EXPECT_EQ(Quorel({"template", "rm", "New Template 1"}).exitCode, 0);

    const Result list = Quorel({"template", "ls"});
    EXPECT_TRUE(list.out.contains("Wall      Solvi   0         no")) << list.out.toStdString();
    EXPECT_FALSE(list.out.contains("New Template 1"));
    EXPECT_TRUE(Quorel({"template", "show", "Wall 2"}).out.contains("Family:    Solvi"));
    QuorelTemplateList stored;
    ASSERT_EQ(stored.Load(path), QuorelTemplateList::LoadResult::Read);
    ASSERT_EQ(stored.Count(), 2);
    EXPECT_EQ(stored.At(1)->name, "Wall 2");

    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<templates><template");
    broken.close();
    const Result refused = Quorel({"template", "rm", "Wall"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("mend or remove it first")) << refused.err.toStdString();
    ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
    EXPECT_EQ(broken.readAll(), "<templates><template");
}

// A render stores the template's images as a collage of the Quorel library, never over one of
// the same name; a template whose fixtures all miss the media still stores its (empty) collage.
TEST(QuorelCommandTest, RenderStoresACollageAndNeverReplacesOne) {
    QTemporaryDir dir;
    const QString media = SaveSplitPicture(dir);
    ASSERT_FALSE(media.isEmpty());
    QFile file(QuorelTemplateList::DefaultPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<templates>
  <template name="Pair" fixtureType="1" scale="0 0 1 1">
    <fixture pos="0.25 0.5" scale="0.4 0.6" num="3" type="1"/>
    <fixture pos="0.75 0.5" scale="0.4 0.6" num="4" type="1"/>
  </template>
  <template name="Away" fixtureType="0" scale="0 0 1 1">
    <fixture pos="5 5" scale="0.1 0.1" num="1" type="0"/>
  </template>
</templates>)");
    file.close();

    const Result first = Quorel({"render", "Pair", media, "Split", "--contrast", "140"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.startsWith("Solvi collage \"Split\": 2 image(s)"))
        << first.out.toStdString();
    const Result again = Quorel({"render", "Pair", media, "Split"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "aurelctl: There is already a collage with that name.\n");
    const Result away = Quorel({"render", "Away", media, "Nothing"});
    EXPECT_EQ(away.exitCode, 0) << away.err.toStdString();
    EXPECT_TRUE(away.out.contains("warning: Quorel address 1 has no media under it"));
    EXPECT_EQ(Quorel({"render", "Pair", dir.filePath("none.png"), "X"}).exitCode, 1);

    QuorelContentLibraryRoot library;
    ASSERT_EQ(library.ChildCount(), 2);
    const auto* split = qobject_cast<const ContentFolder*>(
        library.Child(0)->Name() == "Split" ? library.Child(0) : library.Child(1));
    ASSERT_TRUE(split);
    const auto* folder = qobject_cast<const ContentFolder*>(split->Child(0));
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Address(), 251);
    ASSERT_EQ(folder->ChildCount(), 2);
    EXPECT_EQ(folder->Child(0)->Tag(), 3);
    EXPECT_EQ(folder->Child(1)->Tag(), 4);
}

// A collage exported to a collage package and imported under another name keeps every image's
// Quorel number; `quorel ls` lists the collages with the addresses they serve.
TEST(QuorelCommandTest, CollagesTravelAsPackagesWithTheirQuorelNumbers) {
    QTemporaryDir dir;
    const QString media = SaveSplitPicture(dir);
    QFile file(QuorelTemplateList::DefaultPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<templates><template name="Trio" fixtureType="0" scale="0 0 1 1">
    <fixture pos="0.2 0.5" scale="0.3 0.3" num="9" type="0"/>
    <fixture pos="0.5 0.5" scale="0.3 0.3" num="2" type="0"/>
    <fixture pos="0.8 0.5" scale="0.3 0.3" num="5" type="0"/>
  </template></templates>)");
    file.close();
    ASSERT_EQ(Quorel({"render", "Trio", media, "Row"}).exitCode, 0);

    const QString package = dir.filePath("Row Again.marqacollage");
    const auto content = [](const QStringList& arguments) {
        return RunProgramText(AURELCTL, QStringList{"content"} + arguments);
    };
    const Result exported = content({"cp", "quorel:Row", "pkg:" + package});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString() << exported.out.toStdString();
    const Result imported = content({"import-collage", package});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString() << imported.out.toStdString();

    const Result list = Quorel({"ls"});
    EXPECT_EQ(list.exitCode, 0);
    QStringList rows = list.out.split('\n');
    for (QString& row : rows) {
        row = row.simplified();
    }
    EXPECT_TRUE(rows.contains("Row Again MARQA Row 251 2, 5, 9")) << list.out.toStdString();
    EXPECT_TRUE(rows.contains("Row MARQA Row 251 2, 5, 9")) << list.out.toStdString();
}
