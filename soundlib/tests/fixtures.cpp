#include "soundlib/tests/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <thread>

#include "soundlib/soundlib.h"
#include "testing/temp_dir.h"

namespace soundlib_test {
namespace {

testing_support::TempDir& folder() {
    static testing_support::TempDir dir;
    return dir;
}

// Commands that write the file named by the key; OUT stands for its path.
const std::map<std::string, std::string>& recipes() {
    static const std::map<std::string, std::string> list{
        // 1.5 s, 440 Hz left and 1000 Hz right, near full scale.
        {"stereo.wav", "sox -n -r 44100 -b 16 -c 2 OUT synth 1.5 sine 440 sine 1000 vol 0.9"},
        {"mono8.wav", "sox -n -r 22050 -b 8 -e unsigned -c 1 OUT synth 1.2 sine 300 vol 0.8"},
        {"adpcm_ms.wav",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=44100:duration=1.3:seed=1 "
         "-ac 2 -c:a adpcm_ms OUT"},
        {"adpcm_ima.wav",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=32000:duration=1.1:seed=2 "
         "-c:a adpcm_ima_wav OUT"},
        {"lame.mp3",
         "ffmpeg -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2.5 "
         "-ac 2 -c:a libmp3lame -b:a 128k OUT"},
        {"vbr.mp3",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=48000:duration=2.2:seed=7 "
         "-ac 2 -c:a libmp3lame -q:a 4 OUT"},
        {"plain.mp3",
         "ffmpeg -f lavfi -i sine=frequency=700:sample_rate=22050:duration=1.7 "
         "-c:a libmp3lame -b:a 32k -write_xing 0 -id3v2_version 0 OUT"},
        {"layer2.mp2",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=48000:duration=1.4:seed=3 "
         "-ac 2 -c:a mp2 -b:a 192k OUT"},
        {"vorbis.ogg",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=44100:duration=1.9:seed=4 "
         "-ac 2 -c:a libvorbis -q:a 3 OUT"},
        {"wma2.wma",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=44100:duration=2.1:seed=5 "
         "-ac 2 -c:a wmav2 -b:a 128k OUT"},
        {"wma1.wma",
         "ffmpeg -f lavfi -i anoisesrc=sample_rate=22050:duration=1.6:seed=6 "
         "-c:a wmav1 -b:a 64k OUT"},
        // A 5-minute MP3 with a LAME header, for measuring lengths.
        {"long.mp3",
         "ffmpeg -f lavfi -i sine=frequency=440:sample_rate=44100:duration=300 "
         "-ac 2 -c:a libmp3lame -b:a 128k OUT"},
    };
    return list;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace

std::filesystem::path scratch(const std::string& name) {
    return folder() / name;
}

std::filesystem::path peer(const std::string& relative) {
    return std::filesystem::path(ZORVAN_PEERS_DIR) / relative;
}

std::filesystem::path fixture(const std::string& name) {
    const auto path = folder() / name;
    if (std::filesystem::exists(path)) return path;
    auto it = recipes().find(name);
    if (it == recipes().end()) {
        ADD_FAILURE() << "no fixture " << name;
        return path;
    }
    std::string command = it->second;
    command.replace(command.find("OUT"), 3, quoted(path));
    if (command.rfind("ffmpeg", 0) == 0) command.insert(6, " -nostdin -loglevel error -y");
    command += " 2>&1";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not make " << name;
    return path;
}

std::vector<std::int16_t> sine(double hz, double amplitude, int rate, int frames) {
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(
            std::lround(32767.0 * amplitude * std::sin(2 * M_PI * hz * i / rate)));
        out[2 * i] = out[2 * i + 1] = v;
    }
    return out;
}

std::vector<std::int16_t> referenceDecode(const std::filesystem::path& file) {
    const std::string probe =
        "ffprobe -v error -select_streams a:0 -show_entries stream=channels "
        "-of default=nw=1:nk=1 " +
        quoted(file);
    int channels = 2;
    if (std::unique_ptr<FILE, int (*)(FILE*)> p(popen(probe.c_str(), "r"), pclose); p) {
        if (std::fscanf(p.get(), "%d", &channels) != 1) channels = 2;
    }
    const std::string command =
        "ffmpeg -nostdin -loglevel error -i " + quoted(file) + " -f s16le -acodec pcm_s16le -";
    std::vector<std::int16_t> samples;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return samples;
    std::int16_t buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 2, 4096, pipe.get())) > 0) {
        samples.insert(samples.end(), buffer, buffer + got);
    }
    if (channels == 1) {
        std::vector<std::int16_t> stereo(samples.size() * 2);
        for (std::size_t i = 0; i < samples.size(); ++i)
            stereo[2 * i] = stereo[2 * i + 1] = samples[i];
        samples.swap(stereo);
    }
    return samples;
}

std::vector<std::int16_t> renderPlayed(std::uint32_t stream, std::size_t frames) {
    // One mixer block per render: a render of several blocks can stall in one and go on in
    // the next, leaving silence between played frames that no position tells apart.
    SoundDeviceInfo device{};
    device.size = sizeof device;
    BASS_GetInfo(&device);
    const auto mixerBlock = static_cast<std::size_t>(std::max<std::int64_t>(
        1, std::int64_t{device.freq} * BASS_GetConfig(SOUND_CONFIG_UPDATEPERIOD) / 1000));
    const std::size_t whole = std::min<std::size_t>(1024, mixerBlock);
    std::vector<std::int16_t> played, block(2 * whole);
    // The frames a render of `size` frames moved the stream by: a stalled block is silence
    // and moves it by nothing; a stream that ends jumps to its length, past what it played.
    const auto renderMoved = [&](std::size_t size) {
        const int64_t before = BASS_ChannelGetPosition(stream);
        BASS_Render(block.data(), static_cast<uint32_t>(size));
        const int64_t moved = (BASS_ChannelGetPosition(stream) - before) / 4;
        return static_cast<long>(std::clamp<int64_t>(moved, 0, static_cast<int64_t>(size)));
    };
    for (int tries = 0; played.size() < 2 * frames && tries < 20000; ++tries) {
        const uint32_t active = BASS_ChannelIsActive(stream);
        if (active == SOUND_ACTIVE_STOPPED) break;
        if (active == SOUND_ACTIVE_STALLED)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const long moved =
            renderMoved(active == SOUND_ACTIVE_STALLED ? std::min<std::size_t>(16, whole) : whole);
        played.insert(played.end(), block.begin(), block.begin() + 2 * moved);
    }
    return played;
}

}  // namespace soundlib_test
