#include "screens/CampaignSelection.h"

#include <string>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "campaigns/Campaigns.h"
#include "goals/AchievementManager.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "profile/Profile.h"
#include "gui/GUIPopup.h"
#include "gui/ScreenUtils.h"
#include "screens/LevelSelection.h"

USING_NS_CC;

namespace {

// Two rows of five tiles, 96 apart, about the screen's centre (224, 176).
CCPoint tilePoint(int mode)
{
    const int index = mode - CampaignSelection::kFirstMode;
    return scaledPoint(32.0f + 96.0f * static_cast<float>(index % 5), index < 5 ? 200.0f : 128.0f);
}

bool validMode(int mode)
{
    return mode >= CampaignSelection::kFirstMode && mode <= CampaignSelection::kLastMode;
}

// A campaign whose goals are built but whose level worlds are not yet stays
// closed: its levels would play in whatever world was there.
bool levelsBuilt(int mode)
{
    return cocos2d::CCFileUtils::sharedFileUtils()->isFileExist("universes/Missions/" +
                                                                AchievementManager::dayName(mode, 1));
}

}  // namespace

CampaignSelection::State CampaignSelection::stateOf(int mode)
{
    State state;
    if (!validMode(mode))
        return state;
    Profile* profile = Profile::getInstance();
    state.open = campaignOfMode(mode) && levelsBuilt(mode) && profile->isCampaignUnlocked(mode);
    state.finished = profile->getCompletionFlag(completionIndexForMode(mode)) == 1;
    return state;
}

CCString* CampaignSelection::lockedText(int mode)
{
    auto name = [](int opener) {
        return opener == 0 ? LocalUtils::localize("CampaignLockedStory")
                           : LocalUtils::localize(("CampaignTitle" + std::to_string(opener)).c_str());
    };
    const std::vector<int> openers = campaignOpeners(mode);
    if (openers.size() == 1)
        return LocalUtils::localizeCCStringWithVar(CCString::create("CampaignLockedOne"), name(openers[0]));
    if (openers.size() >= 2)
        return LocalUtils::localizeWithVars(CCString::create("CampaignLockedEither"), name(openers[0]),
                                            name(openers[1]));
    return LocalUtils::localize("CampaignLockedSoon");
}

CampaignSelection* CampaignSelection::create()
{
    auto* screen = new CampaignSelection();
    screen->init();
    screen->autorelease();
    return screen;
}

CCScene* CampaignSelection::scene()
{
    return selectionScene(create());
}

bool CampaignSelection::init()
{
    if (!initScreen("campaignselection", LocalUtils::localize("CampaignSelectionTitle")))
        return false;
    useFont();
    for (int mode = kFirstMode; mode <= kLastMode; ++mode) {
        const State state = stateOf(mode);
        const char* frame = !state.open ? "campaignselection_tileLocked.png"
            : state.finished            ? "campaignselection_tileFinished.png"
                                        : "campaignselection_tileOpen.png";
        GUIButton* tile =
            addButton(callfuncO_selector(CampaignSelection::onTile), CCInteger::create(mode), frame, tilePoint(mode));
        if (!tile)
            continue;
        m_tiles[mode - 1] = tile;
        const std::string key = "CampaignTitle" + std::to_string(mode);
        addCaption(tile, LocalUtils::localize(key.c_str()), state.open ? ccc3(255, 255, 255) : ccc3(200, 200, 206));
        // Badges on the tile's top right corner.
        const CCSize box = tile->getContentSize();
        auto badge = [&](const char* name) {
            CCSprite* sprite = CCSprite::createWithSpriteFrameName(name);
            if (sprite) {
                sprite->setAnchorPoint(ccp(1, 1));
                sprite->setScale(1.5f);
                sprite->setPosition(ccp(box.width - 2, box.height - 2));
                tile->addChild(sprite);
            }
            return sprite;
        };
        if (!state.open)
            m_locks[mode - 1] = badge("campaignselection_lock.png");
        if (state.finished)
            m_ticks[mode - 1] = badge("campaignselection_tick.png");
    }
    return true;
}

GUIButton* CampaignSelection::tileOf(int mode) const
{
    return validMode(mode) ? m_tiles[mode - 1] : nullptr;
}

CCSprite* CampaignSelection::lockOf(int mode) const
{
    return validMode(mode) ? m_locks[mode - 1] : nullptr;
}

CCSprite* CampaignSelection::tickOf(int mode) const
{
    return validMode(mode) ? m_ticks[mode - 1] : nullptr;
}

void CampaignSelection::onTile(CCObject* mode)
{
    if (auto* number = dynamic_cast<CCInteger*>(mode))
        openCampaign(number->getValue());
}

void CampaignSelection::openCampaign(int mode)
{
    if (isLeaving())
        return;
    if (!stateOf(mode).open) {
        LOG << "campaign selection: campaign" << mode << "is closed";
        ScreenUtils::showPopup(lockedText(mode), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
        return;
    }
    setLeaving();
    LOG << "campaign selection: campaign" << mode;
    CCDirector::sharedDirector()->replaceScene(LevelSelection::scene(mode));
}

void CampaignSelection::leave()
{
    CCDirector::sharedDirector()->popScene();
}
