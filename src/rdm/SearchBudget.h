#pragma once

class IFeedback;

// The bounds of one search on one port. Every discovery request is paid for first; the
// allowance grows with each fixture found, so a crowded line is searched to the end while a
// line that answers everything (noise, a responder that answers every branch) is given up on.
// The watcher's cancel is looked at before each request as well.
class SearchBudget {
public:
    struct Bounds {
        int requests;            // discovery requests before the first fixture is found
        int requestsPerFixture;  // added for each fixture found
        int silentLeaves;        // single UIDs that answered a branch but never took a mute
        int silentLeavesPerFixture;
    };
    // The fast search needs a handful of requests a fixture; the thorough one about 250.
    static constexpr Bounds kFast{512, 64, 16, 2};
    static constexpr Bounds kThorough{1024, 512, 16, 2};

    enum class Stop { None, Cancelled, Exhausted };

    SearchBudget(const Bounds& bounds, IFeedback* feedback);

    // Pays for the next request; false once the search has to stop (reported once, when it
    // happens).
    bool Spend();
    void Found();
    void SilentLeaf();

    Stop Stopped() const { return m_stop; }
    int Spent() const { return m_spent; }

private:
    void StopWith(Stop stop);

    const Bounds m_bounds;
    IFeedback* const m_feedback;
    int m_spent = 0;
    int m_found = 0;
    int m_silentLeaves = 0;
    Stop m_stop = Stop::None;
};
