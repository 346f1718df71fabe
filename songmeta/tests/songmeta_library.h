#pragma once
// The built libSongmeta.so, loaded as the player loads it, with its three entry points.
#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "songmeta/songmeta.h"

class SongmetaLibrary {
public:
    SongmetaLibrary() {
        const std::string path = std::string(ZORVAN_BINARY_DIR) + "/bin/libSongmeta.so";
        handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) throw std::runtime_error(::dlerror());
        get = symbol<decltype(&GetSongInformation)>("GetSongInformation");
        getId3v2 = symbol<decltype(&GetTID3v2)>("GetTID3v2");
        save = symbol<decltype(&SaveSongInformation)>("SaveSongInformation");
    }
    ~SongmetaLibrary() { ::dlclose(handle_); }
    SongmetaLibrary(const SongmetaLibrary&) = delete;
    SongmetaLibrary& operator=(const SongmetaLibrary&) = delete;

    decltype(&GetSongInformation) get = nullptr;
    decltype(&GetTID3v2) getId3v2 = nullptr;
    decltype(&SaveSongInformation) save = nullptr;

private:
    template <typename F>
    F symbol(const char* name) {
        void* p = ::dlsym(handle_, name);
        if (!p) throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<F>(p);
    }

    void* handle_ = nullptr;
};
