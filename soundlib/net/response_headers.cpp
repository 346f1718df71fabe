#include "soundlib/net/response_headers.h"

#include "platform/text.h"

#include <charconv>

namespace soundlib::net {
namespace {

namespace text = platform::text;

bool isStatusLine(std::string_view line) {
    return line.starts_with("HTTP/") || line.starts_with("ICY ");
}

int parseStatus(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    const std::string_view rest = text::trimLeft(line.substr(space));
    int code = 0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), code);
    return result.ec == std::errc() ? code : 0;
}

}  // namespace

bool ResponseHeaders::addLine(std::string_view raw) {
    std::string_view line = raw;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (isStatusLine(line)) {
        *this = ResponseHeaders();
        status_ = parseStatus(line);
    } else if (complete_) {
        return true;
    } else if (line.empty()) {
        complete_ = !lines_.empty();
        return true;
    }
    bytes_ += raw.size();
    if (bytes_ > kMaxBytes || lines_.size() >= kMaxLines) return false;
    lines_.push_back(text::decodeFileText(line));
    return true;
}

std::optional<std::string> ResponseHeaders::value(std::string_view name) const {
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (text::asciiLower(text::trim(line.substr(0, colon))) == text::asciiLower(name)) {
            return std::string(text::trim(line.substr(colon + 1)));
        }
    }
    return std::nullopt;
}

std::string ResponseHeaders::tagBlock() const {
    const auto isStation = [](std::string_view line) {
        return text::asciiLower(line.substr(0, 4)) == "icy-";
    };
    std::vector<std::string> stationNames;
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (isStation(line))
            stationNames.push_back(text::asciiLower(line.substr(0, line.find(':'))));
    }
    enum Kind { NamesStationHeaders, Station, Other };
    const auto kindOf = [&](std::string_view line) {
        if (isStation(line)) return Station;
        const std::string lower = text::asciiLower(line);
        for (const std::string& name : stationNames) {
            if (lower.find(name) != std::string::npos) return NamesStationHeaders;
        }
        return Other;
    };
    std::string block;
    if (!lines_.empty()) block += lines_.front() + '\0';
    for (Kind kind : {NamesStationHeaders, Station, Other}) {
        for (std::size_t i = 1; i < lines_.size(); ++i) {
            if (kindOf(lines_[i]) == kind) block += lines_[i] + '\0';
        }
    }
    block += '\0';
    return block;
}

}  // namespace soundlib::net
