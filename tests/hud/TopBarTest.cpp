// The top bar in both layouts: the rows, the selections, zoom mode, undo,
// the lock, the notification queue, the badges and the counters.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/GameSceneFixture.h"
#include "base/NSData.h"
#include "profile/Profile.h"
#include "gui/GUIBox.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "hud/GUITopBar.h"

USING_NS_CC;

namespace {

// A box the game layer knows nothing of; the back key answers it.
class OwnBox : public GUIBox {
public:
    static void showOver(CCNode* scene)
    {
        auto* box = new OwnBox();
        box->initWithSize(screenSize);
        box->autorelease();
        box->prepare();
        box->setPosition(CCPointZero);
        box->setVisible(true);
        scene->addChild(box, 200);
        box->waitForAnswer();
        ScreenUtils::getInstance()->setCurrentWindow(box);
    }
    void answerBackKey() override
    {
        if (takeAnswer())
            leave();
    }
    void answerReturn() override { answerBackKey(); }
};

class TopBar : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        bar = GUITopBar::getInstance();
        gui = layer->getGUI();
    }

    void buildFree()
    {
        testsupport::testHost().freePlay = true;
        bar->buildFreeModeBar();
    }
    void buildCampaign()
    {
        testsupport::testHost().freePlay = false;
        bar->buildCampaignBar();
    }

    std::vector<int> rowX() const
    {
        std::vector<int> xs;
        for (CCObject* o : *bar->rowButtons())
            xs.push_back(static_cast<int>(static_cast<GUIButton*>(o)->getPosition().x));
        return xs;
    }

    static std::string iconOf(GUIButton* b) { return b ? GUITopBar::frameOf(b->getIcon()) : "no button"; }
    static std::string labelOf(GUIButton* b)
    {
        return b && b->getLabel() && b->getLabel()->getText() ? b->getLabel()->getText()->getString() : "";
    }

    GUITopBar* bar = nullptr;
    GUI* gui = nullptr;
};

TEST_F(TopBar, BothLayoutsLayTheirButtonsInOneGapFreeRow)
{
    buildFree();
    EXPECT_EQ(rowX(), (std::vector<int>{1, 27, 46, 65, 84, 103, 122, 152, 174, 211})) << "ten buttons in free play";
    EXPECT_FALSE(bar->getManaButton()->isEnabled());
    EXPECT_EQ(bar->getDayButton(), nullptr);
    buildCampaign();
    EXPECT_EQ(rowX(), (std::vector<int>{1, 27, 46, 65, 84, 114, 136, 176, 213})) << "nine in a campaign day";
    EXPECT_EQ(bar->getUndoButton(), nullptr);
    EXPECT_EQ(bar->getPlayPauseButton(), nullptr);
    EXPECT_TRUE(bar->getManaButton()->isEnabled());
    EXPECT_TRUE(bar->getElementMenuButton()->isSelected());
    EXPECT_TRUE(bar->getToolButton()->isSelected());
    EXPECT_FALSE(bar->getEraserButton()->isSelected());
}

TEST_F(TopBar, TheEraserAndZoomFollowAvailabilityInACampaignDayOnly)
{
    struct Case {
        bool freePlay;
        bool available;
        bool erases;
    };
    for (const Case c : {Case{false, false, false}, Case{false, true, true}, Case{true, false, true}}) {
        gui->setEverythingAvailable(c.available);
        layer->setZoomEnabled(c.available);
        c.freePlay ? buildFree() : buildCampaign();
        gui->selectElement("Sand");
        EXPECT_EQ(bar->getEraserButton()->hasIcon(), c.freePlay || c.available) << c.freePlay << c.available;
        bar->onEraserButton();
        EXPECT_EQ(gui->getCurrentElement()->getString(), c.erases ? "Clear" : "Sand") << c.freePlay << c.available;
        EXPECT_EQ(bar->getEraserButton()->isSelected(), c.erases);
        EXPECT_EQ(bar->getElementMenuButton()->isSelected(), !c.erases);
        bar->onZoomButton();
        EXPECT_EQ(layer->getZoomMode(), c.erases) << "zoom mode " << c.freePlay << c.available;
        bar->resetButtons();
    }
    gui->setEverythingAvailable(true);
}

