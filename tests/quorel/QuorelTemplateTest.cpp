#include "quorel/QuorelTemplateList.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QuorelTemplateList::Templates Parsed(const char* xml) {
    QuorelTemplateList::Templates templates;
    EXPECT_TRUE(QuorelTemplateList::Parse(xml, &templates)) << xml;
    return templates;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

// Missing and empty attributes take the stored defaults, addresses below 1 are raised once,
// numbers that stop reading keep what they had, and fixtures outside a template are dropped.
TEST(QuorelTemplateTest, StoredTemplatesReadWithTheirDefaults) {
    const auto templates = Parsed(R"(<?xml version="1.0"?>
<templates>
  <fixture pos="9 9" scale="1 1" num="7" type="1"/>
  <template/>
  <template name="Wall" zoom="" sample="64" locked="2" fixtureType="1" scale="0.1 0.2">
    <fixture pos="0.5 0.25" scale="0.125 0.125" num="0" type="1"/>
    <fixture pos="0.75" num="-3"/>
    <stray num="5"/>
    <fixture pos="x" scale="0.1 0.1" num="12abc" type="0"/>
  </template>
</templates>)");
    ASSERT_EQ(templates.size(), 2u);

    const QuorelTemplate& bare = *templates[0];
    EXPECT_EQ(bare.name, "");
    EXPECT_EQ(bare.zoom, 32);
    EXPECT_EQ(bare.sample, 50);
    EXPECT_FALSE(bare.locked);
    EXPECT_EQ(bare.fixtureType, 0);
    EXPECT_EQ(bare.frame, (QuorelTemplate::Frame{0.5, 0.5, 0.25, 0.25}));
    EXPECT_TRUE(bare.Fixtures().empty());

    const QuorelTemplate& wall = *templates[1];
    EXPECT_EQ(wall.name, "Wall");
    EXPECT_EQ(wall.zoom, 32);
    EXPECT_EQ(wall.sample, 64);
    EXPECT_TRUE(wall.locked);
    EXPECT_EQ(wall.fixtureType, 1);
    EXPECT_EQ(wall.frame, (QuorelTemplate::Frame{0.1, 0.2, 0.25, 0.25}));
    ASSERT_EQ(wall.Fixtures().size(), 3u);
    const QuorelTypes::Fixture& first = *wall.Fixtures()[0];
    EXPECT_EQ(first.pos, QPointF(0.5, 0.25));
    EXPECT_EQ(first.scale, QSizeF(0.125, 0.125));
    EXPECT_EQ(first.num, 1);
    EXPECT_EQ(first.type, 1);
    EXPECT_FALSE(first.selected);
    const QuorelTypes::Fixture& second = *wall.Fixtures()[1];
    EXPECT_EQ(second.pos, QPointF(0.75, 0));
    EXPECT_EQ(second.scale, QSizeF(0, 0));
    EXPECT_EQ(second.num, -2);
    EXPECT_EQ(second.type, 0);
    EXPECT_EQ(wall.Fixtures()[2]->pos, QPointF(0, 0));
    EXPECT_EQ(wall.Fixtures()[2]->num, 12);
}

