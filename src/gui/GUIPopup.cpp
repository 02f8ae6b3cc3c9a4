#include "gui/GUIPopup.h"

#include <cmath>
#include <limits>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace {

GUIPopup* g_popup = nullptr;

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

void setRetained(CCObject*& field, CCObject* value)
{
    if (value)
        value->retain();
    if (field)
        field->release();
    field = value;
}

template <typename T> void setRetainedTyped(T*& field, T* value)
{
    CCObject* object = field;
    setRetained(object, value);
    field = value;
}

// Prices come from files and callers; a value an int cannot hold saturates.
int32_t truncatedPrice(float price)
{
    if (!std::isfinite(price))
        return 0;
    if (price >= 2147483520.0f)
        return std::numeric_limits<int32_t>::max();
    if (price <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(price);
}

CCString* textOrEmpty(CCString* text)
{
    return text ? text : CCString::create("");
}

}  // namespace

GUIPopup* GUIPopup::getInstance()
{
    if (!g_popup) {
        g_popup = new GUIPopup();
        g_popup->initWithSize(screenSize);
        g_popup->autorelease();
        g_popup->retain();
    }
    return g_popup;
}

void GUIPopup::resetInstanceForTests()
{
    if (!g_popup)
        return;
    GUIPopup* popup = g_popup;
    g_popup = nullptr;
    popup->stopAllActions();
    // The buttons' actions hold the popup: drop them so it can go.
    if (popup->m_buttonContainer)
        popup->m_buttonContainer->removeAllChildrenWithCleanup(true);
    popup->releaseActions();
    setRetained(popup->m_pendingCallback, nullptr);
    popup->setPreviousWindow(nullptr);
    popup->removeFromParentAndCleanup(true);
    popup->release();
}

GUIPopup::~GUIPopup()
{
    releaseActions();
    setRetained(m_pendingCallback, nullptr);
    setPreviousWindow(nullptr);
    setRetainedTyped(m_purchaseTitle, static_cast<CCString*>(nullptr));
    setRetainedTyped(m_purchaseIcon, static_cast<CCString*>(nullptr));
    setRetainedTyped(m_purchaseDescription, static_cast<CCString*>(nullptr));
    setRetainedTyped(m_hints, static_cast<CCDictionary*>(nullptr));
}

bool GUIPopup::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    m_state = Open;
    setPosition(CCPointZero);
    setVisible(true);
    m_dimming = CCLayerColor::create(ccc4(0, 0, 0, 64), size.width, size.height);
    addChild(m_dimming, 0, kDimTag);
    m_batchNode = CCSpriteBatchNode::create("pvr/popups.pvr.ccz", 500);
    if (!m_batchNode)
        m_batchNode = CCSpriteBatchNode::create("pvr/popups.png", 500);
    if (m_batchNode) {
        if (m_batchNode->getTexture())
            m_batchNode->getTexture()->setAliasTexParameters();
        m_batchNode->setPosition(ccp(size.width / 2, size.height / 2));
        addChild(m_batchNode, 1);
    }
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    newBackground("popups_background.png");
    return done && m_batchNode;
}

float GUIPopup::panelScale() const
{
    return sheetScale();
}

CCSprite* GUIPopup::newBackground(const char* frame)
{
    if (m_buttonContainer)
        m_buttonContainer->removeFromParentAndCleanup(true);
    m_buttonContainer = nullptr;
    CCSprite* background = CCSprite::createWithSpriteFrameName(frame);
    if (!background || !m_batchNode)
        return nullptr;
    background->setScale(panelScale());
    background->setPosition(CCPointZero);
    m_batchNode->addChild(background);
    m_buttonContainer = background;
    return background;
}

GUILabel* GUIPopup::newLabel(float size)
{
    GUILabel* label = GUILabel::create();
    label->setScale(size / GUILabel::fontSize);
    return label;
}

void GUIPopup::setPreviousWindow(GUIWindow* window)
{
    // A popup never gives itself back: that would leave a window over the
    // world that is no longer there.
    if (window == this)
        window = nullptr;
    setRetainedTyped(m_previousWindow, window);
}

