#pragma once
// GUIAchievement: the goals window of the running day. It shows one of two
// boards: today's goals (each active mission's name and briefing, and the
// skip button while one is open) or the day-cleared board (what the day
// unlocked and the mana it gave, with the next-day button). The day-cleared
// board locks the top bar until it closes. The next-day button and the skip
// act once per board.
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;

class GUIAchievement : public GUIWindow {
public:
    enum Board { kNoBoard = 0, kDayCleared = 1, kTodayGoals = 2 };
    static constexpr int32_t kSkipPrice = 150;

    static GUIAchievement* create(cocos2d::CCSize size);

    // The board on show; none once the window is hidden.
    int getBoardKind() const { return m_board; }
    // Today's goals.
    void show();
    void showTodayGoals();
    // The day-cleared board; an absent or empty list shows no section.
    void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                        cocos2d::CCArray* mana);
    // The sections of the day-cleared board, in order ("elements",
    // "options", "backgrounds", "mana"), each with its lines: the elements'
    // titles, the options' and tools' names, the backgrounds' names and the
    // total mana.
    std::vector<std::string> buildGoalsList(cocos2d::CCArray* elements, cocos2d::CCArray* options,
                                            cocos2d::CCArray* backgrounds, cocos2d::CCArray* mana);
    const std::vector<std::string>& getLines() const { return m_lines; }
    // Slides out and unlocks the top bar.
    void hide();
    // The back key closes today's goals as the day button does; the cleared
    // board waits for its next button.
    void onBackPressed() override;
    // The board's next button: the level step sets up the next day, whose
    // world and settings load at once (no world step runs in between).
    void onNextDayButton();
    // The skip button: asks to confirm at its price, or answers that the
    // mana is short.
    void onSkipButton();
    // The confirmed skip: the price from the pending mana unless rewards are
    // off, every mission completed, then the day ends as the day button
    // would end it. A skip the mana cannot pay for is refused.
    void onSkipConfirmed();

    GUIButton* getNextButton() const { return m_nextButton; }
    GUIButton* getSkipButton() const { return m_skipButton; }

private:
    void present(int board);
    void addButton(GUIButton*& field, const char* frame, const char* captionKey, int which, float y);
    void onButton(cocos2d::CCObject* which);
    // The price can be paid from the mana and the pending mana together.
    static bool canPaySkip();

    int m_board = kNoBoard;
    bool m_acted = false;  // the next button or the skip ran on this board
    std::vector<std::string> m_lines;
    // The element each line shows the picture of ("" for none).
    std::vector<std::string> m_pictures;
    GUIButton* m_nextButton = nullptr;
    GUIButton* m_skipButton = nullptr;
};
