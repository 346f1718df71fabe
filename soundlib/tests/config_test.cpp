#include <gtest/gtest.h>

#include "soundlib/soundlib.h"

TEST(Config, KnownOptionsTakeValuesInRangeAndRefuseOthers) {
    EXPECT_EQ(BASS_GetVersion(), 2u);
    // Option 10 and 8 are what the settings dialog's test button sets.
    EXPECT_EQ(BASS_SetConfig(SOUND_CONFIG_RESAMPLE, 3), 3);
    EXPECT_EQ(BASS_SetConfig(SOUND_CONFIG_MUSIC_STOP, 1), 1);
    EXPECT_EQ(BASS_GetConfig(SOUND_CONFIG_RESAMPLE), 3);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_OK);

    struct Case {
        uint32_t option, value;
    };
    for (Case c :
         {Case{SOUND_CONFIG_RESAMPLE, 4}, Case{SOUND_CONFIG_BUFFER, 5},
          Case{SOUND_CONFIG_BUFFER, 5000}, Case{SOUND_CONFIG_MUSIC_STOP, 2}, Case{77, 1}}) {
        EXPECT_EQ(BASS_SetConfig(c.option, c.value), -1) << c.option << "=" << c.value;
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);
    }
    EXPECT_EQ(BASS_GetConfig(SOUND_CONFIG_BUFFER), 100);
    EXPECT_EQ(BASS_GetConfig(77), -1);
}
