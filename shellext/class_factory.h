#pragma once
// The factory of TZorvanShell: a new object for every request. One factory lives as long
// as the server is loaded; its references do not keep the server loaded, its locks do.
#include "shellext/com/com_base.h"

class ZorvanShellFactory final : public com::IClassFactory {
public:
    static ZorvanShellFactory& instance();

    com::HRESULT QueryInterface(const com::GUID& iid, void** object) override;
    std::uint32_t AddRef() override { return 2; }
    std::uint32_t Release() override { return 1; }
    com::HRESULT CreateInstance(com::IUnknown* outer, const com::GUID& iid, void** object) override;
    com::HRESULT LockServer(bool lock) override;

private:
    ZorvanShellFactory() = default;
};
