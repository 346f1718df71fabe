#pragma once
/*
 * Zorvan's sound library: one output device, any number of channels (file streams,
 * WMA streams, internet streams and tracker musics), mixed on a thread of the library's
 * own and played through SDL2.
 *
 * Conventions of every call:
 *  - Handles are 32-bit; 0 means failure. Streams and musics are distinct kinds: a call
 *    meant for one kind given a handle of the other fails with SOUND_ERROR_KIND and
 *    changes nothing.
 *  - Channel data is 16-bit stereo at the channel's own rate; bytes and seconds convert
 *    at 4 bytes a frame at that rate (musics render at the output rate).
 *  - Lengths and positions are 64-bit byte counts; seconds are floats.
 *  - Calls that return a count or handle report failure as 0 or -1 (as stated per call)
 *    and record an error code, read with BASS_ErrorGetCode on the same thread.
 *  - Every call may be made from any thread. Sample callbacks and syncs run on the
 *    mixer thread; they may call the library, including freeing their own channel.
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Error codes (BASS_ErrorGetCode) ---------------------------------------------- */
enum {
    SOUND_OK = 0,              /* the last call succeeded */
    SOUND_ERROR_INIT = 1,      /* BASS_Init has not been called (or BASS_Free was) */
    SOUND_ERROR_ALREADY = 2,   /* BASS_Init called twice without BASS_Free */
    SOUND_ERROR_DEVICE = 3,    /* no output device with that number */
    SOUND_ERROR_OUTPUT = 4,    /* the output device exists but could not be opened */
    SOUND_ERROR_HANDLE = 5,    /* zero, stale or unknown handle */
    SOUND_ERROR_KIND = 6,      /* the handle is of the other kind (stream vs music) */
    SOUND_ERROR_PARAM = 7,     /* an argument is out of range or malformed */
    SOUND_ERROR_FILEOPEN = 8,  /* the file is missing or cannot be read */
    SOUND_ERROR_FORMAT = 9,    /* the data is not in a format this call plays */
    SOUND_ERROR_POSITION = 10, /* position beyond the end, or the stream cannot seek */
    SOUND_ERROR_NOTAVAIL = 11, /* the requested data or part is not available */
    SOUND_ERROR_MEMORY = 12,   /* a size beyond the library's bounds, or out of memory */
    SOUND_ERROR_NETWORK = 13,  /* a connection failed or was refused */
    SOUND_ERROR_TIMEOUT = 14,  /* a connection or transfer took too long */
    SOUND_ERROR_EFFECT = 15,   /* unknown channel-effect type or effect handle */
    SOUND_ERROR_DECODE = 16,   /* the data could not be decoded */
    SOUND_ERROR_UNKNOWN = 99   /* anything else */
};

/* ---- Library ------------------------------------------------------------------------ */

/* The library's major version: 2. */
uint32_t BASS_GetVersion(void);

/* BASS_Init flags. Other bits are accepted and ignored. */
#define SOUND_INIT_OFFLINE 0x80000000u /* no device and no mixer thread: BASS_Render drives */

/* Opens the output. device 0: no sound (the mixer still runs in real time); 1: the
   default output; 2, 3, ...: further outputs in the order BASS_GetDeviceDescription
   lists them. freq is the output rate, 8000..192000 (0 means 44100). window and clsid
   are accepted and unused. Nonzero on success; fails with SOUND_ERROR_DEVICE,
   SOUND_ERROR_OUTPUT, SOUND_ERROR_PARAM or SOUND_ERROR_ALREADY. */
int BASS_Init(int device, uint32_t freq, uint32_t flags, void* window, const void* clsid);
/* Starts (or restarts) output after BASS_Init. */
int BASS_Start(void);
/* Frees every channel, stops the mixer and closes the output. Refused (SOUND_ERROR_PARAM)
   from a callback on the mixer thread, which it would have to wait for. */
int BASS_Free(void);
/* The error code of the last call made on this thread. */
int BASS_ErrorGetCode(void);

/* Mixes `frames` frames of 16-bit stereo at the output rate into `buffer` (4 bytes a
   frame), advancing every playing channel as a device would. Only after BASS_Init with
   SOUND_INIT_OFFLINE. Returns the frames written, or -1. */
int32_t BASS_Render(void* buffer, uint32_t frames);

/* Master output volume 0..100 (applied after mixing). */
int BASS_SetVolume(uint32_t volume);
/* The master volume, or -1. */
int32_t BASS_GetVolume(void);

