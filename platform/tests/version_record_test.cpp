#include "platform/version_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "testing/temp_dir.h"

using platform::decodeVersionRecord;
using platform::encodeVersionRecord;
using platform::readVersionRecord;
using platform::VersionRecord;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

const std::filesystem::path kFixture = ZORVAN_BINARY_DIR "/bin/libversion_fixture_flags.so";

VersionRecord sampleRecord() {
    VersionRecord record;
    record.fileVersionMs = 3 << 16 | 3;
    record.fileVersionLs = 3 << 16 | 10;
    record.flags = VersionRecord::kDebug;
    record.language = 0x0419;
    record.codePage = 0xFDE9;
    record.strings = {{"FileDescription", "Определение информации о композиции"},
                      {"FileVersion", "3.3.3.10"},
                      {"Empty", ""}};
    return record;
}

void put(std::string& out, size_t at, uint64_t value, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        out[at + i] = static_cast<char>((value >> shift) & 0xFF);
    }
}

// A minimal ELF file of either width and byte order: the header, the payload, a name
// table and three section headers (the null one, the names, the payload's section).
std::string makeElf(bool wide, bool bigEndian, const std::string& sectionName,
                    const std::string& payload) {
    const size_t headerSize = wide ? 64 : 52, entrySize = wide ? 64 : 40;
    const std::string names = std::string("\0.shstrtab\0", 11) + sectionName + '\0';
    const size_t payloadAt = headerSize, namesAt = payloadAt + payload.size();
    const size_t tableAt = (namesAt + names.size() + 7) / 8 * 8;
    std::string elf(tableAt + 3 * entrySize, '\0');
    elf.replace(0, 4,
                "\x7F"
                "ELF");
    elf[4] = wide ? 2 : 1;
    elf[5] = bigEndian ? 2 : 1;
    elf[6] = 1;
    const int word = wide ? 8 : 4;
    put(elf, wide ? 0x28 : 0x20, tableAt, word, bigEndian);
    put(elf, wide ? 0x3A : 0x2E, entrySize, 2, bigEndian);
    put(elf, wide ? 0x3C : 0x30, 3, 2, bigEndian);
    put(elf, wide ? 0x3E : 0x32, 1, 2, bigEndian);
    elf.replace(payloadAt, payload.size(), payload);
    elf.replace(namesAt, names.size(), names);
    const size_t offsetAt = wide ? 0x18 : 0x10, sizeAt = wide ? 0x20 : 0x14;
    auto section = [&](int index, uint32_t name, size_t at, size_t size) {
        const size_t base = tableAt + index * entrySize;
        put(elf, base, name, 4, bigEndian);
        put(elf, base + offsetAt, at, word, bigEndian);
        put(elf, base + sizeAt, size, word, bigEndian);
    };
    section(1, 1, namesAt, names.size());
    section(2, 11, payloadAt, payload.size());
    return elf;
}

}  // namespace

TEST(VersionRecord, EncodedRecordDecodesToItself) {
    const VersionRecord record = sampleRecord();
    const auto back = decodeVersionRecord(encodeVersionRecord(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fileVersionMs, record.fileVersionMs);
    EXPECT_EQ(back->fileVersionLs, record.fileVersionLs);
    EXPECT_EQ(back->flags, record.flags);
    EXPECT_EQ(back->flagsMask, 0x3Fu);
    EXPECT_EQ(back->language, 0x0419);
    EXPECT_EQ(back->codePage, 0xFDE9);
    EXPECT_EQ(back->strings, record.strings);
    EXPECT_EQ(back->string("FileDescription"), "Определение информации о композиции");
    EXPECT_EQ(back->string("Missing"), "");

    // Anything short of a whole record, or with another signature, is no record.
    const std::string bytes = encodeVersionRecord(record);
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(decodeVersionRecord(bytes.substr(0, cut))) << cut;
    std::string foreign = bytes;
    foreign[0] ^= 1;
    EXPECT_FALSE(decodeVersionRecord(foreign));
}

TEST(VersionRecord, FoundInEveryWidthAndByteOrder) {
    TempDir dir;
    const std::string payload = encodeVersionRecord(sampleRecord());
    for (bool wide : {false, true}) {
        for (bool bigEndian : {false, true}) {
            SCOPED_TRACE(testing::Message() << "wide " << wide << " big-endian " << bigEndian);
            writeFile(dir / "elf",
                      makeElf(wide, bigEndian, platform::kVersionSectionName, payload));
            const auto record = readVersionRecord(dir / "elf");
            ASSERT_TRUE(record);
            EXPECT_EQ(record->string("FileVersion"), "3.3.3.10");
            // A section whose name only begins like ours is somebody else's.
            writeFile(dir / "elf", makeElf(wide, bigEndian, ".zorvan_version2", payload));
            EXPECT_FALSE(readVersionRecord(dir / "elf"));
        }
    }
}

TEST(VersionRecord, ReadFromABuiltBinary) {
    const auto record = readVersionRecord(kFixture);
    ASSERT_TRUE(record) << kFixture;
    EXPECT_EQ(record->fileVersionMs, (1u << 16) | 2u);
    EXPECT_EQ(record->fileVersionLs, (3u << 16) | 4u);
    EXPECT_EQ(record->flags & record->flagsMask,
              VersionRecord::kDebug | VersionRecord::kSpecialBuild);
    EXPECT_EQ(record->string("ProductName"), "Fixture");
}

TEST(VersionRecord, AnythingElseHasNoRecord) {
    TempDir dir;
    writeFile(dir / "text", "[playlist]\nNumberOfEntries=1\n");
    writeFile(dir / "empty", "");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    for (const auto& file : {dir / "missing", dir.path(), dir / "text", dir / "empty", dir / "pipe",
                             std::filesystem::path("/proc/self/exe")})
        EXPECT_FALSE(readVersionRecord(file)) << file;
}

TEST(VersionRecord, DamagedBinariesNeverCrashOrPretend) {
    TempDir dir;
    const std::string whole = readFile(kFixture);
    ASSERT_GT(whole.size(), 1000u);
    // Section headers lie at the end, so every cut loses them.
    for (size_t cut = 0; cut < whole.size(); cut += 61) {
        writeFile(dir / "cut", whole.substr(0, cut));
        EXPECT_FALSE(readVersionRecord(dir / "cut")) << cut;
    }
    // Damaged header fields (table offset, entry size, count, name index) and damaged
    // section headers: the reader may find nothing but must stay inside the file.
    for (size_t at = 0; at < 64; ++at) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(~damaged[at]);
        writeFile(dir / "damaged", damaged);
        (void)readVersionRecord(dir / "damaged");
    }
    const auto tableAt = whole.size() - 64 * 30;
    for (size_t at = tableAt; at < whole.size(); at += 3) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(0xFF);
        writeFile(dir / "damaged", damaged);
        (void)readVersionRecord(dir / "damaged");
    }
}
