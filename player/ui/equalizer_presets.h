#pragma once
// The graphic equalizer's bands and its named presets, in the order of the preset menu.
// A band's gain in dB is the negated position of its vertical slider (the top end has
// the smallest position); the depth slider gives every band a bandwidth of 37 - position
// semitones.
#include <QString>
#include <array>

namespace equalizer {

inline constexpr int kBands = 9;
inline constexpr std::array<float, kBands> kBandCentres{80,   125,  250,  500,  1000,
                                                        2000, 4000, 8000, 16000};

struct Preset {
    const char* caption;
    std::array<int, kBands> gains;  // dB, bands in order
};

inline constexpr int kDefaultPreset = 20;
inline constexpr int kUserPreset = 21;
// The depth position that the default preset sets: a bandwidth of 18 semitones.
inline constexpr int kDefaultPresetDepth = 19;

// The presets with gains; the menu's last item, kUserPreset, names hand-set bands.
inline constexpr std::array<Preset, kUserPreset> kPresets{{
    {"Танцевальный", {2, 5, 1, -1, -1, 0, 0, 4, 4}}, {"Фолк", {-1, 1, 0, 2, 0, 0, 0, 2, 0}},
    {"Джаз", {0, 0, 3, 3, 3, 0, 2, 4, 4}},           {"Металл", {-2, 0, 0, 0, 0, 3, 0, 3, 1}},
    {"Рэп", {0, 2, 2, -1, -1, 0, 0, 4, 6}},          {"Рок", {0, 2, 3, -1, -1, 0, 0, 4, 4}},
    {"Техно", {-3, 4, -1, -1, -2, 0, 0, 5, 5}},      {"Гранж", {-2, 0, -2, 0, 0, 2, 3, 0, -3}},
    {"Ньюэйдж", {1, 3, 0, 0, 0, 0, 0, 1, 1}},        {"Классика", {3, 6, 3, 0, 0, 0, 0, 2, 2}},
    {"Неэлектронная", {0, 2, 0, 0, 0, 0, 0, 2, 2}},  {"Кантри", {0, 0, 2, 2, 0, 0, 0, 3, 3}},
    {"Регги", {0, 0, -3, 0, 3, 4, 0, 3, 4}},         {"Ретро", {-1, 2, 1, 0, 0, 0, 0, -2, -5}},
    {"Блюз", {0, 2, 1, 0, 0, 0, 0, -1, -3}},         {"Опера", {0, 0, 3, 4, 2, 5, 2, 0, 0}},
    {"Речь", {0, 0, 0, 3, 3, 0, 2, 4, 4}},           {"Свинг", {-1, 2, 1, 0, 0, 0, 0, -2, -5}},
    {"Музыка 56k", {0, 0, 0, 0, 0, 0, 0, -2, 0}},    {"Музыка 28k", {0, 0, 0, 0, 0, 0, 0, -2, -3}},
    {"По умолчанию", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
}};
inline constexpr const char* kUserPresetCaption = "Определяется пользователем";

// The caption of menu item `index`; an index with no item names hand-set bands.
QString PresetCaption(int index);
// The position of the first menu item with exactly this caption, 0 when none has it.
int PresetIndex(const QString& caption);

inline float BandGain(int position) {
    return static_cast<float>(-position);
}
inline float Bandwidth(int depthPosition) {
    return static_cast<float>(37 - depthPosition);
}

}  // namespace equalizer