void GUIPopup::releaseActions()
{
    setRetained(m_okCallback, nullptr);
    setRetained(m_cancelCallback, nullptr);
}

bool GUIPopup::build(int kind, CCString* text)
{
    if (!isValidKind(kind)) {
        LOG << "GUIPopup: no popup of kind" << kind << "; nothing shown";
        return false;
    }
    m_kind = kind;
    m_closing = false;
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    setPreviousWindow(ScreenUtils::windowToGiveBack());
    releaseActions();
    setRetained(m_pendingCallback, nullptr);
    if (m_itemImage && m_itemImage->getParent() == this)
        m_itemImage->removeFromParentAndCleanup(true);
    if (m_manaCounter)
        m_manaCounter->removeFromParentAndCleanup(true);
    if (m_buttonContainer)
        m_buttonContainer->removeAllChildrenWithCleanup(true);
    m_messageLabel = nullptr;
    m_okButton = m_cancelButton = m_specialDealButton = nullptr;
    m_itemImage = m_manaCounter = nullptr;
    m_manaLabel = m_priceLabel = m_titleLabel = nullptr;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    if (m_batchNode) {
        m_batchNode->stopAllActions();
        m_batchNode->setScale(1.0f);
    }
    switch (kind) {
    case Confirm:
    case StaticConfirm: buildConfirm(text, true); break;
    case Purchase: buildPurchase(); break;
    case Message: buildConfirm(text, false); break;
    case Disclaimer: buildDisclaimer(); break;
    case Hints: buildHints(); break;
    default: break;
    }
    playSound("sfx_gui_modal");
    return true;
}

void GUIPopup::setActions(CCObject* okTarget, SEL_CallFunc okSelector, CCObject* cancelTarget,
                          SEL_CallFunc cancelSelector)
{
    if (okTarget && okSelector)
        setRetained(m_okCallback, CCCallFunc::create(okTarget, okSelector));
    if (cancelTarget && cancelSelector)
        setRetained(m_cancelCallback, CCCallFunc::create(cancelTarget, cancelSelector));
}

void GUIPopup::addCancelButton()
{
    GUILabel::setFontName("popups_ach_fontButtons");
    m_cancelButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIPopup::onCancelPressed)),
                                       "popups_buttonCancel.png", "popups_cancel.png");
    m_cancelButton->setAnchorPoint(ccp(0, 0.5f));
    m_cancelButton->setPosition(ccp(30, 2));
    m_cancelButton->setActivateDelayed(true);
    const CCSize size = m_cancelButton->getContentSize();
    if (CCSprite* icon = m_cancelButton->getIcon())
        icon->setPosition(ccp(size.width, size.height / 2));
    GUILabel* caption = newLabel(10);
    caption->setText(LocalUtils::localize("GenericCancelBut"));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(size.width / 2 - 3, size.height / 2));
    m_cancelButton->addChild(caption);
    m_buttonContainer->addChild(m_cancelButton);
}

void GUIPopup::addOkButton(float x, const char* captionKey, float captionSize)
{
    GUILabel::setFontName("popups_ach_fontButtons");
    m_okButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIPopup::onOkPressed)),
                                   "popups_btnClose.png", nullptr);
    m_okButton->setAnchorPoint(ccp(0, 0.5f));
    m_okButton->setPosition(ccp(x, 2));
    m_okButton->setActivateDelayed(true);
    const CCSize size = m_okButton->getContentSize();
    GUILabel* caption = newLabel(captionSize);
    caption->setText(LocalUtils::localize(captionKey));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(size.width / 2 - 4, size.height / 2));
    m_okButton->addChild(caption);
    m_buttonContainer->addChild(m_okButton);
}

