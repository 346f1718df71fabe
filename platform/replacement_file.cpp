#include "platform/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

namespace platform {
namespace {

constexpr std::size_t kSuffixDigits = 16;

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

std::string prefixOf(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

bool isReplacementName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kSuffixDigits || !name.starts_with(prefix)) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string start = (folderOf(target) / prefixOf(target)).string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[kSuffixDigits + 1];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        path_ = start + suffix;
        fd_.reset(::open(path_.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
        if (fd_) return;
        if (errno != EEXIST) break;
    }
    path_.clear();  // nothing of ours to remove
}

ReplacementFile::~ReplacementFile() {
    fd_.reset();
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
}

bool ReplacementFile::setMode(mode_t mode) {
    return fd_ && ::fchmod(fd_.get(), mode) == 0;
}

bool ReplacementFile::write(std::string_view bytes) {
    if (!fd_) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplacementFile::commit() {
    if (!fd_) return false;
    const bool flushed = ::fsync(fd_.get()) == 0;
    // Closing is where some file systems report a failed write.
    if (::close(fd_.release()) != 0 || !flushed) return false;
    if (::rename(path_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    return true;
}

void removeStaleReplacements(const std::filesystem::path& target) {
    const std::string prefix = prefixOf(target);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folderOf(target), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (isReplacementName(it->path().filename().string(), prefix) &&
            it->symlink_status(ec).type() == std::filesystem::file_type::regular) {
            std::filesystem::remove(it->path(), ec);
        }
    }
}

}  // namespace platform
