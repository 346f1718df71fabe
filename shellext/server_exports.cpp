// The server's four exports, the only symbols the library shows.
#include <dlfcn.h>

#include <string>

#include "platform/class_registry.h"
#include "shellext/class_factory.h"
#include "shellext/com/com_base.h"
#include "shellext/server_identity.h"
#include "shellext/server_life.h"

#define CTXMENU_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr com::GUID kClass = com::guid(ctxmenu::kClassId);

const std::string& classKey() {
    static const std::string key = "CLSID\\" + std::string(ctxmenu::kClassId);
    return key;
}

// This library's file as it was loaded.
std::string serverFile() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&serverFile), &info) || !info.dli_fname) return {};
    return info.dli_fname;
}

}  // namespace

CTXMENU_EXPORT com::HRESULT DllGetClassObject(const com::GUID* clsid, const com::GUID* iid,
                                              void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return com::E_INVALIDARG;
    if (*clsid != kClass) return com::CLASS_E_CLASSNOTAVAILABLE;
    return ZorvanShellFactory::instance().QueryInterface(*iid, object);
}

CTXMENU_EXPORT com::HRESULT DllCanUnloadNow() {
    return ctxmenu::serverInUse() ? com::S_FALSE : com::S_OK;
}

CTXMENU_EXPORT com::HRESULT DllRegisterServer() {
    const std::string server = serverFile();
    const std::string progId(ctxmenu::kProgramId);
    platform::ClassRegistry reg;
    const bool ok = !server.empty() && reg.createKey(classKey()) &&
                    reg.writeString(classKey(), "", ctxmenu::kDescription) &&
                    reg.createKey(classKey() + "\\InprocServer32") &&
                    reg.writeString(classKey() + "\\InprocServer32", "", server) &&
                    reg.writeString(classKey() + "\\InprocServer32", "ThreadingModel",
                                    ctxmenu::kThreadingModel) &&
                    reg.createKey(progId) && reg.writeString(progId, "", ctxmenu::kDescription) &&
                    reg.createKey(progId + "\\Clsid") &&
                    reg.writeString(progId + "\\Clsid", "", ctxmenu::kClassId) &&
                    reg.createKey(classKey() + "\\ProgID") &&
                    reg.writeString(classKey() + "\\ProgID", "", progId);
    return ok ? com::S_OK : com::E_FAIL;
}

CTXMENU_EXPORT com::HRESULT DllUnregisterServer() {
    const std::string progId(ctxmenu::kProgramId);
    platform::ClassRegistry reg;
    bool ok = true;
    for (const std::string& key : {classKey() + "\\ProgID", progId + "\\Clsid", progId,
                                   classKey() + "\\InprocServer32", classKey()})
        ok = reg.deleteKey(key) && ok;
    return ok ? com::S_OK : com::E_FAIL;
}
