// Caja's module: the shared menu provider (see menu_provider.h) behind Caja's
// menu-provider interface.
#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-item.h>
#include <libcaja-extension/caja-menu-provider.h>

#include "shellext/file_manager/menu_provider.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

GType providerType = 0;

const menu_provider::FileManagerCalls calls{
    [](GObject* info) { return caja_file_info_get_location(CAJA_FILE_INFO(info)); },
    [](const char* name, const char* label, const char* tip) {
        return G_OBJECT(caja_menu_item_new(name, label, tip, nullptr));
    }};

GList* getFileItems(CajaMenuProvider* provider, GtkWidget*, GList* files) {
    return menu_provider::fileItems(G_OBJECT(provider), files, calls);
}

void initMenuProvider(gpointer iface, gpointer) {
    static_cast<CajaMenuProviderIface*>(iface)->get_file_items = getFileItems;
}

}  // namespace

MODULE_EXPORT void caja_module_initialize(GTypeModule* module) {
    providerType = menu_provider::registerType(module, "ZorvanCajaMenuProvider",
                                               CAJA_TYPE_MENU_PROVIDER, initMenuProvider);
}

MODULE_EXPORT void caja_module_shutdown() {}

MODULE_EXPORT void caja_module_list_types(const GType** types, int* count) {
    *types = &providerType;
    *count = 1;
}