// A day's settings and the goals' unlocks change what the standing campaign
// bar shows: the zoom button was left blank on the day that opened zooming.
TEST_F(TopBar, ACampaignBarShowsTheZoomAndEraserTheDayAllowsNow)
{
    buildCampaign();
    auto settings = [](bool zoom) {
        CCDictionary* d = CCDictionary::create();
        d->setObject(CCString::create("true"), "lock");
        d->setObject(CCString::create("allow"), "lockMode");
        CCArray* tools = CCArray::create(CCString::create("Draw"), nullptr);
        if (zoom)
            tools->addObject(CCString::create("Zoom"));
        d->setObject(tools, "tools");
        return d;
    };
    ASSERT_TRUE(gui->applyDaySettings(settings(true)));
    EXPECT_TRUE(layer->getZoomEnabled());
    EXPECT_TRUE(bar->getZoomButton()->hasIcon());
    EXPECT_FALSE(bar->getEraserButton()->hasIcon()) << "no Clear listed";
    ASSERT_TRUE(gui->applyDaySettings(settings(false)));
    EXPECT_FALSE(layer->getZoomEnabled());
    EXPECT_FALSE(bar->getZoomButton()->hasIcon());
    gui->unlockTool("Zoom");
    gui->unlockTool("Clear");
    EXPECT_TRUE(bar->getZoomButton()->hasIcon());
    EXPECT_TRUE(bar->getEraserButton()->hasIcon());
    bar->onZoomButton();
    EXPECT_TRUE(layer->getZoomMode());
    bar->resetButtons();
    gui->setEverythingAvailable(true);
}

TEST_F(TopBar, ZoomModeKeepsOneHintAndOnlyTheMenuButtonsLeaveIt)
{
    buildFree();
    bar->onZoomButton();
    ASSERT_NE(bar->getZoomHintLabel(), nullptr);
    bar->onZoomButton();
    int hints = 0;
    for (CCObject* o : *bar->getBar()->getChildren())
        hints += dynamic_cast<GUILabel*>(o) != nullptr;
    EXPECT_EQ(hints, 1) << "a second press leaves a single hint";
    EXPECT_TRUE(bar->getZoomButton()->isPressed());
    bar->onUndoButton();
    bar->onPlayPauseButton();
    EXPECT_TRUE(layer->getZoomMode()) << "undo and play/pause leave zoom mode on";
    bar->onPlayPauseButton();
    bar->onToolButton(nullptr);
    EXPECT_FALSE(layer->getZoomMode());
    EXPECT_EQ(bar->getZoomHintLabel(), nullptr);
    EXPECT_FALSE(bar->getZoomButton()->isPressed());
}

TEST_F(TopBar, UndoTwiceBringsTheWorldBackAndTheUndoPictogram)
{
    buildFree();
    choose("Sand");
    world->addParticle(50, 50, hashString("Sand"), true);
    CC_SAFE_RELEASE(world->undoSnapshot);
    world->undoSnapshot = world->save();
    CC_SAFE_RETAIN(world->undoSnapshot);
    world->addParticle(60, 50, hashString("Sand"), true);
    bar->onUndoButton();
    EXPECT_EQ(countOf("Sand"), 1);
    EXPECT_EQ(iconOf(bar->getUndoButton()), "guitopbar_HUDRedoPicto.png");
    bar->onUndoButton();
    EXPECT_EQ(countOf("Sand"), 2);
    EXPECT_EQ(iconOf(bar->getUndoButton()), "guitopbar_HUDUndoPicto.png");
}

TEST_F(TopBar, PlayPauseFlipsThePauseAndItsPictogram)
{
    buildFree();
    bar->onPlayPauseButton();
    EXPECT_TRUE(layer->getPaused());
    EXPECT_EQ(iconOf(bar->getPlayPauseButton()), "guitopbar_HUDPlayPicto.png");
    bar->onPlayPauseButton();
    EXPECT_FALSE(layer->getPaused());
    EXPECT_EQ(iconOf(bar->getPlayPauseButton()), "guitopbar_HUDPausePicto.png");
}

