#include <gtest/gtest.h>

#include "cocos2d/CCEGLView.h"

namespace {

// The engine's tests never open a window: headless unless a fixture asks for
// the software renderer before the view exists (each test runs in its own
// process under ctest).
class HeadlessByDefault : public ::testing::Environment {
public:
    void SetUp() override { cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new HeadlessByDefault());

}  // namespace
