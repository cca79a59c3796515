#pragma once

namespace Os {

// Reports a broken invariant and ends the process: the condition as written, the source
// file with its build date, and a stack trace of the calling thread.
[[noreturn]] void Trap(const char* condition, const char* file, const char* buildDate);

// How many traps this process has raised (the last one never returns).
int TrapCount();

}  // namespace Os

#define OS_TRAP_IF(condition)                                        \
    do {                                                             \
        if (condition) {                                             \
            ::Os::Trap(#condition, __FILE__, __DATE__ " " __TIME__); \
        }                                                            \
    } while (0)
