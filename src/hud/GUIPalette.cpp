// The element palette: a tab per family down the left, the family's elements
// in a grid beside it. Each entry shows the element's icon and its name, all
// names at one size, on one line or two; under the name an element on sale
// shows its price on a badge, a bought one a tick and a free one the word
// for free; one the day does not offer is dimmed and locked, with nothing
// under its name, and a touch on it only says why it cannot be taken.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/LocalUtils.h"
#include "base/Utils.h"
#include "base/ScreenMetrics.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "hud/PixelMarket.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"
#include "world/ParticleCreator.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

const char* const kFont = "gamemenus_ach_fontButtons";
const char* const kTabFrame = "gamemenus_paletteTab.png";
const char* const kEntryFrame = "gamemenus_paletteEntry.png";
const char* const kPriceFrame = "gamemenus_palettePrice.png";
const char* const kManaFrame = "gamemenus_paletteMana.png";
const char* const kOwnedFrame = "gamemenus_paletteOwned.png";
const char* const kLockFrame = "gamemenus_paletteLock.png";

// Sizes in sheet units (the frames' pixels).
constexpr float kTabW = 48, kTabH = 15, kTabGap = 1;
constexpr float kEntryW = 49, kEntryH = 17, kEntryGap = 1;
constexpr float kIconSize = 14;
constexpr float kTextLeft = 16, kTextRight = 48;
// The badge row along the bottom (a badge is 5 units high) and the gap
// above it.
constexpr float kBadgeBottom = 0.5f, kBadgeTop = 5.5f, kBadgeGap = 0.25f;
// Caption sizes in units per font line (labels are scaled size / fontSize).
constexpr float kTabText = 7, kSmallestText = 4.5f, kTightestText = 3.6f, kPriceText = 4.5f;
// Every name is drawn at four screen pixels for three font pixels, the size
// at which two lines, accents and all, stand apart above the badge row: a
// long name takes two lines, never a smaller size. Between two lines, two
// font pixels.
constexpr float kNamePixels = 4.0f / 3.0f, kLineGap = 2;
const ccColor3B kFreeColour{150, 230, 150};

// A localised text of the key, or the fallback while the table lacks the key.
std::string localizedOr(const std::string& key, const std::string& fallback)
{
    auto* text = localizationTable ? dynamic_cast<CCString*>(localizationTable->objectForKey(key)) : nullptr;
    return text ? text->getString() : fallback;
}

// The scale a label ends up with on screen: within 0.2 of a whole number of
// screen pixels per font pixel it snaps to that number.
float snapped(float onScreen)
{
    const float n = std::trunc(onScreen);
    if (n + 0.2f < onScreen && onScreen < n + 0.8f)
        return onScreen;
    return onScreen <= n + 0.2f ? n : n + 1.0f;
}

// One line of text placed at `at`, scaled to `size` and shrunk to fit `width`
// units (but never below `smallest`), on a parent drawn at the sheet scale. The label
// snaps its scale when it enters the screen; a snap that would widen it past
// the width is avoided by staying just below it.
GUILabel* addLine(CCNode* parent, const std::string& text, float size, float width, const CCPoint& at,
                  const CCPoint& anchor, float smallest = kSmallestText)
{
    GUILabel::setFontName(kFont);
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create(text));
    float scale = size / GUILabel::fontSize;
    const float natural = label->getWidth();
    if (natural * scale > width && natural > 0)
        scale = std::max(smallest / GUILabel::fontSize, width / natural);
    const float onScreen = scale * sheetScale();
    if (natural * snapped(onScreen) / sheetScale() > width && onScreen > std::trunc(onScreen) + 0.8f)
        scale = (std::trunc(onScreen) + 0.79f) / sheetScale();
    label->setScale(scale);
    label->setAnchorPoint(anchor);
    label->setPosition(at);
    parent->addChild(label);
    return label;
}

// The width a line of text takes, in font pixels.
float lineWidth(const std::string& text)
{
    GUILabel::setFontName(kFont);
    GUILabel* probe = GUILabel::create();
    probe->setText(CCString::create(text));
    return probe->getWidth();
}

// A name's lines: the whole name when it fits the width (in font pixels),
// else two, split at the space that leaves the longer line shortest. A name
// that fits neither way is a fault of the localisation, which gives such a
// name a "<name>PaletteTitle" split where it reads well.
std::vector<std::string> nameLines(const std::string& name, float width)
{
    if (name.find(' ') == std::string::npos || lineWidth(name) <= width)
        return {name};
    size_t best = std::string::npos;
    float bestLonger = 0;
    for (size_t i = name.find(' '); i != std::string::npos; i = name.find(' ', i + 1)) {
        const float longer = std::max(lineWidth(name.substr(0, i)), lineWidth(name.substr(i + 1)));
        if (best == std::string::npos || longer < bestLonger) {
            best = i;
            bestLonger = longer;
        }
    }
    return {name.substr(0, best), name.substr(best + 1)};
}

