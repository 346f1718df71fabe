// Nautilus's module: the shared menu provider (see menu_provider.h) behind Nautilus's
// menu-provider interface.
#include <gio/gio.h>
#include <glib-object.h>
// The module entry points are declared without C linkage of their own (GLib's headers,
// which carry C++ parts, come before).
extern "C" {
#include <nautilus-extension.h>
}

#include "shellext/file_manager/menu_provider.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

GType providerType = 0;

const menu_provider::FileManagerCalls calls{
    [](GObject* info) { return nautilus_file_info_get_location(NAUTILUS_FILE_INFO(info)); },
    [](const char* name, const char* label, const char* tip) {
        return G_OBJECT(nautilus_menu_item_new(name, label, tip, nullptr));
    }};

GList* getFileItems(NautilusMenuProvider* provider, GList* files) {
    return menu_provider::fileItems(G_OBJECT(provider), files, calls);
}

void initMenuProvider(gpointer iface, gpointer) {
    static_cast<NautilusMenuProviderInterface*>(iface)->get_file_items = getFileItems;
}

}  // namespace

MODULE_EXPORT void nautilus_module_initialize(GTypeModule* module) {
    providerType = menu_provider::registerType(module, "ZorvanNautilusMenuProvider",
                                               NAUTILUS_TYPE_MENU_PROVIDER, initMenuProvider);
}

MODULE_EXPORT void nautilus_module_shutdown() {}

MODULE_EXPORT void nautilus_module_list_types(const GType** types, int* count) {
    *types = &providerType;
    *count = 1;
}
