#pragma once
// The interfaces of a context-menu handler: initialised with the selection, it adds its
// entries to the menu, describes them and runs the one the user chose.
#include <cstdint>

#include "shellext/com/com_base.h"
#include "shellext/com/data_object.h"
#include "shellext/com/host_window.h"
#include "shellext/com/popup_menu.h"

namespace com {

inline constexpr GUID IID_IShellExtInit = guid("{000214E8-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IContextMenu = guid("{000214E4-0000-0000-C000-000000000046}");

// Kinds of command string.
inline constexpr std::uint32_t GCS_VERBA = 0x0;
inline constexpr std::uint32_t GCS_HELPTEXTA = 0x1;
inline constexpr std::uint32_t GCS_UNICODE = 0x4;
inline constexpr std::uint32_t GCS_HELPTEXTW = 0x5;

inline constexpr std::uint32_t CMF_NORMAL = 0x0;

// A command offset travels in the verb pointer's low 16 bits; a verb text has higher bits.
inline const char* MAKEINTRESOURCEA(std::uint16_t offset) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(offset));
}

struct CMINVOKECOMMANDINFO {
    std::uint32_t cbSize;
    std::uint32_t fMask;
    HWND hwnd;
    const char* lpVerb;
    const char* lpParameters;
    const char* lpDirectory;
    int nShow;
};

class IShellExtInit : public IUnknown {
public:
    // `folder` and `key` may be null.
    virtual HRESULT Initialize(const void* folder, IDataObject* selection, const void* key) = 0;

protected:
    ~IShellExtInit() = default;
};

class IContextMenu : public IUnknown {
public:
    // Success with the number of entries added.
    virtual HRESULT QueryContextMenu(HMENU menu, std::uint32_t index, std::uint32_t idCmdFirst,
                                     std::uint32_t idCmdLast, std::uint32_t flags) = 0;
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) = 0;
    // `type` GCS_*; a GCS_UNICODE kind takes a char16_t buffer, `size` counting its units.
    virtual HRESULT GetCommandString(std::uintptr_t idCmd, std::uint32_t type,
                                     std::uint32_t* reserved, char* buffer, std::uint32_t size) = 0;

protected:
    ~IContextMenu() = default;
};

// The server's exports.
using DllGetClassObjectFn = HRESULT (*)(const GUID* clsid, const GUID* iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

}  // namespace com
