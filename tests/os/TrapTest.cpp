#include "os/Thread.h"
#include "os/Trap.h"

#include <gtest/gtest.h>

namespace {

int Probe(int start, int size, int bufferSize) {
    OS_TRAP_IF(start + size >= bufferSize);
    return start + size;
}

}  // namespace

TEST(TrapDeathTest, ReportsConditionFileBuildDateAndStackThenAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(Probe(1, 2, 10), 3);
    EXPECT_DEATH(
        {
            Os::Thread::SetCurrentName("CommThread");
            Probe(8, 2, 10);
        },
        "Stack trace for os_tests process, [0-9]+, thread CommThread:\n"
        "Trap: 'start \\+ size >= bufferSize' is TRUE\n"
        "File: .*TrapTest\\.cpp \\(built [A-Z][a-z][a-z] [ 0-9]+ [0-9]+ [0-9:]+\\)\n"
        "\\[0x[0-9a-f]+\\] .*");
}
