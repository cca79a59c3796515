#include "lumo/tree/LumoContentLocks.h"

#include <atomic>

namespace {
std::atomic<bool> g_stockLocked{true};
std::atomic<bool> g_quorelLocked{true};
}  // namespace

bool LumoContentLocks::StockContentLocked() {
    return g_stockLocked.load();
}

void LumoContentLocks::SetStockContentLocked(bool locked) {
    g_stockLocked.store(locked);
}

bool LumoContentLocks::QuorelContentLocked() {
    return g_quorelLocked.load();
}

void LumoContentLocks::SetQuorelContentLocked(bool locked) {
    g_quorelLocked.store(locked);
}

LumoContentLocks::QuorelUnlock::QuorelUnlock() : m_was(g_quorelLocked.exchange(false)) {}

LumoContentLocks::QuorelUnlock::~QuorelUnlock() {
    g_quorelLocked.store(m_was);
}
