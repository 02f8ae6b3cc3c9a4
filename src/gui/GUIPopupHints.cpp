#include "gui/GUIPopup.h"

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/StatsUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/ScreenUtils.h"
#include "profile/Profile.h"
#include "world/GameServices.h"
#include "gui/Retained.h"

USING_NS_CC;

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
    hold(m_hints, CCDictionary::createWithContentsOfFile(g_hintsFile));
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

// The middle of a buy button's price.
constexpr float kPriceX = 10;

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
        price->setPosition(ccp(kPriceX, buy->getContentSize().height / 2 + 2));
        // Centred left of the drop, a price wider than the room that leaves
        // a unit clear of the tag's outline ("120" ran onto it) is set smaller.
        price->shrinkToWidth(2 * (kPriceX - 2));
        buy->addChild(price);
        buy->setAnchorPoint(ccp(0, 1));
        buy->setPosition(ccp(140, 109 - y));
        m_buttonContainer->addChild(buy, 90 + row, 99 + row);
        label->setPosition(ccp(20, 100 - y));
        if (box)
            box->setPosition(ccp(10, 101 - y));
        const int lines = label->getLineCount() == 0 ? 1 : label->getLineCount();
        // And the room its lines took to keep their accents clear.
        y += 11.0f * static_cast<float>(lines) + 10.0f + label->getAddedLineRoom();
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
    if (isAnswered() || !isShown())
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
    runLater(kChargeDelay, callfunc_selector(GUIPopup::chargeHint));
}

void GUIPopup::chargeHint()
{
    // Only a hint that can be recorded is paid for. The hint and its price
    // reach the file in one write before the hint shows: a kill after it
    // keeps both.
    Profile* profile = Profile::getInstance();
    const int slot = hintSlot(profile->getGameMode(), profile->getDay());
    if (m_hintNumber >= 1 && m_hintNumber <= 3 && slot >= 0) {
        LOG << "hint" << m_hintNumber << "bought: mana" << profile->getMana() << "->"
            << profile->getMana() - m_hintPrice;
        profile->setLevelHint(slot, profile->getLevelHint(slot) | (1u << (m_hintNumber - 1)));
        profile->setMana(profile->getMana() - m_hintPrice);
        profile->save();
        if (gameServices().refreshTopBarMana)
            gameServices().refreshTopBarMana();
    }
    ScreenUtils::showPopup(CCString::create(""), nullptr, nullptr, nullptr, nullptr, Hints);
}
