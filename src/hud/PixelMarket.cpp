#include "hud/PixelMarket.h"

#include <climits>

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
#include "profile/BackgroundId.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

// Never destroyed: nothing of the shop runs at exit.
PixelMarket* g_market = nullptr;
bool g_failNextInit = false;

constexpr const char* kSheet = "pvr/pixelmarket.pvr.ccz";
constexpr const char* kFrames = "pvr/pixelmarket.plist";
constexpr const char* kFont = "pixelmarket_ach_fontButtons";
constexpr float kColouredWidth = 125.0f;

float ratio()
{
    return static_cast<float>(screenRatio);
}

float labelScale()
{
    return 10.0f / GUILabel::fontSize;
}

GUILabel* newLabel(CCString* text, bool coloured)
{
    GUILabel* label = GUILabel::create();
    label->setScale(labelScale());
    if (coloured)
        label->setColoredText(text, kColouredWidth);
    else
        label->setText(text);
    return label;
}

CCString* upper(CCString* text)
{
    return toUpperCCString(text ? text->getString() : std::string());
}

// A whole number of 0 or more that fits the profile's mana, written in digits only.
std::optional<int32_t> wholePrice(CCObject* value)
{
    auto* text = dynamic_cast<CCString*>(value);
    if (!text || text->getString().empty() || text->getString().size() > 10)
        return std::nullopt;
    long long price = 0;
    for (char c : text->getString()) {
        if (c < '0' || c > '9')
            return std::nullopt;
        price = price * 10 + (c - '0');
    }
    if (price > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(price);
}

}  // namespace

// --- the instance ------------------------------------------------------------------

PixelMarket* PixelMarket::getInstance()
{
    if (g_market)
        return g_market;
    auto* market = new PixelMarket();
    const bool failed = g_failNextInit || !market->init();
    g_failNextInit = false;
    if (failed) {
        LOG_ERROR << "PixelMarket init failed!";
        market->release();
        return nullptr;
    }
    g_market = market;
    return g_market;
}

void PixelMarket::failNextInitForTests()
{
    g_failNextInit = true;
}

void PixelMarket::resetInstanceForTests()
{
    if (!g_market)
        return;
    PixelMarket* market = g_market;
    g_market = nullptr;
    market->stopAllActions();
    market->removeFromParentAndCleanup(true);
    // The buttons' actions hold the window: let the tree go first.
    market->setCategoryPageVisible(false);
    market->removeAllChildrenWithCleanup(true);
    market->release();
}

PixelMarket::~PixelMarket()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    CC_SAFE_RELEASE_NULL(m_catalogue);
    // The front page's widgets went with the tree; the pages' own nodes go here.
    clearPageRows();
    CC_SAFE_RELEASE_NULL(m_pageFrame);
    CC_SAFE_RELEASE_NULL(m_scroll);
    CC_SAFE_RELEASE_NULL(m_backgroundSlider);
    CC_SAFE_RELEASE_NULL(m_pageObject);
    CC_SAFE_RELEASE_NULL(m_elementNames);
    CC_SAFE_RELEASE_NULL(m_rewardBackgrounds);
    CC_SAFE_RELEASE_NULL(m_requestedElement);
    CC_SAFE_RELEASE_NULL(m_previousWindow);
    CC_SAFE_RELEASE_NULL(m_touchWindow);
}

// --- the catalogue -------------------------------------------------------------------

void PixelMarket::loadCatalogue()
{
    LOG_TRACE;
    if (m_cataloguePinned && m_catalogue)
        return;
    CCDictionary* catalogue = CCDictionary::createWithContentsOfFile(joinPath(resourceRoot, "data/shop.plist").c_str());
    if (!catalogue)
        catalogue = CCDictionary::create();
    catalogue->retain();
    CC_SAFE_RELEASE(m_catalogue);
    m_catalogue = catalogue;
}

