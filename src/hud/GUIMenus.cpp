// The HUD's four menus: the element palette, the tools, the world settings
// and the world menu. Each rebuilds the window's button container.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <string>

#include "base/StatsUtils.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"
#include "profile/ShopItem.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "scene/SaveLoadUtils.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUISaveLoad.h"
#include "scene/GameLayer.h"
#include "world/GameServices.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUI.h"
#include "hud/GameHost.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "hud/PixelMarket.h"
#include "world/ParticleCreator.h"
#include "world/Tool.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

const char* const kTools[] = {"Draw", "Line", "Fill", "Replace", "Miner"};
const char* const kToolNameKeys[] = {"DrawName", "LineName", "FillName", "ReplaceName", "MinerName"};
// The menus' buttons: 48 x 12, room for the longest caption of the three
// languages at the menus' text size.
const char* const kWideButton = "gamemenus_menuButton.png";
const char* const kSwitchButton = "gamemenus_switchButton.png";

// Scales a caption down until it fits the room, clear of the button's
// outline by a unit each side.
void fitCaption(GUILabel* label, float room)
{
    label->shrinkToWidth(room - 4);
}

GUILabel* addCaption(CCNode* button, CCString* caption, const CCPoint& at, float room)
{
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel* label = GUILabel::create();
    label->setScale(7.0f / GUILabel::fontSize);
    label->setText(caption);
    label->setAnchorPoint(ccp(0.5f, 0.5f));
    label->setPosition(at);
    fitCaption(label, room);
    button->addChild(label);
    return label;
}

GUIButton* addButton(CCNode* content, GUI* gui, SEL_CallFuncO selector, CCObject* value, const char* frame,
                     CCString* caption, CCPoint at)
{
    GUIButton* button = GUI::makeMenuButton(gui, selector, value, frame);
    if (!button)
        return nullptr;
    button->setPosition(at);
    if (caption) {
        const CCSize size = button->getContentSize();
        addCaption(button, caption, ccp(size.width / 2, size.height / 2), size.width);
    }
    content->addChild(button);
    return button;
}

}  // namespace

GUIButton* GUI::makeMenuButton(GUI* gui, SEL_CallFuncO selector, CCObject* value, const char* frame)
{
    GUIButton* button = GUIButton::create(
        CCCallFuncO::create(WeakCallRelay::create(gui, selector), callfuncO_selector(WeakCallRelay::fire), value),
        frame, nullptr);
    if (!button)
        return nullptr;
    button->setScale(sheetScale());
    button->setAnchorPoint(ccp(0, 1));
    button->setActivateDelayed(true);
    return button;
}

namespace {

// A grid from the top-left of the area under the bar, left to right.
struct Grid {
    float cellW;
    float cellH;
    float left = 8;
    float top = 0;
    int column = 0;
    int columns = 1;
    CCPoint next()
    {
        const CCPoint at = ccp(left + cellW * static_cast<float>(column), top);
        if (++column >= columns) {
            column = 0;
            top -= cellH;
        }
        return at;
    }
};

Grid gridFor(float unitW, float unitH)
{
    Grid g{unitW * sheetScale(), unitH * sheetScale()};
    // Below the bar and the edge of its notification panel.
    g.top = visibleSize.height - 108.0f * static_cast<float>(screenRatio);
    g.columns = std::max(1, static_cast<int>((visibleSize.width - 16) / g.cellW));
    return g;
}

}  // namespace

CCNode* GUI::newMenuContent()
{
    if (m_buttonContainer)
        m_buttonContainer->removeFromParentAndCleanup(true);
    setPressedButton(nullptr);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/guitopbar.plist");
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/gamemenus.plist");
    m_buttonContainer = CCNode::create();
    m_buttonContainer->setPosition(ccp((screenSize.width - visibleSize.width) / 2, 0));
    addChild(m_buttonContainer, 1);
    if (!getChildByTag(kShadeTag)) {
        CCLayerColor* shade = CCLayerColor::create(ccc4(20, 30, 40, 200), screenSize.width, screenSize.height);
        addChild(shade, 0, kShadeTag);
    }
    return m_buttonContainer;
}

