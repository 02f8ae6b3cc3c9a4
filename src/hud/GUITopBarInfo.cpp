// The top bar's notices: the notification panel and its queue, the count
// badges, the mana counter and the day button.
#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "world/WorldHost.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "hud/GUIAchievement.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "hud/GUITopBarParts.h"
#include "scene/GameLayer.h"

USING_NS_CC;
using namespace topbar;

namespace {

// Mana is a 32-bit count.
CCString* manaText()
{
    return CCString::createWithFormat("%d", Profile::getInstance()->getMana());
}

// Notices wait while the goals window shows either board, or a message page
// is up: both cover the place where they slide down.
bool noticesCovered()
{
    GameLayer* layer = GameLayer::existingInstance();
    GUIAchievement* goals = layer ? layer->getAchievementWindow() : nullptr;
    GUIIngameMessage* message = GUIIngameMessage::existingInstance();
    return (goals && goals->getBoardKind() != GUIAchievement::kNoBoard) || (message && message->isShowing());
}

// The queue of waiting notices, made and kept on first use.
CCArray* queueOf(CCArray*& queue)
{
    if (!queue) {
        queue = CCArray::create();
        queue->retain();
    }
    return queue;
}

CCArray* notificationEntry(CCString* text, CCString* icon)
{
    CCArray* entry = CCArray::create();
    entry->addObject(text ? text : CCString::create(""));
    if (icon)
        entry->addObject(icon);
    return entry;
}

CCString* dayText()
{
    Profile* profile = Profile::getInstance();
    const int32_t day = AchievementManager::getInstance()->shownDay(profile->getGameMode(), profile->getDay());
    return LocalUtils::localizeCCStringWithVar(CCString::create("DayButtonInGame"),
                                               CCString::createWithFormat("%d", day));
}

}  // namespace

// --- notifications ----------------------------------------------------------------------

void GUITopBar::showNotification(CCString* text, CCString* icon)
{
    if (m_notificationShowing) {
        queueOf(m_notificationQueue)->addObject(notificationEntry(text, icon));
        return;
    }
    // Without a game scene (or before a build) there is nowhere to show it.
    if (!getParent() || !m_notificationPanel || !m_notificationLabel)
        return;
    if (noticesCovered()) {
        queueOf(m_notificationQueue)->addObject(notificationEntry(text, icon));
        return;
    }
    playSound("sfx_gui_notification");
    m_notificationShowing = true;
    m_notificationIconName = icon ? icon->getString() : std::string();
    loadFrames();
    GUILabel::setFontName(kFont);
    removeNode(m_notificationIcon);
    m_notificationIcon = nullptr;
    removeNode(m_checkBox);
    removeNode(m_checkTick);
    const CCSize panel = m_notificationPanel->getContentSize();
    if (icon) {
        if ((m_notificationIcon = frameSprite("guitopbar_" + icon->getString()))) {
            m_notificationIcon->setAnchorPoint(ccp(1, 0.5f));
            m_notificationIcon->setPosition(ccp(panel.width - 4, 10));
            m_notificationPanel->addChild(m_notificationIcon);
        }
    } else {
        if (!m_checkBox && (m_checkBox = frameSprite("guitopbar_hitbox.png")))
            m_checkBox->retain();
        if (!m_checkTick && (m_checkTick = frameSprite("guitopbar_tick.png")))
            m_checkTick->retain();
        if (m_checkBox) {
            m_checkBox->setAnchorPoint(ccp(1, 0.5f));
            m_checkBox->setPosition(ccp(panel.width - 4, 10));
            if (m_checkTick) {
                m_checkTick->setAnchorPoint(CCPointZero);
                m_checkTick->setPosition(ccp(2, 2));
                m_checkBox->addChild(m_checkTick);
            }
            m_notificationPanel->addChild(m_checkBox);
        }
    }
    CCSprite* mark = m_notificationIcon ? m_notificationIcon : m_checkBox;
    layOutNotice(text ? text : CCString::create(""), mark ? mark->boundingBox().getMinX() - 2 : panel.width - 4);
    m_notificationPanel->stopAllActions();
    m_notificationPanel->runAction(
        CCSequence::create(CCMoveTo::create(kNotificationSlide, ccp(6, -7)), CCDelayTime::create(kNotificationStay),
                           CCMoveTo::create(kNotificationSlide, ccp(6, panel.height - 6)),
                           CCCallFunc::create(this, callfunc_selector(GUITopBar::showNextNotification)), nullptr));
}

