#pragma once
// Pixel tests: the software renderer on an offscreen 800 x 600 frame. Nodes
// are drawn with visit() between beginFrame and capture, as the director's
// frame does.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "engine/src/render/RenderContext.h"
#include "engine/src/view/ViewBackend.h"
#include "engine/render/EngineTestSupport.h"

namespace enginetest {

class SoftwareRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeSoftware);  // refused once a view exists
        view = cocos2d::CCEGLView::sharedOpenGLView();
        // A view made headless by an earlier test in this process leaves no
        // renderer: draw with one of our own then. It is never stopped, since
        // textures die with their renderer.
        if (!cocos2d::render::renderer()) {
            ASSERT_TRUE(cocos2d::render::startSoftware(800, 600));
        }
        cocos2d::CCTextureCache::sharedTextureCache()->removeAllTextures();
        cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/enginetest.plist");
    }
    void TearDown() override
    {
        clearClip();
        if (frame)
            frame->release();
        cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        cocos2d::CCTextureCache::sharedTextureCache()->removeAllTextures();
        cocos2d::CCPoolManager::sharedPoolManager()->drain();
    }

    // Clears the frame, draws the node, and keeps the picture for at().
    void drawFrame(cocos2d::CCNode* node)
    {
        cocos2d::render::beginFrame();
        node->visit();
        if (frame)
            frame->release();
        frame = cocos2d::render::captureFrame();
        ASSERT_NE(frame, nullptr);
    }
    // The pixel whose bottom-left corner is the GL point (x, y).
    cocos2d::ccColor4B at(int x, int y) const { return pixelAt(frame, x, 599 - y); }

    // Through the view when it draws, else straight to the renderer.
    void clip(int x, int y, int w, int h)
    {
        if (view->getBackend() && view->getBackend()->drawsFrames())
            view->enableScissor(x, y, w, h);
        else
            cocos2d::render::setClip(x, y, w, h);
    }
    void clearClip()
    {
        view->disableScissor();
        cocos2d::render::clearClip();
    }

    cocos2d::CCSprite* quadSprite()
    {
        cocos2d::CCSprite* s = cocos2d::CCSprite::createWithSpriteFrameName("enginetest_quad.png");
        s->getTexture()->setAliasTexParameters();
        s->setAnchorPoint(cocos2d::CCPointZero);
        return s;
    }

    cocos2d::CCEGLView* view = nullptr;
    cocos2d::CCImage* frame = nullptr;
};

#define EXPECT_PIXEL(actual, expected)                                                                                 \
    EXPECT_TRUE(enginetest::near((actual), (expected)))                                                                \
        << "got " << enginetest::describe(actual) << ", want " << enginetest::describe(expected)

}  // namespace enginetest
