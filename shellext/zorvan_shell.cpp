#include "shellext/zorvan_shell.h"

#include <cstring>
#include <optional>

#include "platform/remote_window.h"
#include "platform/text.h"
#include "shellext/server_life.h"

namespace {

constexpr const char* kPlayerCaption = "Tavrel";
constexpr const char* kMenuText = "Проиграть в Zorvan";
constexpr const char* kHelpText = "Проиграть файл в Zorvan";

std::optional<platform::RemoteWindow> playerWindow() {
    return platform::RemoteWindow::find(std::nullopt, kPlayerCaption);
}

}  // namespace

TZorvanShell::TZorvanShell() {
    ctxmenu::objectCreated();
}

TZorvanShell::~TZorvanShell() {
    ctxmenu::objectDestroyed();
}

com::HRESULT TZorvanShell::QueryInterface(const com::GUID& iid, void** object) {
    if (!object) return com::E_POINTER;
    if (iid == com::IID_IUnknown || iid == com::IID_IShellExtInit) {
        *object = static_cast<com::IShellExtInit*>(this);
    } else if (iid == com::IID_IContextMenu) {
        *object = static_cast<com::IContextMenu*>(this);
    } else {
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    AddRef();
    return com::S_OK;
}

std::uint32_t TZorvanShell::AddRef() {
    return ++references_;
}

std::uint32_t TZorvanShell::Release() {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

com::HRESULT TZorvanShell::Initialize(const void*, com::IDataObject* selection, const void*) {
    if (!selection) return com::E_FAIL;
    const com::FORMATETC format{com::CF_HDROP, nullptr, com::DVASPECT_CONTENT, -1,
                                com::TYMED_HGLOBAL};
    com::STGMEDIUM medium{};
    const com::HRESULT got = selection->GetData(&format, &medium);
    if (com::FAILED(got)) return got;
    com::HRESULT result = com::E_FAIL;
    if (medium.hGlobal && com::DragQueryFileA(medium.hGlobal, 0xFFFFFFFFu, nullptr, 0) == 1) {
        // The whole name, however long: a cut name would name another file or none.
        std::string name(com::DragQueryFileA(medium.hGlobal, 0, nullptr, 0), '\0');
        com::DragQueryFileA(medium.hGlobal, 0, name.data(), static_cast<unsigned>(name.size() + 1));
        FileName = std::move(name);
        result = com::S_OK;
    }
    com::ReleaseStgMedium(&medium);
    return result;
}

com::HRESULT TZorvanShell::QueryContextMenu(com::HMENU menu, std::uint32_t index,
                                            std::uint32_t idCmdFirst, std::uint32_t,
                                            std::uint32_t) {
    if (!playerWindow()) return 0;
    return com::InsertMenuA(menu, index, com::MF_STRING | com::MF_BYPOSITION, idCmdFirst, kMenuText)
               ? 1
               : 0;
}

com::HRESULT TZorvanShell::InvokeCommand(const com::CMINVOKECOMMANDINFO* info) {
    if (!info) return com::E_INVALIDARG;
    const auto verb = reinterpret_cast<std::uintptr_t>(info->lpVerb);
    if (verb >> 16 != 0) return com::E_FAIL;
    if ((verb & 0xFFFF) != 0) return com::E_INVALIDARG;
    if (const auto window = playerWindow()) {
        window->bringToForeground();
        window->sendCopyData(0, FileName);
    } else {
        com::MessageBoxA(info->hwnd, "Program not found", "Error", com::MB_ICONERROR);
    }
    return com::S_OK;
}

com::HRESULT TZorvanShell::GetCommandString(std::uintptr_t idCmd, std::uint32_t type,
                                            std::uint32_t*, char* buffer, std::uint32_t size) {
    if (idCmd != 0) return com::E_INVALIDARG;
    if (!buffer || size == 0) return com::S_OK;
    if (type & com::GCS_UNICODE) {
        const std::string units =
            platform::text::utf8ToUtf16(kHelpText, platform::text::Endian::Little);
        // Whole units only; a surrogate pair is not split (the text has none).
        const std::size_t n = std::min<std::size_t>(units.size() / 2, size - 1);
        auto* wide = reinterpret_cast<char16_t*>(buffer);
        for (std::size_t i = 0; i < n; ++i)
            wide[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                            static_cast<unsigned char>(units[2 * i + 1]) << 8);
        wide[n] = 0;
        return com::S_OK;
    }
    // Whole characters that fit with the terminator.
    std::size_t n = 0;
    for (std::size_t pos = 0, len = std::strlen(kHelpText); pos < len;) {
        std::size_t next = pos;
        platform::text::nextCodePoint(kHelpText, next);
        if (next >= size) break;
        n = pos = next;
    }
    std::memcpy(buffer, kHelpText, n);
    buffer[n] = '\0';
    return com::S_OK;
}