void GUITopBar::layOutNotice(CCString* text, float right)
{
    GUILabel* label = m_notificationLabel;
    const float full = 10.0f / GUILabel::fontSize;
    const float left = 4;
    const float height = m_notificationPanel->getContentSize().height;
    label->setScale(full);
    label->setText(text);
    const float width = label->getWidth() * full;
    if (width > right - left) {
        // Too long for one line (a limit warning, a long name in French or
        // Spanish): wrapped and set smaller within the panel, as the popups'
        // messages are, unless the one line set smaller stays the larger.
        // The glyphs' cells stand above the font's size (room for the
        // accents on capitals); a point more between the lines keeps a
        // tail's letters off the next line's capitals.
        float tallest = 0;
        for (const auto& [glyph, rect] : GUILabel::fontFrames)
            tallest = std::fmax(tallest, rect.size.height);
        GUILabel::lineSpacing = 1;
        label->fitColoredText(text, right - left, height - std::fmax(0.0f, tallest - GUILabel::fontSize) * full);
        GUILabel::lineSpacing = 0;
        const float oneLine = full * (right - left) / width;
        if (oneLine > label->getScale()) {
            label->setScale(oneLine);
            label->setText(text);
        }
    }
    // Centred up and down, as a short notice stands beside its icon.
    float bottom = height, top = 0;
    for (CCObject* object : *label->getChildren()) {
        auto* glyph = static_cast<CCNode*>(object);
        bottom = std::fmin(bottom, glyph->getPosition().y);
        top = std::fmax(top, glyph->getPosition().y + glyph->getContentSize().height);
    }
    label->setPosition(ccp(left, (height - (top + bottom) * label->getScale()) / 2));
}

void GUITopBar::showNextNotification()
{
    m_notificationShowing = false;
    if (!m_notificationQueue || m_notificationQueue->count() == 0 || noticesCovered())
        return;
    CCArray* entry = static_cast<CCArray*>(m_notificationQueue->objectAtIndex(0));
    entry->retain();
    m_notificationQueue->removeObjectAtIndex(0);
    if (m_notificationQueue->count() == 0)
        CC_SAFE_RELEASE_NULL(m_notificationQueue);
    auto* text = dynamic_cast<CCString*>(entry->objectAtIndex(0));
    auto* icon = entry->count() > 1 ? dynamic_cast<CCString*>(entry->objectAtIndex(1)) : nullptr;
    showNotification(text, icon);
    entry->release();
}

void GUITopBar::holdNotifications()
{
    if (!m_notificationShowing)
        return;
    m_notificationShowing = false;
    CCString* icon = m_notificationIconName.empty() ? nullptr : CCString::create(m_notificationIconName);
    CCArray* entry = notificationEntry(m_notificationLabel ? m_notificationLabel->getText() : nullptr, icon);
    queueOf(m_notificationQueue)->insertObject(entry, 0);
    restNotificationPanel();
}

void GUITopBar::dropNotifications()
{
    CC_SAFE_RELEASE_NULL(m_notificationQueue);
    m_notificationShowing = false;
    restNotificationPanel();
}

void GUITopBar::restNotificationPanel()
{
    if (!m_notificationPanel)
        return;
    m_notificationPanel->stopAllActions();
    m_notificationPanel->setPosition(ccp(6, m_notificationPanel->getContentSize().height - 6));
}

void GUITopBar::showHeldNotifications()
{
    if (!m_notificationShowing && hasNotification())
        showNextNotification();
}

bool GUITopBar::hasNotification() const
{
    return m_notificationQueue && m_notificationQueue->count() > 0;
}

void GUITopBar::showWarning(const char* key)
{
    if (!hasNotification())
        showNotification(LocalUtils::localize(key));
}

void GUITopBar::showNoticeOnce(CCString* text, CCString* icon)
{
    if (!text)
        return;
    auto same = [text](CCString* told) { return told && told->getString() == text->getString(); };
    if (m_notificationShowing && m_notificationLabel && same(m_notificationLabel->getText()))
        return;
    if (m_notificationQueue)
        for (CCObject* entry : *m_notificationQueue)
            if (same(dynamic_cast<CCString*>(static_cast<CCArray*>(entry)->objectAtIndex(0))))
                return;
    showNotification(text, icon);
}

