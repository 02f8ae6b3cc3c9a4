#include "hud/GUIBackgrounds.h"

#include <algorithm>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIScroll.h"
#include "gui/SlidingLayer.h"
#include "hud/GUITopBar.h"
#include "hud/PixelMarket.h"
#include "profile/BackgroundId.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

constexpr const char* kSheet = "pvr/guisaveload.pvr.ccz";
constexpr const char* kFrames = "pvr/guisaveload.plist";
constexpr const char* kFont = "guisaveload_ach_fontButtons";
constexpr float kThumbWidth = 120, kThumbHeight = 80;  // a picture that cannot be read keeps its tile's place
constexpr float kNotEnoughManaDelay = 0.3f;
// Window units (UI scale 1): the tiles' view and where the first row starts,
// three rows of the page in view.
constexpr float kClipBottom = 150, kClipHeight = 536, kGridBottom = 200;

std::string rewardsFolder()
{
    return joinPath("backgrounds/", "Rewards");
}

float uiScale()
{
    return static_cast<float>(screenRatio);
}

bool owns(const std::string& id)
{
    Profile* profile = Profile::getInstance();
    CCString* name = CCString::create(id);
    return profile->hasPurchasedBackground(name) || profile->hasUnlockedBackground(name);
}

// The picture behind the world now: the layer's chosen one, while it is shown.
bool inUse(const std::string& id)
{
    GameLayer* layer = GameLayer::existingInstance();
    CCString* name = layer ? layer->getBackgroundName() : nullptr;
    return name && layer->getBackgroundOn() && backgroundIdOf(name->getString()) == id;
}

GUILabel* newLabel(float size)
{
    GUILabel* label = GUILabel::create();
    label->scaleToSize(size);
    label->setAnchorPoint(CCPointZero);
    return label;
}

}  // namespace

GUIBackgrounds* GUIBackgrounds::create(CCSize size)
{
    auto* window = new GUIBackgrounds();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

GUIBackgrounds::~GUIBackgrounds()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    if (m_scroll) {
        m_scroll->setLinkedNode(nullptr);
        m_scroll->removeAllChildrenWithCleanup(true);
    }
    if (m_slidingLayer)
        m_slidingLayer->removeAllChildrenWithCleanup(true);
    CC_SAFE_RELEASE_NULL(m_scroll);
    CC_SAFE_RELEASE_NULL(m_slidingLayer);
    CC_SAFE_RELEASE_NULL(m_tileParts);
}

bool GUIBackgrounds::initWithSize(CCSize size)
{
    const bool done = GUIWindow::initWithSize(size);
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    const float s = uiScale();
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    if (CCNode* old = getChildByTag(kDimTag))
        old->removeFromParentAndCleanup(true);
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 64), win.width, win.height), -101, kDimTag);

    m_batchNode = CCSpriteBatchNode::create(kSheet, 500);
    if (m_batchNode && m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
    GUILabel::setFontName(kFont);

    m_background = CCSprite::createWithSpriteFrameName("guisaveload_windowBackgrounds.png");
    if (m_background && m_batchNode) {
        m_background->setScale(4 * s);
        m_background->setPosition(ccp(win.width / 2 + visibleMargin().width / 2, win.height / 2 - 14 * s));
        m_batchNode->addChild(m_background);
        m_buttonContainer = m_background;
    }

    // The tiles' view: from above the OK row to the window's top edge.
    const CCRect clip(12 * s, kClipBottom * s, win.width, kClipHeight * s);
    m_slidingLayer = SlidingLayer::create(clip.origin, clip.size);
    m_slidingLayer->retain();
    m_slidingLayer->setSelectionMode(0);
    m_slidingLayer->setAnchorPoint(CCPointZero);
    m_slidingLayer->setScrollY(true);
    m_slidingLayer->setScrollX(false);
    m_slidingLayer->setDirectionalDrag(false);
    m_slidingLayer->setFriction(0);
    m_slidingLayer->setBottomLeftMargin(ccp(0, 20));
    m_slidingLayer->setTopRightMargin(ccp(0, 20));
    m_slidingLayer->setScale(2 * s);
    addChild(m_slidingLayer);

    m_scroll = GUIScroll::create(kSheet, 4000);
    if (m_scroll) {
        m_scroll->retain();
        m_scroll->setLinkedNode(m_slidingLayer);
        m_scroll->setRect(clip);
        addChild(m_scroll);
    }
    m_tileParts = new CCDictionary();
    // The game layer lets it go once it has slid out.
    setRemoveOnClose(true);
    if (m_batchNode)
        addChild(m_batchNode, -100);
    return done;
}

