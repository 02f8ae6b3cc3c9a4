#include "hud/GUIAchievement.h"

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "scene/ScreenUtils.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "gui/GUILabel.h"
#include "hud/GUITopBar.h"

USING_NS_CC;

namespace {

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

int32_t manaTotal(CCArray* mana)
{
    int32_t total = 0;
    if (!mana)
        return 0;
    for (CCObject* o : *mana) {
        if (auto* i = dynamic_cast<CCInteger*>(o))
            total += i->getValue();
        else if (auto* s = dynamic_cast<CCString*>(o))
            total += s->intValue();
    }
    return total;
}

void addSection(std::vector<std::string>& lines, const char* title, CCArray* items)
{
    if (!items || items->count() == 0)
        return;
    lines.emplace_back(title);
    for (CCObject* o : *items)
        if (auto* s = dynamic_cast<CCString*>(o))
            lines.push_back("  " + s->getString());
}

}  // namespace

GUIAchievement* GUIAchievement::create(CCSize size)
{
    auto* window = new GUIAchievement();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

void GUIAchievement::present(int board)
{
    m_board = board;
    m_acted = false;
    removeAllChildrenWithCleanup(true);
    CCLayerColor* shade = CCLayerColor::create(ccc4(20, 30, 40, 220), screenSize.width, screenSize.height);
    addChild(shade);
    GUILabel::setFontName("guitopbar_ach_fontButtons");
    float y = screenSize.height - 120.0f * static_cast<float>(screenRatio);
    for (const std::string& line : m_lines) {
        GUILabel* label = GUILabel::create();
        label->setScale(static_cast<float>(10.0 * 2.0 * screenRatio) / GUILabel::fontSize);
        label->setText(CCString::create(line));
        label->setAnchorPoint(ccp(0, 1));
        label->setPosition(ccp(40, y));
        addChild(label);
        y -= 28.0f * static_cast<float>(screenRatio);
    }
    if (getState() == Closed)
        toggle();
}

void GUIAchievement::show()
{
    showTodayGoals();
}

void GUIAchievement::showTodayGoals()
{
    m_lines.clear();
    for (const auto& [name, briefing] : AchievementManager::getInstance()->activeMissions()) {
        m_lines.push_back(name);
        m_lines.push_back("  " + briefing);
    }
    present(kTodayGoals);
}

std::vector<std::string> GUIAchievement::buildGoalsList(CCArray* elements, CCArray* options, CCArray* backgrounds,
                                                        CCArray* mana)
{
    std::vector<std::string> lines;
    addSection(lines, "elements", elements);
    addSection(lines, "options", options);
    addSection(lines, "backgrounds", backgrounds);
    if (mana && mana->count() > 0) {
        lines.emplace_back("mana");
        lines.push_back("  " + std::to_string(manaTotal(mana)));
    }
    return lines;
}

void GUIAchievement::showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    m_lines = buildGoalsList(elements, options, backgrounds, mana);
    GUITopBar::getInstance()->setLocked(true);
    present(kDayCleared);
}

void GUIAchievement::hide()
{
    if (getState() == Open || getState() == Opening) {
        stopAllActions();
        m_state = Open;
        close();
    }
    GUITopBar::getInstance()->setLocked(false);
}

void GUIAchievement::onNextDayButton()
{
    if (m_acted)
        return;
    m_acted = true;
    playSound("sfx_gui_next");
    hide();
    // Without a running step there is no next day to load: the board only
    // closes.
    if (!AchievementManager::getInstance()->hasCurrentStep())
        return;
    static bool told = false;
    if (!told) {
        told = true;
        LOG << "not built yet: loading the next day (the goals framework)";
    }
}

void GUIAchievement::onSkipConfirmed()
{
    if (m_acted)
        return;
    m_acted = true;
    Profile* profile = Profile::getInstance();
    if (!profile->isRewardsOff())
        profile->setPendingMana(profile->getPendingMana() - kSkipPrice);
    AchievementManager::getInstance()->completeAllMissions();
    showTodayGoals();
    // The reopened board belongs to the skipped day: no second charge.
    m_acted = true;
}
