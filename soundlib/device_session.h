#pragma once
// The device session: the output, the mixer thread and the table of channels.
// BASS_Init creates the one instance and BASS_Free ends it; calls reach it through
// current(), which keeps it alive for the length of the call.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "soundlib/audio_output.h"
#include "soundlib/channel.h"
#include "soundlib/frame_ring.h"
#include "soundlib/soundlib.h"

namespace soundlib {

class DeviceSession {
public:
    // Returns SOUND_OK or the error code.
    static int init(int device, int rate, std::uint32_t flags);
    // Stops everything and releases the channels; SOUND_ERROR_INIT when not initialised.
    static int free();
    static std::shared_ptr<DeviceSession> current();

    DeviceSession(int device, int rate, bool offline);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    int rate() const { return rate_; }
    int device() const { return device_; }
    bool offline() const { return offline_; }
    std::size_t latencyFrames() const;

    // Adds a channel around the decoder; returns its handle (never 0, never reused).
    std::uint32_t add(int kind, std::unique_ptr<Decoder> decoder);
    std::shared_ptr<Channel> find(std::uint32_t handle) const;
    // Takes the channel out of the table; it is destroyed once the mixer lets go of it.
    std::shared_ptr<Channel> remove(std::uint32_t handle);

    // The output frame now heard.
    std::uint64_t heard() const;

    // Offline rendering; false when the session has a device.
    bool render(std::int16_t* out, std::size_t frames);

    void setVolume(int volume) { volume_ = volume; }
    int volume() const { return volume_; }
    float cpu() const { return cpu_; }

private:
    bool start();
    void shutdown();
    void mixerLoop();
    void renderBlock(std::int16_t* out, std::size_t frames);
    void finishEnds();
    void consume(std::int16_t* out, std::size_t frames);
    std::vector<std::shared_ptr<Channel>> snapshot() const;

    const int device_;
    const int rate_;
    const bool offline_;
    std::size_t ringFrames_;
    std::size_t historyFrames_;
    std::size_t deviceLatency_ = 0;

    mutable std::mutex tableMutex_;
    std::map<std::uint32_t, std::shared_ptr<Channel>> channels_;

    std::mutex mixMutex_;  // one block at a time
    std::vector<float> mix_;
    std::atomic<std::uint64_t> rendered_{0};
    std::atomic<std::uint64_t> consumed_{0};
    std::atomic<int> volume_{100};
    std::atomic<float> cpu_{0};
    double busySeconds_ = 0;
    std::uint64_t busyFrames_ = 0;

    std::unique_ptr<FrameRing> ring_;
    std::unique_ptr<AudioOutput> output_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    static constexpr std::chrono::milliseconds kIdleWake{50};
    std::atomic<bool> stop_{false};
    std::thread mixer_;
};

}  // namespace soundlib