void GUIPopup::buildConfirm(CCString* text, bool withCancel)
{
    if (!newBackground("popups_background.png"))
        return;
    GUILabel::setFontName("popups_ach_colorFont");
    // A font pixel between a line's descenders and the next line's letters.
    GUILabel::lineSpacing = 1;
    m_messageLabel = newLabel(10);
    m_messageLabel->setColor(ccc3(36, 75, 98));
    m_messageLabel->setColoredText(textOrEmpty(text), 130);
    m_messageLabel->setAnchorPoint(CCPointZero);
    m_messageLabel->setPosition(ccp(29, 72));
    m_buttonContainer->addChild(m_messageLabel);
    if (withCancel)
        addCancelButton();
    addOkButton(110, "GenericOkBut", 10);
    CCSprite* god = CCSprite::createWithSpriteFrameName("popups_godA.png");
    if (god) {
        god->setPosition(ccp(5, 5));
        m_buttonContainer->addChild(god);
    }
}

void GUIPopup::buildDisclaimer()
{
    if (!newBackground("popups_backgroundDisclaimer.png"))
        return;
    GUILabel::setFontName("popups_ach_fontButtons");
    GUILabel::lineSpacing = 1;
    struct Line {
        const char* key;
        bool upper;
        float width;
        CCPoint at;
    };
    const Line lines[] = {{"ConfirmationShareDisclaimer", true, 190, ccp(10, 92)},
                          {"ConfirmationShareDisclaimer2", true, 160, ccp(10, 78)},
                          {"ConfirmationShareDisclaimer3", false, 190, ccp(10, 68)}};
    for (const Line& line : lines) {
        if (!line.upper)
            GUILabel::lineSpacing = -1;
        GUILabel* label = newLabel(10);
        CCString* text = LocalUtils::localize(line.key);
        label->setColoredText(line.upper ? toUpperCCString(text->getCString()) : text, line.width);
        label->setAnchorPoint(CCPointZero);
        label->setPosition(line.at);
        m_buttonContainer->addChild(label);
        if (!m_messageLabel)
            m_messageLabel = label;
    }
    GUILabel::lineSpacing = 0;
    addCancelButton();
    addOkButton(110, "GenericOkBut", 10);
}

void GUIPopup::setPurchaseInfo(CCString* title, CCString* icon, float price, CCString* description)
{
    setRetainedTyped(m_purchaseTitle, title);
    setRetainedTyped(m_purchaseIcon, icon);
    m_purchasePrice = price;
    setRetainedTyped(m_purchaseDescription, description);
}