CCDictionary* PixelMarket::getCatalogue()
{
    if (!m_catalogue)
        loadCatalogue();
    return m_catalogue;
}

void PixelMarket::setCatalogueForTests(CCDictionary* catalogue)
{
    CC_SAFE_RETAIN(catalogue);
    CC_SAFE_RELEASE(m_catalogue);
    m_catalogue = catalogue;
    m_cataloguePinned = catalogue != nullptr;
}

// The price is the value under the element's exact name in "Elements".
int32_t PixelMarket::elementPrice(const char* name)
{
    auto* elements = dynamic_cast<CCDictionary*>(getCatalogue()->objectForKey("Elements"));
    auto* price = elements && name ? dynamic_cast<CCString*>(elements->objectForKey(name)) : nullptr;
    return price ? price->intValue() : 0;
}

std::optional<int32_t> PixelMarket::listedElementPrice(const std::string& name)
{
    auto* elements = dynamic_cast<CCDictionary*>(getCatalogue()->objectForKey("Elements"));
    return elements ? wholePrice(elements->objectForKey(name)) : std::nullopt;
}

std::vector<PixelMarket::BackgroundOffer> PixelMarket::backgroundOffers()
{
    std::vector<BackgroundOffer> offers;
    auto* records = dynamic_cast<CCArray*>(getCatalogue()->objectForKey("Backgrounds"));
    if (!records) {
        LOG << "shop catalogue: no \"Backgrounds\" array, no background on sale";
        return offers;
    }
    int index = 0;
    for (CCObject* object : *records) {
        ++index;
        auto* record = dynamic_cast<CCDictionary*>(object);
        auto* name = record ? dynamic_cast<CCString*>(record->objectForKey("bkgID")) : nullptr;
        const std::optional<int32_t> price = record ? wholePrice(record->objectForKey("Price")) : std::nullopt;
        const std::string id = name ? backgroundIdOf(name->getString()) : std::string();
        if (!isUsableBackgroundId(id) || !price) {
            LOG << "shop catalogue: background record " << index << " skipped (its bkgID "
                << (name ? name->getString() : std::string("is missing")) << (price ? "" : ", no whole Price") << ")";
            continue;
        }
        bool seen = false;
        for (const BackgroundOffer& offer : offers)
            seen = seen || offer.id == id;
        if (!seen)
            offers.push_back({id, *price});
    }
    return offers;
}

int32_t PixelMarket::backgroundPrice(const std::string& id)
{
    return listedBackgroundPrice(id).value_or(0);
}

std::optional<int32_t> PixelMarket::listedBackgroundPrice(const std::string& id)
{
    const std::string wanted = backgroundIdOf(id);
    for (const BackgroundOffer& offer : backgroundOffers())
        if (offer.id == wanted)
            return offer.price;
    // A record of that id that could not be read sells nothing; no record
    // at all costs nothing.
    if (auto* records = dynamic_cast<CCArray*>(getCatalogue()->objectForKey("Backgrounds")))
        for (CCObject* object : *records)
            if (auto* record = dynamic_cast<CCDictionary*>(object))
                if (auto* name = dynamic_cast<CCString*>(record->objectForKey("bkgID"));
                    name && backgroundIdOf(name->getString()) == wanted)
                    return std::nullopt;
    return 0;
}

// --- the window ----------------------------------------------------------------------

bool PixelMarket::initWithSize(CCSize size)
{
    const bool done = GUIWindow::initWithSize(size);
    setTouchEnabled(true);
    return done;
}

void PixelMarket::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

GUIWindow* PixelMarket::touchTarget()
{
    GUIWindow* current = ScreenUtils::getInstance()->getCurrentWindow();
    if (current && current != this && current->isVisible() && current->getParent())
        return current;
    return this;
}

bool PixelMarket::ccTouchBegan(CCTouch* touch, CCEvent*)
{
    if (!isVisible())
        return false;
    GUIWindow* target = touchTarget();
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(m_touchWindow);
    m_touchWindow = target;
    target->handleTouchBegan(touch);
    return true;
}

