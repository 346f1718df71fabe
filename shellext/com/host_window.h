#pragma once
// A host's window as the server sees it: the owner of the message boxes the server shows.
// A null window shows nothing.
#include <cstdint>

namespace com {

inline constexpr std::uint32_t MB_OK = 0x0;
inline constexpr std::uint32_t MB_ICONERROR = 0x10;

class HostWindow {
public:
    virtual void messageBox(const char* text, const char* caption, std::uint32_t type) = 0;

protected:
    ~HostWindow() = default;
};
using HWND = HostWindow*;

inline int MessageBoxA(HWND owner, const char* text, const char* caption, std::uint32_t type) {
    if (owner) owner->messageBox(text, caption, type);
    return 1;
}

}  // namespace com
