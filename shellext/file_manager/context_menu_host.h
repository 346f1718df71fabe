#pragma once
// Hosts the context-menu handlers that the user's classes registry names for a selection
// of files, as the desktop shell does: for each file's extension it reads the file type
// ("<.ext>" default value, or the extension itself when it names none) and the type's
// "shellex\ContextMenuHandlers" subkeys (a class identifier as the name, or as the
// default value); the handlers that every selected file has are loaded from their
// "CLSID\{...}\InProcServer32" library, initialised with the selection and asked for
// their entries, which come back with their help texts. Choosing one runs it.
//
// A library stays loaded while the host lives. A handler that cannot be loaded, created
// or initialised adds nothing. All calls run on one thread (the handlers are
// apartment-threaded).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shellext/com/shell_interfaces.h"

class ContextMenuHost {
public:
    // One entry a handler added, holding the handler until it is dropped.
    struct Command {
        std::string text;
        std::string help;
        std::shared_ptr<com::IContextMenu> handler;
        std::uint32_t offset = 0;
    };

    ContextMenuHost() = default;
    ~ContextMenuHost();
    ContextMenuHost(const ContextMenuHost&) = delete;
    ContextMenuHost& operator=(const ContextMenuHost&) = delete;

    // `files` are full local paths.
    std::vector<Command> commandsFor(const std::vector<std::string>& files);
    // Runs the command with `owner` as the window of its messages.
    static com::HRESULT invoke(const Command& command, com::HWND owner);

private:
    com::DllGetClassObjectFn server(const std::string& library);

    std::map<std::string, void*> libraries_;
};