TEST_F(TopBar, ALockedBarIgnoresTouches)
{
    buildFree();
    GUIButton* play = bar->getPlayPauseButton();
    const CCPoint at =
        play->getParent()->convertToWorldSpace(ccp(play->getPosition().x + play->getContentSize().width / 2,
                                                   play->getPosition().y - play->getContentSize().height / 2));
    bar->setLocked(true);
    press(at.x, at.y);
    release(at.x, at.y);
    stepFrames(20);
    EXPECT_FALSE(layer->getPaused()) << "nothing fired while locked";
    EXPECT_EQ(bar->getPressedButton(), nullptr);
    bar->setLocked(false);
    // Nor does it act under a box's shade ("You are offline." let the
    // player pause the world under it), whatever the box.
    const std::function<void()> boxes[] = {
        [] { ScreenUtils::showPopup(CCString::create("You are offline."), nullptr, nullptr, nullptr, nullptr, 2); },
        [this] { OwnBox::showOver(layer->getParent()); },
    };
    for (const auto& showBox : boxes) {
        showBox();
        stepFrames(20);
        press(at.x, at.y);
        release(at.x, at.y);
        stepFrames(20);
        EXPECT_FALSE(layer->getPaused()) << "nothing fired under box " << &showBox - boxes;
        ScreenUtils::getInstance()->getCurrentWindow()->onBackPressed();
        stepFrames(40);
        ASSERT_EQ(ScreenUtils::shownWindow(), nullptr);
    }
    press(at.x, at.y);
    release(at.x, at.y);
    stepFrames(20);
    EXPECT_TRUE(layer->getPaused()) << "a real press on the bar fires";
}

TEST_F(TopBar, TheDrawPanToggleShowsOneButtonWhileMagnifiedAndATapSwapsThem)
{
    buildFree();
    const DrawPanToggle* toggle = bar->getDrawPanToggle();
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->drawButton->isVisible());
    EXPECT_FALSE(toggle->panButton->isVisible());
    layer->zoomToPoint(ccp(400, 300));
    stepFrames(2);
    for (int tapNo = 0; tapNo < 2; ++tapNo) {
        GUIButton* shown = toggle->currentButton();
        GUIButton* other = shown == toggle->drawButton ? toggle->panButton : toggle->drawButton;
        ASSERT_TRUE(shown->isVisible());
        ASSERT_FALSE(other->isVisible());
        const bool panning = bar->isPanning();
        const CCPoint at =
            shown->getParent()->convertToWorldSpace(ccp(shown->getPosition().x + shown->getContentSize().width / 2,
                                                        shown->getPosition().y + shown->getContentSize().height / 2));
        press(at.x, at.y);
        release(at.x, at.y);
        stepFrames(20);
        EXPECT_NE(bar->isPanning(), panning) << "tap " << tapNo;
        EXPECT_EQ(toggle->currentButton(), other) << "tap " << tapNo;
        EXPECT_FALSE(shown->isVisible());
    }
    buildFree();
    EXPECT_NE(bar->getDrawPanToggle(), nullptr) << "every build makes its own toggle";
}

TEST_F(TopBar, WhileTheKeyboardIsUpTheBarsStripIsTheKeyboards)
{
    buildFree();
    GUIButton* play = bar->getPlayPauseButton();
    const CCPoint at =
        play->getParent()->convertToWorldSpace(ccp(play->getPosition().x + play->getContentSize().width / 2,
                                                   play->getPosition().y - play->getContentSize().height / 2));
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("World"));
    ScreenUtils::showKeyboard(label, nullptr, nullptr);
    stepFrames(20);
    ASSERT_NE(GUIKeyboard::existingInstance()->getParent(), nullptr);
    press(at.x, at.y);
    EXPECT_EQ(bar->getPressedButton(), nullptr) << "the bar saw a touch meant for the keyboard";
    release(at.x, at.y);
    stepFrames(20);
    EXPECT_FALSE(layer->getPaused());
    ScreenUtils::clearKeyboardBindingForTests();
    GUIKeyboard::resetInstanceForTests();
}