void PixelMarket::ccTouchMoved(CCTouch* touch, CCEvent*)
{
    if (m_touchWindow)
        m_touchWindow->handleTouchMoved(touch);
}

void PixelMarket::ccTouchEnded(CCTouch* touch, CCEvent*)
{
    GUIWindow* target = m_touchWindow;
    m_touchWindow = nullptr;
    if (target) {
        target->handleTouchEnded(touch);
        target->release();
    }
}

void PixelMarket::ccTouchCancelled(CCTouch* touch, CCEvent* event)
{
    ccTouchEnded(touch, event);
}

void PixelMarket::setPreviousWindow(GUIWindow* window)
{
    // The shop shown again over itself covers no other window.
    if (window == this)
        window = nullptr;
    CC_SAFE_RETAIN(window);
    CC_SAFE_RELEASE(m_previousWindow);
    m_previousWindow = window;
}

// Kept past the frame that set it: the shop reads it when it opens later.
void PixelMarket::setRequestedElement(CCString* name)
{
    CC_SAFE_RETAIN(name);
    CC_SAFE_RELEASE(m_requestedElement);
    m_requestedElement = name;
}

void PixelMarket::playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

void PixelMarket::onEnter()
{
    LOG << "PixelMarket: enter";
    CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setLevelMusicOn(false);
    m_pageCounter = 0;
    playSound("sfx_gui_shop");
    GUIWindow::onEnter();
    BackButtonAdapter* adapter = BackButtonAdapter::getInstance();
    adapter->removeListener(this);
    adapter->addListener(this);
    // A page left open by an earlier visit goes with it: the shop opens on
    // its front page. What the HUD asked for stays.
    if (m_categoryPageOpen || (m_pageFrame && m_pageFrame->getParent())) {
        CCString* requested = m_requestedElement;
        CC_SAFE_RETAIN(requested);
        setCategoryPageVisible(false);
        setRequestedElement(requested);
        CC_SAFE_RELEASE(requested);
        m_pageMode = kNoPage;
    }
    loadCatalogue();
    buildFrontPage();
}

void PixelMarket::onExit()
{
    LOG << "PixelMarket: exit";
    // Taken away without its back action: it must not stay the current
    // window, or the world it no longer covers would stay frozen.
    if (ScreenUtils::getInstance()->getCurrentWindow() == this) {
        GUIWindow* previous = m_previousWindow && m_previousWindow->getParent() ? m_previousWindow : nullptr;
        ScreenUtils::getInstance()->setCurrentWindow(previous);
        setPreviousWindow(nullptr);
    }
    GUIWindow::onExit();
    BackButtonAdapter::getInstance()->removeListener(this);
    CC_SAFE_RELEASE_NULL(m_touchWindow);
}

void PixelMarket::onBackPressed()
{
    LOG << "PixelMarket: back";
    goBack();
}

