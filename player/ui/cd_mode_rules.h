#pragma once
// The texts and level meters of CD mode, apart from the widgets that show them.
#include <QString>
#include <cstdint>

namespace cd_mode_rules {

// Bytes of CD audio a second: 44 100 frames of 16-bit stereo.
constexpr std::int64_t kBytesPerSecond = 176'400;

// "mm:ss" of whole seconds.
QString TimeText(std::int64_t seconds);
// A track list row: "Track 01 (04:12)" from a track's length in bytes (track from 0), or
// "Track 13 (data)" for the length -1 of a data track.
QString TrackRowText(int track, std::int32_t lengthBytes);
// The track length label: the track's "mm:ss", or the row text of a data track.
QString TrackLengthText(int track, std::int32_t lengthBytes);
// A level meter's next value: the peak falls by 8 a tick (not below 0) unless the level
// now heard is higher.
int FallingPeak(int peak, int level);

}  // namespace cd_mode_rules
