#include "ScriptedPlayer.h"

#include <algorithm>
#include <iterator>

#include "base/LocalUtils.h"
#include "base/NSData.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUISlider.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"
#include "hud/GUI.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUISaveLoad.h"
#include "hud/GUITopBar.h"
#include "platform/CloudStorage.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "screens/MainMenu.h"
#include "scene/GameLayer.h"
#include "support/ButtonValues.h"
#include "world/Tool.h"
#include "world/World.h"

USING_NS_CC;

namespace soak {

namespace {

constexpr float kFrame = 1.0f / 60.0f;
// Enough frames for a window to open or close and a delayed button to fire.
constexpr int kSettleFrames = 24;
const char* const kWorldNames[] = {"soak one", "soak two", "soak three", "soak four", "soak five"};

float topBarHeight()
{
    return 80.0f * static_cast<float>(screenRatio);
}

// The buttons among a node's children, in the order they were added.
std::vector<CCNode*> buttonsIn(CCNode* parent)
{
    std::vector<CCNode*> buttons;
    if (!parent || !parent->getChildren())
        return buttons;
    for (CCObject* child : *parent->getChildren())
        if (auto* button = dynamic_cast<GUIButton*>(child))
            buttons.push_back(button);
    return buttons;
}

GUIPopup* shownPopup()
{
    GUIPopup* popup = GUIPopup::getInstance();
    return popup->isShown() && !popup->isClosing() ? popup : nullptr;
}

std::string popupText(GUIPopup* popup)
{
    GUILabel* label = popup ? popup->getMessageLabel() : nullptr;
    return label && label->getText() ? label->getText()->getString() : std::string();
}

std::string localized(const char* key)
{
    return LocalUtils::localize(key)->getString();
}

}  // namespace

// --- frames and touches --------------------------------------------------------------

void ScriptedPlayer::frames(int count)
{
    CCDirector* director = CCDirector::sharedDirector();
    for (int i = 0; i < count; ++i) {
        director->stepFrame(kFrame);
        ++m_counts.frames;
        if (--m_framesToClockTick == 0) {
            platform::advanceManualGameTime(1);
            m_framesToClockTick = 60;
        }
    }
}

int ScriptedPlayer::pick(int count)
{
    return count > 0 ? gameRand() % count : 0;
}

void ScriptedPlayer::fail(const std::string& what)
{
    if (!m_fault.empty()) {
        ++m_laterFaults;
        return;
    }
    m_fault = what + " (after";
    for (const std::string& action : m_recent)
        m_fault += " " + action;
    m_fault += ", frame " + std::to_string(m_counts.frames) + ")";
}

void ScriptedPlayer::note(const char* action)
{
    if (m_recent.size() == 8)
        m_recent.erase(m_recent.begin());
    m_recent.emplace_back(action);
}

void ScriptedPlayer::press(CCPoint at, bool right)
{
    CCEGLView::sharedOpenGLView()->simulateTouchBegan(m_touchId, at, right);
}

void ScriptedPlayer::moveTo(CCPoint at, bool right)
{
    CCEGLView::sharedOpenGLView()->simulateTouchMoved(m_touchId, at, right);
}

void ScriptedPlayer::release(CCPoint at, bool right)
{
    CCEGLView::sharedOpenGLView()->simulateTouchEnded(m_touchId, at, right);
    m_touchId = m_touchId % 5 + 1;
}

CCPoint ScriptedPlayer::centreOf(CCNode* node)
{
    const CCSize size = node->getContentSize();
    return node->convertToWorldSpace(ccp(size.width / 2, size.height / 2));
}

void ScriptedPlayer::tapAt(CCPoint at)
{
    press(at);
    frames(2);
    release(at);
    frames(kSettleFrames);
}

bool ScriptedPlayer::tap(CCNode* node)
{
    if (!node || !node->isVisible())
        return false;
    tapAt(centreOf(node));
    return true;
}

CCPoint ScriptedPlayer::pointInWorldView()
{
    const float margin = static_cast<float>(screenSize.width - visibleSize.width) / 2;
    const float width = static_cast<float>(visibleSize.width) - 2;
    const float height = static_cast<float>(screenSize.height) - topBarHeight() - 2;
    return ccp(margin + 1 + static_cast<float>(pick(static_cast<int>(width))),
               1 + static_cast<float>(pick(static_cast<int>(height))));
}

GameLayer* ScriptedPlayer::layer() const
{
    return GameLayer::existingInstance();
}

GUI* ScriptedPlayer::hud() const
{
    return layer() ? layer()->getGUI() : nullptr;
}

int64_t ScriptedPlayer::worldSteps() const
{
    return layer() ? layer()->getWorld().stepsBegun : 0;
}

int64_t ScriptedPlayer::worldStepsRun() const
{
    return layer() ? layer()->getWorld().stepsRun : 0;
}

size_t ScriptedPlayer::undoSnapshotBytes() const
{
    auto* snapshot = layer() ? dynamic_cast<NSData*>(layer()->getWorld().undoSnapshot) : nullptr;
    return snapshot ? snapshot->length : 0;
}

// --- windows -------------------------------------------------------------------------

GUISaveLoad* ScriptedPlayer::savedWorldsScreen() const
{
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene || !scene->getChildren())
        return nullptr;
    for (CCObject* child : *scene->getChildren())
        if (auto* screen = dynamic_cast<GUISaveLoad*>(child))
            return screen;
    return nullptr;
}

