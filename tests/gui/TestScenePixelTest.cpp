// The test scene, drawn by the software renderer: tints of a real button
// frame, glyphs of every font, clipping of scrolls and sliding layers, and the
// side borders. With TESMORA_TEST_FRAMES set, each frame is saved there.
#include "GuiFixture.h"

#include "base/ScreenMetrics.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIScroll.h"
#include "gui/GUISlider.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"

USING_NS_CC;
using guitest::GuiTest;

namespace {

bool near(const ccColor4B& a, int r, int g, int b, int tolerance = 2)
{
    return std::abs(a.r - r) <= tolerance && std::abs(a.g - g) <= tolerance && std::abs(a.b - b) <= tolerance;
}

bool black(const ccColor4B& c)
{
    return c.r == 0 && c.g == 0 && c.b == 0;
}

std::string describe(const ccColor4B& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// A window of the test scene holding a button, a slider, a hold button and a
// scroll with a row in it.
class SceneWindow : public GUIWindow {
public:
    static SceneWindow* create()
    {
        auto* window = new SceneWindow();
        window->initWithSize(CCSize(800, 200));
        window->m_buttonContainer = CCNode::create();
        window->addChild(window->m_buttonContainer);
        GUIButton* button = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
        button->setText(CCString::create("OK"), 10, ccp(100, 8), ccp(0.5f, 0.5f), ccc3(255, 255, 255));
        button->setPosition(ccp(120, 150));
        window->m_buttonContainer->addChild(button);
        auto* slider = new GUISlider();
        slider->initWithFrameName(CCString::create("gamemenus_brushSizeSlider.png"), ccp(1, 8), ccp(27, 173));
        slider->autorelease();
        slider->setAnchorPoint(CCPointZero);
        slider->setPosition(ccp(20, 100));
        window->m_buttonContainer->addChild(slider);
        window->m_buttonContainer->addChild(GUIDynamicButton::create(nullptr, nullptr, "gamemenus_brush9.png"));
        GUIScroll* scroll = GUIScroll::create("pvr/gamemenus.png", 10);
        scroll->setRect(CCRect(300, 20, 200, 60));
        scroll->setMinY(20);
        scroll->setMaxY(200);
        // A row just below the visible rectangle.
        CCSprite* row = CCSprite::createWithSpriteFrameName("gamemenus_brushSizeSlider.png");
        row->getTexture()->setAliasTexParameters();
        row->setAnchorPoint(CCPointZero);
        row->setPosition(ccp(0, -30));
        scroll->addChild(row);
        window->addChild(scroll);
        window->m_scroll = scroll;
        window->autorelease();
        return window;
    }
};

}  // namespace

class TestScene : public GuiTest {
protected:
    CCSprite* frameSprite(const char* name, float x, float y)
    {
        CCSprite* sprite = CCSprite::createWithSpriteFrameName(name);
        sprite->getTexture()->setAliasTexParameters();
        sprite->setAnchorPoint(CCPointZero);
        sprite->setPosition(ccp(x, y));
        return sprite;
    }
};

TEST_F(TestScene, ButtonTintsOfARealFrame)
{
    const ccColor3B grey = GUIButton::kPressedTint, blue = GUIButton::kSelectedTint;
    GUIBatchNodeMenu* menu = GUIBatchNodeMenu::create("pvr/gamemenus.png", 10);
    scene()->addChild(menu);
    GUIButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
        buttons[i]->getTexture()->setAliasTexParameters();
        buttons[i]->setAnchorPoint(CCPointZero);
        buttons[i]->setPosition(ccp(100, 100 + 40.0f * i));
        menu->addChild(buttons[i]);
    }
    buttons[0]->setPressed(true);
    buttons[1]->setSelected(true);
    drawScene();
    saveFrame("button_tints");
    // Texel (5, 8) of the frame is the panel's body colour (60, 78, 104).
    const int body[3] = {60, 78, 104};
    auto tint = [&](const ccColor3B& t, int c) { return body[c] * (c == 0 ? t.r : c == 1 ? t.g : t.b) / 255; };
    const ccColor4B pressed = at(105, 100 + 7), selected = at(105, 140 + 7), plain = at(105, 180 + 7);
    EXPECT_TRUE(near(pressed, tint(grey, 0), tint(grey, 1), tint(grey, 2))) << describe(pressed);
    EXPECT_TRUE(near(selected, tint(blue, 0), tint(blue, 1), tint(blue, 2))) << describe(selected);
    EXPECT_TRUE(near(plain, 60, 78, 104)) << describe(plain);
}

