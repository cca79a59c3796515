#include "os/Log.h"
#include "os/SysLogWriter.h"
#include "os/Thread.h"
#include "support/LogCapture.h"
#include "zub/Exception.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

Os::Log::Category& TestRoot() {
    static Os::Log::Category category("TestRoot");
    return category;
}

Os::Log::Category& TestChild() {
    static Os::Log::Category category("Child", &TestRoot());
    return category;
}

class ThrowingWriter : public Os::Log::Writer {
public:
    explicit ThrowingWriter(bool zubFamily) : m_zub(zubFamily) {}
    QString Name() const override { return QStringLiteral("Thrower"); }
    bool Filter(const Os::Log::Record& record) const override {
        return record.category == &TestRoot();
    }
    void Write(const Os::Log::Context&) override {
        if (m_zub) {
            throw zub::Exception("disk gone");
        }
        throw std::runtime_error("bad write");
    }

private:
    bool m_zub;
};

struct Widget {
    void Probe() { OS_LOG_INFO(TestRoot(), "probe"); }
};

}  // namespace

TEST(SysLogWriterTest, FormatsTheLineCharacterForCharacter) {
    Os::Log::Context context;
    context.processName = "aurel";
    context.threadName = "CommThread";
    context.file = "umwidgetmanager.cpp";
    context.line = 417;
    struct Case {
        qint64 elapsedMicros;
        QString text;
        QByteArray line;
    };
    const Case cases[] = {
        {0, "Initializing Widget Manager",
         "[0:00:00.000 aurel CommThread umwidgetmanager.cpp:417] Initializing Widget Manager\n"},
        {3723004999, "Enter widget map size: 1\n",
         "[1:02:03.004 aurel CommThread umwidgetmanager.cpp:417] Enter widget map size: 1\n"},
        {100LL * 3600 * 1000000 + 59999000, "x",
         "[100:00:59.999 aurel CommThread umwidgetmanager.cpp:417] x\n"},
    };
    for (const Case& c : cases) {
        context.text = c.text;
        EXPECT_EQ(Os::SysLogWriter::FormatLine(context, c.elapsedMicros), c.line);
    }
    context.text = QString(3000, 'a');
    const QByteArray longLine = Os::SysLogWriter::FormatLine(context, 0);
    EXPECT_EQ(longLine.size(), 2047);
    EXPECT_TRUE(longLine.endsWith("a\n"));
}

TEST(LogTest, RecordCarriesQualifiedFunctionFileThreadAndCutText) {
    LogCapture capture;
    std::thread worker([] {
        Os::Thread::SetCurrentName("CommThread");
        Widget().Probe();
        OS_LOG_INFO(TestRoot(), QString(2000, 'x'));
    });
    worker.join();
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].function, "{anonymous}::Widget::Probe");
    EXPECT_EQ(lines[0].file, "LogTest.cpp");
    EXPECT_EQ(lines[0].text, "probe");
    EXPECT_EQ(lines[1].text.size(), Os::Log::kTextCapacity - 1);
}

TEST(LogTest, QualifiedFunctionNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"void Hardware::WidgetManager::Init()", "Hardware::WidgetManager::Init"},
        {"static void Hardware::DmxWidget::DmxReader(Listener*, const quint8*, int)",
         "Hardware::DmxWidget::DmxReader"},
        {"QList<Hardware::WidgetMapData> Hardware::WidgetManager::ListDevices(const QUuid&)",
         "Hardware::WidgetManager::ListDevices"},
        {"Hardware::DmxWidget::DmxWidget(const WidgetMapData&)", "Hardware::DmxWidget::DmxWidget"},
        {"int main(int, char**)", "main"},
    };
    for (const auto& [pretty, qualified] : cases) {
        EXPECT_EQ(Os::Log::QualifiedFunctionName(pretty), qualified) << pretty;
    }
}

TEST(LogTest, DisabledCategoryFormatsNothingAndChildrenFollowTheirParent) {
    LogCapture capture;
    int formatted = 0;
    auto text = [&formatted] {
        ++formatted;
        return QString("text");
    };
    TestRoot().SetLevel(Os::Log::Level::Warning);
    OS_LOG_INFO(TestChild(), text());
    OS_LOG_WARNING(TestChild(), text());
    EXPECT_EQ(formatted, 1);

    TestChild().SetLevel(Os::Log::Level::Debug);
    OS_LOG_DEBUG(TestChild(), text());
    OS_LOG_DEBUG(TestRoot(), text());
    EXPECT_EQ(formatted, 2);

    TestChild().ClearLevel();
    TestRoot().SetLevel(Os::Log::Level::Off);
    OS_LOG_ERROR(TestChild(), text());
    EXPECT_EQ(formatted, 2);
    TestRoot().ClearLevel();
    EXPECT_EQ(capture.Texts().size(), 2);
}

TEST(LogTest, WriterExceptionsAreReportedAndLaterWritersStillRun) {
    const std::pair<bool, QString> cases[] = {
        {true, "caught zub exception disk gone from writer Thrower"},
        {false, "caught std exception bad write"},
    };
    for (const auto& [zubFamily, report] : cases) {
        zub::counted_ref<Os::Log::Writer> thrower(new ThrowingWriter(zubFamily));
        Os::Log::Manager::Instance().AddWriter(thrower);
        LogCapture capture;  // registered after the thrower
        OS_LOG_INFO(TestRoot(), "payload");
        Os::Log::Manager::Instance().RemoveWriter(thrower.get());

        const auto lines = capture.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].text, report);
        EXPECT_EQ(lines[0].function, "Os::Log::Manager::Log");
        EXPECT_EQ(lines[1].text, "payload");
    }
}
