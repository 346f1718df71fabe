#include "player/ui/cd_mode_rules.h"

#include <algorithm>

namespace cd_mode_rules {

QString TimeText(std::int64_t seconds) {
    return QString::asprintf("%.2d:%.2d", static_cast<int>(seconds / 60),
                             static_cast<int>(seconds % 60));
}

QString TrackRowText(int track, std::int32_t lengthBytes) {
    if (lengthBytes == -1) return QString::asprintf("Track %.2d (data)", track + 1);
    return QString::asprintf("Track %.2d (", track + 1) + TimeText(lengthBytes / kBytesPerSecond) +
           QLatin1Char(')');
}

QString TrackLengthText(int track, std::int32_t lengthBytes) {
    return lengthBytes == -1 ? TrackRowText(track, lengthBytes)
                             : TimeText(lengthBytes / kBytesPerSecond);
}

int FallingPeak(int peak, int level) {
    return std::max(std::max(peak - 8, 0), level);
}

}  // namespace cd_mode_rules