void PixelMarket::buildFrontPage()
{
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    const CCSize margin = visibleMargin();
    const float W = visibleSize.width, H = visibleSize.height, mW = margin.width;
    const float r = ratio(), s = 4 * r;

    if (CCNode* dim = getChildByTag(kDimTag))
        dim->removeFromParentAndCleanup(true);
    if (m_batchNode)
        m_batchNode->removeFromParentAndCleanup(true);
    m_batchNode = nullptr;
    m_buttonContainer = nullptr;
    m_offerPanel = m_offerImage = m_backdrop = nullptr;
    m_offerPhrase1 = m_offerPhrase2 = m_offerPriceLabel = m_manaLabel = nullptr;
    m_offerBuyButton = m_previousOfferButton = m_nextOfferButton = nullptr;
    m_manaButton = m_elementsButton = m_backgroundsButton = nullptr;
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 150), W + mW, H), 0, kDimTag);

    GUIBatchNodeMenu* sheet = GUIBatchNodeMenu::create(kSheet, 29);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
    if (!sheet) {
        LOG_ERROR << "PixelMarket: no sheet " << kSheet;
        return;
    }
    m_batchNode = sheet;
    if (sheet->getTexture())
        sheet->getTexture()->setAliasTexParameters();
    sheet->setAnchorPoint(CCPointZero);
    sheet->setPosition(CCPointZero);
    GUILabel::setFontName(kFont);

    CCSprite* root = CCSprite::createWithSpriteFrameName("pixelmarket_empty.png");
    if (!root)
        root = CCSprite::create();
    root->setAnchorPoint(CCPointZero);
    root->setPosition(CCPointZero);
    sheet->addChild(root);
    m_buttonContainer = root;

    m_offerPanel = CCSprite::createWithSpriteFrameName("pixelmarket_shop_offer.png");
    if (!m_offerPanel)
        m_offerPanel = CCSprite::create();
    m_offerPanel->setAnchorPoint(ccp(1, 0));
    m_offerPanel->setPosition(ccp(W - 2 * s, 64 * r + 24));
    m_offerPanel->setScale(s);
    root->addChild(m_offerPanel);

    m_offerBuyButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(PixelMarket::buySpecialOffer)),
                                         "pixelmarket_shop_btnContainer.png", nullptr);
    m_offerBuyButton->setAnchorPoint(CCPointZero);
    const float buyWidth = m_offerBuyButton->getContentSize().width;
    m_offerBuyButton->setPosition(ccp(W - 12.5f * s - 15 * r - buyWidth * s, 32 * r + 5));
    m_offerBuyButton->setScale(s);
    GUILabel* buyCaption = newLabel(upper(LocalUtils::localize("ShopMainSpecialBuyBut")), true);
    buyCaption->setAnchorPoint(CCPointZero);
    buyCaption->setPosition(ccp(8, 5));
    m_offerBuyButton->addChild(buyCaption);
    root->addChild(m_offerBuyButton);

    GUILabel* title = newLabel(LocalUtils::localize("ShopMainTodaySpecialTitle"), true);
    title->setAnchorPoint(ccp(0.5f, 0));
    title->setPosition(ccp(m_offerPanel->getContentSize().width / 2, 113));
    m_offerPanel->addChild(title);

    m_previousOfferButton =
        GUIButton::create(CCCallFunc::create(this, callfunc_selector(PixelMarket::showPreviousOffer)),
                          "pixelmarket_offer_prev.png", nullptr);
    m_nextOfferButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(PixelMarket::showNextOffer)),
                                          "pixelmarket_offer_next.png", nullptr);
    m_previousOfferButton->setPosition(ccp(137 * s + 70 * r, 55 * s + 32 * r));
    m_nextOfferButton->setPosition(ccp(205 * s + 70 * r, 55 * s + 32 * r));
    for (GUIButton* arrow : {m_previousOfferButton, m_nextOfferButton}) {
        arrow->setAnchorPoint(CCPointZero);
        arrow->setScale(s);
        root->addChild(arrow);
    }

    m_currentOffer = 0;
    showOffer(1);

    m_backdrop = CCSprite::createWithSpriteFrameName("pixelmarket_shop_backdrop.png");
    if (!m_backdrop)
        m_backdrop = CCSprite::create();
    m_backdrop->setAnchorPoint(ccp(0, 0.5f));
    m_backdrop->setPosition(ccp(50 * r + 20, H / 2 + 10 * r));
    m_backdrop->setScale(s);
    root->addChild(m_backdrop);
    if (CCSprite* god = CCSprite::createWithSpriteFrameName("pixelmarket_shop_god.png")) {
        const CCSize b = m_backdrop->getContentSize();
        god->setAnchorPoint(ccp(0.5f, 0.5f));
        god->setPosition(ccp(b.width / 2, b.height / 2 + 10 * r));
        m_backdrop->addChild(god);
    }

    addChild(sheet);
    buildCategoryButtons(root, W, H);

    if (CCSprite* counter = CCSprite::createWithSpriteFrameName("pixelmarket_shop_manaCounter.png")) {
        const CCSize c = counter->getContentSize();
        counter->setAnchorPoint(ccp(0.5f, 0.5f));
        counter->setPosition(ccp(W - c.width * s / 2, H - c.height * s / 2));
        counter->setScale(s);
        root->addChild(counter);
        if (CCSprite* icon = CCSprite::createWithSpriteFrameName("pixelmarket_shop_manaCounterIcon.png")) {
            icon->setAnchorPoint(ccp(1, 0.5f));
            icon->setPosition(ccp(10, c.height / 2 + 1));
            counter->addChild(icon);
        }
        m_manaLabel = newLabel(CCString::create(""), true);
        m_manaLabel->setAnchorPoint(ccp(1, 0.5f));
        m_manaLabel->setPosition(ccp(c.width - 7, c.height / 2 - 1));
        counter->addChild(m_manaLabel);
        showManaAmount();
    }
    sheet->setPosition(ccp(mW / 2, 0));
}

void PixelMarket::buildCategoryButtons(CCNode* root, float W, float H)
{
    const float r = ratio(), s = 4 * r;
    struct Category {
        GUIButton** button;
        SEL_CallFunc action;
        const char* icon;
        const char* caption;
        const char* secondLine;
        float secondLineShift;
    };
    const Category categories[] = {
        {&m_elementsButton, callfunc_selector(PixelMarket::onElementsButton), "pixelmarket_shop_element.png",
         "ShopMainElementsBut1", "ShopMainElementsBut2", 0},
        {&m_backgroundsButton, callfunc_selector(PixelMarket::onBackgroundsButton), "pixelmarket_shop_bg.png",
         "ShopMainBackgroundsBut1", "ShopMainBackgroundsBut2", 0},
        {&m_manaButton, callfunc_selector(PixelMarket::onManaButton), "pixelmarket_shop_mana.png", "ShopMainManaBut1",
         "ShopMainManaBut2", 3},
    };
    float x = W / 2 - 376 * r;
    const float y = H - 504 * r;
    // The second line hangs a whole number of units below the button's top.
    const float drop = static_cast<float>(static_cast<int>(-155 * r));
    for (const Category& c : categories) {
        GUIButton* button =
            GUIButton::create(CCCallFunc::create(this, c.action), "pixelmarket_shop_categoryBtn.png", c.icon);
        *c.button = button;
        button->setAnchorPoint(ccp(0.5f, 1));
        button->setPosition(ccp(x, y));
        button->setScale(s);
        const CCSize size = button->getContentSize();
        button->setText(upper(LocalUtils::localize(c.caption)), 10, ccp(size.width / 2, size.height / 2 - 7),
                        ccp(0.5f, 0.5f), ccc3(255, 255, 255));
        if (CCSprite* icon = button->getIcon())
            icon->setPosition(ccpAdd(icon->getPosition(), ccp(0, 7)));
        root->addChild(button);

        GUILabel* second = newLabel(upper(LocalUtils::localize(c.secondLine)), true);
        second->setScale(s);
        second->setAnchorPoint(ccp(0.5f, 0.5f));
        second->setPosition(ccp(x + c.secondLineShift, y + drop));
        root->addChild(second);
        x += 4.32f * r * size.width;
    }
}

void PixelMarket::showManaAmount()
{
    if (m_manaLabel)
        m_manaLabel->setColoredText(CCString::createWithFormat("%d", Profile::getInstance()->getMana()),
                                    kColouredWidth);
}

