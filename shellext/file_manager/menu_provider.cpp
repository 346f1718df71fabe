#include "shellext/file_manager/menu_provider.h"

#include <string>
#include <vector>

#include "shellext/file_manager/context_menu_host.h"

namespace menu_provider {
namespace {

struct Provider {
    GObject parent;
    ContextMenuHost* host;
};

struct ProviderClass {
    GObjectClass parent;
};

GObjectClass* parentClass = nullptr;

// Messages of the handlers go to the desktop's notifications and to standard error.
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

void activate(GObject* item, gpointer) {
    auto* command = static_cast<ContextMenuHost::Command*>(g_object_get_data(item, "command"));
    NotifyingOwner owner;
    if (command) ContextMenuHost::invoke(*command, &owner);
}

// Full local paths of the selection, or none when a file has no local path.
std::vector<std::string> localPaths(GList* files, const FileManagerCalls& calls) {
    std::vector<std::string> paths;
    for (GList* l = files; l; l = l->next) {
        GFile* location = calls.location(G_OBJECT(l->data));
        char* path = location ? g_file_get_path(location) : nullptr;
        if (location) g_object_unref(location);
        if (!path) return {};
        paths.emplace_back(path);
        g_free(path);
    }
    return paths;
}

void instanceInit(GTypeInstance* instance, gpointer) {
    reinterpret_cast<Provider*>(instance)->host = new ContextMenuHost;
}

void finalize(GObject* object) {
    delete reinterpret_cast<Provider*>(object)->host;
    parentClass->finalize(object);
}

void classInit(gpointer klass, gpointer) {
    parentClass = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalize;
}

}  // namespace

GType registerType(GTypeModule* module, const char* typeName, GType menuInterface,
                   GInterfaceInitFunc initInterface) {
    const GTypeInfo info{sizeof(ProviderClass), nullptr, nullptr,      classInit, nullptr, nullptr,
                         sizeof(Provider),      0,       instanceInit, nullptr};
    const GType type =
        g_type_module_register_type(module, G_TYPE_OBJECT, typeName, &info, GTypeFlags(0));
    const GInterfaceInfo menu{initInterface, nullptr, nullptr};
    g_type_module_add_interface(module, type, menuInterface, &menu);
    return type;
}

GList* fileItems(GObject* provider, GList* files, const FileManagerCalls& calls) {
    auto* self = reinterpret_cast<Provider*>(provider);
    GList* items = nullptr;
    int index = 0;
    for (ContextMenuHost::Command& command : self->host->commandsFor(localPaths(files, calls))) {
        const std::string name = "ZorvanMenuProvider::" + std::to_string(index++);
        GObject* item = calls.newItem(name.c_str(), command.text.c_str(), command.help.c_str());
        g_object_set_data_full(item, "command", new ContextMenuHost::Command(std::move(command)),
                               deleteCommand);
        g_signal_connect(item, "activate", G_CALLBACK(activate), nullptr);
        items = g_list_append(items, item);
    }
    return items;
}

}  // namespace menu_provider
