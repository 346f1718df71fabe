// Feeds arbitrary bytes to the playlist readers, PLS and M3U, and runs the operations that
// walk the loaded lists.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "player/playlist/playlist.h"
#include "testing/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::MemoryFile file(data, size);
    const QString name = QString::fromStdString(file.name());
    TPlaylist list;
    list.LoadFromPls(name, true);
    list.LoadFromM3u(name, false);
    for (int i = 0; i < list.Count(); ++i) list.LengthAt(i);
    list.SortTitles();
    list.FindFile(list.FileAt(list.Count() - 1));
    list.ListName();
    return 0;
}
