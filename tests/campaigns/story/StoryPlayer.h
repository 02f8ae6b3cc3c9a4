#pragma once
// The story played on the headless game as a player plays it: the menu's
// story button, the real HUD, top bar, goals window and message pages, and
// each day's level script (assets/levels/Day<N>.level) acted out through
// them. The game clock moves one second per 30 world steps, so reward delays
// pass as they would. A failure names the day, the script line and the
// missions still open.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"

#include "support/GameSceneFixture.h"
#include "LevelScript.h"

class GUIButton;

namespace storyplay {

constexpr int kLastPlayableDay = 30;
// Three minutes of game time: no level is won by leaving it alone that long.
constexpr int kUntouchedSteps = 5400;
// Two seconds: what a level builds to stand has fallen by then if it falls.
constexpr int kStandingSteps = 60;

// The world of a day: "Day<N>" in the story (mode 0), else "Day<mode>_<N>".
std::string dayWorld(int day, int mode = 0);
// assets/levels/<world>.level in the source tree.
std::string levelPath(int day, int mode = 0);
// Empty when the level script and its prepared world and settings (in
// ENGINE_RESOURCES) are there, else what is missing.
std::string missingDay(int day, int mode = 0);
// The seed for everything random in a playthrough: TESMORA_PLAY_SEED, else
// a fixed one.
uint32_t playSeed();

// The board a day's level step shows when the day is cleared.
struct Board {
    std::vector<const char*> elements;
    std::vector<const char*> options;
    std::vector<const char*> backgrounds;
    bool noElements = false, noOptions = false, noBackgrounds = false;  // absent lists
};
// The missions a day's opening step creates, in order.
const std::vector<const char*>& missionsOfDay(int day);
// Step "CheckLv<day + 1>" (day 30: "CheckLvFinal").
const Board& boardAfterDay(int day);
std::string stepAfterDay(int day);

class StoryPlayer : public gametest::GameScene {
protected:
    void SetUp() override;
    void TearDown() override;

    // World steps with the clock following (one second per 30 steps).
    void run(int steps);
    // A player's click on a button (or a list's row): press, a step,
    // release, its delay.
    void click(cocos2d::CCNode* button, int after = 6);
    // The steps run until the condition holds, at most `limit`; false when
    // it never did.
    template <typename Condition> bool runUntil(Condition done, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (done())
                return true;
            run(1);
        }
        return done();
    }

    // The menu, then its story button; the game scene in. At day 1 the
    // introduction's five pages are pressed through and today's goals
    // closed; later days close the goals window the entry opens.
    void startStoryFromMenu();
    // A campaign's level started as its selection starts it: mode and day,
    // free play off, made elements forgotten, a small world and the
    // campaign bar, then the level's goals and world in one frame; today's
    // goals closed if they open. Later days of the fixture are that mode's.
    void startCampaignLevel(int mode, int level);
    // The day's missions made here, as its opening step makes them (the
    // level tests, which stand apart from the story's replay).
    void takeDayMissions(int day);
    // The day's level acted out from its start (its load checked first).
    // Adds the steps it used to `steps`.
    void playDay(int day, int& steps);
    // The goals window's board after the day, its next button, and the pages
    // the next day brings.
    void finishDay(int day);
    // The day's world left alone for that many steps, stopping at the first
    // step at which any of its missions passes. No LED or Bulb on a cell of
    // its missions' tables lights meanwhile, and, left from the day's start,
    // no grain of its ground and structures moves in the first two seconds.
    void leaveUntouched(int steps);

    // The world's name, the palette and the open missions as the HUD has them.
    std::string loadedWorld();
    std::string openMissionList();
    // The windows, the bar and the scene, for failure messages.
    std::string screenState();

    void act(int day, const levelscript::Action& action);

    // --- the player's controls (StoryPlayerControls.cpp) ---------------------------
    // Each goes through what a player has: the top bar's buttons, the HUD's
    // menus, touches on the world. A control the level does not offer, a
    // price the player cannot pay or a cell the player cannot reach fails,
    // naming `m_where` (the script line).
    // The HUD's menu opened by its top-bar button, shown and settled; false
    // (with a failure) when it did not open.
    bool openMenu(int menu);
    // The open menu closed again by its top-bar button.
    void closeMenu();
    // The first button of the open menu that passes `wanted`; null for none.
    template <typename Wanted> GUIButton* menuButton(Wanted wanted);
    // A button tapped where the screen shows it.
    void tapButton(GUIButton* button, const std::string& what);
    // The element picked from its family's page of the palette (bought with
    // mana when it is on sale), unless it is the current one already.
    void pickElement(const std::string& name);
    void pickTool(const std::string& name);
    // The tool menu's brush slider moved to that size.
    void pickBrush(int size);
    void pickEraser();
    // The screen point of a cell's centre, checked to be where a touch
    // reaches the world (not under the top bar, inside the view).
    cocos2d::CCPoint cellOnScreen(int x, int y);
    // A press on the cell held that many steps, with what is chosen.
    void touchCell(int x, int y, int held = 2);
    // A press on the first cell, moved one cell a step through the others, released.
    void strokeCells(const std::vector<int32_t>& cells);
    // One press per run of cells in a row, moved to its end in one go.
    void paintRun(int x0, int x1, int y);
    // A picture's cells (or a rectangle's), element by element, each row a run from the bottom up.
    void paintPicture(const levelscript::Action& a);
    // The world settings' switch (0 temperature view .. 3 weather) or preset.
    void setSwitch(const std::string& name, bool on);
    void setTemperature(const std::string& name);
    // The world menu's button with that caption key.
    void tapWorldMenu(const char* captionKey);
    void saveWorld(int day);
    // The back key, pressed and let go.
    void pressBack();
    // The note action: the instrument at the cell set to the note and octave.
    void tuneInstrument(const levelscript::Action& a);
    // A long press on the instrument at the cell, its editor left.
    void playInstrument(int x, int y);
    void loadLastSaved();
    // The zoom button, then a tap on the screen point (x, y) to magnify there.
    void magnifyAt(float x, float y);
    // The human or robot action: the leader placed, then its job's dust.
    void placeCreature(const levelscript::Action& a);

    std::string m_where;  // the script line acted out, for failures
    int m_mode = 0;       // the game mode whose days are played
    int64_t m_clockBase = 1000000;
    int64_t m_stepsRun = 0;
    int64_t m_dayStart = -1;  // m_stepsRun when the day's world came in
    std::string m_lastSaved;
    testsupport::TempDir m_cloud;
    std::string m_previousSaveFolder;
};

}  // namespace storyplay
