#include "hud/GameSceneHud.h"

#include "SimpleAudioEngine.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "hud/GUI.h"
#include "hud/GUIAchievement.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBar.h"
#include "hud/VehicleEditors.h"
#include "scene/GameLayer.h"

USING_NS_CC;

namespace {

template <typename T> void letGo(GameLayer& layer, T* (GameLayer::*get)(), void (GameLayer::*set)(T*))
{
    T* window = (layer.*get)();
    CC_SAFE_RELEASE(window);
    (layer.*set)(nullptr);
}

}  // namespace

// --- the layer's windows -----------------------------------------------------------

void GameSceneHud::layerMade(GameLayer& layer)
{
    GUI* gui = GUI::create(screenSize);
    gui->retain();
    layer.setGUI(gui);
    GUIAchievement* goals = GUIAchievement::create(screenSize);
    goals->retain();
    layer.setAchievementWindow(goals);
}

void GameSceneHud::layerGoes(GameLayer& layer)
{
    letGo(layer, &GameLayer::getShareWindow, &GameLayer::setShareWindow);
    letGo(layer, &GameLayer::getBackgroundsWindow, &GameLayer::setBackgroundsWindow);
    letGo(layer, &GameLayer::getGUI, &GameLayer::setGUI);
    letGo(layer, &GameLayer::getAchievementWindow, &GameLayer::setAchievementWindow);
}

void GameSceneHud::addWindows(CCScene* scene, GameLayer& layer)
{
    GUIAchievement* goals = layer.getAchievementWindow();
    for (GUIWindow* window : {static_cast<GUIWindow*>(layer.getGUI()),
                              static_cast<GUIWindow*>(GUITopBar::getInstance()), static_cast<GUIWindow*>(goals)}) {
        if (!window)
            continue;
        window->removeFromParentAndCleanup(false);
        scene->addChild(window, window == goals ? 40 : 0);
    }
}

bool GameSceneHud::letGoOwnWindow(GameLayer& layer, GUIWindow* window)
{
    GUIShare* share = layer.getShareWindow();
    GUIBackgrounds* gallery = layer.getBackgroundsWindow();
    if (share && window == share) {
        window->removeFromParentAndCleanup(true);
        window->release();
        layer.setShareWindow(nullptr);
        return true;
    }
    if (gallery && window == gallery) {
        window->removeFromParentAndCleanup(true);
        window->release();
        layer.setBackgroundsWindow(nullptr);
        return true;
    }
    return false;
}

void GameSceneHud::resetForTests()
{
    GUITopBar::resetInstanceForTests();
    GUIIngameMessage::resetInstanceForTests();
}

// --- the HUD panel -------------------------------------------------------------------

bool GameSceneHud::hudClosed(GameLayer& layer)
{
    GUI* gui = layer.getGUI();
    return !gui || gui->getState() == GUIWindow::Closed;
}

CCString* GameSceneHud::currentElement(GameLayer& layer)
{
    GUI* gui = layer.getGUI();
    return gui ? gui->getCurrentElement() : nullptr;
}

void GameSceneHud::selectStartChoices(GameLayer& layer)
{
    if (GUI* gui = layer.getGUI()) {
        gui->selectStartElementAndTool();
        gui->setBrushSize(1);
    }
}

void GameSceneHud::onMenuButton(GameLayer& layer, int kind, GUIButton* sender)
{
    GUI* gui = layer.getGUI();
    if (!gui)
        return;
    // The palette button while erasing brings back the last element, and
    // opens the palette as always: a press never only turns the eraser off.
    const int state = gui->getState();
    const bool closed = state == GUIWindow::Closed || state == GUIWindow::Closing;
    if (kind == GUI::kElementMenu && closed) {
        CCString* element = gui->getCurrentElement();
        if (element && element->getString() == "Clear")
            gui->restoreLastElement();
    }
    // Switching from one open menu to another sounds; the HUD opens, switches
    // or closes its window.
    if (!closed && gui->getOpenMenu() != kind)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_select").c_str(),
                                                                     false);
    gui->onMenuButton(kind, sender);
}

void GameSceneHud::closeHud(GameLayer& layer)
{
    GUI* gui = layer.getGUI();
    // A HUD already closing is left to close: toggling it would open it again.
    if (gui && gui->getState() != GUIWindow::Closed && gui->getState() != GUIWindow::Closing) {
        gui->toggle();
        gui->closeMenu();
    }
}

void GameSceneHud::openGalleryFromMainMenuLater(GameLayer& layer, float seconds)
{
    if (GUI* gui = layer.getGUI())
        layer.runAction(CCSequence::create(CCDelayTime::create(seconds),
                                           CCCallFunc::create(gui, callfunc_selector(GUI::openGalleryFromMainMenu)),
                                           NULL));
}

