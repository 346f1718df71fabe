#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include "platform/stop_signals.h"

TEST(StopSignals, ASignalFromOutsideBecomesReadableInsteadOfEndingTheProcess) {
    platform::StopSignals stop;
    EXPECT_EQ(stop.take(), 0);
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    pollfd p{stop.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_EQ(stop.take(), SIGTERM);
    EXPECT_EQ(stop.take(), 0);
}