void GUIPopup::buildPurchase()
{
    LOG << "shop hint: " << m_hintNumber;
    const float s = panelScale();
    if (!newBackground("popups_shopBackground.png"))
        return;
    GUILabel::setFontName("popups_ach_fontButtons");
    GUILabel::lineSpacing = -2;

    m_manaCounter = CCSprite::createWithSpriteFrameName("popups_popup_manaCounter.png");
    if (m_manaCounter) {
        const CCSize margin = visibleMargin();
        m_manaCounter->setAnchorPoint(ccp(1, 1));
        m_manaCounter->setScale(s);
        m_manaCounter->setPosition(ccp(margin.width / 2 + visibleSize.width, visibleSize.height));
        addChild(m_manaCounter, 2);
        Profile* profile = Profile::getInstance();
        const long long mana = static_cast<long long>(profile->getMana()) + profile->getPendingMana();
        m_manaLabel = newLabel(10);
        m_manaLabel->setText(CCString::createWithFormat("%lld", mana));
        m_manaLabel->setAnchorPoint(CCPointZero);
        m_manaLabel->setPosition(ccp(15, 4));
        m_manaCounter->addChild(m_manaLabel);
        if (CCSprite* icon = CCSprite::createWithSpriteFrameName("popups_popup_manaCounterIcon.png")) {
            icon->setAnchorPoint(CCPointZero);
            icon->setPosition(ccp(4, 3));
            m_manaCounter->addChild(icon);
        }
    }

    addCancelButton();
    addOkButton(110, "GenericBuyBut", 10);

    const std::string icon = m_purchaseIcon ? m_purchaseIcon->getString() : std::string();
    const bool isFile = icon.find('/') != std::string::npos;
    if (isFile) {
        m_itemImage = CCSprite::create(icon.c_str());
    } else {
        const std::string frame = icon.find("popups_") == std::string::npos ? "popups_" + icon : icon;
        if (CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame.c_str()))
            m_itemImage = CCSprite::createWithSpriteFrameName(frame.c_str());
        else
            LOG << ("ERROR : Bad file name " + frame);
    }
    if (icon.find("element") != std::string::npos) {
        GUILabel::setFontName("popups_ach_fontButtons");
        m_specialDealButton =
            GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIPopup::onSpecialDealPressed)),
                              "popups_popup_godoffer.png", nullptr);
        m_specialDealButton->setAnchorPoint(CCPointZero);
        m_specialDealButton->setPosition(ccp(-37, 130));
        m_specialDealButton->setActivateDelayed(true);
        GUILabel* caption = GUILabel::create();
        caption->setText(LocalUtils::localize("CheckoutSpecialDeal"));
        caption->setAnchorPoint(CCPointZero);
        caption->setPosition(ccp(16, 5));
        caption->scaleToSize(10);
        m_specialDealButton->addChild(caption);
        m_buttonContainer->addChild(m_specialDealButton);
    }
    if (m_itemImage) {
        m_itemImage->setAnchorPoint(CCPointZero);
        if (isFile) {
            m_itemImage->setScale(s * 0.5f);
            m_itemImage->setPosition(ccp(169 * screenRatio + visibleMargin().width / 2, 410 * screenRatio));
            addChild(m_itemImage, 2);
        } else {
            m_itemImage->setPosition(ccp(7, 75));
            m_buttonContainer->addChild(m_itemImage);
        }
    }

    m_titleLabel = newLabel(10);
    m_titleLabel->setMultilineText(textOrEmpty(m_purchaseTitle), 60, 10);
    m_titleLabel->setAnchorPoint(CCPointZero);
    m_titleLabel->setPosition(ccp(isFile ? 66 : 47, 78));
    m_buttonContainer->addChild(m_titleLabel);

    if (CCSprite* tag = CCSprite::createWithSpriteFrameName("popups_buttonOk.png")) {
        tag->setAnchorPoint(CCPointZero);
        tag->setPosition(ccp(135, 70));
        m_buttonContainer->addChild(tag);
        m_priceLabel = newLabel(10);
        m_priceLabel->setText(CCString::createWithFormat("%i", truncatedPrice(m_purchasePrice)));
        m_priceLabel->setAnchorPoint(CCPointZero);
        m_priceLabel->setPosition(ccp(135 + 14, 70 - 3 + tag->getContentSize().height / 2));
        m_buttonContainer->addChild(m_priceLabel);
        if (CCSprite* mana = CCSprite::createWithSpriteFrameName("popups_mana.png")) {
            mana->setAnchorPoint(CCPointZero);
            mana->setPosition(ccp(3, 8));
            tag->addChild(mana);
        }
    }

    GUILabel* description = newLabel(10);
    description->setMultilineText(textOrEmpty(m_purchaseDescription), 160, 10);
    description->setAnchorPoint(CCPointZero);
    description->setPosition(ccp(10, 45));
    m_buttonContainer->addChild(description);
    LOG << "shop hint2: " << m_hintNumber;
}

// --- answers -------------------------------------------------------------------

void GUIPopup::answer(const char* sound, GUIButton* disable, CCObject* action)
{
    // Once closing has begun the answer is fixed: a second press would
    // replace the action that is about to run.
    if (m_closing || !isShown())
        return;
    if (sound)
        playSound(sound);
    if (disable)
        disable->setEnabled(false);
    setRetained(m_pendingCallback, action);
    hide();
}

void GUIPopup::onOkPressed()
{
    answer("sfx_gui_next", m_okButton, m_okCallback);
}

void GUIPopup::onCancelPressed()
{
    answer("sfx_gui_back", m_cancelButton, m_cancelCallback);
}

