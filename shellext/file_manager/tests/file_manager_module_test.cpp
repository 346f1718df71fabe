// The modules as their file managers load them: through the real extension libraries,
// with a type module and file-info objects of the test's own, and the real player as the
// program the entry talks to.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef ZORVAN_WITH_NAUTILUS
#include <nautilus-extension.h>
#endif
#ifdef ZORVAN_WITH_CAJA
#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>
#endif
#ifdef ZORVAN_WITH_NEMO
#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>
#endif

#include "testing/child_process.h"
#include "testing/player_window.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::ChildProcess;
using testing_support::TempDir;

namespace {

const std::string kBin = std::string(ZORVAN_BINARY_DIR) + "/bin/";

// A file as the file manager describes it: only its location is asked for.
struct TestFile {
    GObject parent;
    GFile* location;
};
struct TestFileClass {
    GObjectClass parent;
};

GFile* testFileLocation(GObject* info) {
    return G_FILE(g_object_ref(reinterpret_cast<TestFile*>(info)->location));
}

void testFileFinalize(GObject* object) {
    g_object_unref(reinterpret_cast<TestFile*>(object)->location);
    G_OBJECT_CLASS(g_type_class_peek(G_TYPE_OBJECT))->finalize(object);
}

// What differs between the file managers: their module's name, their file-info
// interface and the calls on providers and items.
#ifdef ZORVAN_WITH_NAUTILUS
struct Nautilus {
    static constexpr const char* name = "nautilus";
    static GType fileInfoType() { return NAUTILUS_TYPE_FILE_INFO; }
    static void initFileInfo(gpointer iface, gpointer) {
        static_cast<NautilusFileInfoInterface*>(iface)->get_location = [](NautilusFileInfo* info) {
            return testFileLocation(G_OBJECT(info));
        };
    }
    static GList* fileItems(GObject* provider, GList* files) {
        return nautilus_menu_provider_get_file_items(NAUTILUS_MENU_PROVIDER(provider), files);
    }
    static void activate(GObject* item) { nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(item)); }
};
#endif
#ifdef ZORVAN_WITH_CAJA
struct Caja {
    static constexpr const char* name = "caja";
    static GType fileInfoType() { return CAJA_TYPE_FILE_INFO; }
    static void initFileInfo(gpointer iface, gpointer) {
        static_cast<CajaFileInfoIface*>(iface)->get_location = [](CajaFileInfo* info) {
            return testFileLocation(G_OBJECT(info));
        };
    }
    static GList* fileItems(GObject* provider, GList* files) {
        return caja_menu_provider_get_file_items(CAJA_MENU_PROVIDER(provider), nullptr, files);
    }
    static void activate(GObject* item) { caja_menu_item_activate(CAJA_MENU_ITEM(item)); }
};
#endif
#ifdef ZORVAN_WITH_NEMO
struct Nemo {
    static constexpr const char* name = "nemo";
    static GType fileInfoType() { return NEMO_TYPE_FILE_INFO; }
    static void initFileInfo(gpointer iface, gpointer) {
        static_cast<NemoFileInfoInterface*>(iface)->get_location = [](NemoFileInfo* info) {
            return testFileLocation(G_OBJECT(info));
        };
    }
    static GList* fileItems(GObject* provider, GList* files) {
        return nemo_menu_provider_get_file_items(NEMO_MENU_PROVIDER(provider), nullptr, files);
    }
    static void activate(GObject* item) { nemo_menu_item_activate(NEMO_MENU_ITEM(item)); }
};
#endif

template <class Fm>
GType testFileType() {
    static const GType type = [] {
        const GTypeInfo info{
            sizeof(TestFileClass),
            nullptr,
            nullptr,
            [](gpointer klass, gpointer) { G_OBJECT_CLASS(klass)->finalize = testFileFinalize; },
            nullptr,
            nullptr,
            sizeof(TestFile),
            0,
            nullptr,
            nullptr};
        const GType t = g_type_register_static(G_TYPE_OBJECT,
                                               (std::string("ZorvanTestFile_") + Fm::name).c_str(),
                                               &info, GTypeFlags(0));
        const GInterfaceInfo iface{Fm::initFileInfo, nullptr, nullptr};
        g_type_add_interface_static(t, Fm::fileInfoType(), &iface);
        return t;
    }();
    return type;
}

// The type module that loads a module as its file manager does: the library, then its
// `<name>_module_initialize`.
struct Loader {
    GTypeModule parent;
    const char* name;
    void* handle;
};
struct LoaderClass {
    GTypeModuleClass parent;
};

void* moduleEntry(const Loader* self, const char* call) {
    return dlsym(self->handle, (std::string(self->name) + "_module_" + call).c_str());
}

