#include "platform/version_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "platform/byte_order.h"
#include "platform/message_window.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

constexpr size_t kFixedWords = 13;
constexpr size_t kFixedBytes = kFixedWords * 4;
// A record is a few hundred bytes; anything far larger is not one of ours.
constexpr uint64_t kMaxSectionBytes = 64 * 1024;
// ELF files have at most 0xFF00 ordinary sections; the name table is small too.
constexpr uint64_t kMaxSections = 0xFF00;
constexpr uint64_t kMaxNameTableBytes = 4 * 1024 * 1024;

void putLe(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string cutAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// A regular file opened for bounded reads at given offsets.
class BoundedFile {
public:
    explicit BoundedFile(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
        struct stat st {};
        if (fd_ && ::fstat(fd_.get(), &st) == 0 && S_ISREG(st.st_mode))
            size_ = static_cast<uint64_t>(st.st_size);
        else
            fd_.reset();
    }
    bool valid() const { return fd_.valid(); }

    // `length` bytes at `offset`, or nothing when they lie (partly) outside the file.
    std::optional<std::string> read(uint64_t offset, uint64_t length) const {
        if (offset > size_ || length > size_ - offset) return std::nullopt;
        std::string bytes(length, '\0');
        size_t done = 0;
        while (done < length) {
            ssize_t n = ::pread(fd_.get(), bytes.data() + done, length - done,
                                static_cast<off_t>(offset + done));
            if (n <= 0) return std::nullopt;
            done += static_cast<size_t>(n);
        }
        return bytes;
    }

private:
    UniqueFd fd_;
    uint64_t size_ = 0;
};

// Reads numbers of the file's own width and byte order.
struct ElfReader {
    bool wide = true;
    bool bigEndian = false;
    uint64_t get(const std::string& bytes, size_t at, int size) const {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
        return bigEndian ? readBigEndian(p, size) : readLittleEndian(p, size);
    }
    uint64_t address(const std::string& bytes, size_t at) const {
        return get(bytes, at, wide ? 8 : 4);
    }
};

std::optional<std::string> versionSection(const BoundedFile& file) {
    auto ident = file.read(0, 16);
    if (!ident || std::memcmp(ident->data(),
                              "\x7F"
                              "ELF",
                              4) != 0)
        return std::nullopt;
    ElfReader elf;
    const int elfClass = (*ident)[4], order = (*ident)[5];
    if ((elfClass != 1 && elfClass != 2) || (order != 1 && order != 2)) return std::nullopt;
    elf.wide = elfClass == 2;
    elf.bigEndian = order == 2;

    auto header = file.read(0, elf.wide ? 64 : 52);
    if (!header) return std::nullopt;
    const uint64_t sectionTable = elf.address(*header, elf.wide ? 0x28 : 0x20);
    const uint64_t entrySize = elf.get(*header, elf.wide ? 0x3A : 0x2E, 2);
    const uint64_t count = elf.get(*header, elf.wide ? 0x3C : 0x30, 2);
    const uint64_t namesIndex = elf.get(*header, elf.wide ? 0x3E : 0x32, 2);
    const uint64_t minEntry = elf.wide ? 64 : 40;
    if (count == 0 || count > kMaxSections || entrySize < minEntry || namesIndex >= count)
        return std::nullopt;
    auto table = file.read(sectionTable, count * entrySize);
    if (!table) return std::nullopt;

    // Section header fields: name offset at 0, offset and size after flags and address.
    const size_t offsetAt = elf.wide ? 0x18 : 0x10, sizeAt = elf.wide ? 0x20 : 0x14;
    auto section = [&](uint64_t index, uint64_t limit) -> std::optional<std::string> {
        const size_t at = index * entrySize;
        const uint64_t size = elf.address(*table, at + sizeAt);
        if (size > limit) return std::nullopt;
        return file.read(elf.address(*table, at + offsetAt), size);
    };
    auto names = section(namesIndex, kMaxNameTableBytes);
    if (!names) return std::nullopt;
    const std::string wanted = kVersionSectionName;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t nameAt = elf.get(*table, i * entrySize, 4);
        if (nameAt >= names->size()) continue;
        if (std::strncmp(names->data() + nameAt, wanted.c_str(), names->size() - nameAt) == 0 &&
            names->size() - nameAt > wanted.size())
            return section(i, kMaxSectionBytes);
    }
    return std::nullopt;
}

}  // namespace

std::string VersionRecord::string(const std::string& name) const {
    for (const auto& [key, value] : strings)
        if (key == name) return value;
    return {};
}

std::string encodeVersionRecord(const VersionRecord& record) {
    std::string out;
    for (uint32_t word :
         {record.signature, record.structVersion, record.fileVersionMs, record.fileVersionLs,
          record.productVersionMs, record.productVersionLs, record.flagsMask, record.flags,
          record.fileOs, record.fileType, record.fileSubtype, record.dateMs, record.dateLs})
        putLe(out, word, 4);
    putLe(out, record.language, 2);
    putLe(out, record.codePage, 2);
    for (const auto& [name, value] : record.strings) {
        const std::string key = cutAtNul(name);
        if (key.empty()) continue;
        out += key;
        out.push_back('\0');
        out += cutAtNul(value);
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

std::optional<VersionRecord> decodeVersionRecord(const std::string& bytes) {
    if (bytes.size() < kFixedBytes + 4) return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::array<uint32_t, kFixedWords> w{};
    for (size_t i = 0; i < kFixedWords; ++i)
        w[i] = static_cast<uint32_t>(readLittleEndian(p + 4 * i, 4));
    VersionRecord record;
    record.signature = w[0];
    record.structVersion = w[1];
    record.fileVersionMs = w[2];
    record.fileVersionLs = w[3];
    record.productVersionMs = w[4];
    record.productVersionLs = w[5];
    record.flagsMask = w[6];
    record.flags = w[7];
    record.fileOs = w[8];
    record.fileType = w[9];
    record.fileSubtype = w[10];
    record.dateMs = w[11];
    record.dateLs = w[12];
    record.language = static_cast<uint16_t>(readLittleEndian(p + kFixedBytes, 2));
    record.codePage = static_cast<uint16_t>(readLittleEndian(p + kFixedBytes + 2, 2));

    size_t at = kFixedBytes + 4;
    auto next = [&]() -> std::optional<std::string> {
        const size_t end = bytes.find('\0', at);
        if (end == std::string::npos) return std::nullopt;
        std::string text = bytes.substr(at, end - at);
        at = end + 1;
        return text;
    };
    for (;;) {
        auto name = next();
        if (!name) return std::nullopt;
        if (name->empty()) break;
        auto value = next();
        if (!value) return std::nullopt;
        record.strings.emplace_back(std::move(*name), std::move(*value));
    }
    if (record.signature != VersionRecord::kSignature) return std::nullopt;
    return record;
}

std::optional<VersionRecord> readVersionRecord(const std::filesystem::path& file) {
    BoundedFile elf(file);
    if (!elf.valid()) return std::nullopt;
    auto section = versionSection(elf);
    if (!section) return std::nullopt;
    return decodeVersionRecord(*section);
}

std::filesystem::path findBesideProgram(const std::string& name) {
    std::filesystem::path path(name);
    if (name.find('/') != std::string::npos) return path;
    const std::string program = currentProgramPath();
    if (!program.empty()) {
        auto beside = std::filesystem::path(program).parent_path() / path;
        std::error_code ec;
        if (std::filesystem::exists(beside, ec)) return beside;
    }
    return path;
}

}  // namespace platform
