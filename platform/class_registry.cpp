#include "platform/class_registry.h"

#include <system_error>
#include <unordered_set>

#include "platform/text.h"
#include "platform/user_folders.h"

namespace platform {

namespace {

constexpr std::string_view kDefaultValueName = "@";

// The key path as stored, or nothing when it is not a valid key name.
std::optional<std::string> keyPath(std::string_view key) {
    if (key.starts_with('\\')) key.remove_prefix(1);
    if (key.empty()) return std::nullopt;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        const std::string_view part = key.substr(start, end - start);
        if (part.empty() || text::trim(part).size() != part.size()) return std::nullopt;
        for (char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
        if (end == key.size()) break;
        start = end + 1;
    }
    return std::string(key);
}

// The INI key that holds a value, or nothing for a name that cannot be stored.
std::optional<std::string> valueKey(std::string_view name) {
    if (name.empty()) return std::string(kDefaultValueName);
    if (name == kDefaultValueName || name.find('=') != std::string_view::npos ||
        name.starts_with(';') || name.starts_with('[') || text::trim(name).size() != name.size())
        return std::nullopt;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    return std::string(name);
}

bool storableValue(std::string_view value) {
    for (char c : value)
        if (c == '\r' || c == '\n' || c == '\0') return false;
    return text::isValidUtf8(value) && text::charCount(value) <= IniDocument::kMaxValueChars;
}

}  // namespace

std::filesystem::path ClassRegistry::defaultPath() {
    return userConfigHome() / "Tavrel" / "Classes.ini";
}

ClassRegistry::ClassRegistry(std::filesystem::path file) {
    readable_ = document_.open(file.empty() ? defaultPath() : file);
}

void ClassRegistry::reload() {
    readable_ = document_.open(std::filesystem::path(document_.path()));
}

bool ClassRegistry::keyExists(std::string_view key) const {
    const auto path = keyPath(key);
    return path && document_.hasSection(*path);
}

std::vector<std::string> ClassRegistry::subkeys(std::string_view key) const {
    std::string prefix;
    if (!key.empty() && key != "\\") {
        const auto path = keyPath(key);
        if (!path) return {};
        prefix = text::foldCase(*path) + "\\";
    }
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const std::string& section : document_.sections()) {
        if (!text::foldCase(section).starts_with(prefix)) continue;
        const std::string_view rest = std::string_view(section).substr(prefix.size());
        const std::string_view name = rest.substr(0, rest.find('\\'));
        if (!name.empty() && seen.insert(text::foldCase(name)).second) names.emplace_back(name);
    }
    return names;
}

std::optional<std::string> ClassRegistry::readString(std::string_view key,
                                                     std::string_view name) const {
    const auto path = keyPath(key);
    const auto field = valueKey(name);
    if (!path || !field) return std::nullopt;
    return document_.value(*path, *field);
}

template <typename Change>
bool ClassRegistry::change(Change&& edit) {
    reload();
    if (!readable_ || !edit()) return false;
    std::error_code ec;
    std::filesystem::create_directories(path().parent_path(), ec);
    if (document_.save()) return true;
    reload();
    return false;
}

bool ClassRegistry::createKey(std::string_view key) {
    const auto path = keyPath(key);
    if (!path) return false;
    return change([&] {
        for (std::size_t end = path->find('\\');; end = path->find('\\', end + 1)) {
            document_.ensureSection(std::string_view(*path).substr(0, end));
            if (end == std::string::npos) return true;
        }
    });
}

bool ClassRegistry::writeString(std::string_view key, std::string_view name,
                                std::string_view value) {
    const auto path = keyPath(key);
    const auto field = valueKey(name);
    if (!path || !field || !storableValue(value)) return false;
    return change([&] {
        if (!document_.hasSection(*path)) return false;
        // Quoted, so that blanks and quotation marks at the ends survive reading.
        document_.writeString(*path, *field, "\"" + std::string(value) + "\"");
        return true;
    });
}

bool ClassRegistry::deleteKey(std::string_view key) {
    const auto path = keyPath(key);
    if (!path) return false;
    return change([&] { return subkeys(*path).empty() && document_.eraseSection(*path); });
}

void ClassRegistry::createKeyOrThrow(std::string_view key) {
    if (!createKey(key)) throw RegistryError("Failed to create key " + std::string(key));
}

void ClassRegistry::writeStringOrThrow(std::string_view key, std::string_view name,
                                       std::string_view value) {
    if (!writeString(key, name, value))
        throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

}  // namespace platform
