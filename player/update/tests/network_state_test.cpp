#include "player/update/network_state.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkStateTest, ConnectedThroughAnInterfaceOtherThanLoopbackThatIsUpWithAnAddress) {
    const NetworkInterface lo{"lo", true, true, true};
    const NetworkInterface eth{"eth0", true, false, true};
    const NetworkInterface down{"eth1", false, false, true};
    const NetworkInterface bare{"wlan0", true, false, false};
    using List = std::vector<NetworkInterface>;
    EXPECT_FALSE(IsConnectedThrough(List{}));
    EXPECT_FALSE(IsConnectedThrough(List{lo}));
    EXPECT_FALSE(IsConnectedThrough(List{lo, down, bare}));
    EXPECT_TRUE(IsConnectedThrough(List{lo, down, eth}));
}

}  // namespace
