// Test entry point: every test binary runs with its own fresh XDG folders, so no test
// reads or writes the user's settings, data or runtime sockets, and headless (offscreen
// Qt platform, dummy audio driver) unless the caller chose otherwise.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "testing/temp_dir.h"

int main(int argc, char** argv) {
    testing_support::TempDir root;
    for (const char* name :
         {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const auto dir = root / name;
        std::filesystem::create_directories(dir);
        ::chmod(dir.c_str(), 0700);
        ::setenv(name, dir.c_str(), 1);
    }
    ::setenv("HOME", root.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