void GUIPopup::onSpecialDealPressed()
{
    answer(nullptr, m_cancelButton, m_cancelCallback);
}

void GUIPopup::onBackPressed()
{
    answer(nullptr, nullptr, nullptr);
}

void GUIPopup::hide()
{
    if (m_closing)
        return;
    m_closing = true;
    LOG << "hide1: " << m_hintNumber;
    if (m_itemImage && m_itemImage->getParent() == this) {
        m_itemImage->removeFromParentAndCleanup(true);
        m_itemImage = nullptr;
    }
    if (m_manaCounter) {
        m_manaCounter->removeFromParentAndCleanup(true);
        m_manaCounter = nullptr;
        m_manaLabel = nullptr;
    }
    if (m_buttonContainer)
        m_buttonContainer->stopAllActions();
    // The panel vanishes at once; the popup leaves when the dimming is gone.
    if (m_batchNode) {
        m_batchNode->stopAllActions();
        m_batchNode->setScale(0.0f);
    }
    stopAllActions();
    runAction(CCSequence::create(CCDelayTime::create(kHideSeconds),
                                 CCCallFunc::create(this, callfunc_selector(GUIPopup::onHidden)), nullptr));
    if (m_dimming) {
        m_dimming->stopAllActions();
        m_dimming->runAction(CCFadeTo::create(0.2f, 0));
    }
}

void GUIPopup::onHidden()
{
    retain();
    // The window to give back may have left the scene meanwhile; a window
    // that is gone must not stay current (the world would stay frozen).
    GUIWindow* previous = m_previousWindow;
    ScreenUtils::getInstance()->setCurrentWindow(previous && previous->getParent() ? previous : nullptr);
    setPreviousWindow(nullptr);
    if (CCObject* pending = m_pendingCallback) {
        pending->retain();
        setRetained(m_pendingCallback, nullptr);
        executeAction(pending);
        pending->release();
    }
    removeFromParentAndCleanup(true);
    m_closing = false;
    release();
}

void GUIPopup::onEnter()
{
    LOG << "GUIPopup: enter";
    CCLayer::onEnter();
    BackButtonAdapter::getInstance()->addListener(this);
    if (m_dimming) {
        m_dimming->stopAllActions();
        m_dimming->setOpacity(0);
        m_dimming->runAction(CCFadeTo::create(0.1f, 200));
    }
    if (m_batchNode)
        m_batchNode->setScale(1.0f);
}

void GUIPopup::onExit()
{
    LOG << "GUIPopup: exit";
    BackButtonAdapter::getInstance()->removeListener(this);
    CCLayer::onExit();
}

void GUIPopup::runLater(float seconds, SEL_CallFunc step)
{
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene)
        return;
    scene->runAction(CCSequence::create(CCDelayTime::create(seconds), CCCallFunc::create(this, step), nullptr));
}

// --- level hints ------------------------------------------------------------------

std::string GUIPopup::levelKey(int32_t mode, int32_t day)
{
    const int32_t shown = day == 0 ? 1 : day;
    if (mode == 0)
        return "Level" + std::to_string(shown);
    return "Level" + std::to_string(mode) + "_" + std::to_string(shown);
}

int GUIPopup::hintSlot(int32_t mode, int32_t day)
{
    // Only modes and days 0..31 have a mask of their own; the daily quest
    // (-1) and later days would read or write another level's record.
    if (mode < 0 || mode > 31 || day < 0 || day > 31)
        return -1;
    return mode * 32 + day;
}

namespace {
std::string g_hintsFile = "data/hints.plist";
}

void GUIPopup::setHintsFileForTests(const std::string& path)
{
    g_hintsFile = path.empty() ? "data/hints.plist" : path;
}

void GUIPopup::loadHints()
{
    setRetainedTyped(m_hints, CCDictionary::createWithContentsOfFile(g_hintsFile));
}

