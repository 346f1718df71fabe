#include "player/ui/equalizer_presets.h"

namespace equalizer {

QString PresetCaption(int index) {
    if (index >= 0 && index < kUserPreset) return QString::fromUtf8(kPresets[index].caption);
    return QString::fromUtf8(kUserPresetCaption);
}

int PresetIndex(const QString& caption) {
    for (int i = 0; i <= kUserPreset; ++i)
        if (PresetCaption(i) == caption) return i;
    return 0;
}

}  // namespace equalizer
