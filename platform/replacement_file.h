#pragma once
// A new file written beside the file it is to replace and renamed over it only when it
// is whole, so a crash, a full disk or a file-size limit leaves the old or the new
// contents, never a mix. Its name is "." + the target's name + "." + 16 hexadecimal
// digits, made with O_EXCL and O_NOFOLLOW: no existing file, link or named pipe is ever
// opened under it. removeStaleReplacements clears those an interrupted save left behind.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"

namespace platform {

class ReplacementFile {
public:
    // Creates the file beside `target`, which should name the file itself, not a link
    // to it. The umask applies to it as to any new file.
    explicit ReplacementFile(const std::filesystem::path& target);
    // Removes the file unless commit() renamed it into place.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool isOpen() const { return fd_.valid(); }
    bool setMode(mode_t mode);
    // False on any failed write (EFBIG and ENOSPC included).
    bool write(std::string_view bytes);
    // Flushes the file to disk and renames it over the target. False, with the target
    // untouched, when any step fails.
    bool commit();

private:
    std::filesystem::path target_;
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

// Removes the replacement files of `target` that a save interrupted by a crash or a kill
// left in its folder. Only to be called while no save of that target can be running.
void removeStaleReplacements(const std::filesystem::path& target);

}  // namespace platform
