// The module as the file manager loads it: through the real extension library, with a
// type module and file-info objects of the test's own, and the real player as the
// program the entry talks to.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <nautilus-extension.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/remote_window.h"
#include "testing/child_process.h"
#include "testing/player_window.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::ChildProcess;
using testing_support::readFile;
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

GFile* testFileLocation(NautilusFileInfo* info) {
    return G_FILE(g_object_ref(reinterpret_cast<TestFile*>(info)->location));
}

void testFileFinalize(GObject* object) {
    g_object_unref(reinterpret_cast<TestFile*>(object)->location);
    G_OBJECT_CLASS(g_type_class_peek(G_TYPE_OBJECT))->finalize(object);
}

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
        const GType t =
            g_type_register_static(G_TYPE_OBJECT, "ZorvanTestFile", &info, GTypeFlags(0));
        const GInterfaceInfo iface{[](gpointer g, gpointer) {
                                       static_cast<NautilusFileInfoInterface*>(g)->get_location =
                                           testFileLocation;
                                   },
                                   nullptr, nullptr};
        g_type_add_interface_static(t, NAUTILUS_TYPE_FILE_INFO, &iface);
        return t;
    }();
    return type;
}

// The type module that loads the extension as the file manager does.
struct Loader {
    GTypeModule parent;
    void* handle;
};
struct LoaderClass {
    GTypeModuleClass parent;
};

gboolean loaderLoad(GTypeModule* module) {
    auto* self = reinterpret_cast<Loader*>(module);
    self->handle = dlopen((kBin + "libzorvan-nautilus.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!self->handle) return FALSE;
    reinterpret_cast<void (*)(GTypeModule*)>(dlsym(self->handle, "nautilus_module_initialize"))(
        module);
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
NautilusMenuProvider* provider() {
    static NautilusMenuProvider* made = [] {
        auto* loader = G_TYPE_MODULE(g_object_new(loaderType(), nullptr));
        if (!g_type_module_use(loader)) return static_cast<NautilusMenuProvider*>(nullptr);
        void* handle = reinterpret_cast<Loader*>(loader)->handle;
        const GType* types = nullptr;
        int count = 0;
        reinterpret_cast<void (*)(const GType**, int*)>(
            dlsym(handle, "nautilus_module_list_types"))(&types, &count);
        if (count != 1) return static_cast<NautilusMenuProvider*>(nullptr);
        return NAUTILUS_MENU_PROVIDER(g_object_new(types[0], nullptr));
    }();
    return made;
}

struct Item {
    std::string label, tip;
    NautilusMenuItem* item;
};

// The entries the file manager would show for a right click on `files`.
std::vector<Item> rightClick(const std::vector<std::filesystem::path>& files, GList** keep) {
    GList* infos = nullptr;
    for (const auto& f : files) {
        auto* info = reinterpret_cast<TestFile*>(g_object_new(testFileType(), nullptr));
        info->location = g_file_new_for_path(f.c_str());
        infos = g_list_append(infos, info);
    }
    GList* items = nautilus_menu_provider_get_file_items(provider(), infos);
    g_list_free_full(infos, g_object_unref);
    std::vector<Item> seen;
    for (GList* l = items; l; l = l->next) {
        char* label = nullptr;
        char* tip = nullptr;
        g_object_get(l->data, "label", &label, "tip", &tip, nullptr);
        seen.push_back({label ? label : "", tip ? tip : "", NAUTILUS_MENU_ITEM(l->data)});
        g_free(label);
        g_free(tip);
    }
    *keep = items;
    return seen;
}

}  // namespace

TEST(NautilusModule, OneSoundFileOfARunningPlayerGetsTheEntryWhichPlaysIt) {
    ASSERT_TRUE(provider());
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

    const auto offered = rightClick({song}, &items);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].label, "Проиграть в Zorvan");
    EXPECT_EQ(offered[0].tip, "Проиграть файл в Zorvan");
    nautilus_menu_item_activate(offered[0].item);
    nautilus_menu_item_list_free(items);

    EXPECT_TRUE(rightClick({song, other}, &items).empty()) << "two files";
    EXPECT_TRUE(rightClick({tmp / "notes.txt"}, &items).empty()) << "no handler for the type";

    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    player.kill(SIGTERM);
    const auto end = player.wait(std::chrono::seconds(20));
    ASSERT_TRUE(end && WIFEXITED(*end) && WEXITSTATUS(*end) == 0);
    EXPECT_TRUE(hasSound(readFile(output))) << "the file was played";
    const auto data = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "Zorvan";
    EXPECT_NE(readFile(data / "Default.pls").find("File1=" + song.string()), std::string::npos);

    EXPECT_TRUE(rightClick({song}, &items).empty()) << "the player has ended";
}
