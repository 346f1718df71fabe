#pragma once
// Opens the output device once for the whole test binary (the dummy driver under the
// test environment) and frees it at the end, as the program does around its windows.
#include <gtest/gtest.h>

#include "soundlib/soundlib.h"

namespace testing_support {

class SoundDevice : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(BASS_Init(1, 44100, 4, nullptr, nullptr), 0); }
    void TearDown() override { BASS_Free(); }
};

inline const auto* const kSoundDevice = ::testing::AddGlobalTestEnvironment(new SoundDevice);

}  // namespace testing_support
