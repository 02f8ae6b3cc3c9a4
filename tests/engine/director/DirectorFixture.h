#pragma once
// Director tests without a display: a clean director before and after every test, a
// manual clock, and small recording nodes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cocos2d.h"

namespace enginetest {

constexpr float kFrame = 1.0f / 60.0f;

class DirectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The first test to make the view chooses the mode for the whole
        // binary. These tests pass in headless and software mode alike; the
        // pixel tests in this binary need software, and it needs no display.
        static bool modeChosen = false;
        if (!modeChosen) {
            modeChosen = true;
            cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeSoftware);
        }
        director = cocos2d::CCDirector::sharedDirector();
        director->resetForTests();
    }
    void TearDown() override { director->resetForTests(); }

    // Runs a fresh scene and enters it.
    cocos2d::CCScene* runScene()
    {
        cocos2d::CCScene* scene = cocos2d::CCScene::create();
        director->runWithScene(scene);
        director->stepFrame(kFrame);
        return scene;
    }

    cocos2d::CCDirector* director = nullptr;
};

// Writes what happens to it into a shared log, and counts its deletion.
class Probe : public cocos2d::CCLayer {
public:
    Probe(std::vector<std::string>* log, const std::string& name) : m_log(log), m_name(name) { }
    ~Probe() override
    {
        if (m_log) {
            m_log->push_back(m_name + " deleted");
        }
    }
    static Probe* create(std::vector<std::string>* log, const std::string& name)
    {
        Probe* p = new Probe(log, name);
        p->init();
        p->autorelease();
        return p;
    }

    void onEnter() override
    {
        cocos2d::CCLayer::onEnter();
        note("enter");
    }
    void onEnterTransitionDidFinish() override
    {
        cocos2d::CCLayer::onEnterTransitionDidFinish();
        note("didFinish");
    }
    void onExit() override
    {
        cocos2d::CCLayer::onExit();
        note("exit");
    }
    void cleanup() override
    {
        cocos2d::CCLayer::cleanup();
        note("cleanup");
    }
    // Frames drawn by the director are noted only when asked for, so that
    // logs read the same in headless and software mode.
    void draw() override
    {
        if (logDraws) {
            note("draw");
        }
    }

    void tick(float dt)
    {
        ++ticks;
        lastDt = dt;
        note("tick");
    }
    void other(float) { note("other"); }
    void fire()
    {
        ++fired;
        note("fire");
    }
    void fireWith(cocos2d::CCObject* o)
    {
        received = o;
        note("fireWith");
    }
    void fireWithNode(cocos2d::CCNode* n)
    {
        received = n;
        note("fireWithNode");
    }
    void update(float dt) override
    {
        ++updates;
        lastDt = dt;
        note("update");
    }

    void note(const std::string& what)
    {
        if (m_log && recording) {
            m_log->push_back(m_name + " " + what);
        }
    }

    int ticks = 0;
    int updates = 0;
    int fired = 0;
    float lastDt = 0;
    bool recording = true;
    bool logDraws = false;
    cocos2d::CCObject* received = nullptr;

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

}  // namespace enginetest
