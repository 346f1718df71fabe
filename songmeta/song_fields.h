#pragma once
// The sixteen texts of a song record, UTF-8, empty meaning unset, in record order.
#include <array>
#include <string>

namespace songmeta {

enum Field {
    TagPresent,
    TagVersion,
    TagSize,
    Title,
    Artist,
    Album,
    Track,
    Year,
    Genre,
    Comment,
    Composer,
    Encoder,
    Copyright,
    Language,
    Link,
    Lyrics,
    kFieldCount
};

using SongFields = std::array<std::string, kFieldCount>;

}  // namespace songmeta
