#pragma once
// The game scene at 800 x 600 (cell side 3, UI scale 0.78125) on the manual
// clock: a fresh game layer whose world is the global one, the real element
// classes, and helpers to enter the scene and to press, drag and release.
#include <gtest/gtest.h>

#include <string>

#include "base/ScreenMetrics.h"
#include "scene/SaveLoadUtils.h"
#include "gui/ScreenUtils.h"
#include "cocos2d.h"
#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/CreatureCounts.h"
#include "gui/GUIButton.h"
#include "hud/GUI.h"
#include "support/CleanGame.h"
#include "support/HeadlessGame.h"
#include "world/CCMutableTexture2D.h"
#include "world/ColorTables.h"
#include "scene/GameLayer.h"
#include "world/World.h"

namespace gametest {

class GameScene : public testsupport::HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        resetScreenMetricsForTests();
        computeScreenMetrics(cocos2d::CCSize(800, 600));
        testsupport::resetGame();
        initColorsAndShadows();
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
        layer = GameLayer::getInstance();
        world = &layer->getWorld();
        gWorld = world;
    }

    void TearDown() override
    {
        CreatureCounts::robots = CreatureCounts::cars = CreatureCounts::tanks = CreatureCounts::trucks = 0;
        CreatureCounts::sportCars = CreatureCounts::lions = CreatureCounts::flamingos = 0;
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
        HeadlessGame::TearDown();
        resetScreenMetricsForTests();
    }

    // A new world of that size in a running game scene, the default element
    // and tool chosen. Outside free play the entry opens today's goals; the
    // tests start on the bare world instead.
    void enterScene(bool big = true)
    {
        world->setBigWorld(big);
        world->reset();
        layer->setSuppressGoalsWindow(!SaveLoadUtils::isFreePlay());
        cocos2d::CCDirector::sharedDirector()->runWithScene(GameLayer::scene());
        stepFrames(2);
        layer->setSuppressGoalsWindow(false);
    }

    void choose(const char* element) { layer->getGUI()->selectElement(element); }

    static void press(float x, float y, int id = 1)
    {
        cocos2d::CCEGLView::sharedOpenGLView()->simulateTouchBegan(id, cocos2d::ccp(x, y));
    }
    static void drag(float x, float y, int id = 1)
    {
        cocos2d::CCEGLView::sharedOpenGLView()->simulateTouchMoved(id, cocos2d::ccp(x, y));
    }
    static void release(float x, float y, int id = 1)
    {
        cocos2d::CCEGLView::sharedOpenGLView()->simulateTouchEnded(id, cocos2d::ccp(x, y));
    }

    // A press and release on the button at its anchor plus the offset (in
    // button sizes), given time to fire.
    void tapButton(GUIButton* button, cocos2d::CCPoint anchorOffset)
    {
        ASSERT_NE(button, nullptr);
        const cocos2d::CCSize size = button->getContentSize();
        const float s = button->getScale();
        const cocos2d::CCPoint at = button->getParent()->convertToWorldSpace(
            cocos2d::ccp(button->getPosition().x + anchorOffset.x * size.width * s,
                         button->getPosition().y + anchorOffset.y * size.height * s));
        press(at.x, at.y);
        release(at.x, at.y);
        stepFrames(20);
    }

    uint32_t typeAt(int x, int y) const
    {
        Particle* p = world->at(x, y);
        return p ? p->getType() : 0;
    }
    int countOf(const char* name) const
    {
        int n = 0;
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                n += typeAt(x, y) == hashString(name);
        return n;
    }

    // A touch array of entries [id, point].
    static cocos2d::CCArray* touchArray(std::initializer_list<std::pair<int, cocos2d::CCPoint>> entries)
    {
        cocos2d::CCArray* array = cocos2d::CCArray::create();
        for (const auto& [id, point] : entries) {
            cocos2d::CCArray* entry = cocos2d::CCArray::create();
            entry->addObject(cocos2d::CCInteger::create(id));
            entry->addObject(cocos2d_extensions::CCValue<cocos2d::CCPoint>::create(point));
            array->addObject(entry);
        }
        return array;
    }

    GameLayer* layer = nullptr;
    World* world = nullptr;
};

}  // namespace gametest
