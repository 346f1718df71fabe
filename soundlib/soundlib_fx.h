#pragma once
// Channel effects of the sound library: effect type codes and the parameter record of
// each type. A record is passed by pointer to BASS_FXSetParameters; its fields lie in the
// order below, each 32 bits wide (float, or int where declared so).
#include <cstdint>

// Effect types for BASS_ChannelSetFX.
enum : std::uint32_t {
    BASS_FX_CHORUS = 0,
    BASS_FX_COMPRESSOR = 1,
    BASS_FX_DISTORTION = 2,
    BASS_FX_ECHO = 3,
    BASS_FX_FLANGER = 4,
    BASS_FX_GARGLE = 5,
    BASS_FX_PARAMEQ = 7,
    BASS_FX_REVERB = 8,
};

// Chorus and flanger. Ranges chorus / flanger (default chorus / flanger).
struct BASS_FXCHORUS {
    float fWetDryMix;  // 0..100 % of wet signal (50 / 50)
    float fDepth;      // 0..100 % modulation of the delay (10 / 100)
    float fFeedback;   // -99..99 % of the output fed back (25 / -50)
    float fFrequency;  // 0..10 Hz of the modulation (1.1 / 0.25)
    std::int32_t lWaveform;  // 0 triangle, 1 sine (1 / 1)
    float fDelay;            // 0..20 ms / 0..4 ms centre delay (16 / 2)
    std::int32_t lPhase;     // 0..4: right against left -180, -90, 0, 90, 180 degrees (3 / 2)
};
using BASS_FXFLANGER = BASS_FXCHORUS;

struct BASS_FXCOMPRESSOR {
    float fGain;       // -60..60 dB after compression (0)
    float fAttack;     // 0.01..500 ms (10)
    float fRelease;    // 50..3000 ms (200)
    float fThreshold;  // -60..0 dB (-20)
    float fRatio;      // 1..100 (3)
    float fPredelay;   // 0..4 ms of look-ahead (4)
};

struct BASS_FXDISTORTION {
    float fGain;                   // -60..0 dB (-18)
    float fEdge;                   // 0..100 % intensity (15)
    float fPostEQCenterFrequency;  // 100..8000 Hz of the added harmonics (2400)
    float fPostEQBandwidth;        // 100..8000 Hz (2400)
    float fPreLowpassCutoff;       // 100..8000 Hz (8000)
};

struct BASS_FXECHO {
    float fWetDryMix;         // 0..100 % (50)
    float fFeedback;          // 0..100 % (50)
    float fLeftDelay;         // 1..2000 ms (500)
    float fRightDelay;        // 1..2000 ms (500)
    std::int32_t lPanDelay;   // non-zero: each repeat changes sides (0)
};

struct BASS_FXGARGLE {
    std::int32_t dwRateHz;     // 1..1000 Hz of the amplitude modulation (20)
    std::int32_t dwWaveShape;  // 0 triangle, 1 square (0)
};

struct BASS_FXPARAMEQ {
    float fCenter;     // 80..16000 Hz, taken down to a third of the sample rate (8000)
    float fBandwidth;  // 1..36 semitones (12)
    float fGain;       // -15..15 dB; 0 leaves the signal untouched (0)
};

struct BASS_FXREVERB {
    float fInGain;           // -96..0 dB (0)
    float fReverbMix;        // -96..0 dB of reverb; 0 is reverb only (0)
    float fReverbTime;       // 0.001..3000 ms for the tail to fall by 60 dB (1000)
    float fHighFreqRTRatio;  // 0.001..0.999: reverb time of the highs against the lows (0.001)
};
