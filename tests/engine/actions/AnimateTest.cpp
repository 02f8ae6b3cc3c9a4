// Frame animations: frame i from i x delay on; a stopped animation keeps the
// last frame it showed.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class AnimateTest : public DirectorTest {
protected:
    void SetUp() override
    {
        DirectorTest::SetUp();
        CCTexture2D* sheet = CCTextureCache::sharedTextureCache()->addSizeOnlyTexture("animate-test-sheet", 64, 16);
        frames = CCArray::create();
        for (int i = 0; i < 4; ++i) {
            frames->addObject(CCSpriteFrame::create(sheet, CCRect(16.0f * i, 0, 16, 16)));
        }
        frames->retain();
    }
    void TearDown() override
    {
        frames->release();
        CCTextureCache::sharedTextureCache()->removeTextureForKey("animate-test-sheet");
        DirectorTest::TearDown();
    }
    CCSpriteFrame* frame(unsigned i) { return static_cast<CCSpriteFrame*>(frames->objectAtIndex(i)); }
    CCArray* frames = nullptr;
};

}  // namespace

TEST_F(AnimateTest, ShowsEachFrameFromItsStartAndKeepsTheLastWhenStopped)
{
    CCScene* scene = runScene();
    CCSprite* god = CCSprite::createWithSpriteFrame(frame(0));
    scene->addChild(god);
    CCAnimation* animation = CCAnimation::createWithSpriteFrames(frames, 0.2f);
    animation->retain();
    EXPECT_NEAR(animation->getDuration(), 0.8f, 1e-6);
    CCAnimate* animate = CCAnimate::create(animation);
    god->runAction(animate);

    std::vector<int> shown;
    for (int step = 0; step < 48; ++step) {
        director->stepFrame(kFrame);
        for (unsigned i = 0; i < 4; ++i) {
            if (god->isFrameDisplayed(frame(i))) {
                if (shown.empty() || shown.back() != static_cast<int>(i)) {
                    shown.push_back(static_cast<int>(i));
                }
            }
        }
        if (step == 11) {
            EXPECT_TRUE(god->isFrameDisplayed(frame(1))) << "0.2 s: the second frame";
        }
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(god->numberOfRunningActions(), 0u);
    EXPECT_TRUE(god->isFrameDisplayed(frame(3)));

    // Stopped midway: the frame shown stays.
    god->runAction(CCRepeatForever::create(CCAnimate::create(animation)));
    director->stepFrames(30, kFrame);  // 0.5 s: frame 2
    god->stopAllActions();
    director->stepFrames(30, kFrame);
    EXPECT_TRUE(god->isFrameDisplayed(frame(2)));
    animation->release();
}
