#include "shellext/server_life.h"

#include <atomic>

namespace ctxmenu {

namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};
}  // namespace

void objectCreated() {
    ++liveObjects;
}

void objectDestroyed() {
    --liveObjects;
}

void lockServer(bool lock) {
    if (lock) {
        ++locks;
    } else if (locks.load() > 0) {
        --locks;
    }
}

bool serverInUse() {
    return liveObjects.load() > 0 || locks.load() > 0;
}

}  // namespace ctxmenu
