// Feeds arbitrary bytes to the ID3v1 reader and the record rules built on it.
#include "songmeta/id3v1_tag.h"
#include "songmeta/song_information.h"
#include "testing/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::MemoryFile file(data, size);
    songmeta::TID3v1 tag;
    tag.LoadFromFile(file.name());
    tag.Block();
    songmeta::SongFields fields;
    songmeta::fillFromId3v1(file.name(), fields);
    return 0;
}