namespace {

CCDictionary* levelHints(CCDictionary* hints, int32_t mode, int32_t day)
{
    auto* all = hints ? dynamic_cast<CCDictionary*>(hints->objectForKey("Hints")) : nullptr;
    return all ? dynamic_cast<CCDictionary*>(all->objectForKey(GUIPopup::levelKey(mode, day))) : nullptr;
}

CCDictionary* currentLevelHints(CCDictionary* hints)
{
    Profile* profile = Profile::getInstance();
    return levelHints(hints, profile->getGameMode(), profile->getDay());
}

uint32_t currentMask()
{
    Profile* profile = Profile::getInstance();
    const int slot = GUIPopup::hintSlot(profile->getGameMode(), profile->getDay());
    return slot < 0 ? 0u : profile->getLevelHint(slot);
}

std::string hintKey(int32_t n)
{
    return "FreeHint" + std::to_string(n);
}

}  // namespace

bool GUIPopup::levelHasHints(int32_t mode, int32_t day)
{
    CCDictionary* level = levelHints(CCDictionary::createWithContentsOfFile(g_hintsFile), mode, day);
    return level && level->objectForKey(hintKey(1));
}

int32_t GUIPopup::hintPriceOf(int32_t n) const
{
    CCDictionary* level = currentLevelHints(m_hints);
    if (!level)
        return 0;
    return level->valueForKey(hintKey(n))->intValue();
}

void GUIPopup::buildHints()
{
    loadHints();
    if (!newBackground("popups_hint_background.png"))
        return;
    GUILabel::setFontName("popups_ach_fontButtons");
    const std::string lang = LocalUtils::localize("files_lang")->getString();
    if (CCSprite* title = CCSprite::createWithSpriteFrameName(("popups_hint_title" + lang + ".png").c_str())) {
        title->setAnchorPoint(CCPointZero);
        title->setPosition(ccp(65, 112));
        m_buttonContainer->addChild(title);
    }
    GUILabel::lineSpacing = 0;
    addOkButton(130, "GenericOkBut", 10);

    CCDictionary* level = currentLevelHints(m_hints);
    if (!level || !level->objectForKey(hintKey(1)))
        return;
    const uint32_t mask = currentMask();
    Profile* profile = Profile::getInstance();
    const std::string key = levelKey(profile->getGameMode(), profile->getDay());
    float y = 0;
    for (int32_t n = 1;; ++n) {
        const int row = n - 1;
        if (!level->objectForKey(hintKey(n)))
            break;
        // The row's action carries the hint number rather than the button,
        // which would hold itself through its own action.
        CCString* number = CCString::createWithFormat("%i", n);
        GUIButton* buy =
            GUIButton::create(CCCallFuncO::create(this, callfuncO_selector(GUIPopup::onHintSelected), number),
                              "popups_buttonOk.png", "popups_mana.png");
        if (CCSprite* icon = buy->getIcon())
            icon->setPosition(ccpAdd(icon->getPosition(), ccp(13, 2)));
        GUILabel* label = newLabel(10);
        label->setAnchorPoint(CCPointZero);
        m_buttonContainer->addChild(label, 80 + row, 88 + row);
        CCSprite* box = CCSprite::createWithSpriteFrameName("popups_hint_hitbox.png");
        if (box) {
            box->setAnchorPoint(CCPointZero);
            m_buttonContainer->addChild(box);
        }
        if (row >= 3) {
            label->setMultilineText(CCString::create("Row over 3"), 150, 10);
        } else if (mask & (1u << row)) {
            label->setMultilineText(LocalUtils::localize((key + hintKey(n)).c_str()), 150, 10);
            buy->setVisible(false);
            buy->setToggled(false);
            buy->setEnabled(false);
            if (CCSprite* tick = CCSprite::createWithSpriteFrameName("popups_tick.png"); tick && box) {
                tick->setAnchorPoint(CCPointZero);
                tick->setPosition(ccp(2, 1));
                box->addChild(tick);
            }
        } else {
            label->setMultilineText(LocalUtils::localize("HintShopSelectorPhrase"), 150, 10);
        }
        GUILabel* price = newLabel(10);
        price->setText(CCString::createWithFormat("%d", level->valueForKey(hintKey(n))->intValue()));
        price->setAnchorPoint(ccp(0.5f, 0.5f));
        price->setPosition(ccp(10, buy->getContentSize().height / 2 + 2));
        buy->addChild(price);
        buy->setAnchorPoint(ccp(0, 1));
        buy->setPosition(ccp(140, 109 - y));
        m_buttonContainer->addChild(buy, 90 + row, 99 + row);
        label->setPosition(ccp(20, 100 - y));
        if (box)
            box->setPosition(ccp(10, 101 - y));
        const int lines = label->getLineCount() == 0 ? 1 : label->getLineCount();
        y += 11.0f * static_cast<float>(lines) + 10.0f;
        buy->setUserObject(number);
    }
}

