#pragma once
// GameGoalsUi: the game's GoalsUi: the real top bar, HUD, game layer and
// message pages. The bar is asked for only once a game layer exists, so that
// a silent replay before the game scene makes no window. installGameHost
// puts it in.
#include "goals/GoalsUi.h"

class GameGoalsUi : public GoalsUi {
public:
    void showNotification(const std::string& text, const std::string& icon) override;
    void playLilGodAnimation() override;
    void updateDayButton() override;

    void unlock(DayItem kind, const std::string& name) override;
    bool loadDaySettings(const std::string& worldName) override;

    void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                        cocos2d::CCArray* mana) override;
    bool loadWorld(NSData* blob) override;
    std::string loadedWorldName() override;
    void setLoadedWorldName(const std::string& name) override;
    bool overviewUsed() override;
    void setOverviewUsed(bool used) override;
    void setStoryLevel2Flag() override;

    void showStoryReminder(int day) override;
    void showFreeModeMessage() override;
    void showOutro() override;
};
