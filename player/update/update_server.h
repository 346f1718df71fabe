#pragma once
// The addresses on the update server. The server is a base address such as
// "https://host" or "http://host:8080" (the "UpdateServer" setting).
#include <string>
#include <string_view>

namespace update_server {

inline constexpr const char* kDefault = "https://tavrel.example";

std::string listUrl(std::string_view server);
// The file's name is sent percent-encoded.
std::string fileUrl(std::string_view server, std::string_view name);

}  // namespace update_server
