#pragma once
// Replacing the head of a song file (its ID3v2 tag) without ever leaving it half-written.
#include <cstdint>
#include <string>

namespace songmeta {

// Writes `head` followed by the file's bytes from `keepFrom` to its end into the
// temporary file "<path>~" beside it, then renames that over the song file (a symbolic
// link is followed to the file it names). The song file is never deleted or changed
// before the rename, so on any failure it stays byte-identical and the temporary file is
// removed. The new file keeps the old one's permission bits.
bool replaceFileHead(const std::string& path, const std::string& head, std::int64_t keepFrom);

}  // namespace songmeta
