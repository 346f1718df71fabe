// The server as a host meets it: loaded with dlopen and reached through its exports,
// with a real player process as the window it looks for.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/class_registry.h"
#include "platform/remote_window.h"
#include "platform/version_record.h"
#include "shellext/com/shell_interfaces.h"
#include "testing/child_process.h"
#include "testing/exported_symbols.h"
#include "testing/player_window.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using namespace com;
using testing_support::ChildProcess;
using testing_support::TempDir;

namespace {

const std::string kBin = std::string(ZORVAN_BINARY_DIR) + "/bin/";
constexpr GUID kClass = guid("{CDF05220-DB84-11D1-B9F1-004845400FAA}");

struct Server {
    void* handle = dlopen((kBin + "libCtxmenu.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    DllGetClassObjectFn getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    DllCanUnloadNowFn canUnloadNow =
        reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    DllRegisterServerFn registerServer =
        reinterpret_cast<DllRegisterServerFn>(dlsym(handle, "DllRegisterServer"));
    DllRegisterServerFn unregisterServer =
        reinterpret_cast<DllRegisterServerFn>(dlsym(handle, "DllUnregisterServer"));

    IClassFactory* factory() const {
        void* f = nullptr;
        EXPECT_EQ(getClassObject(&kClass, &IID_IClassFactory, &f), S_OK);
        return static_cast<IClassFactory*>(f);
    }
    // A new handler, seen through its IContextMenu and IShellExtInit.
    std::pair<IShellExtInit*, IContextMenu*> create() const {
        void* init = nullptr;
        void* menu = nullptr;
        EXPECT_EQ(factory()->CreateInstance(nullptr, IID_IShellExtInit, &init), S_OK);
        EXPECT_EQ(static_cast<IShellExtInit*>(init)->QueryInterface(IID_IContextMenu, &menu), S_OK);
        return {static_cast<IShellExtInit*>(init), static_cast<IContextMenu*>(menu)};
    }
};

// A selection as the file manager hands it over.
class Selection final : public IDataObject {
public:
    explicit Selection(std::vector<std::string> files, HRESULT failure = S_OK)
        : drop_(files), failure_(failure) {}
    HRESULT QueryInterface(const GUID&, void**) override { return E_NOINTERFACE; }
    std::uint32_t AddRef() override { return ++references; }
    std::uint32_t Release() override { return --references; }
    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override {
        if (failure_ != S_OK) return failure_;
        if (format->cfFormat != CF_HDROP || format->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
        AddRef();
        *medium = {TYMED_HGLOBAL, &drop_, this};
        return S_OK;
    }
    int references = 1;

private:
    DropFiles drop_;
    HRESULT failure_;
};

struct Owner final : HostWindow {
    void messageBox(const char* text, const char* caption, std::uint32_t type) override {
        shown.push_back(std::string(text) + "|" + caption + "|" + std::to_string(type));
    }
    std::vector<std::string> shown;
};

CMINVOKECOMMANDINFO command(const char* verb, HWND owner = nullptr) {
    return {sizeof(CMINVOKECOMMANDINFO), 0, owner, verb, nullptr, nullptr, 1};
}

}  // namespace

TEST(Ctxmenu, ShowsOnlyItsFourExportsAndCarriesItsVersion) {
    EXPECT_EQ(testing_support::exportedSymbols(kBin + "libCtxmenu.so"),
              (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                     "DllUnregisterServer"}));

    const auto version = platform::readVersionRecord(kBin + "libCtxmenu.so");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->fileVersionMs, 1u << 16);
    EXPECT_EQ(version->fileVersionLs, 0u);
    using Text = std::pair<std::string, std::string>;
    EXPECT_NE(std::find(version->strings.begin(), version->strings.end(),
                        Text{"FileDescription", "Расширение оболочки Windows"}),
              version->strings.end());
    EXPECT_NE(
        std::find(version->strings.begin(), version->strings.end(), Text{"CompanyName", "Tavrel"}),
        version->strings.end());
}

TEST(Ctxmenu, GivesItsFactoryOnlyForItsClassAndStaysLoadedWhileUsed) {
    Server server;
    ASSERT_TRUE(server.handle) << dlerror();
    void* out = &server;
    const GUID other = guid("{00000000-1111-2222-3333-444444444444}");
    EXPECT_EQ(server.getClassObject(&other, &IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(server.getClassObject(&kClass, &IID_IDataObject, &out), E_NOINTERFACE);
    IClassFactory* factory = server.factory();
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(factory->CreateInstance(factory, IID_IContextMenu, &out), CLASS_E_NOAGGREGATION);

    EXPECT_EQ(server.canUnloadNow(), S_OK);
    auto [init, menu] = server.create();
    EXPECT_EQ(server.canUnloadNow(), S_FALSE);
    init->Release();
    EXPECT_EQ(server.canUnloadNow(), S_FALSE) << "the menu interface still holds the object";
    menu->Release();
    EXPECT_EQ(server.canUnloadNow(), S_OK);
    factory->LockServer(true);
    EXPECT_EQ(server.canUnloadNow(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(server.canUnloadNow(), S_OK);
}

TEST(Ctxmenu, InitializeTakesExactlyOneFileAndDescribesItsEntry) {
    Server server;
    ASSERT_TRUE(server.handle) << dlerror();
    struct Case {
        std::vector<std::string> files;
        HRESULT failure;
        HRESULT expected;
    };
    for (const Case& c :
         std::vector<Case>{{{"/music/a b.mp3"}, S_OK, S_OK},
                           {{"/music/" + std::string(1500, 'x') + ".mp3"}, S_OK, S_OK},
                           {{"/music/a.mp3", "/music/b.mp3"}, S_OK, E_FAIL},
                           {{}, S_OK, E_FAIL},
                           {{"/music/a.mp3"}, DV_E_TYMED, DV_E_TYMED}}) {
        auto [init, menu] = server.create();
        Selection selection(c.files, c.failure);
        EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), c.expected) << c.files.size();
        EXPECT_EQ(selection.references, 1) << "the medium was given back";
        init->Release();
        menu->Release();
    }
    auto [init, menu] = server.create();
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_FAIL);

    char text[64];
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, text, sizeof text), S_OK);
    EXPECT_STREQ(text, "Проиграть файл в Zorvan");
    // "Про" is six bytes; a buffer of eight holds three letters, not half of the fourth.
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, text, 8), S_OK);
    EXPECT_STREQ(text, "Про");
    char16_t wide[64];
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 64),
              S_OK);
    EXPECT_EQ(std::u16string(wide), u"Проиграть файл в Zorvan");
    EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, text, sizeof text), E_INVALIDARG);
    init->Release();
    menu->Release();
}