void GUIBackgrounds::cleanup()
{
    clearWindow();
    if (m_scroll)
        m_scroll->removeAllChildrenWithCleanup(true);
    if (m_slidingLayer)
        m_slidingLayer->removeAllChildrenWithCleanup(true);
    m_tileParts->removeAllObjects();
    GUIWindow::cleanup();
}

void GUIBackgrounds::playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

int GUIBackgrounds::getPageCount() const
{
    return std::max(1, (m_backgroundCount + kPerPage - 1) / kPerPage);
}

void GUIBackgrounds::clearWindow()
{
    if (m_batchNode) {
        CCArray* children = CCArray::create();
        for (CCObject* child : *m_batchNode->getChildren())
            if (child != m_background)
                children->addObject(child);
        for (CCObject* child : *children)
            static_cast<CCNode*>(child)->removeFromParentAndCleanup(true);
    }
    if (m_background) {
        m_background->removeAllChildrenWithCleanup(true);
        m_background->setVisible(true);
    }
    m_okButton = m_nextPageButton = m_previousPageButton = nullptr;
    m_pageLabel = nullptr;
}

void GUIBackgrounds::buildWindow()
{
    clearWindow();
    // Only a window on its way in takes the back key: one whose opening was
    // refused stays hidden and must not swallow it.
    if (m_state == Opening || m_state == Open) {
        BackButtonAdapter* adapter = BackButtonAdapter::getInstance();
        adapter->removeListener(this);
        adapter->addListener(this);
    }
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);
    GUILabel::setFontName(kFont);
    m_currentPage = 1;
    if (!m_background) {
        buildPage();
        return;
    }
    const CCSize size = m_background->getContentSize();

    m_okButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIBackgrounds::onOkButton)),
                                   "guisaveload_btnOK.png", nullptr);
    m_okButton->setAnchorPoint(ccp(1, 1));
    m_okButton->setPosition(ccp(size.width - 5, 12));
    m_okButton->setActivateDelayed(true);
    const CCSize ok = m_okButton->getContentSize();
    GUILabel* caption = GUILabel::create();
    caption->setText(LocalUtils::localize("GenericOkBut"));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(ok.width / 2, ok.height / 2 + 0.5f));
    caption->scaleToSize(10);
    m_okButton->addChild(caption);
    m_background->addChild(m_okButton);

    m_nextPageButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIBackgrounds::onNextPage)),
                                         "guisaveload_saveload_btnRight.png", "guisaveload_saveload_arrowRight.png");
    m_nextPageButton->setAnchorPoint(ccp(0.5f, 0.5f));
    m_nextPageButton->setPosition(ccp(size.width / 2 + 110, size.height / 2));
    m_previousPageButton =
        GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIBackgrounds::onPreviousPage)),
                          "guisaveload_saveload_btnLeft.png", "guisaveload_saveload_arrowLeft.png");
    m_previousPageButton->setAnchorPoint(ccp(0.5f, 0.5f));
    m_previousPageButton->setPosition(ccp(size.width / 2 - 110, size.height / 2));
    m_previousPageButton->setActivateDelayed(true);
    m_background->addChild(m_previousPageButton);

    m_pageLabel = newLabel(10);
    m_pageLabel->setPosition(ccp(12, 12));
    m_background->addChild(m_pageLabel);

    buildPage();
    m_nextPageButton->setActivateDelayed(true);
    m_background->addChild(m_nextPageButton);
}