/* Percent of one core spent mixing and decoding, over audio time rendered, averaged
   over about the last second. */
float BASS_GetCPU(void);

typedef struct SoundDeviceInfo {
    uint32_t size;     /* set by the caller; at most this many bytes are filled */
    uint32_t flags;    /* reserved, 0 */
    uint32_t minrate;  /* lowest output rate accepted, Hz */
    uint32_t maxrate;  /* highest output rate accepted, Hz */
    uint32_t dsver;    /* generation of the output interface: reported as 9 */
    uint32_t speakers; /* output channels: 2 */
    uint32_t freq;     /* current output rate, Hz */
    uint32_t latency;  /* ring plus device buffer, ms */
    uint32_t device;   /* the device number given to BASS_Init */
} SoundDeviceInfo;

/* Fills the record (up to info->size bytes). Fails with SOUND_ERROR_INIT or
   SOUND_ERROR_PARAM (null record or size below 4). */
int BASS_GetInfo(SoundDeviceInfo* info);
/* The name of output `device` (0 "No sound", 1 "Default output", 2... the system's
   outputs), or NULL past the last one. The text stays valid until the process ends. */
const char* BASS_GetDeviceDescription(int device);

/* Options of BASS_SetConfig / BASS_GetConfig. */
enum {
    SOUND_CONFIG_BUFFER = 0,       /* output ring, ms, 10..1000 (default 100); next Init */
    SOUND_CONFIG_UPDATEPERIOD = 1, /* mixer block, ms, 1..100 (default 10) */
    SOUND_CONFIG_MUSIC_STOP = 8,   /* 1 (default): musics stop at their end; 0: loop */
    SOUND_CONFIG_RESAMPLE = 10,    /* resampler quality 0 (fastest) .. 3 (best, default) */
    SOUND_CONFIG_NET_TIMEOUT = 11, /* internet connection timeout, ms (default 5000) */
    SOUND_CONFIG_NET_BUFFER = 12   /* internet read-ahead, ms of audio (default 5000) */
};
/* Sets an option; returns the value now in force, or -1 (SOUND_ERROR_PARAM) for an
   unknown option or a value outside its range. Works before BASS_Init. */
int32_t BASS_SetConfig(uint32_t option, uint32_t value);
/* An option's value, or -1 for an unknown option. */
int32_t BASS_GetConfig(uint32_t option);

/* ---- Creating and freeing channels --------------------------------------------------- */

/* Opens a file stream: MPEG layers 1-3, WAV (PCM including 8-bit, ADPCM), Ogg Vorbis,
   and other audio formats the decoder knows; tracker modules are refused (use
   BASS_MusicLoad). mem 0: `file` is a UTF-8 path and offset/length select a part of the
   file (length 0 = to the end); mem nonzero: `file` points at `length` bytes in memory
   that must outlive the stream. flags: 0 or SOUND_STREAM_PROBE. Returns the stream, or 0
   with SOUND_ERROR_INIT, SOUND_ERROR_FILEOPEN, SOUND_ERROR_FORMAT, SOUND_ERROR_MEMORY or
   SOUND_ERROR_PARAM. */
uint32_t BASS_StreamCreateFile(int mem, const void* file, int64_t offset, int64_t length,
                               uint32_t flags);
/* Flag of the file streams: the stream is opened to be measured, not played. MPEG audio
   is then measured from its frame headers alone, at a fraction of the cost, and the
   stream refuses to play or to move. Length and format are those a playing stream of
   the file reports, except for MPEG frames that are well formed but do not decode (such
   a file then plays through the general decoder, which measures it by its own rules).
   Streams may be opened on any thread. */
#define SOUND_STREAM_PROBE 0x20000u
/* As BASS_StreamCreateFile, for WMA files only (WMA 1/2, Pro, Lossless in ASF). */
uint32_t BASS_WMA_StreamCreateFile(int mem, const void* file, int64_t offset, int64_t length,
                                   uint32_t flags);

/* Flag of BASS_StreamCreateURL: ask the server for in-stream metadata (song titles). */
#define SOUND_STREAM_META 0x400000u
/* Called with the raw bytes of an internet stream as they arrive (may be NULL). */
typedef void SoundDownloadProc(const void* buffer, uint32_t length, void* user);
/* Opens an "http://" or "ftp://" address as a stream, starting `offset` bytes into it.
   Returns the stream, or 0 with SOUND_ERROR_NETWORK, SOUND_ERROR_TIMEOUT,
   SOUND_ERROR_FORMAT, or SOUND_ERROR_NOTAVAIL when this build has no internet part. */
