#include "soundlib/channel.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace soundlib {
namespace {

std::atomic<std::uint32_t> nextCallbackHandle{1};

std::uint32_t newCallbackHandle() {
    std::uint32_t handle = nextCallbackHandle++;
    return handle ? handle : nextCallbackHandle++;
}

constexpr std::size_t kLevelFrames = 1024;

}  // namespace

Channel::Channel(std::uint32_t handle, int kind, std::unique_ptr<Decoder> decoder, int outputRate,
                 std::size_t historyFrames, int resampleQuality)
    : handle_(handle),
      kind_(kind),
      decoder_(std::move(decoder)),
      format_(decoder_->format()),
      outputRate_(outputRate),
      resampler_(outputRate, resampleQuality),
      frequency_(format_.rate),
      historyFrames_(historyFrames) {}

bool Channel::play(bool restart, std::uint64_t) {
    if (freed_) return false;
    if ((restart || ended_) && !seek(0)) return false;
    state_ = SOUND_ACTIVE_PLAYING;
    return true;
}

bool Channel::resume() {
    if (state_ == SOUND_ACTIVE_PAUSED) state_ = SOUND_ACTIVE_PLAYING;
    return state_ == SOUND_ACTIVE_PLAYING;
}

std::uint32_t Channel::activity() const {
    if (state_ == SOUND_ACTIVE_PLAYING && starved_) return SOUND_ACTIVE_STALLED;
    return state_;
}

bool Channel::seek(std::int64_t frame) {
    const std::int64_t length = decoder_->lengthFrames();
    if (frame < 0 || (length >= 0 && frame > length) || !decoder_->seek(frame)) return false;
    pulled_ = frame;
    resampler_.reset();
    effects_.reset();
    restartMarks(static_cast<double>(frame));
    endRendered_ = false;
    ended_ = false;
    starved_ = false;
    return true;
}

void Channel::restartMarks(double position) {
    marks_.clear();
    basePosition_ = position;
    renderedPosition_ = position;
}

const Channel::Mark* Channel::markAt(std::uint64_t heard) const {
    const Mark* last = nullptr;
    for (const Mark& mark : marks_) {
        if (heard < mark.outStart) break;
        last = &mark;
        if (heard < mark.outEnd) break;
    }
    return last;
}

std::int64_t Channel::position(std::uint64_t heard) const {
    const Mark* mark = markAt(heard);
    if (!mark) return std::llround(basePosition_);
    if (heard >= mark->outEnd) return std::llround(mark->endPosition);
    const double share = static_cast<double>(heard - mark->outStart) /
                         static_cast<double>(mark->outEnd - mark->outStart);
    return std::llround(mark->startPosition + share * (mark->endPosition - mark->startPosition));
}

std::int64_t Channel::heardInputOffset(std::uint64_t heard) const {
    const Mark* mark = markAt(heard);
    return mark ? mark->offset : -1;
}

bool Channel::setAttributes(int freq, int volume, int pan) {
    if ((freq != -1 && freq != 0 && (freq < 100 || freq > 400000)) ||
        (volume != -1 && (volume < 0 || volume > 100)) ||
        (pan != -101 && (pan < -100 || pan > 100))) {
        return false;
    }
    if (freq == 0) frequency_ = format_.rate;
    if (freq > 0) frequency_ = freq;
    if (volume != -1) volume_ = volume;
    if (pan != -101) pan_ = pan;
    return true;
}

std::uint32_t Channel::addDsp(SoundDspProc* proc, void* user, int priority) {
    const std::uint32_t handle = newCallbackHandle();
    // Higher priority first; among equals, the earlier one first.
    auto at = std::find_if(dsps_.begin(), dsps_.end(),
                           [priority](const Dsp& d) { return d.priority < priority; });
    dsps_.insert(at, Dsp{handle, proc, user, priority});
    return handle;
}

bool Channel::removeDsp(std::uint32_t dsp) {
    const auto before = dsps_.size();
    std::erase_if(dsps_, [dsp](const Dsp& d) { return d.handle == dsp; });
    return dsps_.size() != before;
}

std::uint32_t Channel::addSync(std::uint32_t, SoundSyncProc* proc, void* user) {
    const std::uint32_t handle = newCallbackHandle();
    syncs_.push_back(Sync{handle, proc, user});
    return handle;
}

bool Channel::removeSync(std::uint32_t sync) {
    const auto before = syncs_.size();
    std::erase_if(syncs_, [sync](const Sync& s) { return s.handle == sync; });
    return syncs_.size() != before;
}