void GUIBackgrounds::buildPage()
{
    const float s = uiScale();
    if (m_scroll) {
        m_scroll->setLinkedNode(m_slidingLayer);
        m_slidingLayer->setInertiaPaused(true);
        m_scroll->moveTo(ccp(visibleMargin().width / 2 + 12 * s, kGridBottom * s));
        m_scroll->removeAllChildrenWithCleanup(true);
    }
    if (m_slidingLayer)
        m_slidingLayer->removeAllChildrenWithCleanup(true);
    m_tileParts->removeAllObjects();

    PixelMarket* market = PixelMarket::getInstance();
    const std::vector<PixelMarket::BackgroundOffer> offers =
        market ? market->backgroundOffers() : std::vector<PixelMarket::BackgroundOffer>();
    m_backgroundCount = static_cast<int32_t>(offers.size());
    m_currentPage = std::clamp(m_currentPage, 1, getPageCount());
    GUILabel::setFontName(kFont);

    const int first = (m_currentPage - 1) * kPerPage;
    for (int i = first; i < m_backgroundCount && i < first + kPerPage; ++i)
        addTile(i - first, offers[static_cast<size_t>(i)].id, offers[static_cast<size_t>(i)].price);
    if (m_pageLabel)
        m_pageLabel->setText(CCString::createWithFormat("%i / %i", m_currentPage, getPageCount()));
}

void GUIBackgrounds::addTile(int slot, const std::string& id, int32_t price)
{
    const float s = uiScale();
    const std::string file = backgroundFileOf(id);
    const std::string path = rewardsFolder() + "/" + file;
    const int column = slot % kColumns, row = slot / kColumns;

    CCSprite* normal = CCSprite::create(path.c_str());
    CCSprite* selected = normal ? CCSprite::create(path.c_str()) : nullptr;
    const float w = normal ? normal->getContentSize().width : kThumbWidth;
    const float h = normal ? normal->getContentSize().height : kThumbHeight;
    const CCPoint at(60 + static_cast<float>(column) * (w + 7), 155 - static_cast<float>(row) * (h + 7));
    if (normal && selected) {
        for (CCSprite* sprite : {normal, selected})
            if (sprite->getTexture())
                sprite->getTexture()->setAliasTexParameters();
        CCMenuItemSprite* thumbnail = CCMenuItemSprite::create(normal, selected);
        thumbnail->setUserData(nullptr);
        thumbnail->setAnchorPoint(CCPointZero);
        thumbnail->setPosition(at);
        m_slidingLayer->addChild(thumbnail);
    } else {
        LOG << "background gallery: no picture " << path;
    }
    if (m_scroll) {
        // The grid scrolls up until its last row has come into view.
        const float y = m_scroll->getPosition().y;
        const float lowest = y + (at.y - 6) * 2 * s;
        m_scrollMin = static_cast<int32_t>(y);
        m_scrollMax = static_cast<int32_t>(y + std::max(0.0f, kClipBottom * s - lowest));
        m_scroll->setMinY(y);
        m_scroll->setMaxY(static_cast<float>(m_scrollMax));
    }

    GUIButton* button = GUIButton::create(
        CCCallFuncO::create(this, callfuncO_selector(GUIBackgrounds::onTilePressed), CCString::create(file)),
        "guisaveload_background_border.png", nullptr);
    button->setUserObject(CCString::create(file));
    button->setAnchorPoint(CCPointZero);
    button->setPosition(ccp((at.x - 3) * 2 * s, (at.y - 6) * 2 * s));
    button->setScale(4 * s);
    button->setActivateDelayed(false);

    CCSprite* mana = CCSprite::createWithSpriteFrameName("guisaveload_mana.png");
    mana->setAnchorPoint(CCPointZero);
    mana->setPosition(ccp(2, 2));
    mana->setVisible(false);
    button->addChild(mana);
    GUILabel* label = newLabel(10);
    label->setText(LocalUtils::localize("BkgGalleryChoose"));
    label->setPosition(ccp(8, 2));
    button->addChild(label);
    if (m_scroll)
        m_scroll->addChild(button);

    const CCPoint b = button->getPosition();
    CCSprite* lock = CCSprite::createWithSpriteFrameName("guisaveload_background_locked.png");
    lock->setAnchorPoint(CCPointZero);
    // Over the picture's top right corner, clear of the price.
    lock->setPosition(ccp(b.x + 47 * 4 * s, b.y + 27 * 4 * s));
    lock->setScale(4 * s);
    lock->setVisible(false);
    CCSprite* frame = CCSprite::createWithSpriteFrameName("guisaveload_background_container_border.png");
    frame->setAnchorPoint(CCPointZero);
    frame->setPosition(ccp(b.x - 4 * s, b.y - 4 * s));
    frame->setScale(4 * s);
    frame->setVisible(false);
    if (m_scroll) {
        m_scroll->addChild(lock);
        m_scroll->addChild(frame);
    }

    CCArray* parts = CCArray::create();
    parts->addObject(label);
    parts->addObject(lock);
    parts->addObject(frame);
    parts->addObject(mana);
    m_tileParts->setObject(parts, id);

    const bool owned = owns(id);
    if (!owned)
        label->setText(CCString::createWithFormat("%i", price));
    showTileState(id, owned, owned && inUse(id));
}