TEST_F(TestScene, EveryFontDrawsWholePixelsInItsTintAndMarkupColours)
{
    struct Case {
        const char* font;
        bool white;
    } cases[] = {{"gamemenus_ach_fontButtons", true},
                 {"gamemenus_ach_colorFont", true},
                 {"mainmenu_ach_fontButtonsGold", false},
                 {"keyboard_keyboard_fontButtons", true}};
    float y = 500;
    std::vector<std::pair<GUILabel*, bool>> labels;
    for (const Case& c : cases) {
        GUILabel::setFontName(c.font);
        GUILabel* label = GUILabel::create();
        ASSERT_TRUE(label->hasFontFrame()) << c.font;
        label->getTexture()->setAliasTexParameters();
        label->setColor(ccc3(36, 75, 98));
        label->setMarkup(true);
        label->setText(CCString::create("Hello [255,0,0]World|!"));
        label->scaleToSize(10);
        label->setPosition(ccp(50, y));
        scene()->addChild(label);
        labels.emplace_back(label, c.white);
        y -= 40;
    }
    GUILabel::setFontName("gamemenus_ach_colorFont");
    GUILabel* wrapped = GUILabel::create();
    wrapped->setColor(ccc3(36, 75, 98));
    wrapped->setMarkup(true);
    wrapped->setColoredText(CCString::create("A [0,200,0]green word wraps onto the next line"), 120);
    wrapped->setPosition(ccp(400, 500));
    scene()->addChild(wrapped);
    drawScene();
    saveFrame("fonts");
    for (auto& [label, white] : labels) {
        int ink = 0, red = 0, tinted = 0, other = 0;
        const int x0 = 50, y0 = static_cast<int>(label->getPosition().y);
        for (int yy = y0 - 3; yy < y0 + 12; ++yy)
            for (int xx = x0; xx < x0 + 160; ++xx) {
                const ccColor4B c = at(xx, yy);
                if (black(c))
                    continue;
                ++ink;
                if (near(c, 255, 0, 0, 0))
                    ++red;
                else if (near(c, 36, 75, 98, 0))
                    ++tinted;
                else
                    ++other;
            }
        EXPECT_GT(ink, 40) << label->getFontName();
        if (white) {
            // Whole pixels: every inked pixel is exactly one of the two colours.
            EXPECT_GT(red, 10) << label->getFontName();
            EXPECT_GT(tinted, 10) << label->getFontName();
            EXPECT_EQ(other, 0) << label->getFontName();
        }
    }
    EXPECT_GE(wrapped->getLineCount(), 2);
}

TEST_F(TestScene, ScrollAndSlidingContentIsClippedToItsRectangle)
{
    GUIScroll* scroll = GUIScroll::create("pvr/gamemenus.png", 10);
    scroll->setRect(CCRect(400, 300, 50, 20));
    scroll->addChild(frameSprite("gamemenus_brushSizeSlider.png", 0, 0));  // 200 wide
    scene()->addChild(scroll);
    SlidingLayer* list = SlidingLayer::create(ccp(100, 400), CCSize(60, 30));
    for (int i = 0; i < 3; ++i) {
        auto* row = CCMenuItemSprite::create(frameSprite("gamemenus_brushSizeSlider.png", 0, 0), nullptr);
        row->setAnchorPoint(CCPointZero);
        row->setPosition(ccp(0, -20.0f * i));
        list->addChild(row);
    }
    scene()->addChild(list);
    drawScene();
    saveFrame("clipping");
    EXPECT_FALSE(black(at(420, 305)));
    EXPECT_TRUE(black(at(460, 305)));
    EXPECT_TRUE(black(at(420, 322)));
    EXPECT_FALSE(black(at(150, 405)));
    EXPECT_TRUE(black(at(170, 405)));
    EXPECT_TRUE(black(at(150, 395)));  // the lower rows are below the viewport
    EXPECT_FALSE(CCEGLView::sharedOpenGLView()->isScissorEnabled());
}

TEST_F(TestScene, AWindowIsPressedByATouchAndScrolledByAKey)
{
    SceneWindow* window = SceneWindow::create();
    scene()->addChild(window);
    host()->window = window;
    window->toggle();
    stepSeconds(0.25f);
    touchDown(25, 149);
    drawScene();
    saveFrame("window_pressed");
    // Texel (5, 8) of the button's frame, tinted grey.
    EXPECT_TRUE(near(at(25, 149), 60 * 140 / 255, 78 * 140 / 255, 104 * 140 / 255)) << describe(at(25, 149));
    EXPECT_TRUE(black(at(310, 25)));  // the scroll's row is still below its rectangle
    touchUp(600, 500);
    CCEGLView::sharedOpenGLView()->simulateKey(kCCKeyPageDown, true);
    CCEGLView::sharedOpenGLView()->simulateKey(kCCKeyPageDown, false);
    drawScene();
    saveFrame("window_scrolled");
    EXPECT_TRUE(near(at(25, 149), 60, 78, 104)) << describe(at(25, 149));
    EXPECT_FALSE(black(at(310, 25)));  // scrolled up into view
    EXPECT_TRUE(black(at(310, 18)));   // and still clipped at the bottom edge
}

TEST_F(TestScene, BordersFillTheMarginsOfAWideFrame)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(800, 450));  // 16:9: 100 points of margin each side
    auto* borders = new GUIBorderLayer();
    scene()->addChild(borders);
    borders->release();
    SceneWindow* window = SceneWindow::create();
    scene()->addChild(window);
    window->toggle();
    stepSeconds(0.25f);
    drawScene();
    saveFrame("borders");
    for (int y : {5, 225, 440}) {
        EXPECT_FALSE(black(at(50, y))) << y;
        EXPECT_FALSE(black(at(99, y))) << y;
        EXPECT_FALSE(black(at(750, y))) << y;
        EXPECT_FALSE(black(at(700, y))) << y;
    }
    EXPECT_TRUE(black(at(101, 300)));
    EXPECT_TRUE(black(at(698, 300)));
}
