#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/TempFolders.h"

// The toolkit's tests draw through the software renderer (no display needed),
// so that clipping, tints and glyphs can be read back as pixels.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeSoftware);
    testsupport::TempHome home;
    return RUN_ALL_TESTS();
}