void ScriptedPlayer::answerPopups(bool cancel)
{
    for (int i = 0; i < 4; ++i) {
        GUIPopup* popup = shownPopup();
        if (!popup)
            return;
        // Read before answered: a box takes no press that came before. The
        // player reads it at once, so the run plays as it did before boxes
        // waited, and its memory is judged on the same play.
        popup->finishOpening();
        GUIButton* button = cancel && popup->getCancelButton() && popup->getCancelButton()->isVisible()
            ? popup->getCancelButton()
            : popup->getOkButton();
        if (!tap(button)) {
            fail("a popup without a visible button: \"" + popupText(popup) + "\"");
            popup->onOkPressed();
            frames(kSettleFrames);
        }
    }
    if (shownPopup())
        fail("a popup does not go away: \"" + popupText(shownPopup()) + "\"");
}

void ScriptedPlayer::closeHud()
{
    GUI* gui = hud();
    if (!gui || gui->getState() == GUIWindow::Closed)
        return;
    // The bar's button of the open menu closes it.
    GUIButton* button = gui->getMenuButton();
    if (!tap(button) || gui->getState() == GUIWindow::Open) {
        gui->closeMenu();
        frames(kSettleFrames);
    }
}

void ScriptedPlayer::settle()
{
    answerPopups(true);
    if (GUISaveLoad* screen = savedWorldsScreen()) {
        CCEGLView::sharedOpenGLView()->simulateKey(kCCKeyBack, true);
        CCEGLView::sharedOpenGLView()->simulateKey(kCCKeyBack, false);
        frames(kSettleFrames);
        if (savedWorldsScreen() == screen)
            fail("the back key does not leave the saved-worlds screen");
    }
    closeHud();
    // Any other window (an element's editor opened by a long press) closes.
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (window && window != hud() && window->isVisible() && window->getState() == GUIWindow::Open) {
        window->close();
        frames(kSettleFrames);
    }
}

std::vector<CCNode*> ScriptedPlayer::openMenu(int menu)
{
    settle();
    GUITopBar* bar = GUITopBar::getInstance();
    GUIButton* button = nullptr;
    switch (menu) {
    case GUI::kElementMenu: button = bar->getElementMenuButton(); break;
    case GUI::kToolMenu: button = bar->getToolButton(); break;
    case GUI::kWorldSettingsMenu: button = bar->getWorldSettingsButton(); break;
    case GUI::kWorldMenu: button = bar->getWorldMenuButton(); break;
    default: break;
    }
    const CCString* element = hud() ? hud()->getCurrentElement() : nullptr;
    const bool erasing = element && element->getString() == "Clear";
    if (!tap(button)) {
        fail("the bar has no button for menu " + std::to_string(menu));
        return {};
    }
    GUI* gui = hud();
    // While erasing, the palette's button first brings the last element back.
    if (menu == GUI::kElementMenu && erasing && gui && gui->getState() == GUIWindow::Closed) {
        element = gui->getCurrentElement();
        if (!element || element->getString() == "Clear")
            fail("the palette's button did not bring an element back after the eraser");
        tap(button);
    }
    if (!gui || gui->getOpenMenu() != menu || gui->getState() != GUIWindow::Open) {
        fail("menu " + std::to_string(menu) + " did not open from the bar (open menu " +
             std::to_string(gui ? gui->getOpenMenu() : -1) + ", window state " +
             std::to_string(gui ? gui->getState() : -1) + ")");
        return {};
    }
    return buttonsIn(gui->getMenuContent());
}

