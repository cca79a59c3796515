#include "os/Trap.h"

#include "os/SysLogWriter.h"
#include "os/Thread.h"

#include <QByteArray>

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace Os {

namespace {

std::atomic<int> g_trapCount{0};

QByteArray FrameLine(void* address) {
    Dl_info info{};
    QByteArray symbol = "(null)";
    quintptr offset = 0;
    if (::dladdr(address, &info) != 0) {
        QByteArray module = info.dli_fname ? QByteArray(info.dli_fname) : QByteArray("(null)");
        module = module.mid(module.lastIndexOf('/') + 1);
        if (info.dli_sname) {
            int status = 0;
            char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
            symbol = module + "!" + (status == 0 && demangled ? demangled : info.dli_sname);
            std::free(demangled);
            offset =
                reinterpret_cast<quintptr>(address) - reinterpret_cast<quintptr>(info.dli_saddr);
        } else {
            symbol = module + "!(null)";
            offset =
                reinterpret_cast<quintptr>(address) - reinterpret_cast<quintptr>(info.dli_fbase);
        }
    }
    char line[64];
    std::snprintf(line, sizeof line, "[0x%08llx] ",
                  static_cast<unsigned long long>(reinterpret_cast<quintptr>(address)));
    char tail[32];
    std::snprintf(tail, sizeof tail, " + 0x%llx\n", static_cast<unsigned long long>(offset));
    return QByteArray(line) + symbol + tail;
}

}  // namespace

void Trap(const char* condition, const char* file, const char* buildDate) {
    g_trapCount.fetch_add(1);
    QByteArray report = "Stack trace for " + Thread::ProcessName().toUtf8() + " process, " +
                        QByteArray::number(::getpid()) + ", thread " +
                        Thread::CurrentName().toUtf8() + ":\n";
    report += "Trap: '" + QByteArray(condition) + "' is TRUE\n";
    report += "File: " + QByteArray(file) + " (built " + QByteArray(buildDate) + ")\n";
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    for (int i = 0; i < count; ++i) {
        report += FrameLine(frames[i]);
    }
    SysLogWriter::Output(report);
    std::abort();
}

int TrapCount() {
    return g_trapCount.load();
}

}  // namespace Os
