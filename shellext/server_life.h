#pragma once
// What keeps the server loaded: its live objects and the locks on its class factory.
namespace ctxmenu {

void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
bool serverInUse();

}  // namespace ctxmenu
