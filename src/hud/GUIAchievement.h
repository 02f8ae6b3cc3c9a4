#pragma once
// GUIAchievement: the goals window of the running day, a panel over the
// world. It shows one of two boards: today's goals (a title naming the day or
// the campaign and level, each mission's name and briefing with a mark for
// the done ones, the hints button when the level has hints, the skip button
// while a mission is open, and a close button; a touch beside the panel
// closes it as the day button does) or the day-cleared board (a heading, what
// the day unlocked and the mana it gave in labelled sections, and the
// next-day button). The day-cleared board locks the top bar until it closes,
// and, like a box, takes no press that goes down before it has been on
// screen a moment (GUIWindow::takesPresses). The next-day button and the
// skip act once per board.
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;
class GUILabel;

class GUIAchievement : public GUIWindow {
public:
    enum Board { kNoBoard = 0, kDayCleared = 1, kTodayGoals = 2 };
    static constexpr int32_t kSkipPrice = 150;
    // A goal's room in the panel: its name at kNameSize on one line, its
    // briefing at kBriefingSize on up to kBriefingLines.
    static constexpr float kGoalRoom = 186.0f;
    static constexpr float kNameSize = 9.0f;
    static constexpr float kBriefingSize = 8.0f;
    static constexpr int kBriefingLines = 3;
    // The goal's texts fit their room.
    static bool goalFits(cocos2d::CCString* name, cocos2d::CCString* briefing);

    static GUIAchievement* create(cocos2d::CCSize size);

    // The board on show; none once the window is hidden.
    int getBoardKind() const { return m_board; }
    // Today's goals.
    void show();
    void showTodayGoals();
    // The day-cleared board; an absent or empty list shows no section.
    void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                        cocos2d::CCArray* mana);
    // The sections of the day-cleared board, in order (elements, options,
    // backgrounds, mana), each its localised heading and then its lines: the
    // elements' titles, the options' and tools' names, the backgrounds' names
    // and the total mana.
    std::vector<std::string> buildGoalsList(cocos2d::CCArray* elements, cocos2d::CCArray* options,
                                            cocos2d::CCArray* backgrounds, cocos2d::CCArray* mana);
    // What the board on show says, its title first.
    const std::vector<std::string>& getLines() const { return m_lines; }
    // Slides out and unlocks the top bar.
    void hide();
    // The back key closes today's goals as the day button does; the cleared
    // board waits for its next button.
    void onBackPressed() override;
    void onTouchOutside() override;
    // The board's next button: the level step sets up the next day, whose
    // world and settings load at once (no world step runs in between); the
    // board turns into the new day's goals, unless a message page came up
    // with it (today's goals follow that page).
    void onNextDayButton();
    // The skip button: asks to confirm at its price, or answers that the
    // mana is short.
    void onSkipButton();
    // The confirmed skip: the price from the pending mana unless rewards are
    // off, every mission completed, then the day ends as the day button
    // would end it. A skip the mana cannot pay for is refused.
    void onSkipConfirmed();
    // The hints of the level, in the hints popup over this window.
    void onHintButton();

    GUIButton* getNextButton() const { return m_nextButton; }
    GUIButton* getSkipButton() const { return m_skipButton; }
    GUIButton* getHintButton() const { return m_hintButton; }
    GUIButton* getCloseButton() const { return m_closeButton; }
    GUILabel* getTitleLabel() const { return m_titleLabel; }
    cocos2d::CCSprite* getPanel() const { return m_panel; }

private:
    void present(int board);
    void addTitle(const std::string& text);
    void addGoal(const std::string& name, const std::string& briefing, bool done, float& top);
    void addBoardSections(float& top);
    GUIButton* addButton(const char* frame, const char* captionKey, int which, const cocos2d::CCPoint& at,
                         const cocos2d::CCPoint& anchor);
    void onButton(cocos2d::CCObject* which);
    // The price can be paid from the mana and the pending mana together.
    static bool canPaySkip();

    int m_board = kNoBoard;
    bool m_acted = false;  // the next button or the skip ran on this board
    std::vector<std::string> m_lines;
    // A section of the day-cleared board: its heading and what it lists as
    // shown (elements' titles with their names for the pictures, names, or
    // the mana's total).
    struct Section {
        enum Kind { Elements, Names, Mana } kind;
        std::string heading;
        std::vector<std::string> shown;
        std::vector<std::string> elements;
    };
    static std::vector<Section> sectionsOf(cocos2d::CCArray* elements, cocos2d::CCArray* options,
                                           cocos2d::CCArray* backgrounds, cocos2d::CCArray* mana);
    std::vector<Section> m_sections;
    cocos2d::CCSprite* m_panel = nullptr;
    GUILabel* m_titleLabel = nullptr;
    GUIButton* m_nextButton = nullptr;
    GUIButton* m_skipButton = nullptr;
    GUIButton* m_hintButton = nullptr;
    GUIButton* m_closeButton = nullptr;
};
