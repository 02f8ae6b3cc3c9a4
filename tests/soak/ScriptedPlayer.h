#pragma once
// A player made of random choices: it starts free play from the title
// screen and then taps, drags and picks through the game's own input, the
// way a person would, one action at a time. Every choice comes from the
// game's random function, so one seed replays one run.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cocos2d.h"

class GUI;
class GUISaveLoad;
class GameLayer;

namespace soak {

struct Counts {
    int64_t frames = 0;
    int64_t strokes = 0;
    int64_t saves = 0;
    int64_t loads = 0;
    int64_t deletes = 0;
    int64_t resets = 0;
    int64_t undos = 0;
    int64_t zooms = 0;
    int64_t pans = 0;
    int64_t settings = 0;
    int64_t brushSizes = 0;
};

class ScriptedPlayer {
public:
    // The title screen runs; false with the reason when free play does not start.
    bool start(std::string& error);
    // One action with the frames it takes.
    void act();
    // A new, empty world through the world menu, every window closed: the
    // state in which the soak compares memory.
    void startAfresh();
    // The first wrong state found ("" while all is well), and how many more.
    const std::string& fault() const { return m_fault; }
    int laterFaults() const { return m_laterFaults; }
    const Counts& counts() const { return m_counts; }
    int64_t worldSteps() const;
    // The steps of those that moved the world (no window shown, neither
    // paused nor zoomed out).
    int64_t worldStepsRun() const;
    // Bytes of the undo snapshot the world keeps (one saved world, by design).
    size_t undoSnapshotBytes() const;
    size_t elementsUsed() const { return m_elementsUsed.size(); }
    size_t elementsOffered() const { return m_elementsOffered.size(); }
    size_t toolsUsed() const { return m_toolsUsed.size(); }

private:
    void frames(int count);
    static int pick(int count);
    bool chance(int percent) { return pick(100) < percent; }
    void fail(const std::string& what);

    // Touches at GL points, and taps on the middle of a node.
    void press(cocos2d::CCPoint at, bool right = false);
    void moveTo(cocos2d::CCPoint at, bool right = false);
    void release(cocos2d::CCPoint at, bool right = false);
    bool tap(cocos2d::CCNode* node);
    void tapAt(cocos2d::CCPoint at);
    static cocos2d::CCPoint centreOf(cocos2d::CCNode* node);
    cocos2d::CCPoint pointInWorldView();

    GameLayer* layer() const;
    GUI* hud() const;
    // The HUD's menu of that number open, with its buttons; empty when it did not open.
    std::vector<cocos2d::CCNode*> openMenu(int menu);
    void closeHud();
    // Answers every popup on screen (OK unless `cancel`).
    void answerPopups(bool cancel = false);
    // Back to the bare game scene: popups answered, the HUD closed, the
    // saved-worlds screen left.
    void settle();
    GUISaveLoad* savedWorldsScreen() const;

    void stroke();
    void chooseElement();
    void pickElement(const std::string& wanted, bool declinePrice);
    void chooseTool();
    void chooseBrushSize();
    void undoOrRedo();
    void zoomOrPan();
    void worldSetting();
    void saveWorld();
    void openSavedWorlds(bool remove);
    void newWorld();
    void checkWorld();

    // The latest actions, oldest first, for the report of a fault.
    std::vector<std::string> m_recent;
    void note(const char* action);

    Counts m_counts;
    std::string m_fault;
    int m_laterFaults = 0;
    int m_framesToClockTick = 60;
    int m_touchId = 1;
    int64_t m_actions = 0;
    std::vector<std::string> m_elementDeck;
    std::vector<std::string> m_toolDeck;
    std::set<std::string> m_elementsUsed;
    std::set<std::string> m_elementsOffered;
    std::set<std::string> m_toolsUsed;
};

}  // namespace soak