// --- badges --------------------------------------------------------------------------------

void GUITopBar::placeBadge(CCSprite*& badge, int count, CCPoint at)
{
    removeNode(badge);
    badge = nullptr;
    if (count <= 0 || !m_bar)
        return;
    if (!(badge = frameSprite("guitopbar_HUDBadge.png")))
        return;
    badge->setAnchorPoint(ccp(1, 1));
    badge->setPosition(at);
    m_bar->addChild(badge);
    CCSpriteFrame* strip = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("guitopbar_HUDNumbers.png");
    if (!strip)
        return;
    // Glyphs of 3 x 7 inside the badge's border: a plus first, then digit n
    // at 4n + 3. Above nine, "9+".
    const CCRect r = strip->getRect();
    const CCSize size = badge->getContentSize();
    auto addGlyph = [&](int offset, float x) {
        CCSprite* glyph =
            CCSprite::createWithTexture(strip->getTexture(), CCRect(r.origin.x + offset, r.origin.y, 3, 7));
        if (!glyph)
            return;
        glyph->setUserObject(CCInteger::create(offset));
        glyph->setAnchorPoint(ccp(0.5f, 0.5f));
        glyph->setPosition(ccp(x, size.height / 2));
        badge->addChild(glyph);
    };
    if (count <= 9) {
        addGlyph(4 * count + 3, size.width / 2);
    } else {
        addGlyph(4 * 9 + 3, size.width / 2 - 2);
        addGlyph(0, size.width / 2 + 2);
    }
}

void GUITopBar::updateBadges()
{
    if (worldHost().isFreePlay()) {
        for (CCSprite** badge : {&m_elementBadge, &m_toolBadge, &m_worldSettingsBadge}) {
            removeNode(*badge);
            *badge = nullptr;
        }
        return;
    }
    GameLayer* layer = GameLayer::existingInstance();
    GUI* gui = layer ? layer->getGUI() : nullptr;
    if (!gui || !m_bar)
        return;
    loadFrames();
    const float top = m_bar->getContentSize().height;
    if (m_elementMenuButton)
        placeBadge(m_elementBadge, gui->newElementCount(), ccp(m_elementMenuButton->getContentSize().width, top));
    if (m_toolButton)
        placeBadge(m_toolBadge, gui->newToolCount(),
                   ccp(m_toolButton->getPosition().x + m_toolButton->getContentSize().width, top));
    if (m_worldSettingsButton)
        placeBadge(m_worldSettingsBadge, gui->newOptionCount(),
                   ccp(m_worldSettingsButton->getPosition().x + m_worldSettingsButton->getContentSize().width, top));
}

// --- mana and day ---------------------------------------------------------------------------

void GUITopBar::addManaCounter(float iconX)
{
    GUIButton* b = m_manaButton;
    const CCSize size = b->getContentSize();
    GUILabel::setFontName(kFont);
    b->setText(manaText(), 10, ccp(size.width - 5, size.height * 0.5f + 0.5f), ccp(1, 0.5f), ccc3(255, 255, 255));
    m_manaRoomLeft = 0.0f;
    if (CCSprite* icon = frameSprite("guitopbar_HUDMana.png")) {
        icon->setAnchorPoint(ccp(0, 0.5f));
        icon->setPosition(ccp(iconX / sheetScale(), size.height * 0.5f + 0.5f));
        b->addChild(icon);
        m_manaRoomLeft = icon->getPosition().x + icon->getContentSize().width + 1.0f;
    }
    fitManaLabel();
}

void GUITopBar::fitManaLabel()
{
    GUILabel* label = m_manaButton ? m_manaButton->getLabel() : nullptr;
    if (!label || GUILabel::fontSize <= 0)
        return;
    const float full = 10.0f / GUILabel::fontSize;
    const float room = label->getPosition().x - m_manaRoomLeft;
    const float width = label->getWidth() * full;
    label->setScale(width > room && width > 0 && room > 0 ? full * room / width : full);
}

void GUITopBar::updateMana()
{
    const int32_t mana = Profile::getInstance()->getMana();
    if (mana == m_lastShownMana)
        return;
    m_lastShownMana = mana;
    if (!m_manaButton || !m_manaButton->getLabel())
        return;
    GUILabel::setFontName(kFont);
    m_manaButton->getLabel()->setText(manaText());
    fitManaLabel();
}

