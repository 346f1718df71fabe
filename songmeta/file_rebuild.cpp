#include "songmeta/file_rebuild.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/replacement_file.h"
#include "songmeta/song_file.h"

namespace songmeta {

namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

bool replaceFileEnds(const std::string& path, const FileEnds& ends) {
    std::error_code ec;
    const std::string target = std::filesystem::canonical(path, ec).string();
    if (ec) return false;
    const SongFile source(target);
    struct stat st {};
    if (!source.isOpen() || ::fstat(source.fd(), &st) != 0) return false;
    platform::ReplacementFile temp(target);
    if (!temp.setMode((st.st_mode & 07777) | S_IWUSR) || !temp.write(ends.head)) return false;
    const std::int64_t bodyEnd = std::max(ends.headSize, source.size() - ends.tailSize);
    std::string chunk;
    for (std::int64_t pos = ends.headSize; pos < bodyEnd;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kChunk, bodyEnd - pos));
        if (!source.readUpTo(pos, want, chunk) || chunk.empty()) return false;
        if (!temp.write(chunk)) return false;
        pos += static_cast<std::int64_t>(chunk.size());
    }
    return temp.write(ends.tail) && temp.commit();
}

}  // namespace songmeta
