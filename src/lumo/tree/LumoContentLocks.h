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

    enum Lock { Stock, Quorel };

    // Lowers a lock for its lifetime and puts back what it found.
    class Unlock {
    public:
        explicit Unlock(Lock lock);
        ~Unlock();
        Unlock(const Unlock&) = delete;
        Unlock& operator=(const Unlock&) = delete;

    private:
        Lock m_lock;
        bool m_was;
    };
    class QuorelUnlock : public Unlock {
    public:
        QuorelUnlock() : Unlock(Quorel) {}
    };
    class StockUnlock : public Unlock {
    public:
        StockUnlock() : Unlock(Stock) {}
    };
};
