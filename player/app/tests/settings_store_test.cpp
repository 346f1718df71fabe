#include <gtest/gtest.h>

#include <string>

#include "player/app/saved_settings.h"
#include "player/app/settings_store.h"
#include "testing/temp_dir.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

std::filesystem::path settingsFile() {
    return SettingsStore::defaultPath();
}

}  // namespace

TEST(SettingsStore, LivesUnderTheConfigFolder) {
    EXPECT_EQ(settingsFile(),
              std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Tavrel" / "Zorvan.ini");
}

TEST(SettingsStore, FreshUserGetsEveryDefault) {
    SettingsStore store;
    const auto m = SavedSettings::readMain(store);
    EXPECT_EQ(m.firstRun, 1);
    EXPECT_EQ(m.volume, 50);
    EXPECT_EQ(m.eqDepth, 18);
    EXPECT_FALSE(m.showTrayIcon || m.showInfoInTray || m.leftPopUp || m.equalizerOn);
    EXPECT_EQ(m.equalizerPreset, 20);
    const auto e = SavedSettings::readEffects(store);
    EXPECT_EQ(e[0].parameters, (std::vector<int>{0, 25, 99, 0, 1, 0, 0}));  // chorus waveform 1
    EXPECT_EQ(e[4].parameters, (std::vector<int>{0, 25, 99, 0, 0, 0, 0}));  // flanger waveform 0
    EXPECT_EQ(e[1].parameters, (std::vector<int>{60, 1, 50, 50, 10, 0}));
    EXPECT_EQ(e[6].parameters, (std::vector<int>{96, 96, 1000, 1}));
    std::size_t count = 0;
    for (const auto& x : e) count += x.parameters.size() + (x.on ? 1 : 0);
    EXPECT_EQ(count, 36u);
    EXPECT_TRUE(store.close());
    EXPECT_FALSE(std::filesystem::exists(settingsFile())) << "reading alone writes nothing";
}

TEST(SettingsStore, GarbageReadsAsDefaultAndValuesClampToTheirRanges) {
    writeFile(settingsFile(),
              "[main]\n"
              "Volume=loud\n"
              "EqDepth=99\n"
              "EqualizerPreset=-4\n"
              "ShowTrayIcon=7\n"
              "LeftPopUp= 12abc\n"
              "[Compression]\n"
              "Release=1\n"
              "Attack=\"70000\"\n"
              "[Distortion]\n"
              "PostEqCenterFreq=99999999999999\n");
    SettingsStore store;
    struct Case {
        SettingSpec spec;
        int expected;
    };
    const Case cases[] = {
        {settings::kVolume, 50},          {settings::kEqDepth, 36},
        {settings::kEqualizerPreset, -4},  // no item of the preset menu: the window judges
        {settings::kShowTrayIcon, 7},     {settings::kLeftPopUp, 0},
        {settings::kCompression[2], 50},  {settings::kCompression[1], 50000},
        {settings::kDistortion[2], 4000},
    };
    for (const auto& c : cases) EXPECT_EQ(store.read(c.spec), c.expected) << c.spec.name;
    EXPECT_TRUE(store.readBool("MAIN", "ShowTrayIcon", false)) << "any non-zero is true";
    EXPECT_EQ(store.readInteger("Main", "Missing", -3), -3);

    writeFile(settingsFile(), "[Main]\nVolume=250\n");
    EXPECT_EQ(SavedSettings::readMain(SettingsStore()).volume, 100);
}

TEST(SettingsStore, CloseWritesEveryValueInOrderAndTheFirstRunFlagAsZero) {
    SavedSettings saved;
    saved.main.volume = 73;
    saved.main.equalizerOn = true;
    saved.main.equalizerPreset = 3;
    saved.effects[3].on = true;
    saved.effects[3].parameters[2] = 1500;
    {
        SettingsStore store;
        ASSERT_EQ(SavedSettings::readMain(store).firstRun, 1);
        saved.write(store);
        EXPECT_TRUE(store.close());
    }
    const std::string text = readFile(settingsFile());
    std::vector<std::string> names;
    for (std::size_t at = 0; at < text.size();) {
        const auto end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        if (!line.empty() && line[0] != '[') names.push_back(line.substr(0, line.find('=')));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    const std::vector<std::string> mainOrder = {
        "FirstRun",   "EqualizerOn", "EqualizerPreset", "Chorus",         "Compression",
        "Distortion", "Echo",        "Flanger",         "Gargle",         "Reverb",
        "Volume",     "EqDepth",     "ShowTrayIcon",    "ShowInfoInTray", "LeftPopUp"};
    ASSERT_GE(names.size(), mainOrder.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 15), mainOrder);
    EXPECT_EQ(names.size(), 15u + 36u);
    EXPECT_NE(text.find("[Echo]\nWetDryMix=0\nFreeBack=0\nLeftDelay=1500\n"), std::string::npos);

    SettingsStore again;
    const auto m = SavedSettings::readMain(again);
    EXPECT_EQ(m.firstRun, 0);
    EXPECT_EQ(m.volume, 73);
    EXPECT_TRUE(m.equalizerOn);
    EXPECT_EQ(m.equalizerPreset, 3);
    const auto e = SavedSettings::readEffects(again);
    EXPECT_TRUE(e[3].on);
    EXPECT_EQ(e[3].parameters, (std::vector<int>{0, 0, 1500, 333, 0}));
}
