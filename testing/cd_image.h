#pragma once
// Audio-CD images for tests: a BIN of raw sectors and the CUE sheet that describes it,
// each audio track a sine made by the sox tool.
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct CdImageTrack {
    int sectors;  // 75 a second, 2352 bytes each
    int hz;       // the track's tone; 0 makes a data track (MODE1/2352, zeros)
};

// Writes <folder>/<name>.bin and <name>.cue (tracks one after another, no gaps) and
// returns the CUE's path; throws when sox fails.
std::filesystem::path writeCdImage(const std::filesystem::path& folder, const std::string& name,
                                   const std::vector<CdImageTrack>& tracks);

// The byte offset of track `index` (from 0) in the BIN.
long cdTrackOffset(const std::vector<CdImageTrack>& tracks, int index);

}  // namespace testing_support
