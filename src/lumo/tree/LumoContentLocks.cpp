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

namespace {
std::atomic<bool>& Flag(LumoContentLocks::Lock lock) {
    return lock == LumoContentLocks::Stock ? g_stockLocked : g_quorelLocked;
}
}  // namespace

LumoContentLocks::Unlock::Unlock(Lock lock) : m_lock(lock), m_was(Flag(lock).exchange(false)) {}

LumoContentLocks::Unlock::~Unlock() {
    Flag(m_lock).store(m_was);
}