void GUITopBar::addDayButton(GUIButton* previous)
{
    Profile* profile = Profile::getInstance();
    m_dayButton = addRowButton("guitopbar_HUDbtnMenuLevel.png", nullptr,
                               CCCallFunc::create(this, callfunc_selector(GUITopBar::onLevelButton)), previous);
    if (!m_dayButton)
        return;
    if (profile->getDay() < 0 || profile->getDay() > 100) {
        LOG << "current level = " << profile->getDay() << " - incorrect";
        profile->setDay(1);
    }
    const CCSize size = m_dayButton->getContentSize();
    m_dayButton->setText(dayText(), 10, ccp(25, size.height * 0.5f + 0.5f));
    if ((m_lilGodSprite = frameSprite("guitopbar_HUDlilgod.png"))) {
        m_lilGodSprite->setAnchorPoint(CCPointZero);
        m_lilGodSprite->setPosition(ccp(1, 2));
        m_dayButton->addChild(m_lilGodSprite);
    }
    showDayWon(AchievementManager::getInstance()->isDayWon());
}

void GUITopBar::updateDayButton()
{
    if (!m_dayButton)
        return;
    loadFrames();
    GUILabel::setFontName(kFont);
    if (GUILabel* label = m_dayButton->getLabel())
        label->setText(dayText());
    if (m_manaButton && m_manaButton->getLabel()) {
        m_manaButton->getLabel()->setText(manaText());
        fitManaLabel();
    }
    showDayWon(AchievementManager::getInstance()->isDayWon());
}

void GUITopBar::showDayWon(bool won)
{
    if (!m_dayButton || won == (m_dayWonPlate != nullptr))
        return;
    if (GUILabel* label = m_dayButton->getLabel())
        label->setVisible(!won);
    if (!won) {
        removeNode(m_dayWonPlate);
        m_dayWonPlate = nullptr;
        return;
    }
    // A gold face that pulses, with a tick where the day's number was; the
    // lil god stays in front.
    loadFrames();
    if (!(m_dayWonPlate = frameSprite("guitopbar_HUDbtnMenuLevelDone.png")))
        return;
    m_dayWonPlate->setAnchorPoint(CCPointZero);
    m_dayWonPlate->setPosition(CCPointZero);
    m_dayButton->addChild(m_dayWonPlate, 1);
    if (CCSprite* tick = frameSprite("guitopbar_tick.png")) {
        tick->setScale(1.5f);
        tick->setPosition(ccp(27, m_dayWonPlate->getContentSize().height / 2));
        m_dayWonPlate->addChild(tick);
    }
    m_dayWonPlate->runAction(CCRepeatForever::create(static_cast<CCActionInterval*>(
        CCSequence::create(CCFadeTo::create(0.5f, 150), CCFadeTo::create(0.5f, 255), nullptr))));
    if (m_lilGodSprite)
        m_lilGodSprite->setZOrder(2);
}

void GUITopBar::playLilGodAnimation()
{
    if (!m_dayButton)
        return;
    removeNode(m_lilGodSprite);
    m_lilGodSprite = nullptr;
    if (!AchievementManager::getInstance()->hasActiveGoals()) {
        CCArray* frames = CCArray::create();
        for (int i = 1; i <= 4; ++i) {
            const std::string name = "guitopbar_HUDlilGod" + std::to_string(i) + ".png";
            if (CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name.c_str()))
                frames->addObject(f);
        }
        if ((m_lilGodSprite = frameSprite("guitopbar_HUDlilGod1.png"))) {
            m_lilGodSprite->setAnchorPoint(CCPointZero);
            m_lilGodSprite->setPosition(ccp(1, 1));
            m_dayButton->addChild(m_lilGodSprite, 2);
            if (frames->count() > 0)
                m_lilGodSprite->runAction(
                    CCRepeatForever::create(CCAnimate::create(CCAnimation::createWithSpriteFrames(frames, 0.2f))));
        }
        playSound("sfx_game_cleared");
        showDayWon(AchievementManager::getInstance()->isDayWon());
        return;
    }
    showDayWon(false);
    if ((m_lilGodSprite = frameSprite("guitopbar_HUDlilgod.png"))) {
        m_lilGodSprite->setAnchorPoint(CCPointZero);
        m_lilGodSprite->setPosition(ccp(1, 2));
        m_dayButton->addChild(m_lilGodSprite);
    }
}
