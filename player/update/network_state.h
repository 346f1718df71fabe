#pragma once
// Whether the computer is connected: some network interface other than loopback is up
// and has an internet address.
#include <span>
#include <string>
#include <vector>

namespace network_state {

struct NetworkInterface {
    std::string name;
    bool up = false;
    bool loopback = false;
    bool hasAddress = false;  // an IPv4 or IPv6 address
};

// The system's interfaces, one entry per interface name.
std::vector<NetworkInterface> systemInterfaces();

bool isConnectedThrough(std::span<const NetworkInterface> interfaces);

// isConnectedThrough(systemInterfaces()).
bool isConnected();

}  // namespace network_state
