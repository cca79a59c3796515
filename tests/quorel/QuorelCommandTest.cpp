#include "quorel/QuorelTemplateList.h"
#include "support/ProgramRun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result Quorel(const QStringList& arguments) {
    const ProgramResult run = RunProgram(AURELCTL, QStringList{"quorel"} + arguments);
    return {run.exitCode, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
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
