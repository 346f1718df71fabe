#pragma once
// While alive, makes every write past `bytes` of a file fail (EFBIG), also for root, so
// tests can see how code behaves when a disk fills up. Not for use across threads.
#include <sys/resource.h>

namespace testing_support {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

}  // namespace testing_support
