#include "player/update/network_state.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <memory>

namespace {

struct IfAddrsDeleter {
    void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

}  // namespace

namespace network_state {

std::vector<NetworkInterface> systemInterfaces() {
    ifaddrs* raw = nullptr;
    if (getifaddrs(&raw) != 0) return {};
    const std::unique_ptr<ifaddrs, IfAddrsDeleter> list(raw);
    std::vector<NetworkInterface> interfaces;
    for (const ifaddrs* entry = raw; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr) continue;
        auto it =
            std::find_if(interfaces.begin(), interfaces.end(),
                         [&](const NetworkInterface& i) { return i.name == entry->ifa_name; });
        if (it == interfaces.end()) it = interfaces.insert(interfaces.end(), {entry->ifa_name});
        it->up = it->up || (entry->ifa_flags & IFF_UP) != 0;
        it->loopback = it->loopback || (entry->ifa_flags & IFF_LOOPBACK) != 0;
        const int family = entry->ifa_addr ? entry->ifa_addr->sa_family : AF_UNSPEC;
        it->hasAddress = it->hasAddress || family == AF_INET || family == AF_INET6;
    }
    return interfaces;
}

bool isConnectedThrough(std::span<const NetworkInterface> interfaces) {
    return std::any_of(interfaces.begin(), interfaces.end(), [](const NetworkInterface& i) {
        return i.up && !i.loopback && i.hasAddress;
    });
}

bool isConnected() {
    return isConnectedThrough(systemInterfaces());
}

}  // namespace network_state