std::vector<std::string> GUI::paletteNames()
{
    std::vector<std::string> names;
    const bool freePlay = worldHost().isFreePlay();
    if (freePlay || isAvailable("Clear"))
        names.emplace_back("Clear");
    for (const PaletteEntry& e : paletteTable()) {
        if (!ParticleCreator::isBuilt(hashString(e.name)))
            continue;
        if (freePlay || isAvailable(e.name))
            names.emplace_back(e.name);
    }
    return names;
}

std::string GUI::pickStartElement()
{
    for (const PaletteEntry& e : paletteTable())
        if (ParticleCreator::isBuilt(hashString(e.name)) && isAvailable(e.name))
            return e.name;
    // A day that offers no element starts on the eraser, which paints nothing.
    return "Clear";
}

std::string GUI::pickStartTool()
{
    for (const char* tool : kTools)
        if (isAvailable(tool))
            return tool;
    return "Draw";
}

int32_t GUI::priceToPay(const std::string& name)
{
    PixelMarket* market = PixelMarket::getInstance();
    const int32_t price = market ? market->elementPrice(name.c_str()) : 0;
    if (price <= 0 || Profile::getInstance()->hasPurchasedElement(CCString::create(name)))
        return 0;
    return price;
}

void GUI::confirmPurchase()
{
    const std::string name = m_pendingPurchase;
    m_pendingPurchase.clear();
    const int32_t price = priceToPay(name);
    if (name.empty() || price <= 0)
        return;
    ShopItem item;
    item.setName(name.c_str());
    item.price = price;
    item.category = 0;
    if (!Profile::getInstance()->buyShopItem(CCString::create(name), item))
        return;
    takePickedElement(name);
}

void GUI::takePickedElement(const std::string& name)
{
    selectElement(name);
    // Mining on after picking Seed dug the bed the player meant to plant: the
    // Miner ignores the element, so a pick brings Draw (or the first painting
    // tool the level offers).
    if (gWorld && gWorld->currentTool && gWorld->currentTool->kind == Tool::kMiner)
        for (const char* tool : kTools)
            if (std::string(tool) != "Miner" && isAvailable(tool)) {
                selectTool(tool);
                break;
            }
    closeMenu();
}

void GUI::showNotEnoughMana()
{
    ScreenUtils::showPopup(LocalUtils::localize("ConfirmationNotEnoughMana"), PixelMarket::getInstance(),
                           callfunc_selector(PixelMarket::onManaButton), nullptr, nullptr, 0);
}

void GUI::showToolMenu()
{
    CCNode* content = newMenuContent();
    m_newTools.clear();
    GUITopBar::getInstance()->updateBadges();
    Grid grid = gridFor(50, 14);
    const int toolKind = gWorld && gWorld->currentTool ? gWorld->currentTool->kind : 0;
    for (size_t i = 0; i < std::size(kTools); ++i) {
        const char* tool = kTools[i];
        if (!worldHost().isFreePlay() && !isAvailable(tool))
            continue;
        if (GUIButton* b = addButton(content, this, callfuncO_selector(GUI::onToolPicked), CCString::create(tool),
                                     kWideButton, LocalUtils::localize(kToolNameKeys[i]), grid.next()))
            b->setSelected(static_cast<int>(i) + 1 == toolKind);
    }
    GUIButton* eraser = nullptr;
    for (const char* option : {"Clear", "Zoom"})
        if (worldHost().isFreePlay() || isAvailable(option)) {
            GUIButton* b =
                addButton(content, this, callfuncO_selector(GUI::onToolPicked), CCString::create(option), kWideButton,
                          LocalUtils::localize((std::string(option) + "Name").c_str()), grid.next());
            if (std::string(option) == "Clear")
                eraser = b;
        }
    if (eraser && toolKind >= 1 && toolKind <= static_cast<int>(std::size(kTools))) {
        const CCPoint beside = grid.next();
        GUILabel* words = showEraserTool(eraser, toolKind, content, beside);
        // Where the row's rest cannot hold them (a level with few tools
        // leaves the eraser near the row's end), the words start the next
        // row; never past the screen's edge.
        const float right = visibleSize.width - grid.left;
        if (words->boundingBox().getMaxX() > right && beside.x > grid.left) {
            if (grid.column != 0) {
                grid.column = 0;
                grid.top -= grid.cellH;
            }
            const CCPoint below = grid.next();
            words->setPosition(ccpAdd(words->getPosition(), ccpSub(below, beside)));
        }
        words->shrinkToWidth(right - words->getPosition().x);
    }
    if (grid.column != 0) {
        grid.column = 0;
        grid.top -= grid.cellH;
    }
    addBrushSlider(content, grid.next());
}

