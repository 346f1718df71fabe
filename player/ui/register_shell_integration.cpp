#include "player/ui/register_shell_integration.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_document.h"
#include "platform/user_folders.h"
#include "shellext/server_identity.h"

namespace {

struct FileType {
    std::string_view extension;
    std::string_view typeName;  // written when the extension names no type yet
    bool icon;
    std::vector<std::string_view> mimeTypes;
};

const std::array<FileType, 4>& fileTypes() {
    static const std::array<FileType, 4> types{{
        {".mp3", "mp3file", false, {"audio/mpeg"}},
        {".wma", "wmafile", false, {"audio/x-ms-wma"}},
        {".pls", "plsfile", false, {"audio/x-scpls"}},
        {".ogg", "oggfile", true, {"audio/ogg", "audio/x-vorbis+ogg"}},
    }};
    return types;
}

constexpr std::string_view kDesktopId = "zorvan.desktop";

// A desktop entry's Exec argument: quoted, with the characters that quoting and string
// values reserve escaped, and '%' doubled so it is no field code.
std::string execArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    return out;
}

void saveOrThrow(const platform::IniDocument& file) {
    std::error_code ec;
    std::filesystem::create_directories(file.path().parent_path(), ec);
    if (!file.save())
        throw platform::RegistryError("Failed to set data for '" + file.path().string() + "'");
}

void writeDesktopEntry(const std::filesystem::path& program, const ShellIntegrationFiles& files) {
    const std::string p = program.string();
    if (p.find_first_of("\r\n") != std::string::npos)
        throw platform::RegistryError("Failed to set data for 'Exec'");
    std::string mimeTypes;
    for (const FileType& type : fileTypes())
        for (std::string_view mime : type.mimeTypes) mimeTypes.append(mime).append(";");

    platform::IniDocument entry;
    entry.open(files.applications / kDesktopId);
    const std::string_view group = "Desktop Entry";
    // Named and drawn as the installed entry (packaging/), which this one overrides.
    entry.writeString(group, "Type", "Application");
    entry.writeString(group, "Name", "Zorvan");
    entry.writeString(group, "Icon", "zorvan");
    entry.writeString(group, "Exec", execArgument(p) + " %f");
    entry.writeString(group, "Terminal", "false");
    entry.writeString(group, "MimeType", mimeTypes);
    entry.writeString(group, "Categories", "AudioVideo;Audio;Player;");
    saveOrThrow(entry);
}

// The player first in each type's list of default applications; the rest of the list
// and of the file stays.
void writeDefaultApplications(const ShellIntegrationFiles& files) {
    platform::IniDocument list;
    list.open(files.mimeApps);
    const std::string_view group = "Default Applications";
    for (const FileType& type : fileTypes()) {
        for (std::string_view mime : type.mimeTypes) {
            std::string value = std::string(kDesktopId) + ";";
            const std::string old = list.readString(group, mime);
            for (std::size_t start = 0; start < old.size();) {
                const std::size_t end = std::min(old.find(';', start), old.size());
                const std::string_view id = std::string_view(old).substr(start, end - start);
                if (!id.empty() && id != kDesktopId) value.append(id).append(";");
                start = end + 1;
            }
            list.writeString(group, mime, value);
        }
    }
    saveOrThrow(list);
}

}  // namespace

ShellIntegrationFiles ShellIntegrationFiles::user() {
    return {platform::ClassRegistry::defaultPath(), platform::userDataHome() / "applications",
            platform::userConfigHome() / "mimeapps.list"};
}

void RegisterShellIntegration(const std::filesystem::path& program,
                              const ShellIntegrationFiles& files) {
    using ctxmenu::kClassId;
    platform::ClassRegistry reg(files.registry);
    const std::string classKey = "\\CLSID\\" + std::string(kClassId);
    const std::string p = program.string();

    reg.createKeyOrThrow(classKey);
    reg.writeStringOrThrow(classKey, "", ctxmenu::kDescription);
    reg.createKeyOrThrow(classKey + "\\InProcServer32");
    reg.createKeyOrThrow(classKey + "\\ProgID");

    const std::string server = (program.parent_path() / ctxmenu::kServerFile).string();
    reg.writeStringOrThrow(classKey + "\\InProcServer32", "", server);
    reg.writeStringOrThrow(classKey + "\\InProcServer32", "ThreadingModel",
                           ctxmenu::kThreadingModel);
    reg.writeStringOrThrow(classKey + "\\ProgID", "", ctxmenu::kProgramId);

    for (const FileType& type : fileTypes()) {
        if (!reg.createKey(type.extension)) continue;
        std::string typeName = reg.readString(type.extension, "").value_or("");
        if (typeName.empty()) {
            typeName = type.typeName;
            reg.writeStringOrThrow(type.extension, "", typeName);
        }
        const std::string command = typeName + "\\shell\\open\\command";
        reg.createKeyOrThrow(command);
        reg.writeStringOrThrow(command, "", "\"" + p + "\" \"%1\"");
        reg.createKeyOrThrow(typeName + "\\shellex\\ContextMenuHandlers\\" + std::string(kClassId));
        if (type.icon) {
            reg.createKeyOrThrow(typeName + "\\DefaultIcon");
            reg.writeStringOrThrow(typeName + "\\DefaultIcon", "", p + ",1");
        }
    }

    writeDesktopEntry(program, files);
    writeDefaultApplications(files);
}