uint32_t BASS_StreamCreateURL(const char* url, uint32_t offset, uint32_t flags,
                              SoundDownloadProc* proc, void* user);

/* Tag kinds of BASS_StreamGetTags. */
#define SOUND_TAG_HEADERS 4u /* HTTP/ICY header lines, each NUL-ended, closed by an empty one */
#define SOUND_TAG_META 5u    /* the in-stream metadata text now heard */
/* A stream's tag block, or NULL (SOUND_ERROR_NOTAVAIL). Valid until the next call for the
   same stream and kind, or until the stream is freed. */
const char* BASS_StreamGetTags(uint32_t handle, uint32_t tags);

/* Loads a tracker module (MOD, S3M, IT, XM, MTM, UMX, MO3). mem, file and offset as for
   BASS_StreamCreateFile; length 0 = to the end. freq: render rate, 0 = the output rate.
   flags: 0. The music plays once and stops at its end. Returns the music or 0. */
uint32_t BASS_MusicLoad(int mem, const void* file, int64_t offset, uint32_t length, uint32_t flags,
                        uint32_t freq);

/* Free a stream / a music and everything attached to it (callbacks, syncs, effects).
   Each fails harmlessly (SOUND_ERROR_KIND) on a handle of the other kind. */
int BASS_StreamFree(uint32_t handle);
int BASS_MusicFree(uint32_t handle);

/* ---- Transport ------------------------------------------------------------------------ */

/* Starts a stream; flush nonzero restarts it from its beginning. flags: 0. A stream that
   has ended plays again from its beginning. Nonzero when started. */
int BASS_StreamPlay(uint32_t handle, int flush, uint32_t flags);
/* Starts a music (from where it stands; from its start once it has ended). */
int BASS_MusicPlay(uint32_t handle);
/* Pause keeps the position; Resume continues a paused channel; Stop halts it and keeps
   it open (a later play continues from the position where it stopped). The channel is
   no longer mixed from then on; what was mixed before still plays out of the output
   (BASS_GetInfo's latency), and the position follows it. */
int BASS_ChannelPause(uint32_t handle);
int BASS_ChannelResume(uint32_t handle);
int BASS_ChannelStop(uint32_t handle);

/* States of BASS_ChannelIsActive. */
enum {
    SOUND_ACTIVE_STOPPED = 0, /* never started, stopped, ended, or not a channel */
    SOUND_ACTIVE_PLAYING = 1,
    SOUND_ACTIVE_STALLED = 2, /* playing but waiting for data (internet streams) */
    SOUND_ACTIVE_PAUSED = 3
};
uint32_t BASS_ChannelIsActive(uint32_t handle);

/* ---- Lengths, positions, information ------------------------------------------------- */

/* Length in bytes (exact decoded length, encoder delay and padding removed), or -1. */
int64_t BASS_StreamGetLength(uint32_t handle);
/* playlen nonzero: the whole play length in bytes; zero: the number of orders. -1 on
   failure. */
int64_t BASS_MusicGetLength(uint32_t handle, int playlen);

/* The position now heard (what was rendered minus what is still buffered), or -1. */
int64_t BASS_ChannelGetPosition(uint32_t handle);
/* Moves to a byte position (rounded down to a whole frame). Exact to the frame for PCM,
   MPEG audio and Vorbis; musics go to the row at or before the position and render
   forward to the frame; WMA goes as near as the decoder's timestamps allow. Fails with
   SOUND_ERROR_POSITION beyond the end or on a stream that cannot seek. */
int BASS_ChannelSetPosition(uint32_t handle, int64_t pos);

float BASS_ChannelBytes2Seconds(uint32_t handle, int64_t pos); /* -1 on failure */
int64_t BASS_ChannelSeconds2Bytes(uint32_t handle, float pos); /* -1 on failure */

