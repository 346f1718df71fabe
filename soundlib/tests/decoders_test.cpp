// Every stream format decodes to what the ffmpeg tool decodes, with an exact length and
// seeks that land on the frame asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "soundlib/mpeg_decoder.h"
#include "soundlib/soundlib.h"
#include "soundlib/stream_opener.h"
#include "soundlib/tests/fixtures.h"

using namespace soundlib_test;

namespace {

struct Format {
    const char* name;
    bool peerFile;  // from ../shared/peers rather than generated
    bool wma;
    int rate;
    int channels;
    bool eightBit;
    int lengthError;  // frames by which the length may differ from the decoded count
    int seekError;    // frames a seek may miss by (0: exact, -1: not checked)
    int valueError;   // after an exact seek, how far a sample may differ from a straight decode
};

std::vector<std::int16_t> decodeAll(soundlib::Decoder& decoder) {
    std::vector<std::int16_t> all;
    std::int16_t block[2 * 1000];
    while (std::size_t got = decoder.read(block, 1000))
        all.insert(all.end(), block, block + 2 * got);
    return all;
}

// Frames by which `part` is found away from `at` in `whole` (searching +-range), or a
// large value when it is not found.
long misplacement(const std::vector<std::int16_t>& whole, const std::vector<std::int16_t>& part,
                  long at, long range) {
    long best = 1 << 30;
    double bestError = 1e300;
    for (long shift = -range; shift <= range; ++shift) {
        const long start = at + shift;
        if (start < 0 ||
            (start + static_cast<long>(part.size() / 2)) * 2 > static_cast<long>(whole.size())) {
            continue;
        }
        double error = 0;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const double d = part[i] - whole[2 * start + i];
            error += d * d;
        }
        if (error < bestError) {
            bestError = error;
            best = shift;
        }
    }
    return best;
}

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}

class Formats : public ::testing::TestWithParam<Format> {};

}  // namespace

TEST_P(Formats, DecodeAsTheReferenceWithExactLengthAndSeeks) {
    const Format& f = GetParam();
    const auto path = f.peerFile ? peer(f.name) : fixture(f.name);
    int error = 0;
    auto decoder = soundlib::openStreamDecoder(0, path.c_str(), 0, 0, f.wma, error);
    ASSERT_TRUE(decoder) << f.name << " error " << error;
    EXPECT_EQ(decoder->format().rate, f.rate);
    EXPECT_EQ(decoder->format().channels, f.channels);
    EXPECT_EQ(decoder->format().eightBit, f.eightBit);

    // Opened to be measured: the same format and length; MPEG audio then plays nothing.
    auto measured = soundlib::openStreamDecoder(0, path.c_str(), 0, 0, f.wma, error, true);
    ASSERT_TRUE(measured) << f.name << " error " << error;
    EXPECT_EQ(measured->lengthFrames(), decoder->lengthFrames());
    EXPECT_EQ(measured->format().rate, f.rate);
    EXPECT_EQ(measured->format().channels, f.channels);
    if (dynamic_cast<soundlib::MpegDecoder*>(measured.get())) {
        std::int16_t frames[2 * 16];
        EXPECT_EQ(measured->read(frames, 16), 0u);
        EXPECT_TRUE(measured->ended());
        EXPECT_FALSE(measured->seek(0));
    }

    const auto reference = referenceDecode(path);
    const auto all = decodeAll(*decoder);
    EXPECT_TRUE(decoder->ended());
    EXPECT_NEAR(decoder->lengthFrames(), static_cast<double>(all.size() / 2), f.lengthError);
    EXPECT_EQ(all.size(), reference.size());
    EXPECT_TRUE(all == reference) << "decoded samples differ from the reference";

    const long length = static_cast<long>(all.size() / 2);
    for (long target : {length / 3 + 77, length / 2 + 1, length - 700, 5L}) {
        ASSERT_TRUE(decoder->seek(target)) << target;
        std::vector<std::int16_t> part(2 * 600);
        part.resize(2 * decoder->read(part.data(), 600));
        ASSERT_GT(part.size(), 0u) << target;
        if (f.seekError < 0) continue;
        if (f.seekError == 0) {
            int worst = 0;
            for (std::size_t i = 0; i < part.size(); ++i) {
                worst = std::max(worst, std::abs(part[i] - all[2 * target + i]));
            }
            EXPECT_LE(worst, f.valueError) << "after a seek to " << target;
        } else {
            EXPECT_LE(std::abs(misplacement(all, part, target, 2 * f.seekError)), f.seekError)
                << "after a seek to " << target;
        }
    }
    EXPECT_FALSE(decoder->seek(decoder->lengthFrames() + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Formats,
    // WMA: the header's length includes the encoder's padding of the last frame (up to
    // about 50 ms). Seeks in WMA 1/2 land on the frame (timestamps in whole milliseconds,
    // snapped to the codec's fixed frame size); WMA Lossless is stamped only once per
    // packet of about half a second, so its seeks are not checked here. Layers 1 and 2: FFmpeg's
    // decoder carries rounding noise from frame to frame, so after a seek samples may differ by one
    // step.
    ::testing::Values(
        Format{"stereo.wav", false, false, 44100, 2, false, 0, 0, 0},
        Format{"mono8.wav", false, false, 22050, 1, true, 0, 0, 0},
        Format{"adpcm_ms.wav", false, false, 44100, 2, false, 0, 0, 0},
        Format{"adpcm_ima.wav", false, false, 32000, 1, false, 0, 0, 0},
        Format{"lame.mp3", false, false, 44100, 2, false, 0, 0, 0},
        Format{"vbr.mp3", false, false, 48000, 2, false, 0, 0, 0},
        Format{"plain.mp3", false, false, 22050, 1, false, 0, 0, 0},
        Format{"layer2.mp2", false, false, 48000, 2, false, 0, 0, 1},
        Format{"tags/tinytag/tinytag/tests/samples/mpeg1_44_1khz.mp1", true, false, 44100, 2, false,
               0, 0, 1},
        Format{"tags/tinytag/tinytag/tests/samples/mpeg2_22050hz.mp2", true, false, 22050, 2, false,
               0, 0, 1},
        // Tags before and after the audio are skipped.
        Format{"tags/tinytag/tinytag/tests/samples/mpeg1_id3v2.mp2", true, false, 44100, 2, false,
               0, 0, 1},
        Format{"tags/tinytag/tinytag/tests/samples/mpeg1_id3v1.mp2", true, false, 44100, 2, false,
               0, 0, 1},
        Format{"vorbis.ogg", false, false, 44100, 2, false, 0, 0, 0},
        Format{"wma2.wma", false, true, 44100, 2, false, 2205, 220, 0},
        Format{"wma1.wma", false, true, 22050, 1, false, 1103, 110, 0},
        Format{"tags/mutagen/tests/data/silence-2.wma", true, true, 44100, 2, false, 2205, -1, 0},
        Format{"tags/taglib/tests/data/lossless.wma", true, true, 44100, 2, false, 2205, -1, 0}),
    [](const auto& info) {
        std::string name = std::filesystem::path(info.param.name).filename().string();
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });
