#include "soundlib/device_session.h"

#include <chrono>
#include <cmath>

extern "C" {
#include <libavutil/log.h>
}

#include "soundlib/config.h"
#include "soundlib/null_output.h"
#include "soundlib/sdl_output.h"

namespace soundlib {
namespace {

std::mutex currentMutex;
std::shared_ptr<DeviceSession> currentSession;
std::atomic<std::uint32_t> nextHandle{1};

std::size_t powerOfTwoAbove(std::size_t n) {
    std::size_t p = 1;
    while (p <= n) p <<= 1;
    return p;
}

}  // namespace

int DeviceSession::init(int device, int rate, std::uint32_t flags) {
    std::lock_guard lock(currentMutex);
    if (currentSession) return SOUND_ERROR_ALREADY;
    if (device < 0) return SOUND_ERROR_DEVICE;
    if (rate < 8000 || rate > 192000) return SOUND_ERROR_PARAM;
    // Decoders report bad data through their results; their log would only be noise.
    av_log_set_level(AV_LOG_QUIET);
    auto session = std::make_shared<DeviceSession>(device, rate, (flags & SOUND_INIT_OFFLINE) != 0);
    int error = SOUND_OK;
    if (!session->offline_) {
        DeviceSession* self = session.get();
        auto pull = [self](std::int16_t* out, std::size_t frames) { self->consume(out, frames); };
        if (device == 0) {
            session->output_ = std::make_unique<NullOutput>(rate, pull);
        } else {
            session->output_ = SdlOutput::open(device, rate, pull, error);
            if (!session->output_) return error;
        }
        session->deviceLatency_ = session->output_->latencyFrames();
        session->historyFrames_ =
            powerOfTwoAbove(session->ringFrames_ + session->deviceLatency_ + 8192);
        session->mixer_ = std::thread([self] { self->mixerLoop(); });
    }
    currentSession = std::move(session);
    return SOUND_OK;
}

int DeviceSession::free() {
    std::shared_ptr<DeviceSession> session;
    {
        std::lock_guard lock(currentMutex);
        if (!currentSession) return SOUND_ERROR_INIT;
        // A callback on the mixer thread cannot wait for that thread to end.
        if (currentSession->mixer_.get_id() == std::this_thread::get_id()) {
            return SOUND_ERROR_PARAM;
        }
        session = std::move(currentSession);
    }
    session->shutdown();
    return SOUND_OK;
}

std::shared_ptr<DeviceSession> DeviceSession::current() {
    std::lock_guard lock(currentMutex);
    return currentSession;
}

DeviceSession::DeviceSession(int device, int rate, bool offline)
    : device_(device),
      rate_(rate),
      offline_(offline),
      ringFrames_(static_cast<std::size_t>(rate) * getConfig(SOUND_CONFIG_BUFFER) / 1000),
      historyFrames_(16384),
      ring_(std::make_unique<FrameRing>(ringFrames_)) {}

DeviceSession::~DeviceSession() {
    shutdown();
}

void DeviceSession::shutdown() {
    {
        const std::lock_guard lock(wakeMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (mixer_.joinable()) mixer_.join();
    output_.reset();
    std::map<std::uint32_t, std::shared_ptr<Channel>> channels;
    {
        std::lock_guard lock(tableMutex_);
        channels.swap(channels_);
    }
    for (auto& [handle, channel] : channels) {
        std::lock_guard lock(channel->mutex);
        channel->release();
    }
}

std::size_t DeviceSession::latencyFrames() const {
    return offline_ ? 0 : ringFrames_ + deviceLatency_;
}

std::uint32_t DeviceSession::add(int kind, std::unique_ptr<Decoder> decoder) {
    std::uint32_t handle = nextHandle++;
    if (handle == 0) handle = nextHandle++;
    auto channel = std::make_shared<Channel>(handle, kind, std::move(decoder), rate_,
                                             historyFrames_, getConfig(SOUND_CONFIG_RESAMPLE));
    std::lock_guard lock(tableMutex_);
    channels_.emplace(handle, std::move(channel));
    return handle;
}

std::shared_ptr<Channel> DeviceSession::find(std::uint32_t handle) const {
    std::lock_guard lock(tableMutex_);
    auto it = channels_.find(handle);
    return it == channels_.end() ? nullptr : it->second;
}

std::shared_ptr<Channel> DeviceSession::remove(std::uint32_t handle) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard lock(tableMutex_);
        auto it = channels_.find(handle);
        if (it == channels_.end()) return nullptr;
        channel = std::move(it->second);
        channels_.erase(it);
    }
    std::lock_guard lock(channel->mutex);
    channel->release();
    return channel;
}

std::vector<std::shared_ptr<Channel>> DeviceSession::snapshot() const {
    std::lock_guard lock(tableMutex_);
    std::vector<std::shared_ptr<Channel>> all;
    all.reserve(channels_.size());
    for (const auto& [handle, channel] : channels_) all.push_back(channel);
    return all;
}

std::uint64_t DeviceSession::heard() const {
    if (offline_) return rendered_;
    const std::uint64_t consumed = consumed_;
    return consumed > deviceLatency_ ? consumed - deviceLatency_ : 0;
}

void DeviceSession::consume(std::int16_t* out, std::size_t frames) {
    const std::size_t got = ring_->read(out, frames);
    std::fill(out + 2 * got, out + 2 * frames, std::int16_t{0});
    consumed_ += got;
    // Taken between the mixer's check and its wait, the wake-up would be lost.
    { const std::lock_guard lock(wakeMutex_); }
    wake_.notify_one();
}

void DeviceSession::renderBlock(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mixMutex_);
    const auto started = std::chrono::steady_clock::now();
    mix_.assign(frames * 2, 0.0f);
    const std::uint64_t at = rendered_;
    for (const auto& channel : snapshot()) {
        std::lock_guard channelLock(channel->mutex);
        channel->render(mix_.data(), frames, at);
    }
    const float master = volume_ / 100.0f;
    for (std::size_t i = 0; i < frames * 2; ++i) {
        const long v = std::lrintf(mix_[i] * master * 32768.0f);
        out[i] = static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
    }
    rendered_ += frames;
    busySeconds_ +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    busyFrames_ += frames;
    if (busyFrames_ >= static_cast<std::uint64_t>(rate_)) {
        cpu_ = static_cast<float>(100.0 * busySeconds_ * rate_ / static_cast<double>(busyFrames_));
        busySeconds_ = 0;
        busyFrames_ = 0;
    }
}

