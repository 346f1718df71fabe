#pragma once
// Decoded 16-bit stereo frames waiting to be read, with the input offsets of the packets
// they came from.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace soundlib {

class DecodedFrames {
public:
    // Where decoders append interleaved samples (and may cut back what they appended).
    std::vector<std::int16_t>& samples() { return samples_; }
    // Samples appended from now on come from the packet at input `offset`.
    void markOffset(std::int64_t offset) { offsets_.emplace_back(samples_.size(), offset); }
    bool empty() const { return read_ == samples_.size(); }
    void clear();
    // The offset behind the last frame taken, -1 before any.
    std::int64_t lastOffset() const { return lastOffset_; }

    // Takes up to `frames` frames, calling refill() whenever none are left; refill()
    // returns false when no more will come.
    template <typename Refill>
    std::size_t read(std::int16_t* out, std::size_t frames, Refill&& refill) {
        std::size_t done = 0;
        while (done < frames) {
            if (empty()) {
                clear();
                if (!refill()) break;
                continue;
            }
            done += take(out + 2 * done, frames - done);
        }
        return done;
    }

private:
    std::size_t take(std::int16_t* out, std::size_t frames);

    std::vector<std::int16_t> samples_;
    std::size_t read_ = 0;                                      // samples taken
    std::deque<std::pair<std::size_t, std::int64_t>> offsets_;  // (sample index, offset)
    std::int64_t lastOffset_ = -1;
};

}  // namespace soundlib
