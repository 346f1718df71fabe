#include "soundlib/fx/delay_line.h"

#include <algorithm>

namespace soundlib::fx {

void DelayLine::ensureCapacity(std::size_t maxDelay) {
    std::size_t size = 1;
    while (size < maxDelay + 2) size <<= 1;
    if (size <= buffer_.size()) return;
    // Unroll the old ring so that the newest samples stay at the same delays.
    std::vector<float> grown(size, 0.0f);
    const std::size_t old = buffer_.size();
    for (std::size_t i = 0; i < old; ++i)
        grown[size - old + i] = buffer_[(writeIndex_ + i) & mask_];
    buffer_.swap(grown);
    mask_ = size - 1;
    writeIndex_ = 0;
}

void DelayLine::clear() {
    std::fill(buffer_.begin(), buffer_.end(), 0.0f);
}

}  // namespace soundlib::fx
