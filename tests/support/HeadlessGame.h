#pragma once
// The headless game fixture: temporary home, data and documents folders,
// the asset tree as resource root, a headless director stepped by hand, a
// seeded random function and the silent recording audio backend. Game state
// that lives in the engine is reset before and after each test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "support/TempFolders.h"

namespace testsupport {

class HeadlessGame : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs frames on the director's manual clock (1/60 s each by default).
    void stepFrames(int count, float dt = 1.0f / 60.0f);
    // Runs frames until `seconds` of game time have passed.
    void stepSeconds(float seconds, float dt = 1.0f / 60.0f);
    // Frames of 1/60 s until `done` holds; false after ten seconds of them.
    bool stepUntil(const std::function<bool()>& done);

    TempHome& home() { return *m_home; }
    // The asset tree the tests read (ENGINE_RESOURCES, else the build's).
    static std::string resourceRoot();

private:
    std::unique_ptr<TempHome> m_home;
};

}  // namespace testsupport