gboolean loaderLoad(GTypeModule* module) {
    auto* self = reinterpret_cast<Loader*>(module);
    const std::string library = kBin + "libzorvan-" + self->name + ".so";
    self->handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!self->handle) return FALSE;
    reinterpret_cast<void (*)(GTypeModule*)>(moduleEntry(self, "initialize"))(module);
    return TRUE;
}

GType loaderType() {
    static const GType type = [] {
        const GTypeInfo info{sizeof(LoaderClass),
                             nullptr,
                             nullptr,
                             [](gpointer klass, gpointer) {
                                 G_TYPE_MODULE_CLASS(klass)->load = loaderLoad;
                                 G_TYPE_MODULE_CLASS(klass)->unload = [](GTypeModule*) {};
                             },
                             nullptr,
                             nullptr,
                             sizeof(Loader),
                             0,
                             nullptr,
                             nullptr};
        return g_type_register_static(G_TYPE_TYPE_MODULE, "ZorvanTestLoader", &info, GTypeFlags(0));
    }();
    return type;
}

// The module's menu provider, made once for the test binary.
template <class Fm>
GObject* provider() {
    static GObject* made = []() -> GObject* {
        auto* loader = reinterpret_cast<Loader*>(g_object_new(loaderType(), nullptr));
        loader->name = Fm::name;
        if (!g_type_module_use(G_TYPE_MODULE(loader))) return nullptr;
        const GType* types = nullptr;
        int count = 0;
        reinterpret_cast<void (*)(const GType**, int*)>(moduleEntry(loader, "list_types"))(&types,
                                                                                           &count);
        if (count != 1) return nullptr;
        return G_OBJECT(g_object_new(types[0], nullptr));
    }();
    return made;
}

struct Item {
    std::string label, tip;
    GObject* item;
};

// The entries the file manager would show for a right click on `files`.
template <class Fm>
std::vector<Item> rightClick(const std::vector<std::filesystem::path>& files, GList** keep) {
    GList* infos = nullptr;
    for (const auto& f : files) {
        auto* info = reinterpret_cast<TestFile*>(g_object_new(testFileType<Fm>(), nullptr));
        info->location = g_file_new_for_path(f.c_str());
        infos = g_list_append(infos, info);
    }
    GList* items = Fm::fileItems(provider<Fm>(), infos);
    g_list_free_full(infos, g_object_unref);
    std::vector<Item> seen;
    for (GList* l = items; l; l = l->next) {
        char* label = nullptr;
        char* tip = nullptr;
        g_object_get(l->data, "label", &label, "tip", &tip, nullptr);
        seen.push_back({label ? label : "", tip ? tip : "", G_OBJECT(l->data)});
        g_free(label);
        g_free(tip);
    }
    *keep = items;
    return seen;
}

template <class Fm>
class FileManagerModule : public ::testing::Test {};
TYPED_TEST_SUITE_P(FileManagerModule);

TYPED_TEST_P(FileManagerModule, OneSoundFileOfARunningPlayerGetsTheEntryWhichPlaysIt) {
    using Fm = TypeParam;
    ASSERT_TRUE(provider<Fm>());
    TempDir tmp;
    const auto song = tmp / "song.mp3";  // named as an MP3, played by content
    const auto other = tmp / "other.mp3";
    writeSineWav(song, 3.0);
    writeSineWav(other, 0.2);
    const auto output = tmp / "output.raw";
    GList* items = nullptr;

    // The player's first start registers the file types and the handler.
    ChildProcess player({kBin + "zorvan"},
                        {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + output.string()});
    ASSERT_TRUE(testing_support::waitForPlayerWindow());

    const auto offered = rightClick<Fm>({song}, &items);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].label, "Проиграть в Zorvan");
    EXPECT_EQ(offered[0].tip, "Проиграть файл в Zorvan");
    Fm::activate(offered[0].item);
    g_list_free_full(items, g_object_unref);

    EXPECT_TRUE(rightClick<Fm>({song, other}, &items).empty()) << "two files";
    EXPECT_TRUE(rightClick<Fm>({tmp / "notes.txt"}, &items).empty()) << "no handler for the type";

    testing_support::expectSongPlayedAndEnd(player, output, song);

    EXPECT_TRUE(rightClick<Fm>({song}, &items).empty()) << "the player has ended";
}

REGISTER_TYPED_TEST_SUITE_P(FileManagerModule,
                            OneSoundFileOfARunningPlayerGetsTheEntryWhichPlaysIt);
#ifdef ZORVAN_WITH_NAUTILUS
INSTANTIATE_TYPED_TEST_SUITE_P(Nautilus, FileManagerModule, Nautilus);
#endif
#ifdef ZORVAN_WITH_CAJA
INSTANTIATE_TYPED_TEST_SUITE_P(Caja, FileManagerModule, Caja);
#endif
#ifdef ZORVAN_WITH_NEMO
INSTANTIATE_TYPED_TEST_SUITE_P(Nemo, FileManagerModule, Nemo);
#endif

}  // namespace
