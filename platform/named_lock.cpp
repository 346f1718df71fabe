#include "platform/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <stdexcept>

#include "platform/runtime_dir.h"

namespace platform {

NamedLock::NamedLock(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos || name[0] == '.')
        throw std::invalid_argument("bad lock name: " + name);
    const auto file = userRuntimeDir() / (name + ".lock");
    fd_.reset(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd_) throw std::runtime_error("cannot open lock file " + file.string());
}

bool NamedLock::tryAcquire() {
    if (held_) return true;
    int rc;
    do rc = ::flock(fd_.get(), LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    held_ = rc == 0;
    return held_;
}

}  // namespace platform
