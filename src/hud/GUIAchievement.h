#pragma once
// GUIAchievement: the goals window of the running day. It shows one of two
// boards: today's goals (each active mission's name and briefing) or the
// day-cleared board (what the day unlocked and the mana it gave, with the
// next-day button). The day-cleared board locks the top bar until it closes.
// The next-day button and the skip act once per board.
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIAchievement : public GUIWindow {
public:
    enum Board { kNoBoard = 0, kDayCleared = 1, kTodayGoals = 2 };
    static constexpr int32_t kSkipPrice = 150;

    static GUIAchievement* create(cocos2d::CCSize size);

    int getBoardKind() const { return m_board; }
    // Today's goals.
    void show();
    void showTodayGoals();
    // The day-cleared board; an absent or empty list shows no section.
    void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                        cocos2d::CCArray* mana);
    // The sections of the day-cleared board, in order ("elements",
    // "options", "backgrounds", "mana"), with their lines.
    std::vector<std::string> buildGoalsList(cocos2d::CCArray* elements, cocos2d::CCArray* options,
                                            cocos2d::CCArray* backgrounds, cocos2d::CCArray* mana);
    const std::vector<std::string>& getLines() const { return m_lines; }
    // Slides out and unlocks the top bar.
    void hide();
    void onNextDayButton();
    // The confirmed skip: 150 from the pending mana unless rewards are off,
    // every mission completed, the window shown again.
    void onSkipConfirmed();

private:
    void present(int board);

    int m_board = kNoBoard;
    bool m_acted = false;  // the next button or the skip ran on this board
    std::vector<std::string> m_lines;
};
