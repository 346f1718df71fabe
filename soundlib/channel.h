#pragma once
// One stream or music: its decoder, transport state, attributes, sample callbacks, syncs,
// effect chain, and the record of what it rendered when, from which the position and the
// analysis of what is heard are taken. Every member is called with `mutex` held; the mixer
// thread holds it while it renders the channel.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "soundlib/decoder.h"
#include "soundlib/effect_chain.h"
#include "soundlib/resampler.h"
#include "soundlib/soundlib.h"

namespace soundlib {

struct SyncCall {
    SoundSyncProc* proc;
    std::uint32_t sync;
    std::uint32_t channel;
    void* user;
};

class Channel {
public:
    // historyFrames: how far back (in output frames) the analysis can look; a power of two
    // above the output latency plus 1024.
    Channel(std::uint32_t handle, int kind, std::unique_ptr<Decoder> decoder, int outputRate,
            std::size_t historyFrames, int resampleQuality);

    std::recursive_mutex mutex;

    std::uint32_t handle() const { return handle_; }
    int kind() const { return kind_; }
    bool isMusic() const { return kind_ == SOUND_KIND_MUSIC; }
    Decoder& decoder() { return *decoder_; }
    EffectChain& effects() { return effects_; }
    int sourceRate() const { return format_.rate; }
    const SourceFormat& sourceFormat() const { return format_; }

    // Transport. `heard` is the output frame now heard.
    bool play(bool restart, std::uint64_t heard);
    void pause() {
        if (state_ == SOUND_ACTIVE_PLAYING) state_ = SOUND_ACTIVE_PAUSED;
    }
    bool resume();
    void stop() { state_ = SOUND_ACTIVE_STOPPED; }
    // Detaches the channel from playback for good (it is being freed).
    void release() {
        freed_ = true;
        state_ = SOUND_ACTIVE_STOPPED;
    }
    std::uint32_t activity() const;
    bool seek(std::int64_t frame);
    // Source frame now heard.
    std::int64_t position(std::uint64_t heard) const;
    // Input byte offset of what is now heard, -1 when unknown.
    std::int64_t heardInputOffset(std::uint64_t heard) const;

    // Attributes; out-of-range values are refused as a whole.
    bool setAttributes(int freq, int volume, int pan);
    int frequency() const { return frequency_; }
    int volume() const { return volume_; }
    int pan() const { return pan_; }

    std::uint32_t addDsp(SoundDspProc* proc, void* user, int priority);
    bool removeDsp(std::uint32_t dsp);
    std::uint32_t addSync(std::uint32_t type, SoundSyncProc* proc, void* user);
    bool removeSync(std::uint32_t sync);

    // Mixer: adds `frames` output frames, starting at output frame `outStart`, into the
    // float stereo `mix`.
    void render(float* mix, std::size_t frames, std::uint64_t outStart);
    // Once the end has been heard: stops the channel and appends its end syncs to `calls`.
    void collectEnd(std::uint64_t heard, std::vector<SyncCall>& calls);

    // Analysis of what is heard, from the history.
    int level(std::uint64_t heard) const;
    // The `frames` frames before `heard` as float stereo; false when the history does not
    // reach that far.
    bool history(std::uint64_t heard, float* out, std::size_t frames) const;

private:
    struct Dsp {
        std::uint32_t handle;
        SoundDspProc* proc;
        void* user;
        int priority;
    };
    struct Sync {
        std::uint32_t handle;
        SoundSyncProc* proc;
        void* user;
    };
    // What one rendered block holds: output frames [outStart, outEnd) carry source frames
    // [startPosition, endPosition).
    struct Mark {
        std::uint64_t outStart;
        std::uint64_t outEnd;
        double startPosition;
        double endPosition;
        std::int64_t offset;  // input byte offset behind the block
    };

    std::ptrdiff_t pull(float* out, std::size_t frames);
    const Mark* markAt(std::uint64_t heard) const;
    void restartMarks(double position);

    std::uint32_t handle_;
    int kind_;
    std::unique_ptr<Decoder> decoder_;
    SourceFormat format_;
    int outputRate_;
    EffectChain effects_;
    Resampler resampler_;

    std::uint32_t state_ = SOUND_ACTIVE_STOPPED;
    bool starved_ = false;
    bool endRendered_ = false;
    std::uint64_t endOut_ = 0;
    bool ended_ = false;

    int frequency_;
    int volume_ = 100;
    int pan_ = 0;

    std::vector<Dsp> dsps_;
    std::vector<Sync> syncs_;

    std::int64_t pulled_ = 0;  // source frame after the last one taken from the decoder
    std::deque<Mark> marks_;
    double basePosition_ = 0;      // heard before the first mark
    double renderedPosition_ = 0;  // source frame after the last one rendered
    bool freed_ = false;

    // Float stereo by output frame, modulo its size; allocated when the channel first
    // renders, so that channels opened only to be measured cost no more than their decoder.
    std::size_t historyFrames_;
    std::vector<float> history_;
    std::vector<std::int16_t> decodeBuffer_;
    std::vector<float> blockBuffer_;
};

}  // namespace soundlib