// --- start ---------------------------------------------------------------------------

bool ScriptedPlayer::start(std::string& error)
{
    CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
    frames(30);
    answerPopups(true);
    if (!tap(MainMenu::getInstance()->getFreeModeButton())) {
        error = "the title screen shows no free mode button";
        return false;
    }
    frames(60);
    answerPopups();
    if (!layer() || !layer()->getParent() || layer()->getParent() != CCDirector::sharedDirector()->getRunningScene()) {
        error = "free play did not open the game scene";
        return false;
    }
    // The free-mode introduction comes a second after the entry; the player
    // reads it through (four Next, one OK) before playing.
    frames(40);
    GUIIngameMessage* message = GUIIngameMessage::getInstance();
    for (int page = 0; page < 8 && message->getParent() && !message->isClosing(); ++page)
        tap(message->getPageButton());
    frames(30);
    if (message->getParent() || !message->getFreeModeIntroDone()) {
        error = "the free-mode introduction did not close on its buttons";
        return false;
    }
    for (const std::string& name : hud()->paletteNames())
        m_elementsOffered.insert(name);
    // The first cloud takes the clouds' spare lists for the rest of the run
    // (some 850 KB): painted now, within the warm-up, so that the memory
    // watch does not take them for growth whenever the round of elements
    // first comes to clouds.
    pickElement("Cloud", false);
    stroke();
    frames(30);
    if (!m_fault.empty()) {
        error = m_fault;
        return false;
    }
    return true;
}

void ScriptedPlayer::act()
{
    ++m_actions;
    const int roll = pick(100);
    if (roll < 40)
        stroke();
    else if (roll < 52)
        chooseElement();
    else if (roll < 58)
        chooseTool();
    else if (roll < 62)
        chooseBrushSize();
    else if (roll < 71)
        undoOrRedo();
    else if (roll < 78)
        zoomOrPan();
    else if (roll < 85)
        worldSetting();
    else if (roll < 91)
        saveWorld();
    else if (roll < 95)
        openSavedWorlds(false);
    else if (roll < 98)
        openSavedWorlds(true);
    else
        newWorld();
    // Let the world run between actions, as a player looks at it.
    frames(pick(30));
    if (m_actions % 25 == 0)
        checkWorld();
}

// --- actions -------------------------------------------------------------------------

void ScriptedPlayer::stroke()
{
    note("stroke");
    settle();
    CCPoint at = pointInWorldView();
    const bool twoFingers = chance(5);
    press(at);
    const int secondId = 9;
    if (twoFingers)
        CCEGLView::sharedOpenGLView()->simulateTouchBegan(secondId, ccp(at.x + 30, at.y), false);
    frames(2);
    const int moves = pick(16);
    for (int i = 0; i < moves; ++i) {
        at = ccp(std::clamp(at.x + static_cast<float>(pick(81) - 40), 1.0f, static_cast<float>(screenSize.width) - 1),
                 std::clamp(at.y + static_cast<float>(pick(81) - 40), 1.0f,
                            static_cast<float>(screenSize.height) - topBarHeight() - 1));
        moveTo(at);
        frames(1 + pick(3));
    }
    if (twoFingers)
        CCEGLView::sharedOpenGLView()->simulateTouchEnded(secondId, ccp(at.x + 30, at.y), false);
    release(at);
    frames(1);
    ++m_counts.strokes;
    if (CCString* element = hud() ? hud()->getCurrentElement() : nullptr)
        m_elementsUsed.insert(element->getString());
    if (World* world = layer() ? &layer()->getWorld() : nullptr; world && world->currentTool) {
        static const char* const kToolNames[] = {"", "Draw", "Line", "Fill", "Replace", "Miner"};
        const int kind = world->currentTool->kind;
        if (kind >= 1 && kind <= 5)
            m_toolsUsed.insert(kToolNames[kind]);
    }
}

