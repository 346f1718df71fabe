#include "soundlib/decoded_frames.h"

#include <algorithm>
#include <cstring>

namespace soundlib {

void DecodedFrames::clear() {
    samples_.clear();
    offsets_.clear();
    read_ = 0;
}

std::size_t DecodedFrames::take(std::int16_t* out, std::size_t frames) {
    const std::size_t count = std::min(frames, (samples_.size() - read_) / 2);
    std::memcpy(out, samples_.data() + read_, count * 4);
    read_ += count * 2;
    while (!offsets_.empty() && offsets_.front().first < read_) {
        lastOffset_ = offsets_.front().second;
        offsets_.pop_front();
    }
    return count;
}

}  // namespace soundlib
