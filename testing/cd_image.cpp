#include "testing/cd_image.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "testing/temp_dir.h"

namespace testing_support {
namespace {

constexpr int kSectorBytes = 2352;
constexpr int kFramesPerSector = 588;

// Sector count as the CUE's minutes:seconds:frames.
std::string msf(int sector) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", sector / 75 / 60, sector / 75 % 60,
                  sector % 75);
    return text;
}

}  // namespace

long cdTrackOffset(const std::vector<CdImageTrack>& tracks, int index) {
    long offset = 0;
    for (int i = 0; i < index; ++i) offset += static_cast<long>(tracks[i].sectors) * kSectorBytes;
    return offset;
}

std::filesystem::path writeCdImage(const std::filesystem::path& folder, const std::string& name,
                                   const std::vector<CdImageTrack>& tracks) {
    std::string bin, cue = "FILE \"" + name + ".bin\" BINARY\n";
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const CdImageTrack& track = tracks[i];
        char number[24];
        std::snprintf(number, sizeof number, "%02zu", i + 1);
        cue += std::string("  TRACK ") + number + (track.hz ? " AUDIO\n" : " MODE1/2352\n");
        cue += "    INDEX 01 " + msf(static_cast<int>(bin.size() / kSectorBytes)) + "\n";
        if (!track.hz) {
            bin.append(static_cast<std::size_t>(track.sectors) * kSectorBytes, '\0');
            continue;
        }
        const auto raw = folder / (name + "-track.raw");
        const std::string command = "sox -r 44100 -n -r 44100 -b 16 -c 2 -e signed-integer -L '" +
                                    raw.string() + "' synth " +
                                    std::to_string(track.sectors * kFramesPerSector) + "s sine " +
                                    std::to_string(track.hz) + " vol 0.5";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("sox failed: " + command);
        bin += readFile(raw);
        std::filesystem::remove(raw);
    }
    writeFile(folder / (name + ".bin"), bin);
    writeFile(folder / (name + ".cue"), cue);
    return folder / (name + ".cue");
}

}  // namespace testing_support
