#pragma once
// Tells the view how far a long AddSources has come: at most every 100 ms, and only once
// the adding has lasted that long, so a short add shows nothing.
#include <chrono>

#include "player/engine/audio_view.h"

class AddingProgress {
public:
    AddingProgress(AudioView& view, int total) : view_(view), total_(total) {}

    // One more name is done.
    void Step() {
        ++done_;
        // The clock is read only every few names: adding one costs far less than 100 ms.
        if (done_ % 16 != 0) return;
        const auto now = Clock::now();
        if (now - shown_ < kPeriod) return;
        shown_ = now;
        view_.ShowAddingProgress(done_, total_);
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kPeriod{100};

    AudioView& view_;
    const int total_;
    int done_ = 0;
    Clock::time_point shown_ = Clock::now();
};
