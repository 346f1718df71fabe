#pragma once
// Makes the player the opener of MP3, WMA, PLS and Ogg files and registers its
// context-menu server for them: the keys go into the user's classes registry, and from
// there onto the desktop as a desktop entry ("zorvan.desktop" in the user's applications
// folder) and the user's default applications for the files' MIME types in
// mimeapps.list. The file manager's module finds the server through the registry.
//
// An extension that already names a type keeps it; that type gets the player's open
// command and the handler. Other lines of the user's files are kept. Running it again
// writes the same values.
#include <filesystem>

#include "platform/class_registry.h"

struct ShellIntegrationFiles {
    std::filesystem::path registry;
    std::filesystem::path applications;  // the folder that gets the desktop entry
    std::filesystem::path mimeApps;

    // The user's own files.
    static ShellIntegrationFiles user();
};

// `program` is the player's full path. Throws platform::RegistryError when a key cannot be
// created or a value cannot be written (a desktop file counts as a key, its line as a
// value); what was written before stays.
void RegisterShellIntegration(const std::filesystem::path& program,
                              const ShellIntegrationFiles& files = ShellIntegrationFiles::user());