// What is written reads back the same, in order, to the six decimals of the file, with the
// attributes in their fixed order and formats.
TEST(QuorelTemplateTest, WrittenTemplatesReadBackTheSame) {
    QuorelTemplateList list;
    QuorelTemplate* marqa = list.AddNew(QuorelTypes::kMarqa);
    marqa->frame = {0.1234567, 0.25, 0.5, 0.75};
    marqa->zoom = 40;
    marqa->locked = true;
    marqa->AddFixture({{0.3333333, 0.6666667}, {0.1, 0.2}, 5, QuorelTypes::kMarqa});
    marqa->AddFixture({{0.9, 0.1}, {0.05, 0.05}, 2, QuorelTypes::kMarqa});
    QuorelTemplate* solvi = list.AddNew(QuorelTypes::kSolvi);
    solvi->name = "Stage <left> & \"right\"";
    solvi->sample = 20;
    solvi->AddFixture({{0.5, 0.5}, {0.25, 0.25}, 512, QuorelTypes::kSolvi});

    const QByteArray xml = QuorelTemplateList::Write(list.All());
    EXPECT_TRUE(xml.contains(R"(<template name="New Template 1" zoom="40" sample="50" )"
                             R"(locked="1" fixtureType="0" scale="0.123457 0.250000 0.500000 )"
                             R"(0.750000">)"))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(R"(<fixture pos="0.333333 0.666667" scale="0.100000 0.200000" )"
                             R"(num="5" type="0"/>)"))
        << xml.toStdString();

    const auto again = Parsed(xml);
    ASSERT_EQ(again.size(), 2u);
    for (size_t t = 0; t < again.size(); ++t) {
        const QuorelTemplate& want = *list.At(int(t));
        const QuorelTemplate& got = *again[t];
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.zoom, want.zoom);
        EXPECT_EQ(got.sample, want.sample);
        EXPECT_EQ(got.locked, want.locked);
        EXPECT_EQ(got.fixtureType, want.fixtureType);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(got.frame[i], want.frame[i], 5e-7);
        }
        ASSERT_EQ(got.Fixtures().size(), want.Fixtures().size());
        for (size_t f = 0; f < got.Fixtures().size(); ++f) {
            const QuorelTypes::Fixture& a = *got.Fixtures()[f];
            const QuorelTypes::Fixture& b = *want.Fixtures()[f];
            EXPECT_EQ(a.num, b.num);
            EXPECT_EQ(a.type, b.type);
            EXPECT_NEAR(a.pos.x(), b.pos.x(), 5e-7);
            EXPECT_NEAR(a.pos.y(), b.pos.y(), 5e-7);
            EXPECT_NEAR(a.scale.width(), b.scale.width(), 5e-7);
            EXPECT_NEAR(a.scale.height(), b.scale.height(), 5e-7);
        }
    }
}

// New templates take the lowest free number; a copy takes the layout but stays a new template.
TEST(QuorelTemplateTest, NewTemplatesTakeTheLowestFreeNumberAndCopyOnlyTheLayout) {
    QuorelTemplateList list;
    for (int i = 0; i < 3; ++i) {
        list.AddNew(QuorelTypes::kMarqa);
    }
    EXPECT_EQ(list.At(2)->name, "New Template 3");
    list.Rename(1, "Truss");
    QuorelTemplate* source = list.At(1);
    source->zoom = 12;
    source->sample = 70;
    source->locked = true;
    source->frame = {0, 0, 1, 1};
    source->AddFixture({{0.2, 0.3}, {0.1, 0.1}, 4, QuorelTypes::kMarqa});

    QuorelTemplate* copy = list.AddNew(QuorelTypes::kMarqa, source);
    EXPECT_EQ(copy->name, "New Template 2");
    EXPECT_EQ(copy->zoom, 12);
    EXPECT_EQ(copy->sample, 70);
    EXPECT_FALSE(copy->locked);
    EXPECT_EQ(copy->frame, QuorelTemplate::kNewFrame);
    ASSERT_EQ(copy->Fixtures().size(), 1u);
    EXPECT_NE(copy->Fixtures()[0].get(), source->Fixtures()[0].get());
    EXPECT_EQ(copy->Fixtures()[0]->num, 4);
    EXPECT_EQ(copy->NextFreeNum(), 1);
    copy->AddFixture({{}, {}, 1, QuorelTypes::kMarqa});
    EXPECT_EQ(copy->NextFreeNum(), 2);
}

// A file that cannot be parsed gives no templates and stays on disk until the user changes
// something; a missing file is simply no templates.
TEST(QuorelTemplateTest, AMalformedFileIsKeptUntilTheListChanges) {
    QTemporaryDir dir;
    const QString path = dir.filePath("templates.xml");
    QuorelTemplateList list;
    EXPECT_EQ(list.Load(path), QuorelTemplateList::LoadResult::Missing);
    EXPECT_EQ(list.Count(), 0);

    const QByteArray broken = R"(<templates><template name="Wall"><fixture num="3"></templates>)";
    ASSERT_TRUE(WriteAll(path, broken));
    EXPECT_EQ(list.Load(path), QuorelTemplateList::LoadResult::Malformed);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Save(path));
    EXPECT_EQ(ReadAll(path), broken);

    list.AddNew(QuorelTypes::kSolvi);
    EXPECT_TRUE(list.Save(path));
    QuorelTemplateList again;
    EXPECT_EQ(again.Load(path), QuorelTemplateList::LoadResult::Read);
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(again.At(0)->fixtureType, QuorelTypes::kSolvi);

    EXPECT_FALSE(list.Save(dir.filePath("no/such/folder/templates.xml")));
}
