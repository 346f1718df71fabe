#pragma once
// Keeps the texts handed out by the library alive for the life of the process. Each
// distinct text is stored once, so reading the same tags again never grows memory.
#include <array>
#include <cstddef>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>

namespace songmeta {

class TextPool {
public:
    // For each text, a zero-terminated copy that stays valid until the library is unloaded
    // (null for an empty text) into `held`. A record's texts are held under one lock.
    void hold(std::span<const std::string> texts, const char** held);

private:
    const char* holdLocked(std::string_view text);

    // Looks a text up without copying it first: most texts of a folder (artists, albums,
    // genres, versions) are held already.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::mutex mutex_;
    std::unordered_set<std::string, Hash, std::equal_to<>> texts_;
    // Texts held lately, by their hash: the fields that repeat file after file are found
    // here without a walk through the whole table. Elements of the set never move.
    std::array<const std::string*, 4096> recent_{};
};

}  // namespace songmeta
