// Nemo's module: the shared menu provider (see menu_provider.h) behind Nemo's
// menu-provider interface.
#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-item.h>
#include <libnemo-extension/nemo-menu-provider.h>

#include "shellext/file_manager/menu_provider.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

GType providerType = 0;

const menu_provider::FileManagerCalls calls{
    [](GObject* info) { return nemo_file_info_get_location(NEMO_FILE_INFO(info)); },
    [](const char* name, const char* label, const char* tip) {
        return G_OBJECT(nemo_menu_item_new(name, label, tip, nullptr));
    }};

GList* getFileItems(NemoMenuProvider* provider, GtkWidget*, GList* files) {
    return menu_provider::fileItems(G_OBJECT(provider), files, calls);
}

void initMenuProvider(gpointer iface, gpointer) {
    static_cast<NemoMenuProviderIface*>(iface)->get_file_items = getFileItems;
}

}  // namespace

MODULE_EXPORT void nemo_module_initialize(GTypeModule* module) {
    providerType = menu_provider::registerType(module, "ZorvanNemoMenuProvider",
                                               NEMO_TYPE_MENU_PROVIDER, initMenuProvider);
}

MODULE_EXPORT void nemo_module_shutdown() {}

MODULE_EXPORT void nemo_module_list_types(const GType** types, int* count) {
    *types = &providerType;
    *count = 1;
}
