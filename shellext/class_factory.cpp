#include "shellext/class_factory.h"

#include <new>

#include "shellext/server_life.h"
#include "shellext/zorvan_shell.h"

ZorvanShellFactory& ZorvanShellFactory::instance() {
    static ZorvanShellFactory factory;
    return factory;
}

com::HRESULT ZorvanShellFactory::QueryInterface(const com::GUID& iid, void** object) {
    if (!object) return com::E_POINTER;
    if (iid == com::IID_IUnknown || iid == com::IID_IClassFactory) {
        *object = static_cast<com::IClassFactory*>(this);
        return com::S_OK;
    }
    *object = nullptr;
    return com::E_NOINTERFACE;
}

com::HRESULT ZorvanShellFactory::CreateInstance(com::IUnknown* outer, const com::GUID& iid,
                                                void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (outer) return com::CLASS_E_NOAGGREGATION;
    auto* shell = new (std::nothrow) TZorvanShell;
    if (!shell) return com::E_OUTOFMEMORY;
    // The query's reference is the caller's; a refused interface frees the object.
    shell->AddRef();
    const com::HRESULT result = shell->QueryInterface(iid, object);
    shell->Release();
    return result;
}

com::HRESULT ZorvanShellFactory::LockServer(bool lock) {
    ctxmenu::lockServer(lock);
    return com::S_OK;
}
