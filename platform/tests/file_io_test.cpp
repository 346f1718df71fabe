#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"

using platform::readFileBytes;
using platform::writeFileAtomically;
using testing_support::FileSizeLimit;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::size_t entriesIn(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

}  // namespace

TEST(FileIo, ReadsWholeFileAndReportsMissing) {
    TempDir dir;
    const std::string bytes("a\0b\xFF", 4);
    writeFile(dir / "f", bytes);
    std::error_code error;
    EXPECT_EQ(readFileBytes(dir / "f", error), bytes);
    EXPECT_FALSE(error);
    EXPECT_FALSE(readFileBytes(dir / "none", error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(readFileBytes(dir.path(), error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    // A named pipe without a writer would block a plain read for ever.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(readFileBytes(dir / "pipe", error));
    EXPECT_TRUE(error);
}

TEST(FileIo, ReplacesFileKeepingModeAndLink) {
    TempDir dir;
    const auto file = dir / "list.pls";
    writeFile(file, "old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    ASSERT_TRUE(writeFileAtomically(file, "new contents"));
    EXPECT_EQ(readFile(file), "new contents");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));

    const auto link = dir / "link.pls";
    std::filesystem::create_symlink(file, link);
    ASSERT_TRUE(writeFileAtomically(link, "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(file), "through the link");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(FileIo, FailedWriteLeavesOldFileAndNoTemporary) {
    TempDir dir;
    const auto file = dir / "Default.pls";
    writeFile(file, "old contents");
    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(writeFileAtomically(file, std::string(4096, 'x')));
    }
    EXPECT_EQ(readFile(file), "old contents");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    EXPECT_FALSE(writeFileAtomically(dir / "no-such-folder" / "f", "x"));
    EXPECT_FALSE(writeFileAtomically(dir.path(), "a folder is not replaced"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}
