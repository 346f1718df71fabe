#pragma once
// Messages that windows of this system exchange across processes, with the numbers the
// original desktop platform gives them, and a window's identity as other processes see it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_USER = 0x0400;

// Largest data block one WM_COPYDATA carries; larger sends are refused by the sender and
// dropped by the receiver.
inline constexpr std::size_t kMaxCopyDataBytes = 64 * 1024;
// Longest class name, caption or program path a window can register.
inline constexpr std::size_t kMaxIdentityText = 4096;

struct WindowIdentity {
    std::string className;
    std::string caption;
    std::string programPath;
    bool visible = false;
};

// The folder that holds one socket per registered window.
const char* const kWindowSocketFolder = "zorvan-windows";

}  // namespace platform