void ScriptedPlayer::chooseElement()
{
    note("chooseElement");
    // Every element the palette offers, in a shuffled round, then again.
    if (m_elementDeck.empty()) {
        m_elementDeck = hud()->paletteNames();
        for (size_t i = m_elementDeck.size(); i > 1; --i)
            std::swap(m_elementDeck[i - 1], m_elementDeck[static_cast<size_t>(pick(static_cast<int>(i)))]);
    }
    const std::string wanted = m_elementDeck.back();
    m_elementDeck.pop_back();
    // A priced element asks first; decline or buy at random.
    pickElement(wanted, chance(50));
}

void ScriptedPlayer::pickElement(const std::string& wanted, bool declinePrice)
{
    const std::vector<CCNode*> buttons = openMenu(GUI::kElementMenu);
    for (CCNode* button : buttons) {
        if (testsupport::buttonName(button) != wanted)
            continue;
        tap(button);
        answerPopups(declinePrice);
        settle();
        const CCString* current = hud()->getCurrentElement();
        if (wanted != "Clear" && hud()->priceToPay(wanted) == 0 && (!current || current->getString() != wanted))
            fail("picking " + wanted + " in the palette did not select it");
        return;
    }
    settle();
}

void ScriptedPlayer::chooseTool()
{
    note("chooseTool");
    if (m_toolDeck.empty())
        m_toolDeck = {"Draw", "Line", "Fill", "Replace", "Miner"};
    const size_t at = static_cast<size_t>(pick(static_cast<int>(m_toolDeck.size())));
    const std::string wanted = m_toolDeck[at];
    m_toolDeck.erase(m_toolDeck.begin() + static_cast<std::ptrdiff_t>(at));
    for (CCNode* button : openMenu(GUI::kToolMenu)) {
        if (testsupport::buttonName(button) != wanted)
            continue;
        tap(button);
        settle();
        Tool* tool = layer()->getWorld().currentTool;
        static const char* const kToolNames[] = {"", "Draw", "Line", "Fill", "Replace", "Miner"};
        if (!tool || tool->kind < 1 || tool->kind > 5 || wanted != kToolNames[tool->kind])
            fail("picking the tool " + wanted + " did not select it");
        return;
    }
    fail("the tool menu has no " + wanted);
    settle();
}

void ScriptedPlayer::chooseBrushSize()
{
    note("chooseBrushSize");
    if (openMenu(GUI::kToolMenu).empty())
        return;
    CCNode* slider = hud()->getBrushSlider();
    if (!slider || !slider->getParent()) {
        fail("the tool menu shows no brush slider");
        settle();
        return;
    }
    // A drag along the slider, ending somewhere on it.
    const CCSize size = slider->getContentSize();
    auto along = [&](float fraction) {
        return slider->convertToWorldSpace(ccp(size.width * fraction, size.height / 2));
    };
    CCPoint at = along(static_cast<float>(pick(101)) / 100.0f);
    press(at);
    frames(1);
    for (int i = 0, n = pick(4); i < n; ++i) {
        at = along(static_cast<float>(pick(101)) / 100.0f);
        moveTo(at);
        frames(1);
    }
    release(at);
    frames(kSettleFrames);
    const int32_t chosen = hud()->getBrushSize();
    if (chosen < 1 || chosen > 9)
        fail("the brush slider gave size " + std::to_string(chosen));
    ++m_counts.brushSizes;
    settle();
    if (hud()->getBrushSize() != chosen)
        fail("the brush size did not outlast its menu");
}

void ScriptedPlayer::undoOrRedo()
{
    note("undoOrRedo");
    settle();
    World& world = layer()->getWorld();
    const bool hadSnapshot = world.undoSnapshot != nullptr;
    const bool toggleBefore = world.undoToggle;
    if (!tap(GUITopBar::getInstance()->getUndoButton())) {
        fail("the bar shows no undo button");
        return;
    }
    if (hadSnapshot && world.undoToggle == toggleBefore)
        fail("undo with a snapshot did not switch between undo and redo");
    ++m_counts.undos;
}