// The eraser erases the way the current tool draws (with Fill, a whole
// connected structure): its button is marked while it is on and carries that
// tool's pictogram, and the words beside it name the tool.
GUILabel* GUI::showEraserTool(GUIButton* eraser, int toolKind, CCNode* content, const CCPoint& wordsAt)
{
    const std::string tool = kTools[toolKind - 1];
    eraser->setSelected(m_currentElement && m_currentElement->getString() == "Clear");
    const CCSize size = eraser->getContentSize();
    if (CCSprite* icon = CCSprite::createWithSpriteFrameName(("guitopbar_HUD" + tool + ".png").c_str())) {
        icon->setUserObject(CCString::create("guitopbar_HUD" + tool + ".png"));
        icon->setScale((size.height - 2) / icon->getContentSize().height);
        icon->setAnchorPoint(ccp(1, 0.5f));
        icon->setPosition(ccp(size.width - 2, size.height / 2));
        eraser->addChild(icon, 1, kEraserToolTag);
        const float room = size.width - 4 - icon->boundingBox().size.width;
        for (CCObject* child : *eraser->getChildren())
            if (auto* caption = dynamic_cast<GUILabel*>(child))
                caption->setPosition(ccp(room / 2 + 1, caption->getPosition().y));
    }
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel* words = GUILabel::create();
    words->setScale(sheetScale() * 7.0f / GUILabel::fontSize);
    words->setText(LocalUtils::localizeWithVar("EraserToolLabel",
                                               LocalUtils::localize(kToolNameKeys[toolKind - 1])->getCString()));
    words->setAnchorPoint(ccp(0, 0.5f));
    words->setPosition(ccp(wordsAt.x + 2 * sheetScale(), wordsAt.y - eraser->boundingBox().size.height / 2));
    content->addChild(words, 0, kEraserToolTag);
    return words;
}

void GUI::onToolPicked(CCObject* name)
{
    auto* picked = dynamic_cast<CCString*>(name);
    if (!picked)
        return;
    const std::string tool = picked->getString();
    if (tool == "Clear") {
        GUITopBar::getInstance()->onEraserButton();
        return;
    }
    if (tool == "Zoom") {
        GUITopBar::getInstance()->onZoomButton();
        return;
    }
    selectTool(tool);
    // A drawing tool after the eraser draws with the element again.
    if (m_currentElement && m_currentElement->getString() == "Clear")
        restoreLastElement();
    closeMenu();
}

const char* GUI::temperatureNameKey(int level)
{
    static const char* const keys[] = {"VeryColdName", "ColdName", "NormalName", "HotName", "VeryHotName"};
    return level >= 1 && level <= 5 ? keys[level - 1] : "NormalName";
}

void GUI::showWorldSettingsMenu()
{
    CCNode* content = newMenuContent();
    m_newOptions.clear();
    GUITopBar::getInstance()->updateBadges();
    Grid grid = gridFor(50, 14);
    grid.columns = 5;
    // A locked day offers only the presets and switches it lists.
    const bool freePlay = worldHost().isFreePlay();
    static const char* const presets[] = {"VeryCold", "Cold", "Normal", "Hot", "VeryHot"};
    for (int level = 1; level <= 5; ++level) {
        if (!freePlay && !isAvailable(presets[level - 1]))
            continue;
        GUIButton* b = addButton(content, this, callfuncO_selector(GUI::onPresetPicked), CCInteger::create(level),
                                 kWideButton, LocalUtils::localize(temperatureNameKey(level)), grid.next());
        if (b)
            b->setSelected(level == m_temperatureLevel);
    }
    // The switches: a row of taller tiles that show their state.
    Grid tiles = grid;
    tiles.column = 0;
    tiles.top = grid.column == 0 ? grid.top : grid.top - grid.cellH;
    tiles.cellH = 24 * sheetScale();
    const char* const switches[] = {"Temperature", "Light", "Sun", "Weather"};
    for (int i = 0; i < 4; ++i)
        if (freePlay || isAvailable(switches[i]))
            addSwitch(content, i, tiles.next());
    grid.column = 0;
    grid.top = tiles.column == 0 ? tiles.top : tiles.top - tiles.cellH;
    if (freePlay || isAvailable("Background"))
        addButton(content, this, callfuncO_selector(GUI::onBackgroundsButton), nullptr, kWideButton,
                  LocalUtils::localize("BackgroundName"), grid.next());
    addButton(content, this, callfuncO_selector(GUI::onGalleryButton), nullptr, kWideButton,
              LocalUtils::localize("GalleryBut"), grid.next());
}