TEST(Ctxmenu, TheEntryAppearsWhileThePlayerRunsAndChoosingItPlaysTheFile) {
    Server server;
    ASSERT_TRUE(server.handle) << dlerror();
    TempDir tmp;
    const auto song = tmp / "folder with spaces" / "song.wav";
    writeSineWav(song, 3.0);
    const auto output = tmp / "output.raw";

    auto [init, menu] = server.create();
    Selection selection({song.string()});
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
    PopupMenu items;
    items.insert(0, 7, "Open");
    EXPECT_EQ(menu->QueryContextMenu(&items, 0, 100, 200, CMF_NORMAL), 0) << "no player, no entry";
    EXPECT_EQ(items.items().size(), 1u);
    Owner owner;
    auto invoke = command(MAKEINTRESOURCEA(0), &owner);
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_EQ(owner.shown, std::vector<std::string>{"Program not found|Error|16"});

    ChildProcess player({kBin + "zorvan"},
                        {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + output.string()});
    ASSERT_TRUE(testing_support::waitForPlayerWindow());
    EXPECT_EQ(menu->QueryContextMenu(&items, 1, 100, 200, CMF_NORMAL), 1);
    ASSERT_EQ(items.items().size(), 2u);
    EXPECT_EQ(items.items()[1].id, 100u);
    EXPECT_EQ(items.items()[1].text, "Проиграть в Zorvan");

    auto verbText = command("open");
    EXPECT_EQ(menu->InvokeCommand(&verbText), E_FAIL);
    auto second = command(MAKEINTRESOURCEA(1));
    EXPECT_EQ(menu->InvokeCommand(&second), E_INVALIDARG);
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_EQ(owner.shown.size(), 1u);
    init->Release();
    menu->Release();

    testing_support::expectSongPlayedAndEnd(player, output, song);
}

TEST(Ctxmenu, RegistersItsClassAndRemovesItAgain) {
    Server server;
    ASSERT_TRUE(server.handle) << dlerror();
    const std::string key = "CLSID\\{CDF05220-DB84-11D1-B9F1-004845400FAA}";
    ASSERT_EQ(server.registerServer(), S_OK);
    platform::ClassRegistry reg;
    EXPECT_EQ(reg.readString(key, ""), "Zorvan Shell Extension");
    EXPECT_EQ(reg.readString(key + "\\InprocServer32", ""), kBin + "libCtxmenu.so");
    EXPECT_EQ(reg.readString(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(reg.readString("Ctxmenu.ZorvanShell", ""), "Zorvan Shell Extension");
    EXPECT_EQ(reg.readString("Ctxmenu.ZorvanShell\\Clsid", ""),
              "{CDF05220-DB84-11D1-B9F1-004845400FAA}");
    EXPECT_EQ(reg.readString(key + "\\ProgID", ""), "Ctxmenu.ZorvanShell");

    ASSERT_EQ(server.unregisterServer(), S_OK);
    reg.reload();
    EXPECT_FALSE(reg.keyExists(key));
    EXPECT_FALSE(reg.keyExists("Ctxmenu.ZorvanShell"));
    EXPECT_EQ(server.unregisterServer(), E_FAIL) << "nothing left to delete";
}
