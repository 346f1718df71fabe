// Feeds arbitrary bytes to the ID3v2 reader; what it reads must also lay out as a tag.
#include "songmeta/id3v2_tag.h"
#include "songmeta/song_information.h"
#include "testing/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::MemoryFile file(data, size);
    songmeta::TID3v2 tag;
    tag.LoadFromFile(file.name());
    tag.TagBytes();
    songmeta::SongFields fields;
    songmeta::fillFromId3v2(file.name(), fields);
    return 0;
}
