// The player's controls of the level runner: every choice goes through the
// top bar and the HUD's menus, every stroke through touches on the screen,
// so a level offers only what its palette, tools and the player's mana allow
// and only where a finger reaches.
#include <algorithm>
#include <map>
#include <set>

#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/Robots.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUISlider.h"
#include "hud/DeviceEditors.h"
#include "hud/GUIAchievement.h"
#include "hud/GUISaveLoad.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "profile/Profile.h"
#include "gui/BackButton.h"
#include "support/ButtonValues.h"
#include "world/ParticleCreator.h"
#include "world/Tool.h"

USING_NS_CC;

namespace storyplay {

namespace {

// Steps for a window to open or close and a delayed button to fire.
constexpr int kSettle = 8;
const char* const kToolNames[] = {"", "Draw", "Line", "Fill", "Replace", "Miner"};

// The button shows this caption (a label among its children).
bool captioned(GUIButton* button, const std::string& caption)
{
    if (!button || !button->getChildren())
        return false;
    for (CCObject* child : *button->getChildren())
        if (auto* label = dynamic_cast<GUILabel*>(child); label && label->getText())
            if (label->getText()->getString() == caption)
                return true;
    return false;
}

float topBarHeight()
{
    return 80.0f * static_cast<float>(screenRatio);
}

std::string toolName(const World& world)
{
    const int kind = world.currentTool ? world.currentTool->kind : 0;
    return kind >= 1 && kind <= 5 ? kToolNames[kind] : "";
}

}  // namespace

void StoryPlayer::tapButton(GUIButton* button, const std::string& what)
{
    ASSERT_NE(button, nullptr) << m_where << ": no button for " << what;
    const CCSize size = button->getContentSize();
    const CCPoint at = button->convertToWorldSpace(ccp(size.width / 2, size.height / 2));
    const CCSize screen = CCDirector::sharedDirector()->getWinSize();
    ASSERT_TRUE(button->isVisible() && at.x > 0 && at.y > 0 && at.x < screen.width && at.y < screen.height)
        << m_where << ": the button for " << what << " is not on the screen (at " << at.x << ", " << at.y << ")";
    click(button);
}

template <typename Wanted> GUIButton* StoryPlayer::menuButton(Wanted wanted)
{
    CCNode* content = layer->getGUI()->getMenuContent();
    if (!content || !content->getChildren())
        return nullptr;
    for (CCObject* child : *content->getChildren())
        if (auto* button = dynamic_cast<GUIButton*>(child); button && wanted(button))
            return button;
    return nullptr;
}

namespace {

GUIButton* barButtonOf(int menu)
{
    GUITopBar* bar = GUITopBar::getInstance();
    return menu == GUI::kElementMenu      ? bar->getElementMenuButton()
        : menu == GUI::kToolMenu          ? bar->getToolButton()
        : menu == GUI::kWorldSettingsMenu ? bar->getWorldSettingsButton()
        : menu == GUI::kWorldMenu         ? bar->getWorldMenuButton()
                                          : nullptr;
}

}  // namespace

bool StoryPlayer::openMenu(int menu)
{
    GUI* gui = layer->getGUI();
    if (gui->getOpenMenu() == menu && gui->getState() == GUIWindow::Open)
        return true;
    GUIButton* button = barButtonOf(menu);
    const CCString* element = gui->getCurrentElement();
    const bool erasing = element && element->getString() == "Clear";
    tapButton(button, "menu " + std::to_string(menu));
    // While erasing, the palette's button first brings the last element back.
    if (menu == GUI::kElementMenu && erasing && gui->getState() == GUIWindow::Closed)
        tapButton(button, "the palette");
    runUntil([&] { return gui->getState() == GUIWindow::Open; }, 30);
    EXPECT_TRUE(gui->getOpenMenu() == menu && gui->getState() == GUIWindow::Open)
        << m_where << ": the top bar did not open menu " << menu << " (" << screenState() << ")";
    return !::testing::Test::HasFailure() && gui->getOpenMenu() == menu && gui->getState() == GUIWindow::Open;
}

void StoryPlayer::closeMenu()
{
    GUI* gui = layer->getGUI();
    if (gui->getState() == GUIWindow::Closed)
        return;
    // The bar's button of the open menu closes it, unless the choice did.
    if (gui->getState() != GUIWindow::Closing)
        tapButton(barButtonOf(gui->getOpenMenu()), "closing the menu (" + screenState() + ")");
    runUntil([&] { return gui->getState() == GUIWindow::Closed; }, 30);
    ASSERT_EQ(gui->getState(), GUIWindow::Closed) << m_where << ": the menu stays open";
}

void StoryPlayer::pickElement(const std::string& name)
{
    GUI* gui = layer->getGUI();
    if (CCString* current = gui->getCurrentElement(); current && current->getString() == name)
        return;
    if (!openMenu(GUI::kElementMenu))
        return;
    const int family = static_cast<int>(paletteFamilyOf(name));
    if (gui->getPaletteFamily() != family)
        tapButton(menuButton([&](GUIButton* b) {
                      return testsupport::buttonName(b).empty() && testsupport::buttonNumber(b) == family;
                  }),
                  "the palette's tab of " + name);
    GUIButton* entry = menuButton([&](GUIButton* b) { return testsupport::buttonName(b) == name; });
    ASSERT_NE(entry, nullptr) << m_where << ": the palette has no " << name;
    // A withheld entry shows its lock; a touch on it only says why.
    bool locked = false;
    for (CCObject* child : *entry->getChildren())
        locked = locked || GUITopBar::frameOf(static_cast<CCNode*>(child)) == "gamemenus_paletteLock.png";
    ASSERT_FALSE(locked) << m_where << ": the level does not offer " << name;
    const int32_t price = gui->priceToPay(name);
    const int32_t mana = Profile::getInstance()->getMana();
    tapButton(entry, name);
    if (price > 0) {
        ASSERT_GE(mana, price) << m_where << ": " << name << " costs " << price << " mana, the player has " << mana;
        GUIPopup* popup = GUIPopup::getInstance();
        ASSERT_TRUE(runUntil([&] { return popup->isShown() && popup->getOkButton() && popup->takesPresses(); }, 30))
            << m_where << ": no purchase question for " << name;
        tapButton(popup->getOkButton(), "buying " + name);
        run(kSettle);
    }
    runUntil([&] { return gui->getState() == GUIWindow::Closed; }, 30);
    CCString* current = gui->getCurrentElement();
    ASSERT_TRUE(current && current->getString() == name) << m_where << ": the palette did not choose " << name;
}

void StoryPlayer::pickTool(const std::string& name)
{
    if (toolName(*world) == name)
        return;
    if (!openMenu(GUI::kToolMenu))
        return;
    GUIButton* button = menuButton([&](GUIButton* b) { return testsupport::buttonName(b) == name; });
    ASSERT_NE(button, nullptr) << m_where << ": the level does not offer the tool " << name;
    tapButton(button, "the tool " + name);
    runUntil([&] { return layer->getGUI()->getState() == GUIWindow::Closed; }, 30);
    ASSERT_EQ(toolName(*world), name) << m_where << ": the tool menu did not choose " << name;
}

void StoryPlayer::pickBrush(int size)
{
    GUI* gui = layer->getGUI();
    if (gui->getBrushSize() == size)
        return;
    if (!openMenu(GUI::kToolMenu))
        return;
    GUISlider* slider = gui->getBrushSlider();
    ASSERT_TRUE(slider && slider->getParent()) << m_where << ": the tool menu shows no brush slider";
    // Sizes 1..8 lie along the bar from 27 to 173 of its own units (1 left
    // of it), 9 past its end: a press in the middle of the size's stretch.
    const float along = size <= 1 ? 20.0f
        : size >= 9               ? 180.0f
                                  : 27.0f + (static_cast<float>(size) - 1.5f) * 146.0f / 7.0f;
    const CCPoint at = slider->convertToWorldSpace(ccp(along, slider->getContentSize().height / 2));
    press(at.x, at.y);
    run(1);
    release(at.x, at.y);
    run(2);
    ASSERT_EQ(gui->getBrushSize(), size) << m_where << ": the brush slider did not give size " << size;
    closeMenu();
}

void StoryPlayer::pickEraser()
{
    GUI* gui = layer->getGUI();
    if (CCString* current = gui->getCurrentElement(); current && current->getString() == "Clear")
        return;
    tapButton(GUITopBar::getInstance()->getEraserButton(), "the eraser");
    CCString* current = gui->getCurrentElement();
    ASSERT_TRUE(current && current->getString() == "Clear") << m_where << ": the level does not offer the eraser";
}

CCPoint StoryPlayer::cellOnScreen(int x, int y)
{
    const float side = static_cast<float>(pixelSize * pixelSize);
    const CCPoint at = layer->convertToWorldSpace(ccp((x + 0.5f) * side, (y + 0.5f) * side));
    const CCSize screen = CCDirector::sharedDirector()->getWinSize();
    const bool underBar = at.y > screen.height - topBarHeight();
    const bool underToggle = layer->getZoomedOut() && at.x < 90 && at.y < 90;
    EXPECT_TRUE(GameLayer::insideWorldView(at) && at.y > 0 && !underBar && !underToggle)
        << m_where << ": a player cannot touch the cell (" << x << ", " << y << "): it shows at (" << at.x << ", "
        << at.y << ")" << (underBar ? ", under the top bar" : "");
    return at;
}

void StoryPlayer::touchCell(int x, int y, int held)
{
    const CCPoint at = cellOnScreen(x, y);
    press(at.x, at.y);
    run(held);
    release(at.x, at.y);
    run(1);
}

void StoryPlayer::strokeCells(const std::vector<int32_t>& cells)
{
    const float side = static_cast<float>(pixelSize * pixelSize);
    CCPoint at = cellOnScreen(cells[0], cells[1]);
    press(at.x, at.y);
    run(2);
    for (size_t i = 2; i + 1 < cells.size(); i += 2) {
        const int x0 = cells[i - 2], y0 = cells[i - 1], x1 = cells[i], y1 = cells[i + 1];
        cellOnScreen(x1, y1);
        const int n = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
        for (int k = 1; k <= n; ++k) {
            const float x = x0 + (x1 - x0) * static_cast<float>(k) / n, y = y0 + (y1 - y0) * static_cast<float>(k) / n;
            at = layer->convertToWorldSpace(ccp((x + 0.5f) * side, (y + 0.5f) * side));
            drag(at.x, at.y);
            run(1);
        }
    }
    release(at.x, at.y);
    run(1);
}

void StoryPlayer::paintRun(int x0, int x1, int y)
{
    CCPoint at = cellOnScreen(x0, y);
    // The stroke begins a moment after the press; the tool acts from then on.
    press(at.x, at.y);
    run(2);
    if (x1 != x0) {
        at = cellOnScreen(x1, y);
        drag(at.x, at.y);
        run(1);
    }
    release(at.x, at.y);
    run(1);
}

void StoryPlayer::paintPicture(const levelscript::Action& a)
{
    // Each element's runs: row by row from the bottom, left to right.
    struct Run {
        int y, x0, x1;
    };
    std::vector<std::string> order;
    std::map<std::string, std::vector<Run>> runs;
    auto add = [&](const std::string& element, int y, int x0, int x1) {
        if (!runs.count(element))
            order.push_back(element);
        runs[element].push_back({y, x0, x1});
    };
    if (a.kind == levelscript::ActionKind::Rect) {
        for (int y = std::min(a.at[1], a.at[3]); y <= std::max(a.at[1], a.at[3]); ++y)
            add(a.element, y, std::min(a.at[0], a.at[2]), std::max(a.at[0], a.at[2]));
    } else {
        for (size_t row = a.rows.size(); row-- > 0;) {
            const std::string& text = a.rows[row];
            const int y = a.at[1] - static_cast<int>(row);
            for (size_t i = 0; i < text.size();) {
                const auto found = a.legend.find(text[i]);
                size_t end = i + 1;
                while (end < text.size() && text[end] == text[i])
                    ++end;
                if (found != a.legend.end())
                    add(found->second, y, a.at[0] + static_cast<int>(i), a.at[0] + static_cast<int>(end) - 1);
                i = end;
            }
        }
        // What is rubbed out goes first.
        std::stable_partition(order.begin(), order.end(), [](const std::string& e) { return e.empty(); });
    }
    for (const std::string& element : order) {
        pickTool("Draw");
        if (element.empty())
            pickEraser();
        else
            pickElement(element);
        pickBrush(1);
        if (::testing::Test::HasFatalFailure())
            return;
        for (const Run& r : runs[element])
            paintRun(r.x0, r.x1, r.y);
    }
}

void StoryPlayer::setSwitch(const std::string& name, bool on)
{
    static const char* const switches[] = {"Temperature", "Light", "Sun", "Weather"};
    const auto found = std::find(std::begin(switches), std::end(switches), name);
    ASSERT_NE(found, std::end(switches)) << m_where << ": the runner has no switch " << name;
    const int which = static_cast<int>(found - std::begin(switches));
    if (GUI::isSwitchOn(which) == on)
        return;
    if (!openMenu(GUI::kWorldSettingsMenu))
        return;
    tapButton(menuButton([&](GUIButton* b) { return b->getTag() == GUI::kSwitchTag + which; }),
              "the switch " + name + " (the level may not offer it)");
    closeMenu();
    EXPECT_EQ(GUI::isSwitchOn(which), on) << m_where << ": the switch " << name;
}

void StoryPlayer::setTemperature(const std::string& name)
{
    static const char* const presets[] = {"VeryCold", "Cold", "Normal", "Hot", "VeryHot"};
    const auto found = std::find(std::begin(presets), std::end(presets), name);
    ASSERT_NE(found, std::end(presets)) << m_where << ": no temperature " << name;
    const int level = static_cast<int>(found - std::begin(presets)) + 1;
    GUI* gui = layer->getGUI();
    if (gui->getTemperatureLevel() == level)
        return;
    if (!openMenu(GUI::kWorldSettingsMenu))
        return;
    // The switches carry numbers too, under their own tags.
    tapButton(menuButton([&](GUIButton* b) {
                  return testsupport::buttonNumber(b) == level &&
                      (b->getTag() < GUI::kSwitchTag || b->getTag() > GUI::kSwitchTag + 3);
              }),
              "the temperature " + name + " (the level may not offer it)");
    closeMenu();
    EXPECT_EQ(gui->getTemperatureLevel(), level) << m_where;
}

void StoryPlayer::tapWorldMenu(const char* captionKey)
{
    if (!openMenu(GUI::kWorldMenu))
        return;
    const std::string caption = LocalUtils::localize(captionKey)->getString();
    tapButton(menuButton([&](GUIButton* b) { return captioned(b, caption); }), caption);
}

void StoryPlayer::saveWorld(int day)
{
    tapWorldMenu("SaveUniverseNameBut");
    if (::testing::Test::HasFatalFailure())
        return;
    GUI* gui = layer->getGUI();
    // An unnamed world (after a reset) asks for its name first: typed.
    if (gui->isSavingAfterNaming()) {
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        ASSERT_TRUE(runUntil([&] { return keyboard->takesPresses(); }, 30)) << m_where << ": the keyboard";
        const std::string name = dayWorld(day, m_mode) + " saved";
        keyboard->insertText(name.c_str(), static_cast<int>(name.size()));
        tapButton(keyboard->getEnterKey(), "the keyboard's enter key");
        run(10);
    }
    // The overwrite question, then the outcome: both answered OK.
    GUIPopup* popup = GUIPopup::getInstance();
    for (int i = 0;
         i < 3 && runUntil([&] { return popup->isShown() && popup->getOkButton() && popup->takesPresses(); }, 30);
         ++i) {
        tapButton(popup->getOkButton(), "the save's question");
        run(kSettle);
    }
    closeMenu();
    CCString* universe = layer->getUniverseName();
    m_lastSaved = universe ? universe->getString() : std::string();
    EXPECT_EQ(world->eventFlags[World::kEventWorldSaved], 1) << m_where << ": the save did not happen";
}

void StoryPlayer::pressBack()
{
    // As the keypad hands the key to the game (the application registers
    // the adapter; the headless game has no application).
    BackButtonAdapter::getInstance()->keyBackClicked();
}

void StoryPlayer::loadLastSaved()
{
    ASSERT_FALSE(m_lastSaved.empty()) << m_where << ": load before any save";
    tapWorldMenu("LoadName");
    if (::testing::Test::HasFatalFailure())
        return;
    GUISaveLoad* screen = nullptr;
    const bool shown = runUntil(
        [&] {
            CCScene* running = CCDirector::sharedDirector()->getRunningScene();
            if (!running || !running->getChildren())
                return false;
            for (CCObject* child : *running->getChildren())
                if ((screen = dynamic_cast<GUISaveLoad*>(child)))
                    return true;
            return false;
        },
        60);
    ASSERT_TRUE(shown) << m_where << ": the saved worlds did not show";
    run(10);
    std::string file;
    ASSERT_TRUE(SaveLoadUtils::worldFileName(m_lastSaved, file));
    std::string wanted = file;
    std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool selected = false;
    CCArray* rows = screen->getRows();
    for (unsigned i = 0; rows && i < rows->count() && !selected; ++i) {
        auto* row = dynamic_cast<CCNode*>(rows->objectAtIndex(i));
        if (!row)
            continue;
        click(row, 2);
        CCString* name = screen->selectedWorldName();
        selected = name && GUISaveLoad::worldNameOf(name->getString()) == wanted;
    }
    ASSERT_TRUE(selected) << m_where << ": no row of the saved worlds is " << m_lastSaved;
    click(screen->getLoadButton());
    ASSERT_TRUE(runUntil([&] { return layer->getParent() == CCDirector::sharedDirector()->getRunningScene(); }, 60))
        << m_where << ": the game did not come back after the load";
    run(5);
    // Back in the game scene, a story day opens today's goals: closed again.
    GUIAchievement* goals = layer->getAchievementWindow();
    if (goals && goals->getBoardKind() == GUIAchievement::kTodayGoals) {
        click(GUITopBar::getInstance()->getDayButton());
        ASSERT_TRUE(runUntil([&] { return goals->getState() == GUIWindow::Closed; }, 60))
            << m_where << ": today's goals stay open after the load";
    }
}

void StoryPlayer::magnifyAt(float x, float y)
{
    tapButton(GUITopBar::getInstance()->getZoomButton(), "the zoom");
    press(x, y);
    run(1);
    release(x, y);
    run(10);
}

// The way a player tunes one: the view magnified on the cell, a long press
// there opens the instrument's editor, the note and octave picked, the editor
// left with the back key and the view as it was.
void StoryPlayer::tuneInstrument(const levelscript::Action& a)
{
    const float side = static_cast<float>(pixelSize * pixelSize);
    auto screen = [&] { return layer->convertToWorldSpace(ccp((a.at[0] + 0.5f) * side, (a.at[1] + 0.5f) * side)); };
    const bool wasMagnified = layer->getZoomedOut();
    if (!wasMagnified)
        magnifyAt(screen().x, screen().y);
    touchCell(a.at[0], a.at[1], 30);  // past the 0.8 s of a long press
    run(1);
    Particle* p = world->at(a.at[0], a.at[1]);
    auto* editor = p ? dynamic_cast<InstrumentEditor*>(p->editor) : nullptr;
    ASSERT_NE(editor, nullptr) << m_where << ": the long press opened no instrument editor";
    tapButton(editor->noteButton(levelscript::noteIndex(a.name)), "the note " + a.name);
    tapButton(editor->octaveButton(a.count), "the octave " + std::to_string(a.count));
    pressBack();
    run(10);
    if (!wasMagnified) {
        tapButton(GUITopBar::getInstance()->getZoomButton(), "the zoom");
        run(10);
    }
}

// A player's long press on an instrument: it sounds and its editor opens,
// which the back key leaves. The view is magnified on the cell unless it
// already shows the cell magnified, and stays so for the next notes.
void StoryPlayer::playInstrument(int x, int y)
{
    const float side = static_cast<float>(pixelSize * pixelSize);
    auto screen = [&] { return layer->convertToWorldSpace(ccp((x + 0.5f) * side, (y + 0.5f) * side)); };
    const CCSize view = CCDirector::sharedDirector()->getWinSize();
    auto shown = [&] {
        const CCPoint at = screen();
        return at.x >= 0 && at.y >= 0 && at.x < view.width && at.y < view.height;
    };
    if (layer->getZoomedOut() && !shown()) {
        tapButton(GUITopBar::getInstance()->getZoomButton(), "the zoom");
        run(10);
    }
    if (!layer->getZoomedOut())
        magnifyAt(screen().x, screen().y);
    ASSERT_TRUE(layer->getZoomedOut() && shown())
        << m_where << ": (" << x << ", " << y << ") is not in the magnified view (at " << screen().x << ", "
        << screen().y << ", magnified " << layer->getZoomedOut() << ")";
    touchCell(x, y, 26);  // past the 0.8 s of a long press
    Particle* p = world->at(x, y);
    auto* editor = p ? dynamic_cast<InstrumentEditor*>(p->editor) : nullptr;
    ASSERT_NE(editor, nullptr) << m_where << ": the long press at (" << x << ", " << y << ") opened no editor";
    pressBack();
    run(2);
}

// As a player does it: the leader drawn on the cell, and once its body
// stands, the job's dust sprinkled beside it until the creature takes it.
void StoryPlayer::placeCreature(const levelscript::Action& a)
{
    const bool robot = a.kind == levelscript::ActionKind::Robot;
    const uint32_t kind = hashString(robot ? "RobotLeader" : "HumanLeader");
    auto leaders = [&] {
        std::set<Particle*> found;
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                if (Particle* p = world->grid[x][y]; p && p->getType() == kind)
                    found.insert(p);
        return found;
    };
    const std::set<Particle*> before = leaders();
    pickTool("Draw");
    pickElement(robot ? "RobotLeader" : "HumanLeader");
    pickBrush(1);
    if (::testing::Test::HasFatalFailure())
        return;
    touchCell(a.at[0], a.at[1]);
    HumanLeader* placed = nullptr;
    const bool whole = runUntil(
        [&] {
            for (Particle* p : leaders())
                if (!before.count(p)) {
                    placed = static_cast<HumanLeader*>(p);
                    return placed->hasWholeBody();
                }
            return false;
        },
        60);
    ASSERT_TRUE(whole) << m_where << ": no whole " << (robot ? "robot" : "human") << " stands at (" << a.at[0] << ", "
                       << a.at[1] << ")";
    const std::string dust = levelscript::dustOf(a.name, robot);
    if (dust.empty())
        return;
    pickElement(dust);
    auto hasJob = [&] {
        return leaders().count(placed) && (robot ? static_cast<RobotLeader*>(placed)->role : placed->job) == a.name;
    };
    // The dust falls past the body while the creature feels for it one row
    // a step: a wide sprinkle beside the head, again when it has landed.
    pickBrush(3);
    for (int tries = 0; tries < 5 && !hasJob() && !::testing::Test::HasFatalFailure(); ++tries) {
        if (!leaders().count(placed))
            break;
        touchCell(placed->x + 2, placed->y + 5);
        runUntil(hasJob, 30);
    }
    ASSERT_TRUE(hasJob()) << m_where << ": the " << (robot ? "robot" : "human") << " did not take " << dust;
}

}  // namespace storyplay
