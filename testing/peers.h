#pragma once
// Where the third-party test material lies: $ZORVAN_PEERS_DIR, else the folder the build
// found when it was configured (cmake/ZorvanTest.cmake).
// Empty when none of them holds the material; tests then skip:
//   const auto peers = testing_support::peersDir();
//   if (peers.empty()) GTEST_SKIP() << testing_support::kNoPeers;
#include <filesystem>

namespace testing_support {

inline constexpr const char* kNoPeers =
    "third-party test material not found: set ZORVAN_PEERS_DIR to the peers folder";

std::filesystem::path peersDir();

}  // namespace testing_support
