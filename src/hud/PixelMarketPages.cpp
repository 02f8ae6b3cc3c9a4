// The shop's category pages: the elements on sale and the reward
// backgrounds, their rows, the buttons that open them and the back action.
#include <algorithm>
#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIScroll.h"
#include "gui/SlidingLayer.h"
#include "hud/FrontEnd.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "hud/PixelMarket.h"
#include "profile/BackgroundId.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

constexpr const char* kSheet = "pvr/pixelmarket.pvr.ccz";
constexpr const char* kFrames = "pvr/pixelmarket.plist";
constexpr const char* kFont = "pixelmarket_ach_fontButtons";
constexpr int kPageFrameZ = 79;
// Above the page frame's sheet: the pictures, then the rows over them.
constexpr int kSliderZ = 1, kScrollZ = 2;
// A picture that cannot be read keeps its row's place (a background's size).
constexpr float kPictureWidth = 120, kPictureHeight = 80;
// Room kept free at either end of a row's text, in its own units.
constexpr float kTextMargin = 3;

// The element list of the elements page, in row order.
const char* const kShopElements[] = {"Acid",
                                     "Algae",
                                     "Amatist",
                                     "Ankylosaur",
                                     "AVirus",
                                     "SeedBaobab",
                                     "Bass",
                                     "Bee",
                                     "SeedBonsai",
                                     "Bright",
                                     "Brontosaurus",
                                     "BuilderDust",
                                     "Bulb",
                                     "C4",
                                     "SeedChichenItza",
                                     "Citrine",
                                     "SeedCedar",
                                     "ColdSensor",
                                     "Compsognathus",
                                     "Cooler",
                                     "CrossWire",
                                     "DeepSeaFish",
                                     "Deinonychus",
                                     "Diamond",
                                     "SeedDracaena",
                                     "Drums",
                                     "SeedEiffel",
                                     "Electro",
                                     "Emerald",
                                     "Fire",
                                     "Firefly",
                                     "Fish",
                                     "Gas",
                                     "GasSensor",
                                     "Glass",
                                     "Guitar",
                                     "Heater",
                                     "HotSensor",
                                     "HumanLeader",
                                     "HumanSensor",
                                     "HunterDust",
                                     "Ice",
                                     "Insulator",
                                     "Lapislazuli",
                                     "Laser",
                                     "LaserTrans",
                                     "Lava",
                                     "LedBlue",
                                     "LedGreen",
                                     "LedOrange",
                                     "LedPurple",
                                     "LedRed",
                                     "LedYellow",
                                     "SeedLiberty",
                                     "Metal",
                                     "MinerDust",
                                     "Mud",
                                     "Multi",
                                     "NormalSensor",
                                     "Note",
                                     "SeedOak",
                                     "Obsidian",
                                     "Oil",
                                     "Pachy",
                                     "SeedPagoda",
                                     "SeedPalm",
                                     "Parasaurolophus",
                                     "SeedPine",
                                     "Pipe",
                                     "PipeIn",
                                     "PipeOut",
                                     "SeedPisa",
                                     "Plesiosaurus",
                                     "Power",
                                     "MPLeaderRabbit",
                                     "SeedRedMaple",
                                     "Ruby",
                                     "Sand",
                                     "Sapphire",
                                     "SeedSakura",
                                     "Seed",
                                     "Snow",
                                     "Soil",
                                     "Steam",
                                     "Stone",
                                     "SeedTenere",
                                     "Stegosaurus",
                                     "Tnt",
                                     "Triceratops",
                                     "Trumpet",
                                     "Tyrannosaurus",
                                     "Velociraptor",
                                     "VeryColdSensor",
                                     "VeryHotSensor",
                                     "Virus",
                                     "Void",
                                     "Wall",
                                     "Water",
                                     "Wax",
                                     "SeedWillow",
                                     "Wood",
                                     "WoodcutterDust",
                                     "Zircon",
                                     "ZombieDust"};
static_assert(std::size(kShopElements) == 104);

float ratio()
{
    return static_cast<float>(screenRatio);
}

bool ownsBackground(const std::string& id)
{
    Profile* profile = Profile::getInstance();
    CCString* name = CCString::create(id);
    return profile->hasPurchasedBackground(name) || profile->hasUnlockedBackground(name);
}

// The row's text on its button, size 10, shrunk only when it would not fit
// the room it has. The shrunk size stays clear of the whole-pixel snap that
// labels make on entering (it rounds up from .8), so it keeps to its room.
void setRowText(GUIButton* button, CCString* text, const CCPoint& at, float room)
{
    button->setText(text, 10, at, ccp(0.5f, 0.5f), ccc3(255, 255, 255));
    GUILabel* label = button->getLabel();
    const float shown = label ? label->getWidth() * label->getScale() : 0;
    if (shown <= room || room <= 0)
        return;
    const float parent = button->getScale();
    const float wanted = parent * label->getScale() * room / shown;
    const float onScreen = std::min(wanted, std::floor(wanted) + 0.79f);
    label->setScale(onScreen / parent);
}

// The buy tag of a row and its price (or "owned"), in the scroll beside the row.
void addBuyTag(CCNode* scroll, const CCPoint& at, float k, bool owned, const std::optional<int32_t>& price)
{
    CCSprite* tag = CCSprite::createWithSpriteFrameName("pixelmarket_buttonOk.png");
    if (!tag)
        return;
    tag->setAnchorPoint(CCPointZero);
    tag->setPosition(at);
    tag->setScale(k);
    scroll->addChild(tag);
    const CCSize size = tag->getContentSize();
    GUILabel* label = GUILabel::create();
    label->setScale(k * 10.0f / GUILabel::fontSize);
    if (owned) {
        label->setText(toUpperCCString(LocalUtils::localize("ShopElemAlreadyBut")->getString()));
        label->setAnchorPoint(ccp(0.5f, 0.5f));
        label->setPosition(ccp(at.x + size.width * k / 2, at.y + size.height * k / 2));
        tag->setOpacity(0);
        scroll->addChild(label);
        return;
    }
    if (!price) {
        // Nothing to pay with: no tag, no price.
        tag->setOpacity(0);
        return;
    }
    CCSprite* mana = CCSprite::createWithSpriteFrameName("pixelmarket_mana.png");
    float manaWidth = 0;
    if (mana) {
        mana->setAnchorPoint(ccp(0, 0.5f));
        mana->setPosition(ccp(6, size.height / 2));
        tag->addChild(mana);
        manaWidth = mana->getContentSize().width;
    }
    label->setText(CCString::createWithFormat("%d", *price));
    label->setAnchorPoint(ccp(0, 0.5f));
    label->setPosition(ccp(at.x + (6 + manaWidth) * k + 4, at.y + size.height * k / 2));
    scroll->addChild(label);
}

}  // namespace

CCArray* PixelMarket::listRewardBackgrounds()
{
    LOG_TRACE;
    CCArray* files = CCArray::create();
    const std::string folder = joinPath(joinPath(resourceRoot, "backgrounds/"), "Rewards/");
    for (const std::string& name : listFilesInFolder(folder))
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".png") == 0)
            files->addObject(CCString::create(name));
    return files;
}

void PixelMarket::onElementsButton()
{
    LOG_TRACE;
    playSound("sfx_gui_select");
    showCategoryPage(0);
}

void PixelMarket::onBackgroundsButton()
{
    LOG_TRACE;
    playSound("sfx_gui_select");
    showCategoryPage(1);
}

void PixelMarket::onManaButton()
{
    LOG_TRACE;
    playSound("sfx_gui_select");
    ScreenUtils::showOfflinePopup();
}

void PixelMarket::showCategoryPage(int page)
{
    LOG_TRACE;
    const float r = ratio(), k = 4 * r, mW = visibleMargin().width;
    m_pageMode = page;
    ++m_pageCounter;
    showManaAmount();
    setFrontPageActive(false);
    setCategoryPageVisible(true);
    // A rebuild replaces the rows of the last build; it never adds to them.
    clearPageRows();

    if (!m_scroll && !m_pageFrame) {
        if (GUIScroll* scroll = GUIScroll::create(kSheet, 4000)) {
            m_scroll = scroll;
            m_scroll->retain();
            m_scroll->setUserFlag(true);
        }
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
        m_pageFrame = CCSprite::createWithSpriteFrameName("pixelmarket_shop_window.png");
        if (!m_pageFrame)
            m_pageFrame = CCSprite::create();
        m_pageFrame->retain();
        m_pageFrame->setAnchorPoint(CCPointZero);
        const float u = static_cast<float>(scaledUnit());
        m_pageFrame->setPosition(ccp(u, u));
        m_pageFrame->setScale(k);
    }
    if (!m_scroll)
        return;
    if (m_pageFrame && !m_pageFrame->getParent() && m_buttonContainer)
        m_buttonContainer->addChild(m_pageFrame, kPageFrameZ);
    if (!m_scroll->getParent())
        addChild(m_scroll, kScrollZ);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
    GUILabel::setFontName(kFont);

    const CCPoint frameAt = m_pageFrame->getPosition();
    const CCSize frameSize = m_pageFrame->getContentSize();
    m_scroll->setRect(
        CCRect(frameAt.x + mW / 2, frameAt.y + 92 * r, frameSize.width * k - 20, frameSize.height * k - 110 * r));

    if (page == 0)
        buildElementsPage();
    else if (page == 1)
        buildBackgroundsPage();
    else
        limitScroll(0, 0);
}

void PixelMarket::limitScroll(float lowestRowBottom, float highestRowTop)
{
    const CCRect clip = m_scroll->getRect();
    const float rest = std::trunc(m_scroll->getPosition().y);
    const float below = std::max(0.0f, clip.getMinY() - (rest + lowestRowBottom));
    const float above = std::max(0.0f, rest + highestRowTop - clip.getMaxY());
    m_scrollMin = static_cast<int32_t>(rest - above);
    m_scrollMax = static_cast<int32_t>(rest + below);
    m_scroll->setMinY(static_cast<float>(m_scrollMin));
    m_scroll->setMaxY(static_cast<float>(m_scrollMax));
}

void PixelMarket::buildElementsPage()
{
    CCArray* names = CCArray::createWithCapacity(std::size(kShopElements));
    const bool everything = worldHost().isFreePlay() || frontEnd().mainMenuShown();
    GameLayer* layer = GameLayer::existingInstance();
    // Without the HUD nothing is known to be allowed in this world.
    GUI* hud = layer ? layer->getGUI() : nullptr;
    for (const char* name : kShopElements)
        if (everything || (hud && hud->isAvailable(name)))
            names->addObject(CCString::create(name));
    names->retain();
    CC_SAFE_RELEASE(m_elementNames);
    m_elementNames = names;

    for (unsigned i = 0; i < m_elementNames->count(); ++i)
        addElementRow(static_cast<int>(i), static_cast<CCString*>(m_elementNames->objectAtIndex(i))->getString());

    const float r = ratio(), k = 4 * r, H = visibleSize.height;
    CCSprite* bar = CCSprite::createWithSpriteFrameName("pixelmarket_shop_barLight.png");
    const float barHeight = bar ? bar->getContentSize().height * k : 0;
    const int rows = static_cast<int>(m_elementNames->count());
    const float top = H - 430 * r - 3 + barHeight;
    const float bottom = H - 430 * r - 3 - static_cast<float>(std::max(rows - 1, 0)) * barHeight;
    limitScroll(rows ? bottom : 0, rows ? top : 0);
}

void PixelMarket::addElementRow(int row, const std::string& name)
{
    const float r = ratio(), k = 4 * r, H = visibleSize.height;
    const std::string picture = "pixelmarket_element_" + name + ".png";
    GUIButton* bar = GUIButton::create(
        nullptr, row % 2 == 0 ? "pixelmarket_shop_barLight.png" : "pixelmarket_shop_barDark.png", nullptr);
    GUIButton* hitArea = GUIButton::create(nullptr, picture.c_str(), nullptr);
    const CCSize barSize = bar->getContentSize();
    const float y = H - 430 * r - static_cast<float>(row) * barSize.height * k;
    const float frameX = m_pageFrame->getPosition().x;

    const bool bought = Profile::getInstance()->hasPurchasedElement(CCString::create(name));
    const std::optional<int32_t> price = listedElementPrice(name);
    for (GUIButton* button : {hitArea, bar}) {
        button->setUserObject(CCInteger::create(row));
        button->setAnchorPoint(CCPointZero);
        button->setScale(k);
        if (bought || !price) {
            button->setToggled(false);
            button->setEnabled(false);
        } else {
            button->setCallback(
                CCCallFuncO::create(this, callfuncO_selector(PixelMarket::onElementTile), CCInteger::create(row)));
        }
    }
    hitArea->setOpacity(0);
    hitArea->setPosition(ccp(frameX + 22 * r - hitArea->getContentSize().width, y));
    bar->setPosition(ccp(frameX - 15 * r, y - 3));

    CCSprite* icon = CCSprite::createWithSpriteFrameName(picture.c_str());
    float iconRight = 0.08f * barSize.width;
    if (icon) {
        icon->setAnchorPoint(ccp(0.5f, 0.5f));
        icon->setPosition(ccp(0.08f * barSize.width, barSize.height / 2));
        bar->addChild(icon);
        iconRight += icon->getContentSize().width / 2;
    }
    // The title between the picture and the buy tag.
    const float tagX = (barSize.width * k - 110 * r - bar->getPosition().x) / k;
    CCString* title = bought
        ? LocalUtils::localize("ShopElemGenericAlreadyPhrase")
        : LocalUtils::localizeWithVar(
              "ShopElemGenericUnlockPhrase",
              toUpperCCString(LocalUtils::localize((name + "Title").c_str())->getString())->getCString());
    setRowText(bar, title, ccp((iconRight + tagX) / 2, barSize.height / 2), tagX - iconRight - 2 * kTextMargin);

    m_scroll->addChild(bar);
    m_scroll->addChild(hitArea);
    addBuyTag(m_scroll, ccp(barSize.width * k - 110 * r, y - 3), k, bought, price);
}

void PixelMarket::buildBackgroundsPage()
{
    const float r = ratio(), k = 4 * r, mW = visibleMargin().width;
    const CCRect clip = m_scroll->getRect();
    if (!m_backgroundSlider) {
        const CCPoint at = ccpAdd(m_pageFrame->getPosition(), ccp(0, 88 * r));
        SlidingLayer* slider = SlidingLayer::create(at, CCSize(clip.size.width + mW / 2, clip.getMaxY() - at.y));
        slider->retain();
        slider->setAnchorPoint(CCPointZero);
        slider->setSelectionMode(2);
        slider->setScrollY(true);
        slider->setScrollX(false);
        slider->setDirectionalDrag(true);
        slider->setFriction(0.99f);
        slider->setInertiaPaused(true);
        m_backgroundSlider = slider;
        m_scroll->setLinkedNode(slider);
    }
    // One place on every screen: the rows carry the sheet's shift themselves.
    m_scroll->moveTo(ccp(clip.origin.x - mW / 2, m_scroll->getPosition().y));
    m_backgroundSlider->setVisible(true);
    if (m_backgroundSlider->getParent() != this) {
        m_backgroundSlider->removeFromParentAndCleanup(false);
        addChild(m_backgroundSlider, kSliderZ);
    }

    CCArray* files = listRewardBackgrounds();
    files->retain();
    CC_SAFE_RELEASE(m_rewardBackgrounds);
    m_rewardBackgrounds = files;
    m_rewardsFolder = joinPath(joinPath(resourceRoot, "backgrounds/"), "Rewards/");
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);

    m_pageObject = GUIBatchNodeMenu::create(kSheet, 29);
    if (m_pageObject) {
        m_pageObject->retain();
        m_pageObject->setAnchorPoint(CCPointZero);
        m_pageObject->setPosition(CCPointZero);
        m_pageObject->setFireOnPress(true);
        m_backgroundSlider->addChild(m_pageObject);
    }
    GUILabel::setFontName(kFont);

    // Names that cannot be an id (too long for a saved world, or not one
    // the profile can hold) are not offered.
    CCArray* offered = CCArray::create();
    for (CCObject* object : *files) {
        const std::string file = static_cast<CCString*>(object)->getString();
        if (isUsableBackgroundId(backgroundIdOf(file)))
            offered->addObject(object);
        else
            LOG << "shop: the background " << file << " is not offered (its name is no background id)";
    }
    files->removeAllObjects();
    files->addObjectsFromArray(offered);

    for (unsigned i = 0; i < files->count(); ++i)
        addBackgroundRow(static_cast<int>(i), static_cast<CCString*>(files->objectAtIndex(i))->getString());
    // Rows are one square apart; the first row's picture reaches highest,
    // the last row's lowest.
    const unsigned rows = files->count();
    CCSprite* square = CCSprite::createWithSpriteFrameName("pixelmarket_bg_square_light.png");
    const float step = square ? square->getContentSize().height * k : 0;
    const float firstBottom = visibleSize.height - 500 * r - 5;
    const float squareTop = 7 * r + step;
    const float highest = firstBottom + std::max(kPictureHeight * k, squareTop);
    const float lowest = firstBottom - static_cast<float>(rows ? rows - 1 : 0) * step;
    limitScroll(rows ? lowest : 0, rows ? highest : 0);
}

void PixelMarket::addBackgroundRow(int row, const std::string& file)
{
    const float r = ratio(), k = 4 * r, H = visibleSize.height, mW = visibleMargin().width;
    const std::string id = backgroundIdOf(file);
    const std::string key = backgroundTextKeyOf(id);
    GUIButton* square = GUIButton::create(
        nullptr, row % 2 == 0 ? "pixelmarket_bg_square_light.png" : "pixelmarket_bg_square_dark.png", nullptr);
    const CCSize squareSize = square->getContentSize();

    const std::string path = m_rewardsFolder + file;
    CCSprite* normal = CCSprite::create(path.c_str());
    CCSprite* selected = normal ? CCSprite::create(path.c_str()) : nullptr;
    const float width = normal ? normal->getContentSize().width : kPictureWidth;
    const CCPoint at((150 - width) * r + mW / 2, H - 500 * r - 5 - static_cast<float>(row) * squareSize.height * k);
    if (normal && selected) {
        for (CCSprite* sprite : {normal, selected})
            if (sprite->getTexture())
                sprite->getTexture()->setAliasTexParameters();
        CCMenuItemSprite* picture = CCMenuItemSprite::create(normal, selected);
        picture->setAnchorPoint(CCPointZero);
        picture->setPosition(at);
        picture->setScale(k);
        m_backgroundSlider->addChild(picture);
    } else {
        LOG << "shop: no picture " << path;
    }

    square->setAnchorPoint(CCPointZero);
    square->setScale(k);
    square->setPosition(ccp(at.x + width * k / 2, at.y + 7 * r));
    square->setUserObject(CCInteger::create(row));
    const bool owned = ownsBackground(id);
    const std::optional<int32_t> price = listedBackgroundPrice(id);
    if (owned || !price)
        square->setEnabled(false);
    else
        square->setCallback(
            CCCallFuncO::create(this, callfuncO_selector(PixelMarket::onBackgroundTile), CCInteger::create(row)));

    CCSprite* tag = CCSprite::createWithSpriteFrameName("pixelmarket_buttonOk.png");
    const float tagWidth = tag ? tag->getContentSize().width : 0;
    const float tagX = squareSize.width - tagWidth - 6;
    const float textX = squareSize.width / 2 - 20;
    CCString* name = LocalUtils::localize((key + "BkgName").c_str());
    setRowText(
        square,
        toUpperCCString(LocalUtils::localizeWithVar("ShopBGroundGenericPhrase", name->getCString())->getString()),
        ccp(textX, squareSize.height / 2), 2 * std::min(textX, tagX - textX) - 2 * kTextMargin);
    m_scroll->addChild(square);
    const float tagHeight = tag ? tag->getContentSize().height : 0;
    addBuyTag(
        m_scroll,
        ccp(square->getPosition().x + tagX * k, square->getPosition().y + (squareSize.height - tagHeight) * k / 2), k,
        owned, price);
}

std::vector<GUIButton*> PixelMarket::pageRows() const
{
    std::vector<GUIButton*> rows;
    if (!m_scroll)
        return rows;
    // Page 0 adds each row's bar before its hit area; page 1 only squares.
    for (CCObject* child : *m_scroll->getChildren())
        if (auto* button = dynamic_cast<GUIButton*>(child); button && button->getOpacity() > 0)
            rows.push_back(button);
    return rows;
}

void PixelMarket::goBack()
{
    LOG_TRACE;
    playSound("sfx_gui_back");
    if (m_categoryPageOpen) {
        setCategoryPageVisible(false);
        m_pageMode = kNoPage;
    } else {
        closeShop();
    }
    setFrontPageActive(true);
    setRequestedElement(nullptr);
}

void PixelMarket::closeShop()
{
    retain();
    GameLayer* layer = GameLayer::existingInstance();
    // A window that has left its scene is not given back: it would freeze
    // the world it no longer covers. The gallery, when it comes back, comes
    // after it, so that it is the window current.
    GUIWindow* previous = m_previousWindow && m_previousWindow->getParent() ? m_previousWindow : nullptr;
    ScreenUtils::getInstance()->setCurrentWindow(previous);
    setPreviousWindow(nullptr);
    if (m_returnToGallery && layer)
        layer->openBackgroundsWindow();
    const bool overMenu = frontEnd().mainMenuShown();
    removeFromParentAndCleanup(true);
    if (overMenu)
        frontEnd().refreshMainMenuMana();
    if (layer) {
        GUITopBar* bar = GUITopBar::getInstance();
        bar->updateMana();
        bar->setLocked(false);
        bar->resetButtons();
        layer->setLevelMusicOn(true);
    }
    if (overMenu) {
        CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(
            soundFilePath("music", "music_main_menu").c_str(), true);
        frontEnd().resumeMainMenu();
    }
    release();
}
