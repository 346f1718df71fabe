#include "testing/peers.h"

#include <cstdlib>
#include <string>

namespace testing_support {

std::filesystem::path peersDir() {
    std::string candidates[] = {"", ZORVAN_PEERS_DIR};
    if (const char* env = std::getenv("ZORVAN_PEERS_DIR")) candidates[0] = env;
    for (const auto& c : candidates) {
        std::error_code ec;
        if (!c.empty() && std::filesystem::exists(std::filesystem::path(c) / "README.md", ec))
            return std::filesystem::path(c);
    }
    return {};
}

}  // namespace testing_support