bool GUI::isSwitchOn(int which)
{
    if (!gWorld)
        return false;
    switch (which) {
    case 0: return gWorld->temperatureField.isViewOn();
    case 1: return gWorld->lightMap.isLightOn();
    case 2: return gWorld->lightMap.isSunOn();
    case 3: return gWorld->weather;
    default: return false;
    }
}

GUIButton* GUI::addSwitch(CCNode* content, int which, const CCPoint& at)
{
    static const char* const names[] = {"TemperatureName", "LightName", "SunName", "WeatherName"};
    GUIButton* button = addButton(content, this, callfuncO_selector(GUI::onSwitchPicked), CCInteger::create(which),
                                  kSwitchButton, nullptr, at);
    if (!button)
        return nullptr;
    button->setTag(kSwitchTag + which);
    const CCSize size = button->getContentSize();
    addCaption(button, LocalUtils::localize(names[which]), ccp(size.width / 2, size.height - 6), size.width);
    // Below the name: the switch itself and its state in words.
    if (CCSprite* toggle = CCSprite::createWithSpriteFrameName("gamemenus_switchOff.png")) {
        toggle->setAnchorPoint(ccp(0, 0.5f));
        toggle->setPosition(ccp(4, 6));
        button->addChild(toggle, 1, kSwitchToggleTag);
        const float left = 4 + toggle->getContentSize().width;
        addCaption(button, CCString::create(""), ccp((left + size.width) / 2, 6), size.width - left)
            ->setTag(kSwitchStateTag);
    }
    showSwitchState(button, isSwitchOn(which));
    return button;
}

void GUI::showSwitchState(GUIButton* tile, bool on)
{
    auto* toggle = dynamic_cast<CCSprite*>(tile->getChildByTag(kSwitchToggleTag));
    auto* state = dynamic_cast<GUILabel*>(tile->getChildByTag(kSwitchStateTag));
    if (!toggle || !state)
        return;
    const char* frame = on ? "gamemenus_switchOn.png" : "gamemenus_switchOff.png";
    if (CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame))
        toggle->setDisplayFrame(f);
    toggle->setUserObject(CCString::create(frame));
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    state->setScale(7.0f / GUILabel::fontSize);
    state->setText(LocalUtils::localize(on ? "SwitchOnLabel" : "SwitchOffLabel"));
    const float left = toggle->getPosition().x + toggle->getContentSize().width;
    fitCaption(state, tile->getContentSize().width - left);
}

void GUI::refreshSwitches()
{
    if (!m_buttonContainer)
        return;
    for (int which = 0; which < 4; ++which)
        if (auto* tile = dynamic_cast<GUIButton*>(m_buttonContainer->getChildByTag(kSwitchTag + which)))
            showSwitchState(tile, isSwitchOn(which));
}

void GUI::onBackgroundsButton(CCObject*)
{
    closeMenu();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->openBackgroundsWindow();
}

void GUI::onGalleryButton(CCObject*)
{
    closeMenu();
    openGallery();
}

void GUI::onPresetPicked(CCObject* level)
{
    auto* value = dynamic_cast<CCInteger*>(level);
    if (!value)
        return;
    refreshTemperature(value->getValue());
    markWorldChanged();
    GUITopBar::getInstance()->updateBadges();
    closeMenu();
}

void GUI::onSwitchPicked(CCObject* which)
{
    auto* value = dynamic_cast<CCInteger*>(which);
    switch (value ? value->getValue() : -1) {
    case 0: applyTemperature(); break;
    case 1: applyLight(); break;
    case 2: applySun(); break;
    case 3: applyWeather(); break;
    default: return;
    }
    markWorldChanged();
    // The menu stays: the tile shows the new state.
}