void ScriptedPlayer::zoomOrPan()
{
    note("zoomOrPan");
    settle();
    GameLayer* game = layer();
    GUITopBar* bar = GUITopBar::getInstance();
    if (!game->getZoomedOut() || chance(30)) {
        // The zoom button, then (when it asks) a tap on the point to magnify.
        const bool wasZoomed = game->getZoomedOut();
        if (!tap(bar->getZoomButton())) {
            fail("the bar shows no zoom button");
            return;
        }
        if (!wasZoomed && game->getZoomMode())
            tapAt(pointInWorldView());
        if (game->getZoomedOut() == wasZoomed)
            fail(wasZoomed ? "the zoom button did not zoom out" : "a zoom tap did not magnify the world");
        ++m_counts.zooms;
        return;
    }
    // Magnified: pan with the hand toggle or the right button.
    auto toggleButton = [bar] { return bar->getDrawPanToggle() ? bar->getDrawPanToggle()->currentButton() : nullptr; };
    const bool byToggle = chance(50);
    if (byToggle && !tap(toggleButton()))
        return;
    CCPoint at = pointInWorldView();
    press(at, !byToggle);
    frames(1);
    for (int i = 0, n = 2 + pick(10); i < n; ++i) {
        at = ccp(at.x + static_cast<float>(pick(61) - 30), at.y + static_cast<float>(pick(61) - 30));
        moveTo(at, !byToggle);
        frames(1);
    }
    release(at, !byToggle);
    frames(1);
    if (byToggle && bar->isPanning())
        tap(toggleButton());
    ++m_counts.pans;
}

void ScriptedPlayer::worldSetting()
{
    note("worldSetting");
    std::vector<CCNode*> choices;
    for (CCNode* button : openMenu(GUI::kWorldSettingsMenu))
        if (testsupport::buttonNumber(button) >= 0)
            choices.push_back(button);
    if (choices.empty()) {
        settle();
        return;
    }
    World& world = layer()->getWorld();
    const bool weatherBefore = world.weather;
    const bool temperatureViewBefore = world.temperatureField.isViewOn();
    CCNode* button = choices[static_cast<size_t>(pick(static_cast<int>(choices.size())))];
    // The presets come first (levels 1..5), then the four switches (0..3).
    const bool preset = std::find(choices.begin(), choices.begin() + std::min<size_t>(5, choices.size()), button) !=
        choices.begin() + std::min<size_t>(5, choices.size());
    const int value = testsupport::buttonNumber(button);
    tap(button);
    settle();
    if (preset && hud()->getTemperatureLevel() != value)
        fail("the temperature preset " + std::to_string(value) + " did not take");
    if (!preset && value == 3 && world.weather == weatherBefore)
        fail("the weather switch did not switch the weather");
    if (!preset && value == 0 && world.temperatureField.isViewOn() == temperatureViewBefore)
        fail("the temperature switch did not switch the view");
    ++m_counts.settings;
}

void ScriptedPlayer::saveWorld()
{
    note("saveWorld");
    const std::string universe = kWorldNames[pick(static_cast<int>(std::size(kWorldNames)))];
    const std::vector<CCNode*> buttons = openMenu(GUI::kWorldMenu);
    // Name, description, upload (free play), save, load, new world.
    if (buttons.size() < 6) {
        fail("the world menu lacks its buttons");
        settle();
        return;
    }
    // The name as the keyboard's answer hands it over.
    hud()->onNameEntered(CCString::create(universe));
    tap(buttons[3]);
    GUIPopup* popup = shownPopup();
    const bool overwrite = popup && popup->getKind() == 0;
    if (overwrite)
        answerPopups(chance(25));
    popup = shownPopup();
    const std::string answer = popupText(popup);
    // A write the disk refused says why after these words.
    const std::string because = localized("WorldNotSavedBecause");
    const std::string notSaved = because.substr(0, because.find('#'));
    if (popup && answer == localized("WorldSavedPopup"))
        ++m_counts.saves;
    else if (popup && (answer.rfind(localized("WorldSaveFailedPopup"), 0) == 0 || answer.rfind(notSaved, 0) == 0))
        fail("saving \"" + universe + "\" failed: " + answer);
    else if (!overwrite)
        fail("saving \"" + universe + "\" showed no outcome");
    settle();
}

