// Feeds arbitrary bytes to the WMA header reader.
#include "songmeta/song_information.h"
#include "songmeta/wma_file.h"
#include "testing/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::MemoryFile file(data, size);
    songmeta::SongFields fields;
    songmeta::fillFromWma(file.name(), fields);
    return 0;
}