void GUI::afterSwitch()
{
    GUITopBar::getInstance()->refreshTemperatureIcon();
    GUITopBar::getInstance()->updateBadges();
    refreshSwitches();
}

void GUI::applyTemperature()
{
    if (gWorld)
        gWorld->temperatureField.setViewOn(!gWorld->temperatureField.isViewOn());
    afterSwitch();
}

void GUI::applyLight()
{
    if (gWorld)
        gWorld->lightMap.setLightOn(!gWorld->lightMap.isLightOn());
    afterSwitch();
}

void GUI::applySun()
{
    if (gWorld)
        gWorld->lightMap.setSunOn(!gWorld->lightMap.isSunOn());
    afterSwitch();
}

void GUI::applyWeather()
{
    if (gWorld)
        gWorld->toggleWeather();
    afterSwitch();
}

void GUI::showWorldMenu()
{
    CCNode* content = newMenuContent();
    Grid grid = gridFor(50, 14);
    grid.columns = 3;
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    const std::string name = gameServices().universeName ? gameServices().universeName() : std::string();
    const std::string description =
        gameServices().universeDescription ? gameServices().universeDescription() : std::string();

    // The name and the description read at the size of the buttons' captions.
    const float textScale = sheetScale() * 7.0f / GUILabel::fontSize;
    const CCPoint nameAt = grid.next();
    GUIButton* nameButton = addButton(content, this, callfuncO_selector(GUI::onNameButton), nullptr, kWideButton,
                                      LocalUtils::localize("WorldNameBut"), nameAt);
    // Each text's first line beside the middle of its button.
    const float lineHeight = (GUILabel::fontSize - GUILabel::baseLine) * textScale;
    const float middle = nameButton ? nameButton->boundingBox().size.height / 2 : lineHeight / 2;
    GUILabel* nameLabel = GUILabel::create();
    nameLabel->setScale(textScale);
    nameLabel->setText(CCString::create(name));
    nameLabel->setAnchorPoint(ccp(0, 0.5f));
    nameLabel->setPosition(ccp(nameAt.x + 52 * sheetScale(), nameAt.y - middle));
    content->addChild(nameLabel);
    setNameLabel(nameLabel);
    grid.next();
    grid.next();

    const CCPoint descriptionAt = grid.next();
    addButton(content, this, callfuncO_selector(GUI::onDescriptionButton), nullptr, kWideButton,
              LocalUtils::localize("WorldDescriptionBut"), descriptionAt);
    GUILabel* descriptionLabel = GUILabel::create();
    descriptionLabel->setScale(textScale);
    descriptionLabel->setAnchorPoint(ccp(0, 1));
    descriptionLabel->setPosition(ccp(descriptionAt.x + 52 * sheetScale(), descriptionAt.y - middle - lineHeight / 2));
    content->addChild(descriptionLabel);
    setDescriptionLabel(descriptionLabel);
    GUILabel::lineSpacing = -2.0f;
    descriptionLabel->setMultilineText(shownDescription(description), kDescriptionWidth, kDescriptionLines);
    grid.next();
    grid.next();
    // Its longest text runs below its button: the picture starts under that.
    const float descriptionHeight =
        kDescriptionLines * (GUILabel::fontSize - GUILabel::baseLine + 2.0f + GUILabel::lineSpacing) * textScale;
    grid.top = std::min(grid.top, descriptionAt.y - descriptionHeight - 4 * sheetScale());

    // The world as it is now, one pixel a cell, and its buttons in a column
    // at its right, clear of it.
    const CCPoint pictureAt = grid.next();
    Grid column{grid.cellW, grid.cellH, pictureAt.x, pictureAt.y};
    if (CCSprite* snapshot = ScreenUtils::createWorldSnapshot()) {
        snapshot->setAnchorPoint(ccp(0, 1));
        snapshot->setPosition(pictureAt);
        content->addChild(snapshot, 0, kSnapshotTag);
        column.left += snapshot->boundingBox().size.width + 4 * sheetScale();
    }
    showWorldRating();
    // Rate for a world from the online gallery only; Upload in free play.
    GameLayer* layer = GameLayer::existingInstance();
    if (layer && layer->getOnlineWorldId() != 0)
        addButton(content, this, callfuncO_selector(GUI::onRateButton), nullptr, kWideButton,
                  LocalUtils::localize("RateWorldBut"), column.next());
    if (worldHost().isFreePlay())
        addButton(content, this, callfuncO_selector(GUI::onUploadButton), nullptr, kWideButton,
                  LocalUtils::localize("UploadBut"), column.next());
    addButton(content, this, callfuncO_selector(GUI::onSaveButton), nullptr, kWideButton,
              LocalUtils::localize("SaveUniverseNameBut"), column.next());
    addButton(content, this, callfuncO_selector(GUI::onLoadButton), nullptr, kWideButton,
              LocalUtils::localize("LoadName"), column.next());
    addButton(content, this, callfuncO_selector(GUI::onNewWorldButton), nullptr, kWideButton,
              LocalUtils::localize("NewWorldBut"), column.next());
}