// A tile's look: a price, the lock and the mana icon while not owned; the
// in-use frame and text on the picture behind the world.
void GUIBackgrounds::showTileState(const std::string& id, bool owned, bool shown)
{
    CCArray* parts = getTileParts(id);
    if (!parts || parts->count() < 4)
        return;
    auto* label = static_cast<GUILabel*>(parts->objectAtIndex(Label));
    static_cast<CCNode*>(parts->objectAtIndex(Lock))->setVisible(!owned);
    static_cast<CCNode*>(parts->objectAtIndex(ManaIcon))->setVisible(!owned);
    static_cast<CCNode*>(parts->objectAtIndex(InUse))->setVisible(shown);
    if (shown)
        label->setText(LocalUtils::localize("BkgGalleryInUse"));
    else if (owned)
        label->setText(LocalUtils::localize("BkgGalleryChoose"));
}

void GUIBackgrounds::refreshPageTiles()
{
    CCArray* ids = m_tileParts->allKeys();
    if (!ids)
        return;
    for (CCObject* key : *ids) {
        const std::string id = static_cast<CCString*>(key)->getString();
        showTileState(id, owns(id), false);
    }
}

CCArray* GUIBackgrounds::getTileParts(const std::string& id) const
{
    return dynamic_cast<CCArray*>(m_tileParts->objectForKey(id));
}

CCArray* GUIBackgrounds::getTileButtons() const
{
    CCArray* buttons = CCArray::create();
    if (m_scroll)
        for (CCObject* child : *m_scroll->getChildren())
            if (auto* button = dynamic_cast<GUIButton*>(child))
                buttons->addObject(button);
    return buttons;
}

