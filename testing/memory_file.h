#pragma once
// Fuzz input as a file that readers can open by name, kept in memory.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace testing_support {

class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd_(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
        std::size_t done = 0;
        while (fd_ && done < size) {
            const ssize_t n = ::write(fd_.get(), data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
    }

    // A name that opens this file.
    std::string name() const { return "/proc/self/fd/" + std::to_string(fd_.get()); }

private:
    platform::UniqueFd fd_;
};

}  // namespace testing_support