TEST_F(TopBar, NotificationsQueueAndShowInOrderWithTheirIconOrTheCheckBox)
{
    buildFree();
    bar->showNotification(CCString::create("first"));
    bar->showNotification(CCString::create("second"), CCString::create("HUDkey.png"));
    bar->showNotification(CCString::create("third"));
    EXPECT_TRUE(bar->hasNotification());
    ASSERT_EQ(bar->getNotificationQueue()->count(), 2u);
    auto shownText = [&] { return bar->getNotificationLabel()->getText()->getString(); };
    EXPECT_EQ(shownText(), "first");
    EXPECT_NE(bar->getCheckBox()->getParent(), nullptr) << "no icon: the check box";
    stepSeconds(2.7f);
    EXPECT_EQ(shownText(), "second");
    EXPECT_EQ(bar->getCheckBox()->getParent(), nullptr);
    EXPECT_EQ(GUITopBar::frameOf(bar->getNotificationIcon()), "guitopbar_HUDkey.png");
    stepSeconds(2.6f);
    EXPECT_EQ(shownText(), "third");
    EXPECT_EQ(bar->getNotificationQueue(), nullptr) << "released once empty";
    stepSeconds(2.6f);
    EXPECT_FALSE(bar->isNotificationShowing());
}

// At rest the panel hides under the bar's band: a strip of it peeking out
// below the bar looked like an empty notice.
TEST_F(TopBar, TheNotificationPanelRestsHiddenUnderTheBarsBand)
{
    buildFree();
    CCSprite* panel = bar->getNotificationPanel();
    ASSERT_NE(panel, nullptr);
    CCNode* band = nullptr;
    for (CCObject* o : *panel->getParent()->getChildren())
        if (GUITopBar::frameOf(static_cast<CCNode*>(o)) == "guitopbar_container.png")
            band = static_cast<CCNode*>(o);
    ASSERT_NE(band, nullptr);
    const CCRect rest = panel->boundingBox();
    const CCRect cover = band->boundingBox();
    EXPECT_GE(rest.getMinY(), cover.getMinY());
    EXPECT_GE(rest.getMinX(), cover.getMinX());
    EXPECT_LE(rest.getMaxX(), cover.getMaxX());
}

TEST_F(TopBar, BadgesCountNewItemsOutsideFreePlay)
{
    auto fillNewItems = [this](int count) {
        gui->clearNewItems();
        for (int i = 0; i < count; ++i) {
            gui->addNewElement("e" + std::to_string(i));
            gui->addNewTool("t" + std::to_string(i));
            gui->addNewOption("o" + std::to_string(i));
        }
    };
    buildCampaign();
    struct Case {
        int count;
        bool shown;
        std::vector<int> offsets;  // of the glyphs in the digit strip: digit n at 4n + 3, the plus at 0
    };
    for (const Case& c : {Case{1, true, {7}}, Case{9, true, {39}}, Case{10, true, {39, 0}}, Case{0, false, {}}}) {
        fillNewItems(c.count);
        bar->updateBadges();
        for (CCSprite* badge : {bar->getElementBadge(), bar->getToolBadge(), bar->getWorldSettingsBadge()}) {
            ASSERT_EQ(badge != nullptr, c.shown) << c.count;
            if (!badge)
                continue;
            std::vector<int> offsets;
            const CCSize size = badge->getContentSize();
            for (CCObject* o : *badge->getChildren()) {
                auto* glyph = static_cast<CCNode*>(o);
                offsets.push_back(static_cast<CCInteger*>(glyph->getUserObject())->getValue());
                // Inside the badge's one-pixel border, never on it.
                const CCRect box = glyph->boundingBox();
                EXPECT_GE(box.getMinX(), 1) << c.count;
                EXPECT_LE(box.getMaxX(), size.width - 1) << c.count;
                EXPECT_GE(box.getMinY(), 1) << c.count;
                EXPECT_LE(box.getMaxY(), size.height - 1) << c.count;
            }
            EXPECT_EQ(offsets, c.offsets) << c.count;
        }
    }
    fillNewItems(3);
    testsupport::testHost().freePlay = true;
    bar->updateBadges();
    EXPECT_EQ(bar->getElementBadge(), nullptr) << "no badge in free play";
    gui->clearNewItems();
}

TEST_F(TopBar, TheManaCounterShowsTheWholeCountAndToleratesNoButton)
{
    GUITopBar::resetInstanceForTests();
    bar = GUITopBar::getInstance();
    Profile::getInstance()->setMana(2000000000);
    bar->updateMana();  // no build yet: no button
    buildCampaign();
    EXPECT_EQ(labelOf(bar->getManaButton()), "2000000000");
    Profile::getInstance()->setMana(-5);
    bar->updateMana();
    EXPECT_EQ(labelOf(bar->getManaButton()), "-5");
}

