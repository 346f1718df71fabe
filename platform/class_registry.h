#pragma once
// The user's classes registry: a tree of keys under one root, each key with a default
// value and named string values, kept in one INI file
// (${XDG_CONFIG_HOME:-~/.config}/Tavrel/Classes.ini). One section per key, named by its
// path ("CLSID\{...}\InProcServer32"); "@" holds the default value.
//
// Key paths are separated by '\'; one leading '\' means the root and is dropped. Names
// compare without regard to case (Latin, Latin-1, Cyrillic) and keep the spelling they
// were created with. A key name must not be empty, hold an empty part, control
// characters or begin or end with a blank; a value must fit on one line and in
// IniDocument::kMaxValueChars characters.
//
// Every change is made on the file as it is now (read again, changed, written
// atomically), so two processes that change different keys keep each other's work and
// a failed write leaves the file as it was.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_document.h"

namespace platform {

// "Failed to create key %s" or "Failed to set data for '%s'".
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ClassRegistry {
public:
    // The classes registry of this user.
    static std::filesystem::path defaultPath();

    // Reads the store at `file` (defaultPath() when empty). A missing file is an empty
    // registry; a file that exists but cannot be read gives an empty registry that
    // refuses every change, so it is never overwritten.
    explicit ClassRegistry(std::filesystem::path file = {});

    const std::filesystem::path& path() const { return document_.path(); }
    // Reads the file again.
    void reload();

    bool keyExists(std::string_view key) const;
    // The names of the key's direct subkeys in file order; "" lists the root's.
    std::vector<std::string> subkeys(std::string_view key) const;
    // A value of the key; `name` "" is the default value. Nothing when the key or the
    // value is missing.
    std::optional<std::string> readString(std::string_view key, std::string_view name) const;

    // Creates the key and its missing parents; true when it exists afterwards.
    bool createKey(std::string_view key);
    // Sets a value of an existing key; `name` "" is the default value.
    bool writeString(std::string_view key, std::string_view name, std::string_view value);
    // Deletes a key that has no subkeys, with its values.
    bool deleteKey(std::string_view key);

    // The same, throwing RegistryError with "Failed to create key <key>" or
    // "Failed to set data for '<name>'".
    void createKeyOrThrow(std::string_view key);
    void writeStringOrThrow(std::string_view key, std::string_view name, std::string_view value);

private:
    template <typename Change>
    bool change(Change&& edit);

    IniDocument document_;
    bool readable_ = true;
};

}  // namespace platform
