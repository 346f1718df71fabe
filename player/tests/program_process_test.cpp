// The program as separate processes: a first copy, a second copy, and messages from
// another process, as a user and the file-manager extension meet them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/remote_window.h"
#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "testing/child_process.h"
#include "testing/player_window.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using platform::RemoteWindow;
using testing_support::ChildProcess;
using testing_support::readFile;

namespace {

const std::string kZorvan = std::string(ZORVAN_BINARY_DIR) + "/bin/zorvan";

}  // namespace

TEST(Program, SecondCopyHandsOverAndAddsNothingWhileCopyDataAddsAndPlaysALongPath) {
    testing_support::TempDir tmp;
    const auto first = tmp / "first.wav", second = tmp / "second.wav";
    // A path far beyond 100 characters reaches the player whole.
    const auto sent = tmp / std::string(120, 'd') / "sent file.wav";
    writeSineWav(first, 0.2);
    writeSineWav(second, 0.2);
    writeSineWav(sent, 3.0);
    ASSERT_GT(sent.string().size(), 150u);
    const auto output = tmp / "output.raw";

    // The first copy starts with nothing to play, so any sound in the output comes later.
    ChildProcess player({kZorvan},
                        {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + output.string()});
    const auto window = testing_support::waitForPlayerWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->identity().visible);
    EXPECT_EQ(window->identity().programPath, std::filesystem::canonical(kZorvan).string());

    ChildProcess copy({kZorvan, second.string()});
    const auto status = copy.wait(std::chrono::seconds(20));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(RemoteWindow::all().size(), 1u) << "the second copy made no window";

    EXPECT_EQ(window->sendCopyData(0, sent.string()), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    player.kill(SIGTERM);  // the system ending the session closes the window properly
    const auto end = player.wait(std::chrono::seconds(20));
    ASSERT_TRUE(end);
    EXPECT_TRUE(WIFEXITED(*end) && WEXITSTATUS(*end) == 0);

    const std::string pls = readFile(programDataFolder() / "Default.pls");
    EXPECT_NE(pls.find("File1=" + sent.string()), std::string::npos) << pls;
    EXPECT_EQ(pls.find("second.wav"), std::string::npos) << pls;
    EXPECT_NE(pls.find("NumberOfEntries=1"), std::string::npos) << pls;
    EXPECT_TRUE(hasSound(readFile(output))) << "the sent file was played";
    SettingsStore store;
    EXPECT_EQ(store.readInteger("Main", "FirstRun", 1), 0);
}

TEST(Program, OutputDeviceThatCannotOpenShowsTheErrorAndRegistersNoWindow) {
    ChildProcess player({kZorvan}, {"SDL_AUDIODRIVER=nonexistent"});
    std::string line;
    for (auto l = player.readLine(std::chrono::seconds(20)); l; l = player.readLine()) {
        if (l->rfind("Error: ", 0) == 0) {
            line = *l;
            break;
        }
    }
    EXPECT_EQ(line.rfind("Error: Can't initialize device", 0), 0u) << line;
    EXPECT_NE(player.readLine()->find("(error code: "), std::string::npos);
    EXPECT_FALSE(RemoteWindow::find("TForm1", std::nullopt)) << "the box is up, no window";
    EXPECT_TRUE(player.wait(std::chrono::milliseconds(300)) == std::nullopt)
        << "the box waits for the user";
    player.kill(SIGTERM);
    const auto end = player.wait();
    ASSERT_TRUE(end);
    EXPECT_TRUE(WIFEXITED(*end) && WEXITSTATUS(*end) == 1) << "ended at once, unsaved";
    EXPECT_FALSE(std::filesystem::exists(SettingsStore::defaultPath()));
}

TEST(Program, EqualizerAndEffectSettingsSurviveTwoStarts) {
    testing_support::writeFile(SettingsStore::defaultPath(),
                               "[Main]\nFirstRun=0\nEqualizerOn=1\nEqualizerPreset=9\n"
                               "EqDepth=12\nChorus=1\nGargle=1\n"
                               "[Chorus]\nWetDryMix=33\n[Reverb]\nHighFreqRTRatio=500\n");
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        ChildProcess player({kZorvan}, {"SDL_AUDIODRIVER=dummy"});
        ASSERT_TRUE(testing_support::waitForPlayerWindow());
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        player.kill(SIGTERM);
        const auto end = player.wait(std::chrono::seconds(20));
        ASSERT_TRUE(end);
        ASSERT_TRUE(WIFEXITED(*end) && WEXITSTATUS(*end) == 0);

        // Every value comes back from the controls it was read into.
        SettingsStore store;
        struct Case {
            const char* section;
            const char* name;
            int value;
        };
        for (const Case& c :
             {Case{"Main", "EqualizerOn", 1}, Case{"Main", "EqualizerPreset", 9},
              Case{"Main", "EqDepth", 12}, Case{"Main", "Chorus", 1}, Case{"Main", "Gargle", 1},
              Case{"Main", "Echo", 0}, Case{"Chorus", "WetDryMix", 33},
              Case{"Chorus", "WaveForm", 1}, Case{"Reverb", "HighFreqRTRatio", 500},
              Case{"Compression", "Attack", 1}})
            EXPECT_EQ(store.readInteger(c.section, c.name, -1), c.value) << c.section << c.name;
    }
}
