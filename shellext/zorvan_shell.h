#pragma once
// The context-menu handler: offered one file while the player runs, it adds the entry
// "Проиграть в Zorvan", and when chosen sends the file's path to the player's window
// (found by its caption "Tavrel") in one WM_COPYDATA: identifier 0, the path's bytes
// without a terminator. The player is never started from here.
#include <atomic>
#include <string>

#include "shellext/com/shell_interfaces.h"

class TZorvanShell final : public com::IShellExtInit, public com::IContextMenu {
public:
    TZorvanShell();
    TZorvanShell(const TZorvanShell&) = delete;
    TZorvanShell& operator=(const TZorvanShell&) = delete;

    com::HRESULT QueryInterface(const com::GUID& iid, void** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    // S_OK when the selection is exactly one file, whose name is kept.
    com::HRESULT Initialize(const void* folder, com::IDataObject* selection,
                            const void* key) override;
    // One entry while the player's window exists, else none.
    com::HRESULT QueryContextMenu(com::HMENU menu, std::uint32_t index, std::uint32_t idCmdFirst,
                                  std::uint32_t idCmdLast, std::uint32_t flags) override;
    // E_FAIL for a verb text, E_INVALIDARG for an offset other than 0; else the file goes
    // to the player, or "Program not found" is shown when it has gone, and S_OK.
    com::HRESULT InvokeCommand(const com::CMINVOKECOMMANDINFO* info) override;
    // The help text for offset 0 (as UTF-16 for the GCS_UNICODE kinds), cut to the
    // buffer; E_INVALIDARG for other offsets.
    com::HRESULT GetCommandString(std::uintptr_t idCmd, std::uint32_t type, std::uint32_t* reserved,
                                  char* buffer, std::uint32_t size) override;

private:
    ~TZorvanShell();

    std::atomic<std::uint32_t> references_{0};
    std::string FileName;
};
