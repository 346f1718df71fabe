#include "platform/class_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/temp_dir.h"

using platform::ClassRegistry;
using platform::RegistryError;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

TEST(ClassRegistry, KeysAndValuesLiveInTheFileAndCompareWithoutCase) {
    TempDir tmp;
    const auto file = tmp / "Tavrel" / "Classes.ini";
    {
        ClassRegistry reg(file);
        ASSERT_TRUE(reg.createKey("\\CLSID\\{AB}\\InProcServer32"));
        EXPECT_TRUE(reg.keyExists("CLSID\\{AB}")) << "parents are created";
        ASSERT_TRUE(reg.writeString("clsid\\{ab}\\inprocserver32", "", "\"/opt/a b/z\" \"%1\""));
        ASSERT_TRUE(reg.writeString("\\CLSID\\{AB}\\InProcServer32", "ThreadingModel", " x "));
        EXPECT_FALSE(reg.writeString("Missing", "", "v")) << "values need an existing key";
    }
    ClassRegistry again(file);
    EXPECT_EQ(again.readString("CLSID\\{AB}\\InProcServer32", ""), "\"/opt/a b/z\" \"%1\"");
    EXPECT_EQ(again.readString("CLSID\\{AB}\\InProcServer32", "threadingmodel"), " x ");
    EXPECT_EQ(again.readString("CLSID\\{AB}", ""), std::nullopt);
    EXPECT_EQ(again.subkeys(""), std::vector<std::string>{"CLSID"});
    EXPECT_EQ(again.subkeys("clsid\\{ab}"), std::vector<std::string>{"InProcServer32"});

    // Another process's registry object keeps what this one wrote meanwhile.
    ClassRegistry other(file);
    ASSERT_TRUE(again.createKey(".mp3"));
    ASSERT_TRUE(other.createKey(".ogg"));
    again.reload();
    EXPECT_TRUE(again.keyExists(".mp3") && again.keyExists(".ogg"));
    EXPECT_EQ(again.subkeys("\\").size(), 3u);

    EXPECT_FALSE(again.deleteKey("CLSID\\{AB}")) << "a key with subkeys stays";
    EXPECT_TRUE(again.deleteKey("CLSID\\{AB}\\InProcServer32"));
    EXPECT_TRUE(again.deleteKey("CLSID\\{AB}"));
    EXPECT_FALSE(again.deleteKey("CLSID\\{AB}"));
    EXPECT_EQ(readFile(file).find("InProcServer32"), std::string::npos);
}

TEST(ClassRegistry, RefusesNamesAndValuesItCannotKeep) {
    TempDir tmp;
    ClassRegistry reg(tmp / "Classes.ini");
    ASSERT_TRUE(reg.createKey("Key"));
    for (const char* bad : {"", "\\", "a\\\\b", "a\\", " lead", "trail ", "new\nline"})
        EXPECT_FALSE(reg.createKey(bad)) << '"' << bad << '"';
    struct Case {
        const char* name;
        std::string value;
    };
    for (const Case& c :
         std::vector<Case>{{"@", "v"},
                           {"a=b", "v"},
                           {"", "two\nlines"},
                           {"", std::string(platform::IniDocument::kMaxValueChars + 1, 'x')},
                           {"", "bad \xff utf-8"}})
        EXPECT_FALSE(reg.writeString("Key", c.name, c.value)) << c.name << " " << c.value;
    EXPECT_EQ(reg.keyExists("Key"), true);
}

TEST(ClassRegistry, AFileThatCannotBeWrittenOrReadRaisesTheRegistryErrors) {
    TempDir tmp;
    writeFile(tmp / "Tavrel", "a file where the folder should be");
    ClassRegistry blocked(tmp / "Tavrel" / "Classes.ini");
    try {
        blocked.createKeyOrThrow("\\CLSID\\{AB}");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to create key \\CLSID\\{AB}");
    }

    ClassRegistry fine(tmp / "Classes.ini");
    fine.createKeyOrThrow("Key");
    try {
        fine.writeStringOrThrow("Key", "ThreadingModel", "a\nb");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'ThreadingModel'");
    }

    // A store that exists but cannot be read is never overwritten.
    std::filesystem::create_directories(tmp / "Folder.ini");
    ClassRegistry unreadable(tmp / "Folder.ini");
    EXPECT_FALSE(unreadable.createKey("Key"));
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "Folder.ini"));
}