void GUIBackgrounds::onTilePressed(CCObject* fileName)
{
    auto* file = dynamic_cast<CCString*>(fileName);
    if (!file || m_state != Open)
        return;
    const std::string id = backgroundIdOf(file->getString());
    PixelMarket* market = PixelMarket::getInstance();
    const int32_t price = market ? market->backgroundPrice(id) : 0;
    refreshPageTiles();

    if (owns(id)) {
        playSound("sfx_gui_select");
        if (GameLayer* layer = GameLayer::existingInstance()) {
            // Shown and switched on together, so a saved world keeps it.
            layer->setBackgroundOn(true);
            layer->changeBackground(backgroundFileOf(id).c_str(), false);
            layer->getWorld().unsavedChanges = true;
        }
        showTileState(id, true, true);
        return;
    }
    if (price > Profile::getInstance()->getMana()) {
        ScreenUtils::showPopup(LocalUtils::localize("ConfirmationNotEnoughMana"), this,
                               callfunc_selector(GUIBackgrounds::onNotEnoughManaClosed), nullptr, nullptr,
                               GUIPopup::Message);
        return;
    }
    const std::string key = backgroundTextKeyOf(id);
    GUIPopup::getInstance()->setPurchaseInfo(
        LocalUtils::localize((key + "BkgName").c_str()),
        CCString::createWithFormat("%s/%s", rewardsFolder().c_str(), backgroundFileOf(id).c_str()),
        static_cast<float>(price), LocalUtils::localize((key + "BkgDescription").c_str()));
    ScreenUtils::showPopup(CCString::create("PURCHASE THIS BACKGROUND?"), this,
                           callfunc_selector(GUIBackgrounds::onPurchaseConfirmed), nullptr, nullptr,
                           GUIPopup::Purchase);
    m_pendingPurchase = ShopItem();
    m_pendingPurchase.setName(id.c_str());
    m_pendingPurchase.price = price;
    m_pendingPurchase.category = 1;
    m_pendingPurchase.flag = 0;
}

void GUIBackgrounds::onPurchaseConfirmed()
{
    Profile* profile = Profile::getInstance();
    if (profile->buyShopItem(CCString::create(m_pendingPurchase.name), m_pendingPurchase)) {
        // The purchase shows the picture; it also has to be switched on, or a
        // saved world would come back without it.
        if (GameLayer* layer = GameLayer::existingInstance()) {
            const std::string file = backgroundFileOf(m_pendingPurchase.name);
            layer->setBackgroundOn(true);
            CCString* shown = layer->getBackgroundName();
            if (!shown || shown->getString() != file)
                layer->changeBackground(file.c_str(), false);
            layer->getWorld().unsavedChanges = true;
        }
    }
    buildPage();
    if (m_state == Open)
        toggle();
}

void GUIBackgrounds::onNotEnoughManaClosed()
{
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene)
        return;
    scene->runAction(CCSequence::create(
        CCDelayTime::create(kNotEnoughManaDelay),
        CCCallFunc::create(this, callfunc_selector(GUIBackgrounds::closeIfOpen)),
        CCDelayTime::create(kNotEnoughManaDelay),
        CCCallFunc::create(ScreenUtils::getInstance(), callfunc_selector(ScreenUtils::trackButtonPressed)), nullptr));
}

// As the OK button closes it: the top bar is unlocked again.
void GUIBackgrounds::closeIfOpen()
{
    if (m_state == Open)
        toggle();
}

void GUIBackgrounds::onNextPage()
{
    playSound("sfx_gui_select");
    ++m_currentPage;
    buildPage();
}

void GUIBackgrounds::onPreviousPage()
{
    playSound("sfx_gui_select");
    --m_currentPage;
    buildPage();
}

void GUIBackgrounds::onOkButton()
{
    playSound("sfx_gui_next");
    toggle();
}

void GUIBackgrounds::onBackPressed()
{
    onOkButton();
}

void GUIBackgrounds::toggle()
{
    GUITopBar* bar = GUITopBar::getInstance();
    if (m_state == Open) {
        bar->setLocked(false);
        bar->resetButtons();
        close();
        return;
    }
    if (!mayOpenAsCurrent())
        return;
    bar->setLocked(true);
    openAsCurrent();
    if (CCScene* scene = CCDirector::sharedDirector()->getRunningScene())
        scene->runAction(CCSequence::create(CCDelayTime::create(0.5f),
                                            CCCallFunc::create(this, callfunc_selector(GUIBackgrounds::playPopupSound)),
                                            nullptr));
}
