#include "platform/stop_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <stdexcept>

namespace platform {
namespace {

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = stopSet();
    if (::pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0)
        throw std::runtime_error("cannot block the stop signals");
    fd_.reset(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!fd_) throw std::runtime_error("cannot watch the stop signals");
}

StopSignals::~StopSignals() {
    const sigset_t set = stopSet();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

int StopSignals::take() {
    signalfd_siginfo info{};
    if (::read(fd_.get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return 0;
    return static_cast<int>(info.ssi_signo);
}

}  // namespace platform
