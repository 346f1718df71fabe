#pragma once
// The user's settings: sections of named integer values in
// ${XDG_CONFIG_HOME:-~/.config}/Tavrel/Zorvan.ini. A store is opened, read and written
// in memory, and closed; close() writes the file (atomically, only when something was
// written), so one window's batch of writes costs one write of the file.
//
// Reading: a missing value, or text that is not an integer, gives the default; a
// boolean is true when its integer is not 0. Writing stores decimal text, "0" or "1"
// for a boolean, creating the section when it is missing.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ini_document.h"
#include "player/app/setting_table.h"

class SettingsStore {
public:
    // The settings file of this user.
    static std::filesystem::path defaultPath();

    // Opens the store at `file` (defaultPath() when empty). A missing or unreadable file
    // reads as empty.
    explicit SettingsStore(std::filesystem::path file = {});
    ~SettingsStore();  // closes
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    int readInteger(std::string_view section, std::string_view name, int fallback) const;
    bool readBool(std::string_view section, std::string_view name, bool fallback) const;
    // The text as it stands (blanks and one pair of quotation marks around it dropped).
    std::string readString(std::string_view section, std::string_view name,
                           std::string_view fallback) const;
    void writeInteger(std::string_view section, std::string_view name, int value);
    void writeBool(std::string_view section, std::string_view name, bool value);

    // A value of the tables in setting_table.h, with its default, clamped to its range as
    // the control that shows it would clamp it.
    int read(const SettingSpec& spec) const;
    void write(const SettingSpec& spec, int value) { writeInteger(spec.section, spec.name, value); }

    // Writes the file when something was written since opening; false when that failed
    // (the old file then stays whole). Later reads and writes are not allowed.
    bool close();
    const std::filesystem::path& path() const { return document_.path(); }

private:
    platform::IniDocument document_;
    bool dirty_ = false;
    bool closed_ = false;
};
