#include "hud/GUIAchievement.h"

#include <algorithm>
#include <climits>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUI.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "scene/ScreenUtils.h"

USING_NS_CC;

namespace {

const char* const kFont = "guitopbar_ach_fontButtons";
enum Button { kNext = 1, kSkip = 2 };

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

int32_t manaTotal(CCArray* mana)
{
    int64_t total = 0;
    if (!mana)
        return 0;
    for (CCObject* o : *mana) {
        if (auto* i = dynamic_cast<CCInteger*>(o))
            total += i->getValue();
        else if (auto* s = dynamic_cast<CCString*>(o))
            total += s->intValue();
    }
    return static_cast<int32_t>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

// One section: its title, then a line per name (its title as the board
// shows it) with the element whose picture goes beside it.
void addSection(std::vector<std::string>& lines, std::vector<std::string>& pictures, const char* title, CCArray* items,
                std::string (*titleOf)(const std::string&), bool pictured)
{
    if (!items || items->count() == 0)
        return;
    lines.emplace_back(title);
    pictures.emplace_back();
    for (CCObject* o : *items)
        if (auto* s = dynamic_cast<CCString*>(o)) {
            lines.push_back("  " + titleOf(s->getString()));
            pictures.push_back(pictured ? s->getString() : std::string());
        }
}

void buildBoard(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana,
                std::vector<std::string>& lines, std::vector<std::string>& pictures)
{
    lines.clear();
    pictures.clear();
    addSection(lines, pictures, "elements", elements, elementTitle, true);
    addSection(lines, pictures, "options", options, itemTitle, false);
    addSection(lines, pictures, "backgrounds", backgrounds, backgroundTitle, false);
    if (mana && mana->count() > 0) {
        lines.emplace_back("mana");
        lines.push_back("  " + std::to_string(manaTotal(mana)));
        pictures.resize(lines.size());
    }
}

GUI* hud()
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->getGUI() : nullptr;
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
    setPressedButton(nullptr);
    removeAllChildrenWithCleanup(true);
    m_nextButton = m_skipButton = nullptr;
    CCLayerColor* shade = CCLayerColor::create(ccc4(20, 30, 40, 220), screenSize.width, screenSize.height);
    addChild(shade);
    m_buttonContainer = CCNode::create();
    addChild(m_buttonContainer, 1);
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    frames->addSpriteFramesWithFile("pvr/guitopbar.plist");
    frames->addSpriteFramesWithFile("pvr/achgui.plist");
    GUILabel::setFontName(kFont);
    const float unit = static_cast<float>(screenRatio);
    float y = screenSize.height - 120.0f * unit;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        float x = 40;
        const std::string picture = i < m_pictures.size() ? m_pictures[i] : std::string();
        const std::string frame = "guitopbar_HUDelement_" + picture + ".png";
        if (!picture.empty() && frames->spriteFrameByName(frame.c_str())) {
            CCSprite* icon = CCSprite::createWithSpriteFrameName(frame.c_str());
            icon->setAnchorPoint(ccp(0, 1));
            icon->setScale(1.5f * unit);
            icon->setPosition(ccp(x + 16 * unit, y));
            addChild(icon);
            x += 24 * unit;
        }
        GUILabel* label = GUILabel::create();
        label->setScale(10.0f * 2.0f * unit / GUILabel::fontSize);
        label->setText(CCString::create(m_lines[i]));
        label->setAnchorPoint(ccp(0, 1));
        label->setPosition(ccp(x, y));
        addChild(label);
        y -= 28.0f * unit;
    }
    if (board == kDayCleared)
        addButton(m_nextButton, "achgui_btnNext.png", "GenericNextBut", kNext, 60 * unit);
    else if (board == kTodayGoals && AchievementManager::getInstance()->hasActiveGoals())
        addButton(m_skipButton, "achgui_btnSkip.png", "SkipLevelTitle", kSkip, 60 * unit);
    if (getState() != Open && getState() != Opening)
        toggle();
}

void GUIAchievement::addButton(GUIButton*& field, const char* frame, const char* captionKey, int which, float y)
{
    field =
        GUIButton::create(CCCallFuncO::create(WeakCallRelay::create(this, callfuncO_selector(GUIAchievement::onButton)),
                                              callfuncO_selector(WeakCallRelay::fire), CCInteger::create(which)),
                          frame, nullptr);
    if (!field)
        return;
    field->setScale(sheetScale());
    field->setAnchorPoint(ccp(0.5f, 0));
    field->setPosition(ccp(screenSize.width / 2, y));
    const CCSize size = field->getContentSize();
    GUILabel::setFontName(kFont);
    field->setText(LocalUtils::localize(captionKey), 10, ccp(size.width / 2, size.height / 2 + 0.5f), ccp(0.5f, 0.5f),
                   ccc3(255, 255, 255));
    m_buttonContainer->addChild(field);
}

