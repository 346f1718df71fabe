#pragma once
// A single-producer, single-consumer ring of 16-bit stereo frames between the mixer
// thread (writer) and the output (reader).
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

namespace soundlib {

class FrameRing {
public:
    explicit FrameRing(std::size_t frames) : frames_(frames + 1), data_((frames + 1) * 2) {}

    std::size_t space() const {
        return frames_ - 1 -
               (write_.load(std::memory_order_acquire) + frames_ -
                read_.load(std::memory_order_acquire)) %
                   frames_;
    }
    // Writes up to `count` frames; returns how many fitted.
    std::size_t write(const std::int16_t* in, std::size_t count) {
        count = std::min(count, space());
        std::size_t w = write_.load(std::memory_order_relaxed);
        for (std::size_t i = 0; i < count; ++i) {
            std::memcpy(&data_[w * 2], in + 2 * i, 4);
            w = (w + 1) % frames_;
        }
        write_.store(w, std::memory_order_release);
        return count;
    }
    // Reads up to `count` frames; returns how many there were.
    std::size_t read(std::int16_t* out, std::size_t count) {
        std::size_t r = read_.load(std::memory_order_relaxed);
        const std::size_t w = write_.load(std::memory_order_acquire);
        std::size_t done = 0;
        while (done < count && r != w) {
            std::memcpy(out + 2 * done, &data_[r * 2], 4);
            r = (r + 1) % frames_;
            ++done;
        }
        read_.store(r, std::memory_order_release);
        return done;
    }

private:
    std::size_t frames_;
    std::vector<std::int16_t> data_;
    std::atomic<std::size_t> write_{0};
    std::atomic<std::size_t> read_{0};
};

}  // namespace soundlib
