#pragma once
/*
 * Parameter records of the channel effects (types SOUND_FX_* of soundlib.h). A record of
 * the effect's type is passed by pointer to BASS_FXSetParameters and filled by
 * BASS_FXGetParameters; its fields lie in the order below, each 32 bits wide. A record
 * with a value outside its range is refused (SOUND_ERROR_PARAM) and the effect keeps its
 * previous values. Ranges and (defaults).
 */
#include <stdint.h>

#include "soundlib/soundlib.h"

/* SOUND_FX_CHORUS and SOUND_FX_FLANGER; values chorus / flanger. */
typedef struct SoundFxChorus {
    float wetDryMix;  /* 0..100 % of processed signal in the output (50 / 50) */
    float depth;      /* 0..100 % by which the oscillator moves the delay (10 / 100) */
    float feedback;   /* -99..99 % of the delayed signal fed back into the delay (25 / -50) */
    float frequency;  /* 0..10 Hz of the oscillator (1.1 / 0.25) */
    int32_t waveform; /* 0 triangle, 1 sine (1 / 1) */
    float delay;      /* 0..20 ms / 0..4 ms: centre of the delay (16 / 2) */
    int32_t phase;    /* 0..4: right oscillator against the left by -180, -90, 0, 90, 180
                         degrees (3 / 2) */
} SoundFxChorus;
typedef SoundFxChorus SoundFxFlanger;

typedef struct SoundFxCompressor {
    float gain;      /* -60..60 dB after compression (0) */
    float attack;    /* 0.01..500 ms (10) */
    float release;   /* 50..3000 ms (200) */
    float threshold; /* -60..0 dB (-20) */
    float ratio;     /* 1..100 (3) */
    float predelay;  /* 0..4 ms of look-ahead (4) */
} SoundFxCompressor;

typedef struct SoundFxDistortion {
    float gain;             /* -60..0 dB (-18) */
    float edge;             /* 0..100 % intensity (15) */
    float postEqCentre;     /* 100..8000 Hz: centre of the added harmonics (2400) */
    float postEqBandwidth;  /* 100..8000 Hz: their band's width (2400) */
    float preLowpassCutoff; /* 100..8000 Hz (8000) */
} SoundFxDistortion;

typedef struct SoundFxEcho {
    float wetDryMix;  /* 0..100 % (50) */
    float feedback;   /* 0..100 % (50) */
    float leftDelay;  /* 1..2000 ms (500) */
    float rightDelay; /* 1..2000 ms (500) */
    int32_t panDelay; /* non-zero: each repeat changes sides (0) */
} SoundFxEcho;

typedef struct SoundFxGargle {
    int32_t rateHz;    /* 1..1000 Hz of the amplitude modulation (20) */
    int32_t waveShape; /* 0 triangle, 1 square (0) */
} SoundFxGargle;

/* SOUND_FX_PARAMEQ: one peaking band. */
typedef struct SoundFxParamEq {
    float centre;    /* 80..16000 Hz, taken down to a third of the channel's rate (8000) */
    float bandwidth; /* 1..36 semitones between the half-gain points (12) */
    float gain;      /* -15..15 dB; 0 leaves the signal untouched (0) */
} SoundFxParamEq;

typedef struct SoundFxReverb {
    float inputGain;       /* -96..0 dB (0) */
    float reverbMix;       /* -96..0 dB of reverb, the dry signal making up the rest; 0 is
                              reverb only (0) */
    float reverbTime;      /* 0.001..3000 ms for the tail to fall by 60 dB (1000) */
    float highFreqRtRatio; /* 0.001..0.999: reverb time of the highs against the lows
                              (0.001) */
} SoundFxReverb;
