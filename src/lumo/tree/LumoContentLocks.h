#pragma once

// The two process-wide locks of the fixtures' content: while a lock is up, the folders of
// the stock group (or of the Quorel group) and their items can't be changed through the
// content tree. Both are up from the start.
class LumoContentLocks {
public:
    static bool StockContentLocked();
    static void SetStockContentLocked(bool locked);
    static bool QuorelContentLocked();
    static void SetQuorelContentLocked(bool locked);

    // Lowers the Quorel lock for its lifetime and puts back what it found.
    class QuorelUnlock {
    public:
        QuorelUnlock();
        ~QuorelUnlock();
        QuorelUnlock(const QuorelUnlock&) = delete;
        QuorelUnlock& operator=(const QuorelUnlock&) = delete;

    private:
        bool m_was;
    };
};