void GUIAchievement::onButton(CCObject* which)
{
    auto* button = dynamic_cast<CCInteger*>(which);
    if (!button)
        return;
    if (button->getValue() == kNext)
        onNextDayButton();
    else if (button->getValue() == kSkip)
        onSkipButton();
}

void GUIAchievement::show()
{
    showTodayGoals();
}

void GUIAchievement::showTodayGoals()
{
    m_lines.clear();
    m_pictures.clear();
    std::string names;
    for (const auto& [name, briefing] : AchievementManager::getInstance()->activeMissions()) {
        m_lines.push_back(name);
        m_lines.push_back("  " + briefing);
        names += (names.empty() ? "" : "; ") + name;
    }
    // Unattended runs read what the player was asked to do from the log.
    LOG << "today's goals:" << (names.empty() ? std::string("none") : names);
    present(kTodayGoals);
}

std::vector<std::string> GUIAchievement::buildGoalsList(CCArray* elements, CCArray* options, CCArray* backgrounds,
                                                        CCArray* mana)
{
    std::vector<std::string> lines;
    std::vector<std::string> pictures;
    buildBoard(elements, options, backgrounds, mana, lines, pictures);
    return lines;
}

void GUIAchievement::showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    buildBoard(elements, options, backgrounds, mana, m_lines, m_pictures);
    GUITopBar::getInstance()->setLocked(true);
    present(kDayCleared);
}

void GUIAchievement::hide()
{
    m_board = kNoBoard;
    if (getState() == Open || getState() == Opening) {
        stopAllActions();
        m_state = Open;
        close();
    }
    // A message page that came up meanwhile (a reminder set up by the next
    // day) keeps the bar locked.
    GUIIngameMessage* message = GUIIngameMessage::existingInstance();
    GUITopBar::getInstance()->setLocked(message && message->holdsTopBarLocked());
}

void GUIAchievement::onBackPressed()
{
    if (m_board == kTodayGoals && getState() == Open)
        hide();
}

void GUIAchievement::onNextDayButton()
{
    if (m_acted || m_board != kDayCleared)
        return;
    m_acted = true;
    playSound("sfx_gui_next");
    AchievementManager* goals = AchievementManager::getInstance();
    const bool stepRuns = goals->hasCurrentStep();
    if (stepRuns)
        goals->levelEnd();
    hide();
    // Without a running step there is no next day to load: the board only
    // closes.
    if (!stepRuns)
        return;
    // The new day's world comes in this frame: no world step may test its
    // missions on the old one.
    Profile* profile = Profile::getInstance();
    goals->loadDay(profile->getDay());
    GUITopBar::getInstance()->updateDayButton();
    profile->setDayStarted(true);
}

bool GUIAchievement::canPaySkip()
{
    Profile* profile = Profile::getInstance();
    return static_cast<int64_t>(profile->getMana()) + profile->getPendingMana() >= kSkipPrice;
}

void GUIAchievement::onSkipButton()
{
    if (m_acted || m_board != kTodayGoals || !AchievementManager::getInstance()->hasActiveGoals())
        return;
    if (!Profile::getInstance()->isRewardsOff() && !canPaySkip()) {
        if (GUI* gui = hud())
            gui->showNotEnoughMana();
        return;
    }
    GUIPopup::getInstance()->setPurchaseInfo(LocalUtils::localize("SkipLevelTitle"),
                                             CCString::create("popups_mana.png"), static_cast<float>(kSkipPrice),
                                             LocalUtils::localize("SkipLevelDescription"));
    ScreenUtils::showPopup(nullptr, this, callfunc_selector(GUIAchievement::onSkipConfirmed), nullptr, nullptr,
                           GUIPopup::Purchase);
}

void GUIAchievement::onSkipConfirmed()
{
    AchievementManager* goals = AchievementManager::getInstance();
    if (m_acted || m_board != kTodayGoals || !goals->hasActiveGoals())
        return;
    Profile* profile = Profile::getInstance();
    const bool charged = !profile->isRewardsOff();
    // The mana may have gone since the question was asked.
    if (charged && !canPaySkip()) {
        if (GUI* gui = hud())
            gui->showNotEnoughMana();
        return;
    }
    m_acted = true;
    if (charged)
        profile->setPendingMana(profile->getPendingMana() - kSkipPrice);
    goals->completeAllMissions();
    // The day now ends as the day button ends it, on this window.
    m_board = kNoBoard;
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->openGoalsWindow();
    else
        showTodayGoals();
}
