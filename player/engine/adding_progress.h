#pragma once
// Tells the view how far a long AddSources has come: every `period`, once the adding has
// lasted twice that long, so a short add shows nothing. A zero period reports every name.
#include <chrono>

#include "player/engine/audio_view.h"

class AddingProgress {
public:
    AddingProgress(AudioView& view, int total, std::chrono::milliseconds period)
        : view_(view), total_(total), period_(period), shown_(Clock::now() + period) {}

    // One more name is done. The clock is read for every name: a slow disk may take far
    // longer than a period over a single file.
    void Step() {
        ++done_;
        const auto now = Clock::now();
        if (now - shown_ < period_) return;
        shown_ = now;
        view_.ShowAddingProgress(done_, total_);
    }

private:
    using Clock = std::chrono::steady_clock;

    AudioView& view_;
    const int total_;
    const std::chrono::milliseconds period_;
    int done_ = 0;
    Clock::time_point shown_;
};
