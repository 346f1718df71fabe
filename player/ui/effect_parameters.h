#pragma once
// How the effect window shows the seven channel effects: per effect its tab caption and
// the sound library's effect type, per parameter its name label, its hint and how a
// scroll-bar position becomes the value passed to the sound library and shown beside the
// bar. The tables run parallel to settings::kEffects, which gives each bar's range,
// default and stored name.
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <span>

#include "player/app/setting_table.h"

namespace effects {

enum class ValueKind {
    Float,  // (position - offset) / divisor
    Int,    // position - offset
    Bool,   // all bits set when the position is not 0; shown as the position
};

struct ParameterView {
    const char* label;
    const char* hint;
    ValueKind kind = ValueKind::Float;
    int offset = 0;
    int divisor = 1;  // 100 and 1000 show two and three decimals
};

struct EffectView {
    const char* caption;
    std::uint32_t type;  // of BASS_ChannelSetFX
    std::span<const ParameterView> parameters;
};

inline constexpr const char* kWetDryHint =
    "Ratio of wet (processed) signal to dry (unprocessed) signal";
inline constexpr const char* kFeedbackHint =
    "Percentage of output signal to feed back into the effect's input";
inline constexpr const char* kLfoWaveHint = "Waveform of the LFO... 0 = triangle, 1 = sine";
inline constexpr const char* kDelayHint =
    "Number of milliseconds the input is delayed before it is played back";
inline constexpr const char* kPhaseHint = "Phase differential between left and right LFOs";

inline constexpr ParameterView kChorus[] = {
    {"WetDryMix", kWetDryHint},
    {"Depth",
     "Percentage by which the delay time is modulated by the low-frequency oscillator, in "
     "hundredths of a percentage point"},
    {"Feedback", kFeedbackHint, ValueKind::Float, 99},
    {"Frequency", "Frequency of the LFO"},
    {"Waveform", kLfoWaveHint, ValueKind::Int},
    {"Delay", kDelayHint},
    {"Phase", kPhaseHint, ValueKind::Int},
};
inline constexpr ParameterView kCompression[] = {
    {"Gain", "Output gain of signal after compression", ValueKind::Float, 60},
    {"Attack", "Time before compression reaches its full value", ValueKind::Float, 0, 100},
    {"Release", "Speed at which compression is stopped after input drops below Threshold"},
    {"Threshold", "Point at which compression begins, in decibels", ValueKind::Float, 60},
    {"Ratio", "Compression ratio"},
    {"Predelay", "Time after lThreshold is reached before attack phase is started"},
};
inline constexpr ParameterView kDistortion[] = {
    {"Gain", "Amount of signal change after distortion", ValueKind::Float, 60},
    {"Edge", "Percentage of distortion intensity"},
    {"PostEQCenterFreq", "Center frequency of harmonic content addition"},
    {"PostEQBandwidth",
     "Width of frequency band that determines range of harmonic content addition"},
    {"PreLowpassCutoff", "Filter cutoff for high-frequency harmonics attenuation"},
};
inline constexpr ParameterView kEcho[] = {
    {"WetDryMix", kWetDryHint},
    {"Feedback", "Percentage of output fed back into input"},
    {"LeftDelay", "Delay for left channel, in milliseconds"},
    {"RightDelay", "Delay for right channel, in milliseconds"},
    {"PanDelay",
     "Value that specifies whether to swap left and right delays with each successive echo",
     ValueKind::Bool},
};
inline constexpr ParameterView kFlanger[] = {
    {"WetDryMix", kWetDryHint},
    {"Depth",
     "Percentage by which the delay time is modulated by the low-frequency oscillator (LFO), "
     "in hundredths of a percentage point"},
    {"Feedback", kFeedbackHint, ValueKind::Float, 99},
    {"Frequency", "Frequency of the LFO"},
    {"Waveform", kLfoWaveHint, ValueKind::Int},
    {"Delay", kDelayHint},
    {"Phase", kPhaseHint, ValueKind::Int},
};
inline constexpr ParameterView kGargle[] = {
    {"RateHz", "Rate of modulation, in Hertz", ValueKind::Int},
    {"WaveShape", "Shape of the modulation wave... 0 = triangle, 1 = square", ValueKind::Int},
};
inline constexpr ParameterView kReverb[] = {
    {"Gain", "Input gain of signal, in decibels", ValueKind::Float, 96},
    {"ReverbMix", "Reverb mix", ValueKind::Float, 96},
    {"ReverbTime", "Reverb time, in milliseconds"},
    {"HighFreqRTRatio", "HighFreqRTRatio", ValueKind::Float, 0, 1000},
};

inline constexpr std::array<EffectView, settings::kEffects.size()> kEffectViews{{
    {"Chorus", 0, kChorus},
    {"Compression", 1, kCompression},
    {"Distortion", 2, kDistortion},
    {"Echo", 3, kEcho},
    {"Flanger", 4, kFlanger},
    {"Gargle", 5, kGargle},
    {"Reverb", 8, kReverb},
}};

// The longest parameter list: the chorus and the flanger have seven.
inline constexpr std::size_t kMostParameters = 7;

// An effect's parameter record: one 32-bit word a parameter, in table order, each a float,
// an integer or a boolean as the parameter's kind says; the words after the last
// parameter are 0.
using Record = std::array<std::uint32_t, kMostParameters>;

// The value passed for a position, as a number (a boolean as 1 or 0).
double Value(const ParameterView& parameter, int position);
// The value label's text: integers in plain decimal text, fractions with at most as many
// decimals as the divisor has zeros and the locale's decimal separator.
QString ValueText(const ParameterView& parameter, int position,
                  const QLocale& locale = QLocale::system());
// The record of effect `effect` (index in kEffectViews) for these scroll-bar positions.
Record MakeRecord(std::size_t effect, std::span<const int> positions);

}  // namespace effects
