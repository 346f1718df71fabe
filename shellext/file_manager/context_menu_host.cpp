#include "shellext/file_manager/context_menu_host.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "platform/class_registry.h"
#include "platform/text.h"
#include "shellext/file_manager/selection_data.h"

namespace {

constexpr std::uint32_t kFirstCommand = 1;
constexpr std::uint32_t kLastCommand = 0x7FFF;
constexpr std::uint32_t kHelpChars = 1024;

// The class identifiers of the handlers registered for a file, folded to upper case.
std::vector<std::string> handlersFor(const platform::ClassRegistry& reg, const std::string& file) {
    const std::string extension = std::filesystem::path(file).extension().string();
    if (extension.size() < 2) return {};
    std::string type = reg.readString(extension, "").value_or("");
    if (type.empty()) type = extension;
    const std::string handlers = type + "\\shellex\\ContextMenuHandlers";
    std::vector<std::string> ids;
    for (const std::string& name : reg.subkeys(handlers)) {
        std::optional<com::GUID> id = com::GUID::parse(name);
        if (!id) id = com::GUID::parse(reg.readString(handlers + "\\" + name, "").value_or(""));
        if (id) ids.push_back(id->text());
    }
    return ids;
}

// Handlers speak UTF-8 or, failing that, windows-1251.
std::string asUtf8(std::string text) {
    return platform::text::isValidUtf8(text) ? text : platform::text::cp1251ToUtf8(text);
}

void releaseHandler(com::IContextMenu* handler) {
    handler->Release();
}

}  // namespace

ContextMenuHost::~ContextMenuHost() {
    for (auto& [path, handle] : libraries_) {
        const auto canUnload =
            reinterpret_cast<com::DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
        if (canUnload && canUnload() == com::S_OK) dlclose(handle);
    }
}

com::DllGetClassObjectFn ContextMenuHost::server(const std::string& library) {
    auto found = libraries_.find(library);
    if (found == libraries_.end()) {
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return nullptr;
        found = libraries_.emplace(library, handle).first;
    }
    return reinterpret_cast<com::DllGetClassObjectFn>(dlsym(found->second, "DllGetClassObject"));
}

std::vector<ContextMenuHost::Command> ContextMenuHost::commandsFor(
    const std::vector<std::string>& files) {
    if (files.empty()) return {};
    const platform::ClassRegistry reg;
    std::vector<std::string> ids = handlersFor(reg, files.front());
    for (std::size_t i = 1; i < files.size() && !ids.empty(); ++i) {
        const std::vector<std::string> also = handlersFor(reg, files[i]);
        std::erase_if(ids, [&](const std::string& id) {
            return std::find(also.begin(), also.end(), id) == also.end();
        });
    }

    std::vector<Command> commands;
    for (const std::string& id : ids) {
        const auto library = reg.readString("CLSID\\" + id + "\\InProcServer32", "");
        const com::DllGetClassObjectFn getClassObject = library ? server(*library) : nullptr;
        if (!getClassObject) continue;
        const com::GUID clsid = *com::GUID::parse(id);
        void* factory = nullptr;
        if (com::FAILED(getClassObject(&clsid, &com::IID_IClassFactory, &factory))) continue;
        void* init = nullptr;
        const com::HRESULT created = static_cast<com::IClassFactory*>(factory)->CreateInstance(
            nullptr, com::IID_IShellExtInit, &init);
        static_cast<com::IClassFactory*>(factory)->Release();
        if (com::FAILED(created)) continue;
        auto* initializer = static_cast<com::IShellExtInit*>(init);
        auto* selection = new SelectionData(files);
        const com::HRESULT initialised = initializer->Initialize(nullptr, selection, nullptr);
        selection->Release();
        void* menu = nullptr;
        if (com::SUCCEEDED(initialised)) initializer->QueryInterface(com::IID_IContextMenu, &menu);
        initializer->Release();
        if (!menu) continue;
        const std::shared_ptr<com::IContextMenu> handler(static_cast<com::IContextMenu*>(menu),
                                                         releaseHandler);

        com::PopupMenu items;
        const com::HRESULT added =
            handler->QueryContextMenu(&items, 0, kFirstCommand, kLastCommand, com::CMF_NORMAL);
        if (com::FAILED(added)) continue;
        for (const com::PopupMenu::Item& item : items.items()) {
            if (item.id < kFirstCommand || item.id > kLastCommand) continue;
            const std::uint32_t offset = item.id - kFirstCommand;
            std::string help(kHelpChars, '\0');
            if (com::SUCCEEDED(handler->GetCommandString(offset, com::GCS_HELPTEXTA, nullptr,
                                                         help.data(), kHelpChars)))
                help.resize(help.find('\0'));
            else
                help.clear();
            commands.push_back({asUtf8(item.text), asUtf8(help), handler, offset});
        }
    }
    return commands;
}

com::HRESULT ContextMenuHost::invoke(const Command& command, com::HWND owner) {
    const com::CMINVOKECOMMANDINFO info{
        sizeof(com::CMINVOKECOMMANDINFO),
        0,
        owner,
        com::MAKEINTRESOURCEA(static_cast<std::uint16_t>(command.offset)),
        nullptr,
        nullptr,
        1};
    return command.handler->InvokeCommand(&info);
}