TEST_F(TopBar, ACampaignBuildRepairsADayOutOfRange)
{
    Profile::getInstance()->setDay(300);
    buildCampaign();
    EXPECT_EQ(Profile::getInstance()->getDay(), 1);
    ASSERT_NE(bar->getDayButton(), nullptr);
    EXPECT_NE(bar->getLilGodSprite(), nullptr);
}

TEST_F(TopBar, TheWorldSettingsButtonShowsTheThermometerAndTheWorldFlags)
{
    buildFree();
    world->temperatureField.setViewOn(true);
    gui->refreshTemperature(4);
    EXPECT_EQ(GUITopBar::frameOf(bar->getTemperatureIcon()), "guitopbar_tempOn_4.png");
    world->temperatureField.setViewOn(false);
    world->lightMap.setLightOn(false);
    world->lightMap.setSunOn(true);
    gui->refreshTemperature(1);
    EXPECT_EQ(GUITopBar::frameOf(bar->getTemperatureIcon()), "guitopbar_tempOff_1.png");
    EXPECT_FALSE(bar->getLightPicto()->isVisible());
    EXPECT_TRUE(bar->getSunPicto()->isVisible());
    EXPECT_EQ(bar->getCloudsPicto()->isVisible(), world->weather);
}

TEST_F(TopBar, PickingAnElementOrToolChangesTheBarIcons)
{
    buildFree();
    gui->selectElement("Sand");
    EXPECT_EQ(iconOf(bar->getElementMenuButton()), "guitopbar_HUDelement_Sand.png");
    gui->selectTool("Line");
    EXPECT_EQ(iconOf(bar->getToolButton()), "guitopbar_HUDLine.png");
    Tool* before = world->currentTool;
    gui->selectTool("Sand");
    EXPECT_EQ(world->currentTool, before) << "a name that is no tool keeps the tool";
    EXPECT_EQ(iconOf(bar->getToolButton()), "guitopbar_HUDLine.png");
}

TEST_F(TopBar, TheSameMenuButtonClosesTheHudAnotherSwitchesInPlace)
{
    buildFree();
    bar->onElementMenuButton(nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kElementMenu);
    stepFrames(20);
    ASSERT_EQ(gui->getState(), GUIWindow::Open);
    bar->onToolButton(nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kToolMenu);
    EXPECT_EQ(gui->getState(), GUIWindow::Open) << "switched in place";
    EXPECT_EQ(gui->getMenuButton(), bar->getToolButton());
    bar->onToolButton(nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
    EXPECT_EQ(gui->getMenuButton(), nullptr);
    stepFrames(20);
    EXPECT_EQ(gui->getState(), GUIWindow::Closed);
}

TEST_F(TopBar, TheManaCountNeverRunsUnderItsIcon)
{
    struct Case {
        bool campaign;
        int32_t mana;
        bool fullSize;  // short counts keep the size the bar gives them
    };
    const Case cases[] = {
        {false, 0, true},    {true, 7, true},         {false, 2500, false},
        {true, 2500, false}, {false, 1234567, false}, {true, -99999, false},
    };
    for (const Case& c : cases) {
        Profile::getInstance()->setMana(c.mana);
        c.campaign ? buildCampaign() : buildFree();
        for (bool afterUpdate : {false, true}) {
            if (afterUpdate) {
                Profile::getInstance()->setMana(c.mana + 1);
                bar->updateMana();
            }
            GUIButton* button = bar->getManaButton();
            ASSERT_NE(button, nullptr);
            CCSprite* icon = nullptr;
            for (CCObject* o : *button->getChildren())
                if (GUITopBar::frameOf(static_cast<CCNode*>(o)) == "guitopbar_HUDMana.png")
                    icon = static_cast<CCSprite*>(o);
            ASSERT_NE(icon, nullptr);
            GUILabel* label = button->getLabel();
            const float iconRight = icon->getPosition().x + icon->getContentSize().width;
            const float textLeft = label->getPosition().x - label->getWidth() * label->getScale();
            EXPECT_GE(textLeft, iconRight) << c.mana << (c.campaign ? " campaign" : " free play");
            EXPECT_FLOAT_EQ(label->getPosition().x, button->getContentSize().width - 5) << "right-aligned as before";
            if (c.fullSize && !afterUpdate) {
                EXPECT_FLOAT_EQ(label->getScale(), 10 / GUILabel::fontSize) << c.mana;
            }
        }
    }
}

}  // namespace
