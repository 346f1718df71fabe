#include "player/app/single_copy.h"

#include "platform/remote_window.h"

bool handOverToRunningCopy(std::string_view programPath) {
    for (const auto& window : platform::RemoteWindow::all()) {
        const auto& id = window.identity();
        if (id.className != kMainWindowClass || id.programPath != programPath) continue;
        if (!id.visible) window.post(platform::WM_USER);
        return window.bringToForeground();
    }
    return false;
}
