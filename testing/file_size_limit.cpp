#include "testing/file_size_limit.h"

#include <csignal>

namespace testing_support {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    // Without this the kernel ends the process with SIGXFSZ instead of failing the write.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

}  // namespace testing_support
