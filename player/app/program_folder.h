#pragma once
// The folder where the program keeps its files ("Default.pls", "AllMusik.aml",
// "updates"): ${XDG_DATA_HOME:-~/.local/share}/Zorvan/, created when missing. The
// program's own folder holds only the program and its libraries.
#include <filesystem>

std::filesystem::path programDataFolder();
