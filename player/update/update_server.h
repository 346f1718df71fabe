#pragma once
// The addresses on the update server. The server is a base address such as
// "https://host" or "http://host:8080" (the "UpdateServer" setting).
#include <string>
#include <string_view>

inline constexpr const char* kDefaultUpdateServer = "https://tavrel.example";

std::string UpdateListUrl(std::string_view server);
// The file's name is sent percent-encoded.
std::string UpdateFileUrl(std::string_view server, std::string_view name);
