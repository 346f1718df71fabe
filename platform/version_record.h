#pragma once
// Version records of our binaries. Each binary carries one record in an ELF section of
// its own (".zorvan_version"), laid down at build time, and any file can be asked for
// its record without running or loading it.
//
// Layout of the section (all numbers little-endian):
//   the fixed block: 13 x uint32 — signature 0xFEEF04BD, structure version 0x00010000,
//     file version (most, least significant), product version (most, least
//     significant), flag mask, flags, target system, file type, file subtype,
//     date (most, least significant);
//   one translation entry: uint16 language, uint16 code page;
//   string pairs: name NUL value NUL, ..., closed by an empty name (one NUL).
// Strings are UTF-8.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

inline constexpr const char* kVersionSectionName = ".zorvan_version";

struct VersionRecord {
    static constexpr uint32_t kSignature = 0xFEEF04BD;
    // Flag bits, as the flag mask and the flags use them.
    static constexpr uint32_t kDebug = 0x01;
    static constexpr uint32_t kPrerelease = 0x02;
    static constexpr uint32_t kPrivateBuild = 0x08;
    static constexpr uint32_t kSpecialBuild = 0x20;

    uint32_t signature = kSignature;
    uint32_t structVersion = 0x00010000;
    uint32_t fileVersionMs = 0;  // major << 16 | minor
    uint32_t fileVersionLs = 0;  // release << 16 | build
    uint32_t productVersionMs = 0;
    uint32_t productVersionLs = 0;
    uint32_t flagsMask = 0x3F;
    uint32_t flags = 0;
    uint32_t fileOs = 0;
    uint32_t fileType = 0;
    uint32_t fileSubtype = 0;
    uint32_t dateMs = 0;
    uint32_t dateLs = 0;
    uint16_t language = 0;
    uint16_t codePage = 0;
    // Names such as "FileDescription" with their texts, in the order they were given.
    std::vector<std::pair<std::string, std::string>> strings;

    // The text stored under `name`, or empty.
    std::string string(const std::string& name) const;
};

// The section's bytes for `record`. Names must not be empty; a NUL inside a name or a
// text ends it there.
std::string encodeVersionRecord(const VersionRecord& record);
// The record in `bytes`, or nothing when they are not a whole record.
std::optional<VersionRecord> decodeVersionRecord(const std::string& bytes);

// The record of the ELF file at `file`, found by its section name. Nothing for a
// missing or unreadable file, something other than a regular file, a file that is not
// ELF, is cut short, or has no record. Reads only the headers and the one section,
// each bounded by the file's size.
std::optional<VersionRecord> readVersionRecord(const std::filesystem::path& file);

// Where a file name given to the version report is looked for: a name with a folder
// is taken as it is; a bare name is looked for beside the running program first, then
// in the current folder, as the program's own libraries are found.
std::filesystem::path findBesideProgram(const std::string& name);

}  // namespace platform
