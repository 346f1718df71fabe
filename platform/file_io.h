#pragma once
// Opening, reading a whole file and replacing a file safely. Every file the program keeps is
// replaced through writeFileAtomically, so a crash or a full disk leaves either the old
// or the new contents, never an empty or half-written file.
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/unique_fd.h"

namespace platform {

// Opens `file` with `flags` (O_RDONLY or O_RDWR) when it is a regular file. The open
// never waits: a named pipe or a device named like a file gives an invalid descriptor at
// once, as does anything else that is not a regular file (errno then EINVAL, or EISDIR
// for a folder). `info`, when given, receives the file's status.
UniqueFd openRegularFile(const char* file, int flags, struct stat* info = nullptr);
inline UniqueFd openRegularFile(const std::filesystem::path& file, int flags,
                                struct stat* info = nullptr) {
    return openRegularFile(file.c_str(), flags, info);
}

// The bytes of a regular file, or nothing when it cannot be read or is something else
// (a folder, a pipe, a device); `error` then says why
// (std::errc::no_such_file_or_directory for a missing file).
std::optional<std::string> readFileBytes(const std::filesystem::path& file, std::error_code& error);

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk and
// renames it over `file` (through a symbolic link to the file it names). An existing
// file keeps its permissions. Returns false, with the old file untouched and no
// temporary file left behind, when any step fails.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace platform