void PixelMarket::showOffer(int number)
{
    LOG_TRACE;
    if (number == m_currentOffer || number < 1 || number > kOfferCount)
        return;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
    GUILabel::setFontName(kFont);
    m_currentOffer = number;
    if (!m_offerPanel)
        return;
    if (m_offerImage)
        m_offerImage->removeFromParentAndCleanup(true);
    m_offerImage = CCSprite::createWithSpriteFrameName(
        CCString::createWithFormat("pixelmarket_offerImg_%d.png", number)->getCString());
    if (m_offerImage) {
        m_offerImage->setAnchorPoint(CCPointZero);
        m_offerImage->setPosition(ccp(14, 45));
        m_offerPanel->addChild(m_offerImage);
    }
    const float middle = m_offerPanel->getContentSize().width / 2;
    struct Line {
        GUILabel** label;
        CCString* text;
        float y;
    };
    const Line lines[] = {
        {&m_offerPhrase1,
         LocalUtils::localize(CCString::createWithFormat("ShopMainTodaySpecialPhrase%d_1", number)->getCString()), 35},
        {&m_offerPhrase2,
         LocalUtils::localize(CCString::createWithFormat("ShopMainTodaySpecialPhrase%d_2", number)->getCString()), 26},
        {&m_offerPriceLabel, LocalUtils::localize("OfflineBut"), 17},
    };
    for (const Line& line : lines) {
        if (*line.label)
            (*line.label)->removeFromParentAndCleanup(true);
        GUILabel* label = newLabel(line.text, false);
        label->setAnchorPoint(ccp(0.5f, 0));
        label->setPosition(ccp(middle, line.y));
        m_offerPanel->addChild(label);
        *line.label = label;
    }
    if (m_previousOfferButton)
        m_previousOfferButton->setVisible(number > 1);
    if (m_nextOfferButton)
        m_nextOfferButton->setVisible(number < kOfferCount);
}

void PixelMarket::showPreviousOffer()
{
    LOG_TRACE;
    showOffer(m_currentOffer - 1);
}

void PixelMarket::showNextOffer()
{
    LOG_TRACE;
    showOffer(m_currentOffer + 1);
}

void PixelMarket::buySpecialOffer()
{
    LOG_TRACE;
    ScreenUtils::showOfflinePopup();
}

void PixelMarket::setFrontPageActive(bool active)
{
    LOG_TRACE;
    for (GUIButton* button : {m_manaButton, m_elementsButton, m_backgroundsButton, m_offerBuyButton})
        if (button)
            button->setEnabled(active);
    if (m_backdrop)
        m_backdrop->setVisible(active);
}

void PixelMarket::setCategoryPageVisible(bool visible)
{
    LOG_TRACE;
    if (!visible) {
        setRequestedElement(nullptr);
        clearPageRows();
        if (m_scroll)
            m_scroll->removeFromParentAndCleanup(true);
        if (m_pageFrame)
            m_pageFrame->removeFromParentAndCleanup(true);
        if (m_backgroundSlider)
            m_backgroundSlider->removeFromParentAndCleanup(true);
    }
    for (CCNode* node :
         {static_cast<CCNode*>(m_backgroundSlider), static_cast<CCNode*>(m_scroll), static_cast<CCNode*>(m_pageFrame)})
        if (node)
            node->setVisible(visible);
    m_categoryPageOpen = visible;
    if (m_nextOfferButton)
        m_nextOfferButton->setEnabled(!visible);
}

void PixelMarket::clearPageRows()
{
    if (m_scroll)
        m_scroll->removeAllChildrenWithCleanup(true);
    if (m_backgroundSlider)
        static_cast<SlidingLayer*>(m_backgroundSlider)->clearContent();
    if (m_pageObject) {
        m_pageObject->removeAllChildrenWithCleanup(true);
        m_pageObject->removeFromParentAndCleanup(true);
        CC_SAFE_RELEASE_NULL(m_pageObject);
    }
}

CCLayer* PixelMarket::getBackgroundSlider() const
{
    return m_backgroundSlider;
}
