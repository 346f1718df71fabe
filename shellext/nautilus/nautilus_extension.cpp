// The file manager's module: a menu provider that offers the entries of the registered
// context-menu handlers for the selected local files (see ContextMenuHost). Messages of
// the handlers go to the desktop's notifications and to standard error.
#include <gio/gio.h>
#include <glib-object.h>
// The module entry points are declared without C linkage of their own.
extern "C" {
#include <nautilus-extension.h>
}

#include <string>
#include <vector>

#include "shellext/nautilus/context_menu_host.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct ShellMenuProvider {
    GObject parent;
    ContextMenuHost* host;
};

struct ShellMenuProviderClass {
    GObjectClass parent;
};

GType providerType = 0;
GObjectClass* parentClass = nullptr;

class NotifyingOwner final : public com::HostWindow {
public:
    void messageBox(const char* text, const char* caption, std::uint32_t) override {
        g_printerr("%s: %s\n", caption, text);
        GApplication* app = g_application_get_default();
        if (!app) return;
        GNotification* note = g_notification_new(caption);
        g_notification_set_body(note, text);
        GIcon* icon = g_themed_icon_new("dialog-error");
        g_notification_set_icon(note, icon);
        g_application_send_notification(app, nullptr, note);
        g_object_unref(icon);
        g_object_unref(note);
    }
};

void deleteCommand(gpointer command) {
    delete static_cast<ContextMenuHost::Command*>(command);
}

void activate(NautilusMenuItem* item, gpointer) {
    auto* command =
        static_cast<ContextMenuHost::Command*>(g_object_get_data(G_OBJECT(item), "command"));
    NotifyingOwner owner;
    if (command) ContextMenuHost::invoke(*command, &owner);
}

// Full local paths of the selection, or none when a file has no local path.
std::vector<std::string> localPaths(GList* files) {
    std::vector<std::string> paths;
    for (GList* l = files; l; l = l->next) {
        GFile* location = nautilus_file_info_get_location(NAUTILUS_FILE_INFO(l->data));
        char* path = location ? g_file_get_path(location) : nullptr;
        if (location) g_object_unref(location);
        if (!path) return {};
        paths.emplace_back(path);
        g_free(path);
    }
    return paths;
}

GList* getFileItems(NautilusMenuProvider* provider, GList* files) {
    auto* self = reinterpret_cast<ShellMenuProvider*>(provider);
    GList* items = nullptr;
    int index = 0;
    for (ContextMenuHost::Command& command : self->host->commandsFor(localPaths(files))) {
        const std::string name = "ShellMenuProvider::" + std::to_string(index++);
        NautilusMenuItem* item = nautilus_menu_item_new(name.c_str(), command.text.c_str(),
                                                        command.help.c_str(), nullptr);
        g_object_set_data_full(G_OBJECT(item), "command",
                               new ContextMenuHost::Command(std::move(command)), deleteCommand);
        g_signal_connect(item, "activate", G_CALLBACK(activate), nullptr);
        items = g_list_append(items, item);
    }
    return items;
}

void initMenuProvider(gpointer iface, gpointer) {
    static_cast<NautilusMenuProviderInterface*>(iface)->get_file_items = getFileItems;
}

void instanceInit(GTypeInstance* instance, gpointer) {
    reinterpret_cast<ShellMenuProvider*>(instance)->host = new ContextMenuHost;
}

void finalize(GObject* object) {
    delete reinterpret_cast<ShellMenuProvider*>(object)->host;
    parentClass->finalize(object);
}

void classInit(gpointer klass, gpointer) {
    parentClass = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalize;
}

}  // namespace

MODULE_EXPORT void nautilus_module_initialize(GTypeModule* module) {
    const GTypeInfo info{
        sizeof(ShellMenuProviderClass), nullptr, nullptr,      classInit, nullptr, nullptr,
        sizeof(ShellMenuProvider),      0,       instanceInit, nullptr};
    providerType = g_type_module_register_type(module, G_TYPE_OBJECT, "ZorvanShellMenuProvider",
                                               &info, GTypeFlags(0));
    const GInterfaceInfo menu{initMenuProvider, nullptr, nullptr};
    g_type_module_add_interface(module, providerType, NAUTILUS_TYPE_MENU_PROVIDER, &menu);
}

MODULE_EXPORT void nautilus_module_shutdown() {}

MODULE_EXPORT void nautilus_module_list_types(const GType** types, int* count) {
    *types = &providerType;
    *count = 1;
}
