#ifndef TIREVANE_TEST_SCREEN_TEST_H
#define TIREVANE_TEST_SCREEN_TEST_H

#include <gtest/gtest.h>

#include "audio/fsound.h"
#include "test_support.h"

// A game folder, the dummy video window, the sound layer on the null
// device and a clock that never really waits.
class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() { FSOUND_Init(44100, 32, 0); }
    ~ScreenTest() override { FSOUND_Close(); }

    SDL_Surface* screen() const { return video.screen(); }

    testsupport::GameDir dir;
    testsupport::VideoSession video;
    testsupport::FakeClock clock;
};

#endif
