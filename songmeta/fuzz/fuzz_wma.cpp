// Feeds arbitrary bytes to the WMA header reader.
#include "memory_file.h"
#include "songmeta/song_information.h"
#include "songmeta/twmafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryFile file(data, size);
    songmeta::SongFields fields;
    songmeta::fillFromWma(file.name(), fields);
    return 0;
}
