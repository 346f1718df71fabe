#pragma once
// The menu provider of a file manager's module, shared by the file managers whose
// extension interfaces have the same shape (a GObject type implementing the manager's
// menu-provider interface, asked for the items of the selected files, each item
// activated through its "activate" signal). Each module supplies the few calls that
// name its manager's types and exports its manager's module entry points.
#include <gio/gio.h>
#include <glib-object.h>

namespace menu_provider {

struct FileManagerCalls {
    // The location of one of the manager's file-info objects, with a reference.
    GFile* (*location)(GObject* fileInfo);
    // A new menu item of the manager's type.
    GObject* (*newItem)(const char* name, const char* label, const char* tip);
};

// Registers the provider type named `typeName` in `module`, implementing `menuInterface`
// through `initInterface`, and returns it.
GType registerType(GTypeModule* module, const char* typeName, GType menuInterface,
                   GInterfaceInitFunc initInterface);

// The items for `files` (the manager's file-info objects): one for each entry the
// registered context-menu handlers add, which runs the handler when activated; none for
// a file without a local path.
GList* fileItems(GObject* provider, GList* files, const FileManagerCalls& calls);

}  // namespace menu_provider