// The name on an entry, beside the icon and above the badge row, its lines
// centred there. A label's baseline is its bottom; descenders hang below.
void addName(GUIButton* entry, const std::string& name)
{
    GUILabel::setFontName(kFont);
    const float unit = kNamePixels / sheetScale();  // entry units a font pixel
    const float ascent = (GUILabel::fontSize - GUILabel::baseLine) * unit, descent = GUILabel::baseLine * unit;
    const std::vector<std::string> lines = nameLines(name, (kTextRight - kTextLeft) / unit);
    const float lineHeight = ascent + descent, gap = kLineGap * unit;
    const float block = static_cast<float>(lines.size()) * lineHeight + static_cast<float>(lines.size() - 1) * gap;
    // The top edge is a unit of bevel; an accented capital rises two font
    // pixels above the other letters.
    const float middle = (kBadgeTop + kBadgeGap + kEntryH - 1 - 2 * unit) / 2;
    float baseline = middle + block / 2 - ascent;
    for (const std::string& line : lines) {
        GUILabel* label = GUILabel::create();
        label->setText(CCString::create(line));
        label->setScale(unit);
        label->setAnchorPoint(CCPointZero);
        label->setPosition(ccp(kTextLeft, baseline));
        entry->addChild(label);
        baseline -= lineHeight + gap;
    }
}

CCSprite* addSprite(CCNode* parent, const char* frame, const CCPoint& at, const CCPoint& anchor)
{
    if (!CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame))
        return nullptr;
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    sprite->setUserObject(CCString::create(frame));
    sprite->setAnchorPoint(anchor);
    sprite->setPosition(at);
    parent->addChild(sprite);
    return sprite;
}

}  // namespace

std::string GUI::elementTitle(const std::string& name)
{
    return localizedOr(name + "Title", name);
}

GUI::PaletteLayout GUI::paletteLayout()
{
    PaletteLayout l;
    const float s = sheetScale();
    l.top = visibleSize.height - 108.0f * static_cast<float>(screenRatio);
    l.tabsLeft = 8;
    l.gridLeft = l.tabsLeft + (kTabW + 2) * s;
    l.columns = std::max(1, static_cast<int>((visibleSize.width - l.gridLeft - 4) / ((kEntryW + kEntryGap) * s)));
    l.rows = std::max(1, static_cast<int>((l.top - 4) / ((kEntryH + kEntryGap) * s)));
    return l;
}

std::vector<std::string> GUI::familyNames(int family)
{
    std::vector<std::string> names;
    if (family == static_cast<int>(PaletteFamily::Special))
        names.emplace_back("Clear");
    for (const PaletteEntry& e : paletteTable())
        if (static_cast<int>(e.family) == family && ParticleCreator::isBuilt(hashString(e.name)))
            names.emplace_back(e.name);
    return names;
}

void GUI::showElementMenu()
{
    const std::string current = m_currentElement ? m_currentElement->getString() : std::string();
    showPaletteFamily(static_cast<int>(paletteFamilyOf(current)));
}

void GUI::onPaletteFamilyPicked(CCObject* family)
{
    if (auto* value = dynamic_cast<CCInteger*>(family))
        showPaletteFamily(value->getValue());
}