void ScriptedPlayer::openSavedWorlds(bool remove)
{
    note(remove ? "deleteWorld" : "loadWorld");
    const std::vector<CCNode*> buttons = openMenu(GUI::kWorldMenu);
    if (buttons.size() < 6) {
        settle();
        return;
    }
    tap(buttons[4]);
    frames(30);
    GUISaveLoad* screen = savedWorldsScreen();
    if (!screen) {
        fail("the load button did not open the saved-worlds screen");
        settle();
        return;
    }
    if (chance(30))
        screen->showUserWorlds();
    const int rows = screen->getRowCount();
    if (rows == 0) {
        settle();
        return;
    }
    // Now and then scroll the list first, as a thumb does.
    SlidingLayer* list = screen->getSlidingLayer();
    const CCRect viewport(list->getOrigin().x, list->getOrigin().y, list->getContentSize().width,
                          list->getContentSize().height);
    if (chance(30)) {
        CCPoint at = ccp(viewport.getMidX(), viewport.getMinY() + 10);
        press(at);
        for (int i = 0; i < 5; ++i) {
            at.y += static_cast<float>(pick(40));
            moveTo(at);
            frames(1);
        }
        release(at);
        frames(90);
    }
    // A row is tapped where it shows: inside the list's viewport.
    std::vector<CCPoint> visibleRows;
    for (int row = 0; row < rows; ++row) {
        auto* item = static_cast<CCNode*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(row)));
        const CCPoint at =
            item->getParent()->convertToWorldSpace(ccp(item->getPosition().x + 40, item->getPosition().y - 20));
        if (viewport.containsPoint(at))
            visibleRows.push_back(at);
    }
    if (visibleRows.empty()) {
        settle();
        return;
    }
    tapAt(visibleRows[static_cast<size_t>(pick(static_cast<int>(visibleRows.size())))]);
    CCString* selected = screen->selectedWorldName();
    if (!selected) {
        fail("tapping a saved world's row did not select it");
        settle();
        return;
    }
    const std::string cloudName = selected->getString();
    if (remove) {
        tap(screen->getDeleteButton());
        answerPopups();
        if (platform::CloudStorage::fileExists(cloudName))
            fail("deleting " + cloudName + " left the file");
        else
            ++m_counts.deletes;
        settle();
        return;
    }
    const bool unsaved = layer()->getWorld().unsavedChanges;
    tap(screen->getLoadButton());
    frames(30);
    if (unsaved) {
        // It asks before the changes are lost; now and then the player keeps them.
        if (!shownPopup())
            fail("loading over unsaved changes did not ask first");
        const bool keep = chance(20);
        answerPopups(keep);
        frames(30);
        if (keep) {
            if (!layer()->getWorld().unsavedChanges)
                fail("keeping the changes lost them");
            settle();
            return;
        }
    }
    CCString* loaded = layer()->getLoadedWorldName();
    if (!loaded || loaded->getString() != GUISaveLoad::worldNameOf(cloudName))
        fail("loading " + cloudName + " did not load it");
    else
        ++m_counts.loads;
    settle();
}

void ScriptedPlayer::newWorld()
{
    note("newWorld");
    const std::vector<CCNode*> buttons = openMenu(GUI::kWorldMenu);
    if (buttons.size() < 6) {
        settle();
        return;
    }
    tap(buttons[5]);
    // A world with unsaved changes asks first: the player goes on.
    answerPopups();
    ++m_counts.resets;
    settle();
}

void ScriptedPlayer::startAfresh()
{
    newWorld();
    frames(4);
    if (layer()->getWorld().particleCount() > 0 && m_fault.empty()) {
        // Weather may have begun a drop or two; no more than that.
        if (layer()->getWorld().particleCount() > 200)
            fail("a new world is not empty after four frames");
    }
}

void ScriptedPlayer::checkWorld()
{
    const World& world = layer()->getWorld();
    if (world.particleCount() + world.freeTop() != World::kMaxParticles)
        fail("the particle pool lost count");
    for (int id = 0; id < World::kMaxParticles; ++id) {
        const Particle* p = world.pool()[id];
        if (!p)
            continue;
        if (p->id != id || !world.inWorld(p->x, p->y) || world.grid[p->x][p->y] != p) {
            fail("particle " + std::to_string(id) + " is not where the grid has it");
            return;
        }
    }
}

}  // namespace soak
