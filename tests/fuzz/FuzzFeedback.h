#pragma once

#include "comm/IFeedback.h"

#include <cstdio>
#include <cstdlib>

// Takes every line and forgets it: the texts are still built, so their formatting is fuzzed.
// With AUREL_FUZZ_LOG set it prints them, to see what an input makes the code do.
class FuzzFeedback : public IFeedback {
public:
    void AddString(QString text, FeedbackStatus) override {
        m_characters += text.size();
        if (std::getenv("AUREL_FUZZ_LOG")) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
    }
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override { return false; }

private:
    qsizetype m_characters = 0;
};