void GUIPopup::onHintSelected(CCObject* sender)
{
    // The row's number, or a row button carrying it.
    auto* number = dynamic_cast<CCString*>(sender);
    if (auto* button = dynamic_cast<CCNode*>(sender))
        number = dynamic_cast<CCString*>(button->getUserObject());
    if (!number) {
        LOG << "NO SENDER, CRASH";
        return;
    }
    if (m_closing || !isShown())
        return;
    m_hintNumber = number->intValue();
    m_hintPrice = hintPriceOf(m_hintNumber);
    LOG << "hintID: " << m_hintNumber << " price " << m_hintPrice;
    hide();
    // Pending mana is not spendable yet.
    if (m_hintPrice > Profile::getInstance()->getMana())
        runLater(kShortageDelay, callfunc_selector(GUIPopup::showNotEnoughMana));
    else
        runLater(kShortageDelay, callfunc_selector(GUIPopup::showHintPurchase));
}

void GUIPopup::showNotEnoughMana()
{
    ScreenUtils::showPopup(LocalUtils::localize("ConfirmationNotEnoughMana"), ScreenUtils::getInstance(),
                           callfunc_selector(ScreenUtils::trackButtonPressed), nullptr, nullptr, Message);
}

void GUIPopup::showHintPurchase()
{
    setPurchaseInfo(LocalUtils::localize("Hint"), CCString::create("popups_exclamation.png"),
                    static_cast<float>(m_hintPrice), LocalUtils::localize("HintDescription"));
    ScreenUtils::showPopup(CCString::create(""), this, callfunc_selector(GUIPopup::confirmHintPurchase), nullptr,
                           nullptr, Purchase);
}

void GUIPopup::confirmHintPurchase()
{
    Profile* profile = Profile::getInstance();
    StatsUtils::boughtHint(profile->getGameMode(), profile->getDay(), m_hintNumber);
    const int slot = hintSlot(profile->getGameMode(), profile->getDay());
    if (m_hintNumber >= 1 && m_hintNumber <= 3 && slot >= 0)
        profile->setLevelHint(slot, profile->getLevelHint(slot) | (1u << (m_hintNumber - 1)));
    runLater(kChargeDelay, callfunc_selector(GUIPopup::chargeHint));
}

void GUIPopup::chargeHint()
{
    // Only a hint that can be recorded is paid for.
    Profile* profile = Profile::getInstance();
    if (m_hintNumber >= 1 && m_hintNumber <= 3 && hintSlot(profile->getGameMode(), profile->getDay()) >= 0) {
        LOG << "hint" << m_hintNumber << "bought: mana" << profile->getMana() << "->"
            << profile->getMana() - m_hintPrice;
        profile->setMana(profile->getMana() - m_hintPrice);
        if (gameServices().refreshTopBarMana)
            gameServices().refreshTopBarMana();
    }
    ScreenUtils::showPopup(CCString::create(""), nullptr, nullptr, nullptr, nullptr, Hints);
    runLater(kSaveDelay, callfunc_selector(GUIPopup::saveProfile));
}

void GUIPopup::saveProfile()
{
    Profile::getInstance()->save();
}