void DeviceSession::finishEnds() {
    const std::uint64_t now = heard();
    std::vector<SyncCall> calls;
    for (const auto& channel : snapshot()) {
        std::lock_guard lock(channel->mutex);
        channel->collectEnd(now, calls);
    }
    // No lock is held: a sync may free its channel or start another.
    for (const SyncCall& call : calls) call.proc(call.sync, call.channel, 0, call.user);
}

void DeviceSession::mixerLoop() {
    std::vector<std::int16_t> block;
    while (!stop_) {
        const std::size_t frames = std::max<std::size_t>(
            1, static_cast<std::size_t>(rate_) * getConfig(SOUND_CONFIG_UPDATEPERIOD) / 1000);
        if (ring_->space() >= frames) {
            block.resize(frames * 2);
            renderBlock(block.data(), frames);
            ring_->write(block.data(), frames);
        } else {
            // The output wakes the mixer when it has taken frames; the time limit only
            // keeps the end-of-channel checks going while nothing is taken.
            std::unique_lock lock(wakeMutex_);
            wake_.wait_for(lock, kIdleWake, [&] { return stop_ || ring_->space() >= frames; });
        }
        finishEnds();
    }
}

bool DeviceSession::render(std::int16_t* out, std::size_t frames) {
    if (!offline_) return false;
    const std::size_t block = std::max<std::size_t>(
        1, static_cast<std::size_t>(rate_) * getConfig(SOUND_CONFIG_UPDATEPERIOD) / 1000);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(block, frames - done);
        renderBlock(out + 2 * done, n);
        done += n;
        finishEnds();
    }
    return true;
}

}  // namespace soundlib
