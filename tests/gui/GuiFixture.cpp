#include "GuiFixture.h"

#include <cstdlib>

#include "gui/BackButton.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUILabel.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"

USING_NS_CC;

namespace guitest {

void GuiTest::SetUp()
{
    HeadlessGame::SetUp();
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(800, 600));
    ScreenUtils* screens = ScreenUtils::getInstance();
    screens->setBusy(false);
    screens->setCurrentWindow(nullptr);
    screens->savedWindow = nullptr;
    BackButtonAdapter::getInstance()->removeAllListenersForTests();
    for (const char* sheet :
         {"pvr/gamemenus.plist", "pvr/guitopbar.plist", "pvr/popups.plist", "pvr/mainmenu.plist", "pvr/keyboard.plist"})
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(sheet);
    GUILabel::resetRegistryForTests();
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    m_scene = CCScene::create();
    m_host = TouchHost::create();
    m_scene->addChild(m_host, -1);
    CCDirector::sharedDirector()->runWithScene(m_scene);
    stepFrames(1);
}

void GuiTest::TearDown()
{
    if (m_frame)
        m_frame->release();
    m_frame = nullptr;
    ScreenUtils::getInstance()->setBusy(false);
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    BackButtonAdapter::getInstance()->removeAllListenersForTests();
    HeadlessGame::TearDown();
    GUILabel::resetRegistryForTests();
    resetScreenMetricsForTests();
}

TouchHost* TouchHost::create()
{
    auto* host = new TouchHost();
    host->init();
    host->setTouchEnabled(true);
    host->autorelease();
    return host;
}

void TouchHost::ccTouchesBegan(CCSet* touches, CCEvent* event)
{
    auto* t = static_cast<CCTouch*>(touches->anyObject());
    lastTouch = t;
    if (window)
        window->handleTouchBegan(t);
    if (menu)
        menu->handleTouchBegan(t);
    slidingTook = sliding && sliding->ccTouchBegan(t, event);
}

void TouchHost::ccTouchesMoved(CCSet* touches, CCEvent* event)
{
    auto* t = static_cast<CCTouch*>(touches->anyObject());
    lastTouch = t;
    if (window)
        window->handleTouchMoved(t);
    if (sliding && slidingTook)
        sliding->ccTouchMoved(t, event);
}

void TouchHost::ccTouchesEnded(CCSet* touches, CCEvent* event)
{
    auto* t = static_cast<CCTouch*>(touches->anyObject());
    lastTouch = t;
    if (window)
        window->handleTouchEnded(t);
    if (menu)
        menu->handleTouchEnded(t);
    if (sliding && slidingTook)
        sliding->ccTouchEnded(t, event);
    slidingTook = false;
    lastTouch = nullptr;
}

void GuiTest::touchDown(float x, float y, int id)
{
    CCEGLView::sharedOpenGLView()->simulateTouchBegan(id, ccp(x, y));
}

void GuiTest::touchMove(float x, float y, int id)
{
    CCEGLView::sharedOpenGLView()->simulateTouchMoved(id, ccp(x, y));
}

void GuiTest::touchUp(float x, float y, int id)
{
    CCEGLView::sharedOpenGLView()->simulateTouchEnded(id, ccp(x, y));
}

void GuiTest::drawScene()
{
    stepFrames(1);
    if (m_frame)
        m_frame->release();
    m_frame = CCEGLView::sharedOpenGLView()->captureFrame();
    ASSERT_NE(m_frame, nullptr);
}

ccColor4B GuiTest::at(int x, int y) const
{
    if (!m_frame)
        return ccc4(0, 0, 0, 0);
    const int bpp = m_frame->getBytesPerPixel();
    const unsigned char* p =
        m_frame->getData() + (static_cast<size_t>(599 - y) * m_frame->getWidth() + static_cast<size_t>(x)) * bpp;
    return ccc4(p[0], p[1], p[2], bpp == 4 ? p[3] : 255);
}

void GuiTest::saveFrame(const std::string& name) const
{
    const char* folder = std::getenv("TESMORA_TEST_FRAMES");
    if (!folder || !*folder || !m_frame)
        return;
    m_frame->saveToFile((std::string(folder) + "/" + name + ".png").c_str(), false);
}

void GuiTest::fakeFont(const std::string& chars, float width, bool withSpace)
{
    GUILabel::fontFrames.clear();
    GUILabel::fontInk.clear();
    float x = 0;
    for (size_t i = 0; i < chars.size();) {
        unsigned char lead = static_cast<unsigned char>(chars[i]);
        size_t n = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        GUILabel::fontFrames[chars.substr(i, n)] = CCRect(x, 0, width, 13);
        x += width + 1;
        i += n;
    }
    if (withSpace)
        GUILabel::fontFrames[" "] = CCRect(x, 0, 3, 13);
    GUILabel::fontSize = 10;
    GUILabel::baseLine = 2;
    GUILabel::letterSpace = 1;
    GUILabel::uppercase = 1;
    GUILabel::lineSpacing = 0;
}

int GuiTest::childrenColoured(CCNode* node, const ccColor3B& c)
{
    int count = 0;
    for (CCObject* object : *node->getChildren())
        if (auto* sprite = dynamic_cast<CCSprite*>(object))
            if (sprite->getColor().r == c.r && sprite->getColor().g == c.g && sprite->getColor().b == c.b)
                ++count;
    return count;
}

}  // namespace guitest
