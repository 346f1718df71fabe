#pragma once
// How the context-menu server is known in the classes registry: what the player
// registers and what the server's own registration writes.
#include <string_view>

namespace ctxmenu {

inline constexpr std::string_view kClassId = "{CDF05220-DB84-11D1-B9F1-004845400FAA}";
inline constexpr std::string_view kClassName = "ZorvanShell";
inline constexpr std::string_view kDescription = "Zorvan Shell Extension";
inline constexpr std::string_view kProgramId = "Ctxmenu.ZorvanShell";
inline constexpr std::string_view kThreadingModel = "Apartment";
// The server's file, beside the player.
inline constexpr std::string_view kServerFile = "libCtxmenu.so";

}  // namespace ctxmenu