// --- the goals window ------------------------------------------------------------------

bool GameSceneHud::todayGoalsShown(GameLayer& layer)
{
    GUIAchievement* goals = layer.getAchievementWindow();
    return goals && goals->getBoardKind() == GUIAchievement::kTodayGoals;
}

void GameSceneHud::hideGoalsWindow(GameLayer& layer)
{
    if (GUIAchievement* goals = layer.getAchievementWindow())
        goals->hide();
}

void GameSceneHud::showTodayGoals(GameLayer& layer)
{
    if (GUIAchievement* goals = layer.getAchievementWindow())
        goals->showTodayGoals();
}

void GameSceneHud::showDayCleared(GameLayer& layer, CCArray* elements, CCArray* options, CCArray* backgrounds,
                                  CCArray* mana)
{
    GUI* gui = layer.getGUI();
    if (gui && gui->getState() != GUIWindow::Closed)
        gui->toggle();
    if (GUIAchievement* goals = layer.getAchievementWindow())
        goals->showDayCleared(elements, options, backgrounds, mana);
}

// --- windows the layer opens ---------------------------------------------------------------

bool GameSceneHud::backgroundsWindowShown(GameLayer& layer)
{
    GUIBackgrounds* gallery = layer.getBackgroundsWindow();
    return gallery && gallery->isVisible();
}

void GameSceneHud::openBackgroundsWindow(GameLayer& layer)
{
    if (!layer.getBackgroundsWindow()) {
        GUIBackgrounds* made = GUIBackgrounds::create(screenSize);
        made->retain();
        layer.setBackgroundsWindow(made);
        if (layer.getParent())
            layer.getParent()->addChild(made);
    }
    GUIBackgrounds* gallery = layer.getBackgroundsWindow();
    gallery->toggle();
    gallery->buildWindow();
    // Refused because another window is open: no hidden gallery stays behind.
    if (gallery->getState() == GUIWindow::Closed)
        layer.closeWindow(gallery);
}

void GameSceneHud::openShareWindow(GameLayer& layer, CCObject* first, CCObject* second)
{
    if (!layer.getShareWindow()) {
        GUIShare* made = GUIShare::create(CCDirector::sharedDirector()->getWinSize());
        made->retain();
        layer.setShareWindow(made);
        if (layer.getParent())
            layer.getParent()->addChild(made);
    }
    GUIShare* share = layer.getShareWindow();
    share->toggle();
    share->buildContent(first, second);
    if (share->getState() == GUIWindow::Closed)
        layer.closeWindow(share);
}

GUIWindow* GameSceneHud::vehiclePanelAt(const CCPoint& point)
{
    return VehicleEditor::panelAt(point);
}

bool GameSceneHud::vehiclePanelOpen(GUIWindow* panel)
{
    for (VehicleEditor* open : VehicleEditor::openPanels())
        if (open == panel)
            return true;
    return false;
}

GUIWindow* GameSceneHud::messageWindow()
{
    return GUIIngameMessage::getInstance();
}

bool GameSceneHud::freeModeIntroDone()
{
    return GUIIngameMessage::getInstance()->getFreeModeIntroDone();
}

// --- the top bar -----------------------------------------------------------------------------

bool GameSceneHud::topBarLocked()
{
    return GUITopBar::getInstance()->isLocked();
}

void GameSceneHud::topBarTouchBegan(CCTouch* touch)
{
    GUITopBar::getInstance()->handleTouchBegan(touch);
}

bool GameSceneHud::panning()
{
    return GUITopBar::getInstance()->isPanning();
}

void GameSceneHud::setPanning(bool panning)
{
    GUITopBar::getInstance()->setPanning(panning);
}

void GameSceneHud::switchDrawPanToggle()
{
    GUITopBar::getInstance()->switchDrawPanToggle();
}

void GameSceneHud::showZoomToggle(bool shown)
{
    GUITopBar::getInstance()->showZoomToggle(shown);
}

void GameSceneHud::setZoomButtonIcon(const char* frame)
{
    GUITopBar::getInstance()->setZoomButtonIcon(frame);
}

void GameSceneHud::unpressZoomButton()
{
    GUITopBar::getInstance()->unpressZoomButton();
}

void GameSceneHud::hideZoomHint()
{
    GUITopBar::getInstance()->hideZoomHint();
}

void GameSceneHud::setUndoButtonIcon(const char* frame)
{
    GUITopBar::getInstance()->setUndoButtonIcon(frame);
}

void GameSceneHud::showLimitWarning(const char* key)
{
    GUITopBar::getInstance()->showWarning(key);
}

void GameSceneHud::updateMana()
{
    GUITopBar::getInstance()->updateMana();
}

void GameSceneHud::onDayButton()
{
    GUITopBar::getInstance()->onDayButton();
}