std::ptrdiff_t Channel::pull(float* out, std::size_t frames) {
    decodeBuffer_.resize(frames * 2);
    const std::size_t got = decoder_->read(decodeBuffer_.data(), frames);
    if (got == 0) return decoder_->ended() ? 0 : -1;
    // A callback may remove itself (or others) while it runs: call from a copy.
    const std::vector<Dsp> dsps = dsps_;
    for (const Dsp& dsp : dsps) {
        dsp.proc(dsp.handle, handle_, decodeBuffer_.data(), static_cast<std::uint32_t>(got * 4),
                 dsp.user);
    }
    pulled_ += static_cast<std::int64_t>(got);
    for (std::size_t i = 0; i < got * 2; ++i) out[i] = decodeBuffer_[i] * (1.0f / 32768.0f);
    if (!effects_.empty()) {
        effects_.setSampleRate(format_.rate);
        effects_.process(out, got);
    }
    return static_cast<std::ptrdiff_t>(got);
}

void Channel::render(float* mix, std::size_t frames, std::uint64_t outStart) {
    std::size_t got = 0;
    if (state_ == SOUND_ACTIVE_PLAYING && !endRendered_ && !freed_) {
        if (history_.empty()) history_.assign(historyFrames_ * 2, 0.0f);
        blockBuffer_.resize(frames * 2);
        float* block = blockBuffer_.data();
        if (frequency_ == outputRate_) {
            resampler_.reset();
            while (got < frames) {
                const std::ptrdiff_t n = pull(block + 2 * got, frames - got);
                if (n <= 0) break;
                got += static_cast<std::size_t>(n);
            }
        } else {
            got = resampler_.produce(block, frames, frequency_,
                                     [this](float* in, std::size_t n) { return pull(in, n); });
        }
        starved_ = got < frames && !decoder_->ended();
        const float gain = volume_ / 100.0f;
        const float left = gain * (pan_ > 0 ? (100 - pan_) / 100.0f : 1.0f);
        const float right = gain * (pan_ < 0 ? (100 + pan_) / 100.0f : 1.0f);
        for (std::size_t i = 0; i < got; ++i) {
            mix[2 * i] += block[2 * i] * left;
            mix[2 * i + 1] += block[2 * i + 1] * right;
            const std::size_t slot = ((outStart + i) % historyFrames_) * 2;
            history_[slot] = block[2 * i];
            history_[slot + 1] = block[2 * i + 1];
        }
        if (got > 0) {
            const double end = static_cast<double>(pulled_) - resampler_.pendingInputFrames();
            marks_.push_back(
                Mark{outStart, outStart + got, renderedPosition_, end, decoder_->inputOffset()});
            renderedPosition_ = end;
        }
        if (got < frames && !starved_) {
            endRendered_ = true;
            endOut_ = outStart + got;
        }
    }
    for (std::size_t i = got; i < frames && !history_.empty(); ++i) {
        const std::size_t slot = ((outStart + i) % historyFrames_) * 2;
        history_[slot] = history_[slot + 1] = 0.0f;
    }
}

void Channel::collectEnd(std::uint64_t heard, std::vector<SyncCall>& calls) {
    while (marks_.size() > 1 && marks_.front().outEnd <= heard) {
        basePosition_ = marks_.front().endPosition;
        marks_.pop_front();
    }
    if (!endRendered_ || ended_ || heard < endOut_ || freed_) return;
    ended_ = true;
    state_ = SOUND_ACTIVE_STOPPED;
    // A stream that ends stands at its length, also where the header's length and the
    // decoded audio differ a little (WMA), so that a position check reaches the end.
    const std::int64_t length = decoder_->lengthFrames();
    if (length >= 0) restartMarks(static_cast<double>(length));
    for (const Sync& sync : syncs_)
        calls.push_back(SyncCall{sync.proc, sync.handle, handle_, sync.user});
}

int Channel::level(std::uint64_t heard) const {
    const std::uint32_t active = activity();
    if (active != SOUND_ACTIVE_PLAYING && active != SOUND_ACTIVE_STALLED) return -1;
    float peaks[2] = {0, 0};
    const std::uint64_t first = heard > kLevelFrames ? heard - kLevelFrames : 0;
    for (std::uint64_t f = first; f < heard && !history_.empty(); ++f) {
        const std::size_t slot = (f % historyFrames_) * 2;
        peaks[0] = std::max(peaks[0], std::fabs(history_[slot]));
        peaks[1] = std::max(peaks[1], std::fabs(history_[slot + 1]));
    }
    const auto scale = [](float peak) { return std::min(128L, std::lround(peak * 128.0f)); };
    return static_cast<int>(scale(peaks[0]) | (scale(peaks[1]) << 16));
}

bool Channel::history(std::uint64_t heard, float* out, std::size_t frames) const {
    if (frames > historyFrames_ / 2) return false;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint64_t f = heard + i >= frames ? heard + i - frames : 0;
        const bool before = heard + i < frames || history_.empty();
        const std::size_t slot = (f % historyFrames_) * 2;
        out[2 * i] = before ? 0.0f : history_[slot];
        out[2 * i + 1] = before ? 0.0f : history_[slot + 1];
    }
    return true;
}

}  // namespace soundlib
