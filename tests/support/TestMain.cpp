#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/TempFolders.h"

// Every game test binary starts here: the engine runs headless, and the whole
// run gets a temporary home so that no test can touch the real one. Fixtures
// in this folder add resource roots, folders per test, the manual clock and
// the recording audio.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless);
    testsupport::TempHome home;
    return RUN_ALL_TESTS();
}
