#include "player/app/settings_store.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "platform/user_folders.h"

std::filesystem::path SettingsStore::defaultPath() {
    return platform::userConfigHome() / "Tavrel" / "Zorvan.ini";
}

SettingsStore::SettingsStore(std::filesystem::path file) {
    document_.open(file.empty() ? defaultPath() : file);
}

SettingsStore::~SettingsStore() {
    close();
}

int SettingsStore::readInteger(std::string_view section, std::string_view name,
                               int fallback) const {
    return document_.readInteger(section, name, fallback);
}

bool SettingsStore::readBool(std::string_view section, std::string_view name, bool fallback) const {
    return readInteger(section, name, fallback ? 1 : 0) != 0;
}

std::string SettingsStore::readString(std::string_view section, std::string_view name,
                                      std::string_view fallback) const {
    return document_.readString(section, name, fallback);
}

void SettingsStore::writeInteger(std::string_view section, std::string_view name, int value) {
    document_.writeInteger(section, name, value);
    dirty_ = true;
}

void SettingsStore::writeBool(std::string_view section, std::string_view name, bool value) {
    writeInteger(section, name, value ? 1 : 0);
}

int SettingsStore::read(const SettingSpec& spec) const {
    return std::clamp(readInteger(spec.section, spec.name, spec.defaultValue), spec.min, spec.max);
}

bool SettingsStore::close() {
    if (closed_) return true;
    closed_ = true;
    if (!dirty_) return true;
    std::error_code ec;
    std::filesystem::create_directories(document_.path().parent_path(), ec);
    return document_.save();
}
