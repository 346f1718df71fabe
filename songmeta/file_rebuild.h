#pragma once
// Replacing the ends of a song file (its ID3v2 tag at the start, its ID3v1 block at the
// end) in one rebuild, without ever leaving it half-written.
#include <cstdint>
#include <string>

namespace songmeta {

// What a rebuild puts in place of the file's first `headSize` bytes and of its last
// `tailSize` bytes (0: the tail is appended; an empty tail with 0 keeps the end as it is).
struct FileEnds {
    std::string head;
    std::int64_t headSize = 0;
    std::string tail;
    std::int64_t tailSize = 0;
};

// Writes the new head, the bytes between the old ends and the new tail into a
// replacement file beside the song file (platform::ReplacementFile), then renames that
// over it (a symbolic link is followed to the file it names). The song file is never
// changed before the rename, so on any failure it stays byte-identical and the
// replacement is removed: both ends are written or neither. The new file keeps the old
// one's permission bits.
bool replaceFileEnds(const std::string& path, const FileEnds& ends);

}  // namespace songmeta