void GUI::showPaletteFamily(int family)
{
    if (family < 0 || family >= kPaletteFamilies)
        family = 0;
    m_paletteFamily = family;
    CCNode* content = newMenuContent();
    m_newElements.clear();
    GUITopBar::getInstance()->updateBadges();
    PixelMarket* market = PixelMarket::getInstance();
    if (market)
        market->loadCatalogue();
    const float s = sheetScale();
    const PaletteLayout layout = paletteLayout();

    for (int f = 0; f < kPaletteFamilies; ++f) {
        GUIButton* tab =
            GUI::makeMenuButton(this, callfuncO_selector(GUI::onPaletteFamilyPicked), CCInteger::create(f), kTabFrame);
        if (!tab)
            break;
        tab->setPosition(ccp(layout.tabsLeft, layout.top - (kTabH + kTabGap) * s * static_cast<float>(f)));
        addLine(tab, LocalUtils::localize(paletteFamilyKey(static_cast<PaletteFamily>(f)))->getString(), kTabText,
                kTabW - 4, ccp(kTabW / 2, kTabH / 2), ccp(0.5f, 0.5f));
        tab->setSelected(f == family);
        content->addChild(tab);
    }

    const std::string current = m_currentElement ? m_currentElement->getString() : std::string();
    const bool freePlay = worldHost().isFreePlay();
    int slot = 0;
    for (const std::string& name : familyNames(family)) {
        const std::string icon = "guitopbar_HUDelement_" + name + ".png";
        GUIButton* entry =
            GUI::makeMenuButton(this, callfuncO_selector(GUI::onElementPicked), CCString::create(name), kEntryFrame);
        if (!entry)
            break;
        const int column = slot % layout.columns, row = slot / layout.columns;
        ++slot;
        entry->setPosition(ccp(layout.gridLeft + (kEntryW + kEntryGap) * s * static_cast<float>(column),
                               layout.top - (kEntryH + kEntryGap) * s * static_cast<float>(row)));
        const float iconBottom = (kEntryH - kIconSize) / 2;
        addSprite(entry, icon.c_str(), ccp(1, iconBottom), ccp(0, 0));
        const bool available = freePlay || isAvailable(name);
        const int32_t price = market ? market->elementPrice(name.c_str()) : 0;
        const bool owned = price > 0 && priceToPay(name) == 0;
        addName(entry, localizedOr(name + "PaletteTitle", elementTitle(name)));
        if (!available) {
            // Withheld: neither bought nor free here, so no badge at all.
            entry->setOpacity(96);
            addSprite(entry, kLockFrame, ccp(1 + kIconSize / 2, iconBottom + kIconSize / 2), ccp(0.5f, 0.5f));
        } else if (price > 0 && !owned) {
            if (CCSprite* badge = addSprite(entry, kPriceFrame, ccp(kTextRight, kBadgeBottom), ccp(1, 0))) {
                const CCSize size = badge->getContentSize();
                addSprite(badge, kManaFrame, ccp(1, 0), ccp(0, 0));
                addLine(badge, std::to_string(price), kPriceText, size.width - 8, ccp(size.width - 1, size.height / 2),
                        ccp(1, 0.5f), kTightestText);
            }
        } else if (owned) {
            addSprite(entry, kOwnedFrame, ccp(kTextRight, kBadgeBottom), ccp(1, 0));
        } else {
            // Nothing to pay and nothing to buy: it says so.
            addLine(entry, LocalUtils::localize("PaletteFreeLabel")->getString(), kPriceText, kTextRight - kTextLeft,
                    ccp(kTextRight, (kBadgeBottom + kBadgeTop) / 2), ccp(1, 0.5f), kTightestText)
                ->setColor(kFreeColour);
        }
        entry->setSelected(name == current);
        content->addChild(entry);
    }
}

void GUI::onElementPicked(CCObject* name)
{
    auto* picked = dynamic_cast<CCString*>(name);
    if (!picked)
        return;
    if (picked->getString() == "Clear") {
        GUITopBar::getInstance()->onEraserButton();
        return;
    }
    const std::string element = picked->getString();
    if (!worldHost().isFreePlay() && !isAvailable(element)) {
        const char* why = isMadeInWorld(element) ? "PaletteMadeNotice" : "PaletteWithheldNotice";
        GUITopBar::getInstance()->showNoticeOnce(LocalUtils::localizeWithVar(why, elementTitle(element).c_str()),
                                                 CCString::create("HUDelement_" + element + ".png"));
        return;
    }
    if (const int32_t price = priceToPay(element); price > 0) {
        if (Profile::getInstance()->getMana() >= price) {
            m_pendingPurchase = element;
            // The popup shows what is bought and its price, as the shop's does;
            // its picture is the sheet's element picture, element_<name>.png.
            GUIPopup::getInstance()->setPurchaseInfo(
                toUpperCCString(
                    LocalUtils::localizeWithVar("ShopElemGenericUnlockPhrase", elementTitle(element).c_str())
                        ->getString()),
                CCString::create("element_" + element + ".png"), static_cast<float>(price),
                toUpperCCString(localizedOr(element + "Shop", "")));
            ScreenUtils::showPopup(CCString::create(element), this, callfunc_selector(GUI::confirmPurchase), nullptr,
                                   nullptr, 1);
        } else {
            if (PixelMarket* market = PixelMarket::getInstance())
                market->setRequestedElement(CCString::create(element));
            runAction(CCSequence::create(CCDelayTime::create(0.25f),
                                         CCCallFunc::create(this, callfunc_selector(GUI::showNotEnoughMana)), nullptr));
        }
        return;
    }
    takePickedElement(element);
}