std::string GUI::ratingWords(double average, int32_t count)
{
    if (count <= 0)
        return LocalUtils::localize("GalleryNotRated")->getString();
    const std::string shown = LocalUtils::decimalText(average, 1);
    if (count == 1)
        return LocalUtils::localizeWithVar("GalleryRatingCountOne", shown.c_str())->getString();
    return LocalUtils::localizeWithVars(CCString::create("GalleryRatingCount"), CCString::create(shown),
                                        CCString::createWithFormat("%d", count))
        ->getString();
}

const char* GUI::ratingStarFrame(double average, int star)
{
    const double part = average - star;
    return part >= 0.75 ? "onlinegallery_starOn.png"
        : part >= 0.25  ? "onlinegallery_starHalf.png"
                        : "onlinegallery_starOff.png";
}

void GUI::showWorldRating()
{
    CCNode* content = m_buttonContainer;
    CCNode* picture = content ? content->getChildByTag(kSnapshotTag) : nullptr;
    if (!picture)
        return;
    content->removeChildByTag(kRatingTag, true);
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer || layer->getOnlineWorldId() == 0)
        return;
    // The gallery cards' stars, at the size of the menu's other pictures.
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/onlinegallery.plist");
    const float scale = sheetScale();
    const CCRect box = picture->boundingBox();
    CCNode* row = CCNode::create();
    row->setPosition(ccp(box.getMinX(), box.getMinY() - 3 * scale));
    content->addChild(row, 0, kRatingTag);
    const float average = layer->getWorldRating();
    const int32_t count = layer->getWorldRatingCount();
    float x = 0;
    for (int i = 0; i < 5; ++i) {
        const char* frame = ratingStarFrame(count > 0 ? average : 0.0, i);
        CCSprite* star = CCSprite::createWithSpriteFrameName(frame);
        if (!star)
            continue;
        star->setUserObject(CCString::create(frame));
        star->setScale(scale);
        star->setAnchorPoint(ccp(0, 1));
        star->setPosition(ccp(x, 0));
        row->addChild(star);
        x += (star->getContentSize().width + 1) * scale;
    }
    // The words under the stars, held to the picture's width: the buttons'
    // column stands right of it.
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel* words = GUILabel::create();
    words->setScale(scale * 7.0f / GUILabel::fontSize);
    words->setText(CCString::create(ratingWords(average, count)));
    words->setAnchorPoint(ccp(0, 1));
    words->setPosition(ccp(0, -10 * scale));
    words->shrinkToWidth(box.size.width);
    row->addChild(words);
}

void GUI::onNameButton(CCObject*)
{
    m_saveAfterNaming = false;
    openNameKeyboard();
}

void GUI::openNameKeyboard()
{
    // An unnamed world opens the keyboard empty, its prompt as the hint.
    const std::string name = gameServices().universeName ? gameServices().universeName() : std::string();
    CCString* prompt = LocalUtils::localize("UniverseNameEmpty");
    const bool named = !trimmedText(name).empty() && name != prompt->getString();
    if (m_nameLabel && named)
        m_nameLabel->setText(CCString::create(name));
    // The back key must not trap a save in a keyboard that wants a name.
    ScreenUtils::showKeyboard(m_nameLabel, this, callfuncO_selector(GUI::onNameEntered), named ? nullptr : prompt,
                              m_saveAfterNaming ? callfunc_selector(GUI::onNameDismissed) : nullptr);
    // A rename starts afresh: the first key drops the shown name.
    GUIKeyboard::getInstance()->updateCharsLeft();
}

