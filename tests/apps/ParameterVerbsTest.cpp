#include "support/ProgramRun.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

ProgramResult OnStage(const QStringList& arguments) {
    return RunProgram(
        AURELCTL,
        arguments + QStringList{"--rig", QDir(RIGS_DIR).filePath("stage.json"), "--quiet"}, 240000);
}

}  // namespace

TEST(ParameterVerbsTest, SetReadsBackAndRawGetDecodes) {
    const ProgramResult set = OnStage({"set", "0x4a4100000102", "label", "Wash SR"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, "0x4a4100000102 label Wash SR\n");
    const ProgramResult level = OnStage({"set", "0x4a4100000102", "display-level", "40%"});
    EXPECT_EQ(level.out, "0x4a4100000102 display-level 40%\n") << level.err.toStdString();
    const ProgramResult get = OnStage({"get", "0x4a4100000102", "label"});
    EXPECT_EQ(get.out, "Wash 2\n");  // each in-process run starts from the rig file
    const ProgramResult raw = OnStage({"rdm", "get", "0x4a4100000102", "0x0060"});
    ASSERT_EQ(raw.exitCode, 0) << raw.err.toStdString();
    EXPECT_TRUE(raw.out.contains("  dmx-start-address  15\n")) << raw.out.toStdString();
    EXPECT_TRUE(raw.out.contains("  personality  1 of 1\n")) << raw.out.toStdString();
}

TEST(ParameterVerbsTest, UsageErrorsExitWithTwoAndTheReason) {
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"set", "0x4a4100000102", "colour", "red"}, "not a parameter that can be set: colour"},
        {{"set", "0x4a4100000102", "display-level", "150"}, "display-level takes a per cent"},
        {{"set", "0x4a4100000102", "pan-invert", "maybe"}, "pan-invert takes off or on"},
        {{"set", "0x4a4100000102", "personality", "2"}, "a personality from 1 to 1, not \"2\""},
        {{"set", "0x4a4100000102", "label"}, "usage: aurelctl set UID PARAM VALUE"},
        {{"get", "0x4a4100000102", "nonsense"}, "unknown parameter: nonsense"},
        {{"get", "0x4a4100000102", "reset"}, "reset can be set, not read"},
        {{"rdm", "fetch", "0x4a4100000102", "0x60"}, "usage: aurelctl rdm get|set UID PID"},
        {{"rdm", "get", "0x4a4100000102", "0x1FFFF"}, "not a parameter id"},
        {{"rdm", "set", "0x4a4100000102", "0x0082", "abc"}, "not parameter data"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ProgramResult result = OnStage(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(reason))
            << arguments.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
}
