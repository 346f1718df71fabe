// The library's three C entry points. Nothing may escape them: every exception ends as
// an empty result, false or 0.
#include <array>
#include <string>

#include "songmeta/song_information.h"
#include "songmeta/songmeta.h"
#include "songmeta/text_pool.h"

#define SONGMETA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using songmeta::SongFields;

static_assert(sizeof(SongInformation) == songmeta::kFieldCount * sizeof(const char*));

songmeta::TextPool& pool() {
    static songmeta::TextPool texts;
    return texts;
}

const char** slots(SongInformation& info) {
    return &info.TagPresent;
}
const char* const* slots(const SongInformation& info) {
    return &info.TagPresent;
}

SongInformation toRecord(const SongFields& fields) {
    SongInformation info{};
    pool().hold(fields, slots(info));
    return info;
}

}  // namespace

SONGMETA_EXPORT void GetSongInformation(SongInformation* info, const char* fileName) {
    if (info == nullptr) return;
    try {
        *info = toRecord(songmeta::readSongInformation(fileName ? fileName : ""));
    } catch (...) {
        *info = SongInformation{};
    }
}

SONGMETA_EXPORT bool GetTID3v2(const char* fileName, SongInformation* info) {
    if (info == nullptr || fileName == nullptr) return false;
    try {
        SongFields fields;
        if (!songmeta::fillFromId3v2(fileName, fields)) return false;
        const SongInformation filled = toRecord(fields);
        // Track stays as it was when the tag has no track number.
        for (int i = 0; i < songmeta::kFieldCount; ++i)
            if (i != songmeta::Track || !fields[i].empty()) slots(*info)[i] = slots(filled)[i];
        return true;
    } catch (...) {
        return false;
    }
}

SONGMETA_EXPORT int32_t SaveSongInformation(SongInformation info, const char* fileName) {
    if (fileName == nullptr) return 0;
    try {
        SongFields fields;
        for (int i = songmeta::Title; i < songmeta::kFieldCount; ++i)
            if (const char* text = slots(info)[i]) fields[i] = text;
        return songmeta::saveSongInformation(fields, fileName) ? -1 : 0;
    } catch (...) {
        return 0;
    }
}
