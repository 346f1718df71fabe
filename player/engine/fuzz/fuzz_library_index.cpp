// Feeds arbitrary bytes to the music library index as "AllMusik.aml": every list it
// reads and a file entered under a name of each kind, which saves the index again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "player/engine/library_index.h"

namespace {

// A folder of this run's own, since entering a file writes the index back.
const std::filesystem::path& folder() {
    static const std::filesystem::path made = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "index-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = folder() / "AllMusik.aml";
    platform::writeFileAtomically(file,
                                  std::string_view(reinterpret_cast<const char*>(data), size));
    LibraryIndex index(file);
    LibraryIndex::Batch batch(index);
    for (LibraryKind kind : {LibraryKind::Artists, LibraryKind::Albums, LibraryKind::Genres}) {
        const auto names = index.Names(kind);
        if (names && !names->isEmpty()) {
            index.Files(kind, names->first());
            index.EnterFile(kind, names->first(), "/fuzz.mp3", "fuzz", 1);
        }
    }
    index.ArtistEntries();
    return 0;
}