void GUI::onNameEntered(CCObject* text)
{
    auto* entered = dynamic_cast<CCString*>(text);
    std::string name = trimmedText(entered ? entered->getString() : std::string());
    const std::string prompt = LocalUtils::localize("UniverseNameEmpty")->getString();
    if (name == prompt)
        name.clear();
    if (m_saveAfterNaming && name.empty()) {
        LOG << "world menu: a save with no name typed; the keyboard stays up";
        ScreenUtils::showKeyboard(m_nameLabel, this, callfuncO_selector(GUI::onNameEntered),
                                  LocalUtils::localize("NameInputEmpty"), callfunc_selector(GUI::onNameDismissed));
        if (m_nameLabel)
            m_nameLabel->setText(CCString::create(gameServices().universeName ? gameServices().universeName() : ""));
        return;
    }
    m_nameToSave.clear();
    if (m_saveAfterNaming) {
        // The name typed for a save becomes the world's only with the save.
        m_saveAfterNaming = false;
        Profile::getInstance()->setHasSavedWorld(true);
        m_nameToSave = name;
        saveAndShow(false);
        return;
    }
    // Nothing typed leaves the world unnamed, with its prompt.
    if (name.empty())
        name = prompt;
    if (gameServices().setUniverseName)
        gameServices().setUniverseName(name);
    markWorldChanged();
    if (m_nameLabel)
        m_nameLabel->setText(CCString::create(name));
}

void GUI::onNameDismissed()
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    CCString* typed = keyboard->isShowingHint() ? nullptr : keyboard->getText();
    if (typed && !trimmedText(typed->getString()).empty()) {
        onNameEntered(typed);
        return;
    }
    m_saveAfterNaming = false;
    LOG << "world menu: the save was called off at its name";
}

void GUI::onDescriptionButton(CCObject*)
{
    const std::string description =
        gameServices().universeDescription ? gameServices().universeDescription() : std::string();
    CCString* initial = LocalUtils::localize("UniverseDescriptionInitial");
    const bool real = !trimmedText(description).empty() && description != initial->getString();
    // A real description opens as its label shows it.
    ScreenUtils::showKeyboardWithLabel(m_descriptionLabel, kDescriptionWidth, this, real ? nullptr : initial);
    GUIKeyboard::getInstance()->updateCharsLeft();
}

void GUI::onSaveButton(CCObject*)
{
    m_nameToSave.clear();
    // An unnamed world is named first; the save follows the name.
    const std::string name = gameServices().universeName ? gameServices().universeName() : std::string();
    if (trimmedText(name).empty() || name == LocalUtils::localize("UniverseNameEmpty")->getString()) {
        m_saveAfterNaming = true;
        openNameKeyboard();
        return;
    }
    Profile::getInstance()->setHasSavedWorld(true);
    saveAndShow(false);
}

void GUI::confirmOverwrite()
{
    saveAndShow(true);
}

void GUI::saveAndShow(bool overwrite)
{
    // A name typed for this save is the world's while it is written, and
    // stays only once the world is saved under it: an overwrite declined in
    // any way, or a failed write, leaves the name as it was, so the next
    // Save asks again. The overwrite question's OK saves under it once more.
    const std::string typed = m_nameToSave;
    const std::string before = gameServices().universeName ? gameServices().universeName() : std::string();
    if (!typed.empty() && gameServices().setUniverseName)
        gameServices().setUniverseName(typed);
    const bool changed = (gWorld && gWorld->unsavedChanges) || !typed.empty();
    const SaveLoadUtils::SaveResult result = SaveLoadUtils::saveWorld(overwrite);
    GameLayer* layer = GameLayer::existingInstance();
    if (result == SaveLoadUtils::SaveResult::Saved && changed && layer && layer->getLoadedWorldName()) {
        const std::string mark = galleryMarkOf(layer->getLoadedWorldName()->getString());
        if (gameServices().fileExists(mark) && gameServices().fileDelete(mark))
            LOG << "saved world" << layer->getLoadedWorldName()->getString() << "changed: no longer the shared copy";
    }
    showSaveResult(result);
    if (result != SaveLoadUtils::SaveResult::Exists)
        m_nameToSave.clear();
    if (!typed.empty()) {
        const bool kept = result == SaveLoadUtils::SaveResult::Saved;
        if (!kept && gameServices().setUniverseName)
            gameServices().setUniverseName(before);
        if (m_nameLabel)
            m_nameLabel->setText(CCString::create(kept ? typed : before));
    }
}

