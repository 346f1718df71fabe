#ifndef ZORVAN_SONGMETA_H
#define ZORVAN_SONGMETA_H
/* The song-information library: reads ID3v1, ID3v2 and WMA header texts of a song file
 * and writes ID3v2.3 and ID3v1.1 tags. Texts crossing these functions are UTF-8 and
 * zero-terminated; a null reference is an empty field.
 *
 * Returned texts belong to the library: they stay valid for the life of the process,
 * also across later calls, and the caller never frees them. No function throws, crashes
 * or shows anything; a missing or unreadable file gives an empty result, false or 0. */
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SongInformation {
    const char* TagPresent;
    const char* TagVersion;
    const char* TagSize;
    const char* Title;
    const char* Artist;
    const char* Album;
    const char* Track;
    const char* Year;
    const char* Genre;
    const char* Comment;
    const char* Composer;
    const char* Encoder;
    const char* Copyright;
    const char* Language;
    const char* Link;
    const char* Lyrics;
} SongInformation;

/* Fills *info (handed in with all references null) from the file's tags, chosen by the
 * last character of the name: '3' ID3v2 then ID3v1, 'a' the WMA header, anything else
 * only Title = the name without its folder. */
void GetSongInformation(SongInformation* info, const char* fileName);

/* Fills *info from the file's ID3v2 tag. False, with *info untouched, when the file has
 * none or cannot be read. */
bool GetTID3v2(const char* fileName, SongInformation* info);

/* Writes fields 3 to 15 as a new ID3v2.3 tag at the start of the file and fields 3 to 9
 * as an ID3v1.1 block at its end. -1 when both were written, else 0. The caller's texts
 * are only read during the call. */
int32_t SaveSongInformation(SongInformation info, const char* fileName);

#ifdef __cplusplus
}
#endif

#endif
