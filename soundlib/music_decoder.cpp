#include "soundlib/music_decoder.h"

#include <algorithm>
#include <cmath>

#include "soundlib/config.h"
#include "soundlib/soundlib.h"

namespace soundlib {
namespace {
constexpr std::int64_t kMaxModuleBytes = 64 * 1024 * 1024;
}

MusicDecoder::MusicDecoder(ModulePtr module, int rate)
    : module_(std::move(module)),
      rate_(rate),
      length_(std::llround(openmpt_module_get_duration_seconds(module_.get()) * rate)) {}

std::unique_ptr<MusicDecoder> MusicDecoder::open(ByteSource& source, int rate, int& error) {
    error = SOUND_ERROR_FORMAT;
    const std::int64_t size = source.size();
    if (size <= 0) return nullptr;
    if (size > kMaxModuleBytes) {
        error = SOUND_ERROR_MEMORY;
        return nullptr;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const long n = source.read(bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got != bytes.size()) {
        error = SOUND_ERROR_FILEOPEN;
        return nullptr;
    }
    ModulePtr module(openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), &openmpt_log_func_silent, nullptr, &openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, nullptr));
    if (!module || openmpt_module_get_num_orders(module.get()) <= 0 ||
        openmpt_module_get_duration_seconds(module.get()) <= 0) {
        return nullptr;
    }
    openmpt_module_set_repeat_count(module.get(), getConfig(SOUND_CONFIG_MUSIC_STOP) ? 0 : -1);
    error = SOUND_OK;
    return std::unique_ptr<MusicDecoder>(new MusicDecoder(std::move(module), rate));
}

std::size_t MusicDecoder::read(std::int16_t* out, std::size_t frames) {
    const bool once = openmpt_module_get_repeat_count(module_.get()) == 0;
    std::size_t done = 0;
    while (done < frames && !ended_) {
        std::size_t want = frames - done;
        if (once)
            want = static_cast<std::size_t>(std::min<std::int64_t>(
                static_cast<std::int64_t>(want), std::max<std::int64_t>(0, length_ - position_)));
        const std::size_t got = want ? openmpt_module_read_interleaved_stereo(module_.get(), rate_,
                                                                              want, out + 2 * done)
                                     : 0;
        if (got == 0) ended_ = true;
        done += got;
        position_ += static_cast<std::int64_t>(got);
    }
    return done;
}

bool MusicDecoder::seek(std::int64_t frame) {
    if (frame < 0 || frame > length_) return false;
    const double target = static_cast<double>(frame) / rate_;
    // libopenmpt goes to a nearby row, sometimes after the target: step back until it
    // lands at or before it.
    double row = 0;
    for (double back = 0; back < target + 1.0; back += 0.5) {
        row = openmpt_module_set_position_seconds(module_.get(), std::max(0.0, target - back));
        if (row <= target) break;
    }
    if (row > target) row = openmpt_module_set_position_seconds(module_.get(), 0.0);
    ended_ = false;
    position_ = std::llround(row * rate_);
    std::int16_t scratch[2 * 1024];
    while (position_ < frame && !ended_) {
        read(scratch, static_cast<std::size_t>(std::min<std::int64_t>(frame - position_, 1024)));
    }
    position_ = frame;
    return true;
}

int MusicDecoder::orders() const {
    return openmpt_module_get_num_orders(module_.get());
}

}  // namespace soundlib
