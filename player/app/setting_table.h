#pragma once
// Every stored setting: its section, value name, default and the range of the control it
// is applied to. The tables are in the order in which the values are read at start-up.
#include <array>
#include <climits>
#include <span>

struct SettingSpec {
    const char* section;
    const char* name;
    int defaultValue;
    int min = INT_MIN;
    int max = INT_MAX;
};

namespace settings {

inline constexpr const char* kMain = "Main";

inline constexpr SettingSpec kFirstRun{kMain, "FirstRun", 1};
inline constexpr SettingSpec kVolume{kMain, "Volume", 50, 0, 100};
inline constexpr SettingSpec kEqDepth{kMain, "EqDepth", 18, 1, 36};
inline constexpr SettingSpec kShowTrayIcon{kMain, "ShowTrayIcon", 0};
inline constexpr SettingSpec kShowInfoInTray{kMain, "ShowInfoInTray", 0};
inline constexpr SettingSpec kLeftPopUp{kMain, "LeftPopUp", 0};
inline constexpr SettingSpec kEqualizerOn{kMain, "EqualizerOn", 0};
// The position in the preset menu (0 ... 21); 20 is the default preset. Not clamped: a
// position without a menu item names hand-set bands.
inline constexpr SettingSpec kEqualizerPreset{kMain, "EqualizerPreset", 20};
// The update server's base address, "http://host" or "https://host[:port]": a text, only
// read (the update wizard's default stands when it is missing or empty).
inline constexpr const char* kUpdateServer = "UpdateServer";

// One channel effect: its switch lives in "Main" under the effect's name, its parameters
// (the positions of the effect window's scroll bars, in order) in its own section.
struct EffectSpec {
    const char* name;
    std::span<const SettingSpec> parameters;
    SettingSpec onSwitch() const { return {kMain, name, 0}; }
};

inline constexpr SettingSpec kChorus[] = {
    {"Chorus", "WetDryMix", 0, 0, 100}, {"Chorus", "Depth", 25, 0, 100},
    {"Chorus", "FreeBack", 99, 0, 198}, {"Chorus", "Frequency", 0, 0, 10},
    {"Chorus", "WaveForm", 1, 0, 1},    {"Chorus", "Delay", 0, 0, 20},
    {"Chorus", "Phase", 0, 0, 4},
};
inline constexpr SettingSpec kCompression[] = {
    {"Compression", "Gain", 60, 0, 120},      {"Compression", "Attack", 1, 1, 50000},
    {"Compression", "Release", 50, 50, 3000}, {"Compression", "ThresHold", 50, 0, 60},
    {"Compression", "Ratio", 10, 1, 100},     {"Compression", "PreDelay", 0, 0, 4},
};
inline constexpr SettingSpec kDistortion[] = {
    {"Distortion", "Gain", 60, 0, 60},
    {"Distortion", "Edge", 50, 0, 100},
    {"Distortion", "PostEqCenterFreq", 4000, 100, 8000},
    {"Distortion", "PostEqBandWidth", 4000, 100, 8000},
    {"Distortion", "PreLowpassCutOff", 4000, 100, 8000},
};
inline constexpr SettingSpec kEcho[] = {
    {"Echo", "WetDryMix", 0, 0, 100},    {"Echo", "FreeBack", 0, 0, 100},
    {"Echo", "LeftDelay", 333, 1, 2000}, {"Echo", "RightDelay", 333, 1, 2000},
    {"Echo", "PanDelay", 0, 0, 1},
};
inline constexpr SettingSpec kFlanger[] = {
    {"Flanger", "WetDryMix", 0, 0, 100}, {"Flanger", "Depth", 25, 0, 100},
    {"Flanger", "FreeBack", 99, 0, 198}, {"Flanger", "Frequency", 0, 0, 10},
    {"Flanger", "WaveForm", 0, 0, 1},    {"Flanger", "Delay", 0, 0, 4},
    {"Flanger", "Phase", 0, 0, 4},
};
inline constexpr SettingSpec kGargle[] = {
    {"Gargle", "RateHz", 1, 1, 1000},
    {"Gargle", "WaveShape", 0, 0, 1},
};
inline constexpr SettingSpec kReverb[] = {
    {"Reverb", "Gain", 96, 0, 96},
    {"Reverb", "ReverbMix", 96, 0, 96},
    {"Reverb", "ReverbTime", 1000, 1, 3000},
    {"Reverb", "HighFreqRTRatio", 1, 1, 999},
};

inline constexpr std::array<EffectSpec, 7> kEffects{{
    {"Chorus", kChorus},
    {"Compression", kCompression},
    {"Distortion", kDistortion},
    {"Echo", kEcho},
    {"Flanger", kFlanger},
    {"Gargle", kGargle},
    {"Reverb", kReverb},
}};

}  // namespace settings
