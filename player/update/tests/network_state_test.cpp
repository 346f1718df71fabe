#include "player/update/network_state.h"

#include <gtest/gtest.h>

namespace {

using network_state::NetworkInterface;

TEST(NetworkState, ConnectedThroughAnInterfaceOtherThanLoopbackThatIsUpWithAnAddress) {
    const NetworkInterface lo{"lo", true, true, true};
    const NetworkInterface eth{"eth0", true, false, true};
    const NetworkInterface down{"eth1", false, false, true};
    const NetworkInterface bare{"wlan0", true, false, false};
    using List = std::vector<NetworkInterface>;
    EXPECT_FALSE(network_state::isConnectedThrough(List{}));
    EXPECT_FALSE(network_state::isConnectedThrough(List{lo}));
    EXPECT_FALSE(network_state::isConnectedThrough(List{lo, down, bare}));
    EXPECT_TRUE(network_state::isConnectedThrough(List{lo, down, eth}));
}

}  // namespace
