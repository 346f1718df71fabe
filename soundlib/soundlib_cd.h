#pragma once
/*
 * Audio CD: the drives, their discs' tables of contents and stream channels that play
 * a disc's tracks. The conventions of soundlib.h hold here too.
 *
 * Drives are numbered from 0: first the system's CD drives as libcdio finds them (in the
 * order it lists them, each device once), then the disc images (CUE/BIN, cdrdao TOC,
 * NRG) named in the environment variable ZORVAN_CD_IMAGES (paths separated by ':'),
 * each a drive of its own. The list is taken once, on the first call that needs it, and
 * stays the same for the life of the process. An image file that is missing reads as a
 * drive without a disc; a device without a disc likewise.
 *
 * CD audio is 44100 Hz 16-bit stereo: 176400 bytes a second, 2352 bytes a sector.
 * Tracks are numbered from 0 (the disc's first track).
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Further error codes of the CD calls. */
enum {
    SOUND_ERROR_NOCD = 40,    /* the drive holds no readable disc */
    SOUND_ERROR_CDTRACK = 41, /* no track of that number on the disc */
    SOUND_ERROR_NOTAUDIO = 42 /* the track is a data track */
};

/* The kind that BASS_ChannelGetInfo reports for a CD stream. */
#define SOUND_KIND_CD 5u

/* The drive's vendor and model as libcdio reports them (for an image, those of libcdio's
   reader of its format; "Disc image" when the file could not be opened when the list was
   taken), or NULL (SOUND_ERROR_DEVICE) past the last drive. Valid for the life of the
   process. */
const char* BASS_CD_GetDriveDescription(uint32_t drive);
/* Where the drive is: its device path (an image's file path), or NULL past the last one.
   Valid for the life of the process. */
const char* BASS_CD_GetDriveLetter(uint32_t drive);
/* Nonzero when the drive holds a disc whose table of contents can be read. */
int BASS_CD_IsReady(uint32_t drive);
/* The number of tracks on the disc, or -1 (SOUND_ERROR_DEVICE, SOUND_ERROR_NOCD). */
int32_t BASS_CD_GetTracks(uint32_t drive);
/* The length of an audio track in bytes, or -1: for a data track (SOUND_ERROR_NOTAUDIO),
   or with SOUND_ERROR_DEVICE, SOUND_ERROR_NOCD, SOUND_ERROR_CDTRACK. */
int32_t BASS_CD_GetTrackLength(uint32_t drive, uint32_t track);

/* Opens a stream channel that plays one audio track, like any other stream: transport,
   attributes, sample callbacks, effects, syncs, levels and data work on it; positions and
   lengths are bytes of the track (seeking is exact to the frame). The sectors are read
   through libcdio's paranoia reader (verified, overlapped reads that mend jitter and
   retry scratches) on a thread of the channel's own, ahead of playback, so no call reads
   the disc on the caller's thread; a slow read stalls the channel (BASS_ChannelIsActive
   2). When the disc goes away or can no longer be read, the stream ends (its end syncs
   fire). flags: accepted; none is defined. Returns the stream, or 0 with SOUND_ERROR_INIT,
   SOUND_ERROR_DEVICE, SOUND_ERROR_NOCD, SOUND_ERROR_CDTRACK or SOUND_ERROR_NOTAUDIO. */
uint32_t BASS_CD_StreamCreate(uint32_t drive, uint32_t track, uint32_t flags);
/* The drive (high 16 bits) and track (low 16 bits) a CD stream plays, or 0xFFFFFFFF
   (SOUND_ERROR_HANDLE, or SOUND_ERROR_KIND for a channel that is not a CD stream). */
uint32_t BASS_CD_StreamGetTrack(uint32_t handle);

#ifdef __cplusplus
}
#endif
