// The element palette: a tab per family down the left, the family's elements
// in a grid beside it. Each entry shows the element's icon and its name; an
// element on sale shows its price on a badge under the name, a bought one a
// tick there, and one the day does not offer is dimmed, locked and inert.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "base/LocalUtils.h"
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
#include "scene/ScreenUtils.h"
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
constexpr float kEntryW = 49, kEntryH = 16, kEntryGap = 1;
constexpr float kIconSize = 14;
constexpr float kTextLeft = 16.5f, kTextRight = 48;
// Caption sizes in units per font line (labels are scaled size / fontSize).
constexpr float kTabText = 7, kNameText = 6, kSmallestText = 4.5f, kTightestText = 3.6f, kPriceText = 4.5f;
// The centres of a name's lines: one or two beside the icon, and above a
// badge (5 units high) in the lower right corner.
constexpr float kUpperLine = 11.5f, kLowerLine = 4.5f;
constexpr float kBadgedSingleLine = 11, kBadgedUpperLine = 13.4f, kBadgedLowerLine = 8.25f;

// A localised text of the key, or the fallback while the table lacks the key.
std::string localizedOr(const std::string& key, const std::string& fallback)
{
    auto* text = localizationTable ? dynamic_cast<CCString*>(localizationTable->objectForKey(key)) : nullptr;
    return text ? text->getString() : fallback;
}

std::string upperCased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
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

// The width a line takes at a size, in units.
float lineWidth(const std::string& text, float size)
{
    GUILabel::setFontName(kFont);
    GUILabel* probe = GUILabel::create();
    probe->setText(CCString::create(text));
    return probe->getWidth() * size / GUILabel::fontSize;
}

// The name on an entry, beside the icon: one line when it fits, else two
// split at the space that needs the least shrinking. With a badge (a price or
// a tick) in the lower right corner, the name keeps above it.
void addName(GUIButton* entry, const std::string& name, bool badge)
{
    const float width = kTextRight - kTextLeft;
    const float upper = badge ? kBadgedUpperLine : kUpperLine;
    const float lower = badge ? kBadgedLowerLine : kLowerLine;
    if (name.find(' ') == std::string::npos || lineWidth(name, kNameText) <= width) {
        addLine(entry, name, kNameText, width, ccp(kTextLeft, badge ? kBadgedSingleLine : kEntryH / 2), ccp(0, 0.5f),
                kTightestText);
        return;
    }
    size_t best = std::string::npos;
    float bestScale = 0;
    for (size_t i = name.find(' '); i != std::string::npos; i = name.find(' ', i + 1)) {
        const float scale = std::min(
            {1.0f, width / lineWidth(name.substr(0, i), kNameText), width / lineWidth(name.substr(i + 1), kNameText)});
        if (best == std::string::npos || scale > bestScale + 0.01f ||
            (scale > bestScale - 0.01f &&
             std::abs(static_cast<long>(i * 2) - static_cast<long>(name.size())) <
                 std::abs(static_cast<long>(best * 2) - static_cast<long>(name.size())))) {
            best = i;
            bestScale = scale;
        }
    }
    addLine(entry, name.substr(0, best), kNameText, width, ccp(kTextLeft, upper), ccp(0, 0.5f), kTightestText);
    addLine(entry, name.substr(best + 1), kNameText, width, ccp(kTextLeft, lower), ccp(0, 0.5f), kTightestText);
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
        addSprite(entry, icon.c_str(), ccp(1, 1), ccp(0, 0));
        const bool available = freePlay || isAvailable(name);
        const int32_t price = market ? market->elementPrice(name.c_str()) : 0;
        const bool owned = price > 0 && priceToPay(name) == 0;
        addName(entry, elementTitle(name), price > 0);
        if (price > 0 && !owned) {
            if (CCSprite* badge = addSprite(entry, kPriceFrame, ccp(kTextRight, 0.5f), ccp(1, 0))) {
                const CCSize size = badge->getContentSize();
                addSprite(badge, kManaFrame, ccp(1, 0), ccp(0, 0));
                addLine(badge, std::to_string(price), kPriceText, size.width - 8, ccp(size.width - 1, size.height / 2),
                        ccp(1, 0.5f), kTightestText);
            }
        } else if (owned) {
            addSprite(entry, kOwnedFrame, ccp(kTextRight, 0.5f), ccp(1, 0));
        }
        if (!available) {
            entry->setOpacity(96);
            entry->setEnabled(false);
            addSprite(entry, kLockFrame, ccp(1 + kIconSize / 2, 1 + kIconSize / 2), ccp(0.5f, 0.5f));
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
    if (!worldHost().isFreePlay() && !isAvailable(element))
        return;
    if (const int32_t price = priceToPay(element); price > 0) {
        if (Profile::getInstance()->getMana() >= price) {
            m_pendingPurchase = element;
            // The popup shows what is bought and its price, as the shop's does;
            // its picture is the sheet's element picture, element_<name>.png.
            GUIPopup::getInstance()->setPurchaseInfo(
                CCString::create(
                    upperCased(LocalUtils::localizeWithVar("ShopElemGenericUnlockPhrase", elementTitle(element).c_str())
                                   ->getString())),
                CCString::create("element_" + element + ".png"), static_cast<float>(price),
                CCString::create(upperCased(localizedOr(element + "Shop", ""))));
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
    selectElement(element);
    closeMenu();
}