/* Kinds of SoundChannelInfo. */
enum {
    SOUND_KIND_FILE = 1, /* file or memory stream */
    SOUND_KIND_WMA = 2,
    SOUND_KIND_URL = 3,
    SOUND_KIND_MUSIC = 4
};
#define SOUND_SAMPLE_8BITS 1u
typedef struct SoundChannelInfo {
    uint32_t freq;  /* the source's own sample rate, Hz */
    uint32_t chans; /* the source's channel count */
    uint32_t flags; /* SOUND_SAMPLE_8BITS when the source has 8-bit samples */
    uint32_t kind;  /* SOUND_KIND_* */
} SoundChannelInfo;
int BASS_ChannelGetInfo(uint32_t handle, SoundChannelInfo* info);

/* freq: playback rate in Hz (100..400000; the source is resampled, so this is the speed;
   0 resets to the source's own rate; -1 keeps it); volume 0..100 (-1 keeps); pan -100
   (left) .. 100 (right) (-101 keeps). */
int BASS_ChannelSetAttributes(uint32_t handle, int freq, int volume, int pan);
/* Any pointer may be NULL. */
int BASS_ChannelGetAttributes(uint32_t handle, uint32_t* freq, uint32_t* volume, int* pan);

/* ---- Analysis of what is heard -------------------------------------------------------- */

/* Recent peak of the channel as heard (after sample callbacks and effects, before volume
   and pan), 0..128 per side: left in the low 16 bits, right in the high 16 bits. -1 when
   the channel is not playing or not a channel. */
int32_t BASS_ChannelGetLevel(uint32_t handle);

/* length of BASS_ChannelGetData: a byte count (multiple of 4, at most 16384) of the last
   16-bit stereo frames heard at the output rate, or: */
#define SOUND_DATA_FFT1024 0x80000001u /* 512 floats: magnitudes of a 1024-point FFT */
/* The FFT is taken over the last 1024 frames heard, mixed to mono, with a Hann window;
   magnitude k covers k * rate / 1024 Hz, scaled so that a full-scale sine centred on a
   bin reads 0.5 there. Returns the bytes written, or -1. */
int32_t BASS_ChannelGetData(uint32_t handle, void* buffer, uint32_t length);

/* ---- Sample callbacks, syncs ---------------------------------------------------------- */

/* Edits `length` bytes of 16-bit stereo at the channel's rate in place. */
typedef void SoundDspProc(uint32_t dsp, uint32_t channel, void* buffer, uint32_t length,
                          void* user);
/* Attaches a sample callback; higher priority runs first, equal priorities in attach
   order; all run before the channel effects. Returns its handle or 0. */
uint32_t BASS_ChannelSetDSP(uint32_t handle, SoundDspProc* proc, void* user, int priority);
int BASS_ChannelRemoveDSP(uint32_t handle, uint32_t dsp);

/* Sync types. */
#define SOUND_SYNC_END 2u /* the end of the channel is heard; data is 0 */
typedef void SoundSyncProc(uint32_t sync, uint32_t channel, uint32_t data, void* user);
/* Registers a sync; it fires once per end, on the mixer thread (offline: in
   BASS_Render), after the channel has stopped, with no library lock held. A sync may call
   the library (free its channel, start another), but not BASS_Free. Returns its handle or
   0 (SOUND_ERROR_PARAM for another type). */
uint32_t BASS_ChannelSetSync(uint32_t handle, uint32_t type, int64_t param, SoundSyncProc* proc,
                             void* user);
int BASS_ChannelRemoveSync(uint32_t handle, uint32_t sync);

/* ---- Channel effects ------------------------------------------------------------------ */

/* Effect types of BASS_ChannelSetFX. */
enum {
    SOUND_FX_CHORUS = 0,
    SOUND_FX_COMPRESSOR = 1,
    SOUND_FX_DISTORTION = 2,
    SOUND_FX_ECHO = 3,
    SOUND_FX_FLANGER = 4,
    SOUND_FX_GARGLE = 5,
    SOUND_FX_PARAMEQ = 7,
    SOUND_FX_REVERB = 8
};
/* Attaches an effect of `type` at the end of the channel's effect chain; returns its
   handle, or 0 (SOUND_ERROR_EFFECT for an unknown type, SOUND_ERROR_NOTAVAIL when this
   build has no effects part). */
uint32_t BASS_ChannelSetFX(uint32_t handle, uint32_t type);
int BASS_ChannelRemoveFX(uint32_t handle, uint32_t fx);
/* Sets / reads an effect's parameter record (layout per effect type: soundlib_fx.h). */
int BASS_FXSetParameters(uint32_t fx, const void* params);
int BASS_FXGetParameters(uint32_t fx, void* params);

#ifdef __cplusplus
}
#endif
