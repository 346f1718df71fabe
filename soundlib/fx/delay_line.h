#pragma once
// A mono ring of past samples read at fractional delays with linear interpolation.
#include <cstddef>
#include <vector>

namespace soundlib::fx {

class DelayLine {
public:
    // Makes room for delays up to `maxDelay` samples, keeping the samples held so far.
    void ensureCapacity(std::size_t maxDelay);
    void clear();

    void write(float sample) {
        buffer_[writeIndex_] = sample;
        writeIndex_ = (writeIndex_ + 1) & mask_;
    }
    // The signal `delay` samples before the most recently written one: tap(0) is that
    // sample itself. `delay` lies within 0 .. capacity.
    float tap(float delay) const {
        const auto whole = static_cast<std::size_t>(delay);
        const float fraction = delay - static_cast<float>(whole);
        const std::size_t newer = (writeIndex_ - 1 - whole) & mask_;
        const std::size_t older = (newer - 1) & mask_;
        return buffer_[newer] + (buffer_[older] - buffer_[newer]) * fraction;
    }
    float tap(std::size_t delay) const { return buffer_[(writeIndex_ - 1 - delay) & mask_]; }

private:
    std::vector<float> buffer_;
    std::size_t mask_ = 0;
    std::size_t writeIndex_ = 0;
};

}  // namespace soundlib::fx
