#pragma once
// Tracker modules through libopenmpt, rendered at a fixed rate as 16-bit stereo. A music
// plays once and ends exactly at its length, without the tail libopenmpt would render
// past it (or loops, as SOUND_CONFIG_MUSIC_STOP says when it is loaded). Seeks go to a
// row at or before the target and render forward to the exact frame.
#include <memory>
#include <vector>

#include <libopenmpt/libopenmpt.h>

#include "soundlib/byte_source.h"
#include "soundlib/decoder.h"

namespace soundlib {

struct ModuleDeleter {
    void operator()(openmpt_module* p) const { openmpt_module_destroy(p); }
};
using ModulePtr = std::unique_ptr<openmpt_module, ModuleDeleter>;

class MusicDecoder : public Decoder {
public:
    // nullptr, with `error` set, when the data is no module libopenmpt plays, is empty or
    // larger than the library accepts.
    static std::unique_ptr<MusicDecoder> open(ByteSource& source, int rate, int& error);

    SourceFormat format() const override { return {rate_, 2, false}; }
    std::int64_t lengthFrames() const override { return length_; }
    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool ended() const override { return ended_; }
    bool seek(std::int64_t frame) override;
    // The number of orders in the module's sequence.
    int orders() const;

private:
    MusicDecoder(ModulePtr module, int rate);
    ModulePtr module_;
    int rate_;
    std::int64_t length_;
    std::int64_t position_ = 0;  // frames rendered since the start, as the sequence counts
    bool ended_ = false;
};

}  // namespace soundlib
