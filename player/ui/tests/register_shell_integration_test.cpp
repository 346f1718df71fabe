#include "player/ui/register_shell_integration.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "testing/child_process.h"
#include "testing/temp_dir.h"

using platform::ClassRegistry;
using platform::RegistryError;
using testing_support::ChildProcess;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

const std::string kClass = "CLSID\\{CDF05220-DB84-11D1-B9F1-004845400FAA}";
const std::string kHandler =
    "\\shellex\\ContextMenuHandlers\\{CDF05220-DB84-11D1-B9F1-004845400FAA}";

struct Fixture {
    TempDir tmp;
    ShellIntegrationFiles files{tmp / "config" / "Tavrel" / "Classes.ini",
                                tmp / "data" / "applications", tmp / "config" / "mimeapps.list"};
};

// Output and exit status of a command run with the fixture's folders as the user's.
std::pair<std::string, int> run(const Fixture& f, std::vector<std::string> command) {
    std::vector<std::string> argv{"/usr/bin/env",
                                  "-u",
                                  "XDG_CURRENT_DESKTOP",
                                  "-u",
                                  "DESKTOP_SESSION",
                                  "XDG_CONFIG_HOME=" + (f.tmp / "config").string(),
                                  "XDG_DATA_HOME=" + (f.tmp / "data").string(),
                                  "XDG_DATA_DIRS=" + (f.tmp / "none").string()};
    argv.insert(argv.end(), command.begin(), command.end());
    ChildProcess child(argv);
    std::string out;
    while (auto line = child.readLine()) out += *line + "\n";
    const auto status = child.wait();
    return {out, status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1};
}

}  // namespace

TEST(RegisterShellIntegration, FirstRunWritesEveryKeyAndASecondRunTheSame) {
    Fixture f;
    const std::string p = "/opt/Zorvan Player/zorvan";
    RegisterShellIntegration(p, f.files);

    struct Value {
        std::string key, name, value;
    };
    const std::string command = "\"/opt/Zorvan Player/zorvan\" \"%1\"";
    const std::vector<Value> expected{
        {kClass, "", "Zorvan Shell Extension"},
        {kClass + "\\InProcServer32", "", "/opt/Zorvan Player/libCtxmenu.so"},
        {kClass + "\\InProcServer32", "ThreadingModel", "Apartment"},
        {kClass + "\\ProgID", "", "Ctxmenu.ZorvanShell"},
        {".mp3", "", "mp3file"},
        {"mp3file\\shell\\open\\command", "", command},
        {".wma", "", "wmafile"},
        {"wmafile\\shell\\open\\command", "", command},
        {".pls", "", "plsfile"},
        {"plsfile\\shell\\open\\command", "", command},
        {".ogg", "", "oggfile"},
        {"oggfile\\shell\\open\\command", "", command},
        {"oggfile\\DefaultIcon", "", "/opt/Zorvan Player/zorvan,1"},
    };
    ClassRegistry reg(f.files.registry);
    for (const Value& v : expected) EXPECT_EQ(reg.readString(v.key, v.name), v.value) << v.key;
    for (const char* type : {"mp3file", "wmafile", "plsfile", "oggfile"}) {
        EXPECT_TRUE(reg.keyExists(type + kHandler)) << type;
        EXPECT_EQ(reg.subkeys(std::string(type) + "\\shellex\\ContextMenuHandlers").size(), 1u);
        EXPECT_EQ(reg.keyExists(std::string(type) + "\\DefaultIcon"),
                  type == std::string("oggfile"));
    }

    const std::string registry = readFile(f.files.registry);
    const std::string list = readFile(f.files.mimeApps);
    RegisterShellIntegration(p, f.files);
    EXPECT_EQ(readFile(f.files.registry), registry);
    EXPECT_EQ(readFile(f.files.mimeApps), list);
}

TEST(RegisterShellIntegration, AnExtensionOfAnotherTypeKeepsItAndThatTypeOpensWithThePlayer) {
    Fixture f;
    {
        ClassRegistry reg(f.files.registry);
        ASSERT_TRUE(reg.createKey(".mp3") && reg.writeString(".mp3", "", "musicfile"));
        ASSERT_TRUE(reg.createKey("musicfile\\shell\\open\\command"));
        ASSERT_TRUE(reg.writeString("musicfile\\shell\\open\\command", "", "other \"%1\""));
    }
    RegisterShellIntegration("/usr/lib/zorvan/zorvan", f.files);
    ClassRegistry reg(f.files.registry);
    EXPECT_EQ(reg.readString(".mp3", ""), "musicfile");
    EXPECT_EQ(reg.readString("musicfile\\shell\\open\\command", ""),
              "\"/usr/lib/zorvan/zorvan\" \"%1\"");
    EXPECT_TRUE(reg.keyExists("musicfile" + kHandler));
    EXPECT_FALSE(reg.keyExists("mp3file"));
}

TEST(RegisterShellIntegration, TheDesktopOpensTheTypesWithThePlayerAndKeepsTheUsersOtherDefaults) {
    Fixture f;
    writeFile(f.files.mimeApps,
              "[Added Associations]\n"
              "image/png=viewer.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "# the user's own note\n"
              "audio/mpeg=other.desktop;zorvan.desktop;\n"
              "text/plain=editor.desktop;\n");
    // Quoting and field-code characters in the folder name.
    const std::string p = "/opt/Zorvan Player/100% \"$HOME\"/zorvan";
    RegisterShellIntegration(p, f.files);

    const auto entry = f.files.applications / "zorvan.desktop";
    const auto [complaints, status] = run(f, {"desktop-file-validate", entry.string()});
    EXPECT_EQ(status, 0) << complaints;
    EXPECT_EQ(complaints, "");
    EXPECT_NE(
        readFile(entry).find("Exec=\"/opt/Zorvan Player/100%% \\\\\"\\\\$HOME\\\\\"/zorvan\" %f"),
        std::string::npos)
        << readFile(entry);

    for (const char* mime : {"audio/mpeg", "audio/x-ms-wma", "audio/x-scpls", "audio/ogg"})
        EXPECT_EQ(run(f, {"xdg-mime", "query", "default", mime}).first, "zorvan.desktop\n") << mime;
    EXPECT_EQ(readFile(f.files.mimeApps),
              "[Added Associations]\n"
              "image/png=viewer.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "# the user's own note\n"
              "audio/mpeg=zorvan.desktop;other.desktop;\n"
              "text/plain=editor.desktop;\n"
              "audio/x-ms-wma=zorvan.desktop;\n"
              "audio/x-scpls=zorvan.desktop;\n"
              "audio/ogg=zorvan.desktop;\n"
              "audio/x-vorbis+ogg=zorvan.desktop;\n");
}

TEST(RegisterShellIntegration, AKeyOrValueThatCannotBeWrittenEndsTheRunWithItsError) {
    Fixture f;
    try {
        RegisterShellIntegration("/opt/new\nline/zorvan", f.files);
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for ''");
    }
    ClassRegistry reg(f.files.registry);
    EXPECT_EQ(reg.readString(kClass, ""), "Zorvan Shell Extension") << "what came before stays";
    EXPECT_FALSE(reg.keyExists(".mp3"));

    writeFile(f.tmp / "blocked", "a file where the folder should be");
    try {
        RegisterShellIntegration("/usr/bin/zorvan", {f.tmp / "blocked" / "Classes.ini",
                                                     f.files.applications, f.files.mimeApps});
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to create key \\" + kClass);
    }
}
