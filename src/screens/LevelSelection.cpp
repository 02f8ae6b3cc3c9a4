#include "screens/LevelSelection.h"

#include <algorithm>
#include <string>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "campaigns/Campaigns.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "profile/Profile.h"
#include "screens/CampaignSelection.h"
#include "screens/MainMenu.h"

USING_NS_CC;

namespace {

constexpr int kPerRow = 8;
constexpr float kStep = 50.0f;

// Rows of up to eight, each centred on the screen (224 across).
CCPoint levelPoint(int level, int count)
{
    const int index = level - 1;
    const int row = index / kPerRow;
    const int inRow = std::min(kPerRow, count - row * kPerRow);
    const float column = static_cast<float>(index % kPerRow) - static_cast<float>(inRow - 1) / 2.0f;
    return scaledPoint(224.0f + kStep * column, 196.0f - kStep * static_cast<float>(row));
}

}  // namespace

int LevelSelection::playableLevels(int mode)
{
    const Campaign* campaign = campaignOfMode(mode);
    if (!campaign || !CampaignSelection::stateOf(mode).open)
        return 0;
    // The best day is the level being played (never closed); after the
    // last level it is one past the campaign.
    const int best = Profile::getInstance()->getBestDay(mode);
    return std::clamp(best, 1, std::max(1, campaign->levelCount()));
}

LevelSelection* LevelSelection::create(int mode)
{
    auto* screen = new LevelSelection(mode);
    screen->initLevels();
    screen->autorelease();
    return screen;
}

CCScene* LevelSelection::scene(int mode)
{
    return selectionScene(create(mode));
}

bool LevelSelection::initLevels()
{
    const std::string key = "CampaignTitle" + std::to_string(m_mode);
    if (!initScreen("levelselection", LocalUtils::localize(key.c_str())))
        return false;
    useFont();
    GUILabel* hint = GUILabel::create();
    hint->setText(LocalUtils::localize("LevelSelectionTitle"));
    hint->setAnchorPoint(ccp(0.5f, 0.5f));
    hint->setScale(static_cast<float>(2 * screenRatio) * 10.0f / GUILabel::fontSize);
    hint->setPosition(scaledPoint(224, 248));
    addChild(hint, 1);

    const int count = playableLevels(m_mode);
    const int won = wonLevels(m_mode);
    const Campaign* campaign = campaignOfMode(m_mode);
    GUILabel* progress = GUILabel::create();
    progress->setText(LocalUtils::localizeWithVars(
        CCString::create(LocalUtils::countedKey("LevelSelectionProgressOne", "LevelSelectionProgress", won)),
        CCString::createWithFormat("%d", won),
        CCString::createWithFormat("%d", campaign ? campaign->levelCount() : 0)));
    progress->setAnchorPoint(ccp(0.5f, 0.5f));
    progress->setScale(static_cast<float>(2 * screenRatio) * 10.0f / GUILabel::fontSize);
    progress->setColor(ccc3(170, 220, 180));
    progress->setPosition(scaledPoint(224, 228));
    addChild(progress, 1);
    m_progressLabel = progress;

    for (int level = 1; level <= count; ++level) {
        // Won levels are green with a tick; the one to play next is gold.
        const char* frame = level <= won ? "levelselection_levelWon.png"
            : level == won + 1           ? "levelselection_levelNext.png"
                                         : "levelselection_level.png";
        GUIButton* button = addButton(callfuncO_selector(LevelSelection::onLevel), CCInteger::create(level), frame,
                                      levelPoint(level, count));
        if (!button)
            break;
        addCaption(button, CCString::createWithFormat("%d", level), ccc3(255, 255, 255));
        if (level <= won)
            if (CCSprite* tick = CCSprite::createWithSpriteFrameName("levelselection_tick.png")) {
                const CCSize box = button->getContentSize();
                tick->setAnchorPoint(ccp(1, 1));
                tick->setPosition(ccp(box.width - 2, box.height - 2));
                button->addChild(tick);
            }
        m_levels.push_back(button);
    }
    return true;
}

int LevelSelection::wonLevels(int mode)
{
    const Campaign* campaign = campaignOfMode(mode);
    if (!campaign || playableLevels(mode) == 0)
        return 0;
    // Every level below the best day was closed on its board.
    return std::clamp(Profile::getInstance()->getBestDay(mode) - 1, 0, campaign->levelCount());
}

GUIButton* LevelSelection::levelButton(int level) const
{
    return level >= 1 && level <= levelCount() ? m_levels[static_cast<size_t>(level - 1)] : nullptr;
}

void LevelSelection::onLevel(CCObject* level)
{
    if (auto* number = dynamic_cast<CCInteger*>(level))
        startLevel(number->getValue());
}

void LevelSelection::startLevel(int level)
{
    if (isLeaving())
        return;
    if (level < 1 || level > playableLevels(m_mode)) {
        LOG << "level selection: level" << level << "of campaign" << m_mode << "is not offered";
        return;
    }
    setLeaving();
    LOG << "level selection: campaign" << m_mode << "level" << level;
    MainMenu::getInstance()->startCampaignLevel(m_mode, level);
}

void LevelSelection::leave()
{
    CCDirector::sharedDirector()->replaceScene(CampaignSelection::scene());
}
