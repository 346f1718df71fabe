#include "player/update/update_server.h"

namespace update_server {
namespace {

constexpr std::string_view kFolder = "/programs/updates/";

std::string folderUrl(std::string_view server) {
    while (!server.empty() && server.back() == '/') server.remove_suffix(1);
    return std::string(server) + std::string(kFolder);
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string listUrl(std::string_view server) {
    return folderUrl(server) + "update.upd";
}

std::string fileUrl(std::string_view server, std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = folderUrl(server);
    for (const unsigned char c : name) {
        if (unreserved(c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

}  // namespace update_server
