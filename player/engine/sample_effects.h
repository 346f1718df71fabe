#pragma once
// The player's own sample effects. The sound library hands each block of a channel's
// decoded samples (interleaved 16-bit stereo) to the effect's routine on its mixer thread,
// which edits the block in place. An effect's state is touched by the window thread only
// while the effect is attached to no channel, so nothing is locked: attaching and removing
// go through the library, which never runs a routine while it attaches or removes one.
#include <array>
#include <cstddef>
#include <cstdint>

// Limits a sample to the signed 16-bit range.
int ClampSample(int value);

// One effect, attached to at most one channel at a time.
class SampleEffect {
public:
    virtual ~SampleEffect();
    SampleEffect() = default;
    SampleEffect(const SampleEffect&) = delete;
    SampleEffect& operator=(const SampleEffect&) = delete;

    // Fresh state, attached to `channel` (with the library's sample-callback priority 2).
    void Start(std::uint32_t channel);
    // Moves to `channel` with the state it has, leaving the channel it was on.
    void Follow(std::uint32_t channel);
    // Leaves its channel; the state stays until the next Start.
    void Stop();
    bool Attached() const { return handle_ != 0; }

    // Edits `count` stereo frames in place, carrying the state from block to block.
    virtual void Process(std::int16_t* frames, std::size_t count) = 0;

protected:
    virtual void Reset() = 0;

private:
    static void Routine(std::uint32_t dsp, std::uint32_t channel, void* buffer,
                        std::uint32_t length, void* user);
    void Attach(std::uint32_t channel);

    std::uint32_t channel_ = 0;
    std::uint32_t handle_ = 0;
};

// Pans the sound from side to side: the left level follows |sin phase|, the right
// |cos phase|, the phase growing by 0.00003 a frame from pi/4 (both sides at 0.707).
class RotateDSP : public SampleEffect {
public:
    void Process(std::int16_t* frames, std::size_t count) override;

protected:
    void Reset() override;

private:
    float phase_ = 0;
};

// An effect that keeps its last Frames stereo input frames in a ring.
template <std::size_t Frames>
class RingSampleEffect : public SampleEffect {
public:
    static constexpr std::size_t kFrames = Frames;

protected:
    void ClearRing() {
        ring_.fill(0);
        index_ = 0;
    }
    // The frame written kFrames frames ago, to be overwritten now.
    std::int16_t* Oldest() { return &ring_[2 * index_]; }
    std::int16_t* At(std::size_t frame) { return &ring_[2 * (frame % kFrames)]; }
    void Advance() { index_ = (index_ + 1) % kFrames; }

    std::array<std::int16_t, 2 * kFrames> ring_{};
    std::size_t index_ = 0;
};

// One echo 1200 frames later, at half level, on the other side.
class EchoDSP : public RingSampleEffect<1200> {
public:
    void Process(std::int16_t* frames, std::size_t count) override;

protected:
    void Reset() override;
};

// Adds a copy delayed by 0 to 350 frames, the delay sweeping back and forth by 0.002
// frames a frame.
class FlangerDSP : public RingSampleEffect<350> {
public:
    void Process(std::int16_t* frames, std::size_t count) override;

protected:
    void Reset() override;

private:
    float sweep_ = 175.0f;  // the read position ahead of the write index, in frames
    float step_ = 0.002f;
};