void GUI::showSaveResult(SaveLoadUtils::SaveResult result)
{
    m_saveError = result == SaveLoadUtils::SaveResult::Failed ? gameServices().lastFileWriteError() : 0;
    m_earlierSaveKept = SaveLoadUtils::hasEarlierSave();
    // From the overwrite question's answer that popup is still up and would
    // swallow the next one: show the outcome a frame later.
    if (GUIPopup::getInstance()->isShown()) {
        m_deferredSaveResult = result;
        runAction(CCSequence::create(CCDelayTime::create(0.0f),
                                     CCCallFunc::create(this, callfunc_selector(GUI::showDeferredSaveResult)),
                                     nullptr));
        return;
    }
    showSaveResultNow(result);
}

void GUI::showDeferredSaveResult()
{
    showSaveResultNow(m_deferredSaveResult);
}

void GUI::showSaveResultNow(SaveLoadUtils::SaveResult result)
{
    // A failed save writes nothing, so the store still says whether an
    // earlier save stays; a world never saved has none to speak of.
    auto failure = [this](CCString* said) {
        std::string text = said->getString();
        if (m_earlierSaveKept)
            text += " " + LocalUtils::localize("WorldEarlierSaveKept")->getString();
        ScreenUtils::showPopup(CCString::create(text), nullptr, nullptr, nullptr, nullptr, 2);
    };
    switch (result) {
    case SaveLoadUtils::SaveResult::Saved:
        ScreenUtils::showPopup(LocalUtils::localize("WorldSavedPopup"), nullptr, nullptr, nullptr, nullptr, 2);
        break;
    case SaveLoadUtils::SaveResult::Exists:
        ScreenUtils::showLosingQuestion(LocalUtils::localize("ConfirmationOverwritePopup"), this,
                                        callfunc_selector(GUI::confirmOverwrite));
        break;
    // The old save, if any, is still there; say so rather than claim success.
    case SaveLoadUtils::SaveResult::NameRefused: failure(LocalUtils::localize("WorldSaveFailedPopup")); break;
    case SaveLoadUtils::SaveResult::Failed:
        failure(LocalUtils::localizeWithVar("WorldNotSavedBecause", saveFailureReason(m_saveError).c_str()));
        break;
    }
}

void GUI::onLoadButton(CCObject*)
{
    GUITopBar::getInstance()->resetButtons();
    releaseMenuButton();
    m_openMenu = kNoMenu;
    if (getState() != Closed && getState() != Closing)
        close();
    // Back from the list the world goes on as the player left it, as from
    // the gallery: the element, tool and brush stay chosen, no goals reopen.
    ScreenUtils* screens = ScreenUtils::getInstance();
    screens->savedWindow = screens->getCurrentWindow();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setReturnAsItWas(true);
    CCDirector::sharedDirector()->pushScene(CCTransitionFade::create(0.25f, GUISaveLoad::scene()));
}

void GUI::onNewWorldButton(CCObject*)
{
    // As the back key does, but only when something would be lost.
    if (gWorld && gWorld->unsavedChanges) {
        ScreenUtils::showLosingQuestion(LocalUtils::localize("ConfirmationNewWorld"), this,
                                        callfunc_selector(GUI::startNewWorld));
        return;
    }
    startNewWorld();
}

void GUI::startNewWorld()
{
    StatsUtils::worldReset(CCString::create(worldHost().isFreePlay() ? "Free Mode" : "Story Mode"));
    // An emptied world is no gallery world any more.
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setOnlineWorldId(0);
    if (gWorld) {
        gWorld->reset();
        // The player cleared the world (day 4 asks for it).
        gWorld->eventFlags[World::kEventWorldReset] = 1;
    }
    closeMenu();
}
