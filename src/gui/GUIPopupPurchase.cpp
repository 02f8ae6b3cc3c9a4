#include "gui/GUIPopup.h"

#include <cmath>
#include <limits>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "profile/Profile.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

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

}  // namespace

void GUIPopup::setPurchaseInfo(CCString* title, CCString* icon, float price, CCString* description)
{
    hold(m_purchaseTitle, title);
    hold(m_purchaseIcon, icon);
    m_purchasePrice = price;
    hold(m_purchaseDescription, description);
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
        // The caption stays on its ribbon ("Special deal!" ran off its end).
        caption->shrinkToWidth(m_specialDealButton->getContentSize().width - 16 - 6);
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

    // The title may run up to the price tag: in 60 font pixels a name such
    // as Brontosaurus was cut in the middle. A word longer than that room
    // (Pachycephalosaurus) sets the title smaller rather than cut it.
    // Beside a background's picture (120 pixels at half the panel's scale,
    // it ends at 66.25) the title starts more than a unit clear of it.
    const float titleX = isFile ? 68 : 47;
    const float titleRoom = 135 - 6 - titleX;
    m_titleLabel = newLabel(10);
    CCString* title = textOrEmpty(m_purchaseTitle);
    m_titleLabel->shrinkToWidestWord(title, titleRoom);
    m_titleLabel->setMultilineText(title, titleRoom / m_titleLabel->getScale(), 10);
    m_titleLabel->setAnchorPoint(CCPointZero);
    m_titleLabel->setPosition(ccp(titleX, 78));
    m_buttonContainer->addChild(m_titleLabel);

    if (CCSprite* tag = CCSprite::createWithSpriteFrameName("popups_buttonOk.png")) {
        tag->setAnchorPoint(CCPointZero);
        tag->setPosition(ccp(135, 70));
        m_buttonContainer->addChild(tag);
        m_priceLabel = newLabel(10);
        m_priceLabel->setText(CCString::createWithFormat("%i", truncatedPrice(m_purchasePrice)));
        m_priceLabel->setAnchorPoint(CCPointZero);
        // The number starts just right of the drop (at 14 three digits ran
        // off the tag's right end), and a longer one widens the tag to hold it.
        m_priceLabel->setPosition(ccp(135 + 11, 70 - 3 + tag->getContentSize().height / 2));
        const float end = 11 + m_priceLabel->getWidth() * m_priceLabel->getScaleX() + 2;
        if (end > tag->getContentSize().width)
            tag->setScaleX(end / tag->getContentSize().width);
        m_buttonContainer->addChild(m_priceLabel);
        if (CCSprite* mana = CCSprite::createWithSpriteFrameName("popups_mana.png")) {
            mana->setAnchorPoint(CCPointZero);
            mana->setPosition(ccp(3, 8));
            mana->setScaleX(1.0f / tag->getScaleX());
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
