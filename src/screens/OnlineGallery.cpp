#include "screens/OnlineGallery.h"

#include <algorithm>
#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"
#include "gui/WeakCallRelay.h"
#include "online/NetworkManager.h"
#include "online/ServerLinkRequests.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

const char* const kOrderKeys[] = {"GalleryOrderNewest", "GalleryOrderTopRated", "GalleryOrderDownloads"};

// The grid's box on the sheet's 256 x 192 design area, and its cards.
const CCRect kGridBox(4, 4, 248, 148);
constexpr float kCardWidth = 60;
constexpr float kCardHeight = 72;
constexpr float kColumnPitch = (248.0f - kCardWidth) / (OnlineGallery::kColumns - 1);
constexpr float kRowPitch = 74;
const CCRect kCardShot(2, 32, 56, 38);
// Room below the last row for the spinner while more worlds are to come.
constexpr float kMoreRoom = 20;
constexpr int kSpinnerDots = 8;
// Rows beyond the view whose pictures are kept.
constexpr float kKeepRows = 3;

int rowOf(size_t index)
{
    return static_cast<int>(index) / OnlineGallery::kColumns;
}

// The top-left corner of a card in the grid's own units.
CCPoint cardCorner(size_t index)
{
    const int column = static_cast<int>(index) % OnlineGallery::kColumns;
    return ccp(kColumnPitch * static_cast<float>(column), kGridBox.size.height - kRowPitch * rowOf(index));
}

}  // namespace

using namespace galleryscreen;

// --- the screen -------------------------------------------------------------------

CCScene* OnlineGallery::scene(bool fromMainMenu)
{
    CCScene* scene = CCScene::create();
    scene->addChild(create(fromMainMenu));
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    return scene;
}

OnlineGallery* OnlineGallery::create(bool fromMainMenu)
{
    auto* gallery = new OnlineGallery(fromMainMenu);
    gallery->init();
    gallery->autorelease();
    return gallery;
}

OnlineGallery::~OnlineGallery()
{
    m_life.reset();
    m_detailsLife.reset();
    CC_SAFE_RELEASE(m_searchText);
    CC_SAFE_RELEASE(m_statusLabel);
    for (auto& [id, texture] : m_shots)
        texture->release();
}

bool OnlineGallery::init()
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(true);
    buildScreen();
    return true;
}

void OnlineGallery::buildScreen()
{
    if (m_built)
        return;
    m_built = true;
    const float s = sheetScale();
    const CCSize margin = visibleMargin();
    m_menu = sheetMenu(200);
    if (!m_menu) {
        LOG_ERROR << "online gallery: no sheet";
        return;
    }
    addChild(m_menu);

    m_menu->addChild(frameSprite("onlinegallery_background.png"));
    CCSprite* picture = frameSprite("onlinegallery_picture.png");
    picture->setScale(0.75f);
    picture->setPosition(ccp(48, 170));
    m_menu->addChild(picture);

    m_backButton = addButton(m_menu, this, callfuncO_selector(OnlineGallery::onBackButton), nullptr,
                             "onlinegallery_back.png", nullptr, ccp(4, 173));
    addCaption(m_backButton, "SelectionBack", 8);
    GUILabel* title = addLabel(m_menu, LocalUtils::localize("GalleryTitle")->getString(), 8, ccp(82, 181), CCPointZero,
                               kTitleColour, 0);
    title->shrinkToWidth(76);
    m_countLabel = addLabel(m_menu, "", 6, ccp(82, 173), CCPointZero, kMutedColour, 0);

    m_searchButton = addButton(m_menu, this, callfuncO_selector(OnlineGallery::onSearchField), nullptr,
                               "onlinegallery_search.png", nullptr, ccp(160, 173));
    if (m_searchButton) {
        m_searchButton->setIconAt("onlinegallery_magnifier.png", ccp(7, 8));
        m_searchButton->getIcon()->setVisible(true);
        m_searchLabel = addLabel(m_searchButton, "", 7, ccp(14, 8), ccp(0, 0.5f), kMutedColour, 0);
    }
    m_searchText = GUILabel::create();
    m_searchText->retain();
    m_clearButton = addButton(m_menu, this, callfuncO_selector(OnlineGallery::onClearSearch), nullptr,
                              "onlinegallery_clear.png", "onlinegallery_cross.png", ccp(238, 175));
    for (int i = 0; i < 3; ++i) {
        m_tabs[i] = addButton(m_menu, this, callfuncO_selector(OnlineGallery::onOrderTab), CCInteger::create(i),
                              "onlinegallery_tab.png", "onlinegallery_tabOn.png", ccp(4 + 84.0f * i, 156));
        addCaption(m_tabs[i], kOrderKeys[i], 7);
    }
    m_grid =
        SlidingLayer::create(ccp(margin.width / 2 + kGridBox.origin.x * s, margin.height / 2 + kGridBox.origin.y * s),
                             CCSize(kGridBox.size.width * s, kGridBox.size.height * s));
    m_grid->setAnchorPoint(CCPointZero);
    m_grid->setScrollX(false);
    m_grid->setScrollY(true);
    m_grid->setSelectionMode(0);
    m_grid->setFriction(0.9f);
    m_grid->setScale(s);
    addChild(m_grid, 1);
    // In the grid: centred while it is empty, under the last row once worlds
    // show, where the next page would come. Put back after each clearing.
    m_statusLabel = addLabel(m_grid, "", 8, CCPointZero, ccp(0.5f, 0.5f), kTextColour, 0);
    m_statusLabel->retain();

    m_spinner = CCNode::create();
    for (int i = 0; i < kSpinnerDots; ++i) {
        CCSprite* dot = frameSprite("onlinegallery_dot.png");
        const float angle = static_cast<float>(i) * 2.0f * static_cast<float>(M_PI) / kSpinnerDots;
        dot->setAnchorPoint(ccp(0.5f, 0.5f));
        dot->setPosition(ccp(6 * std::sin(angle), 6 * std::cos(angle)));
        m_spinner->addChild(dot);
    }
    m_spinner->setScale(s);
    m_spinner->setVisible(false);
    addChild(m_spinner, 5);
    showOrderTabs();
    refreshSearchField();
}

void OnlineGallery::onEnter()
{
    CCLayer::onEnter();
    BackButtonAdapter::getInstance()->addListener(this);
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(
        soundFilePath("music", "music_main_menu").c_str(), true);
    scheduleUpdate();
}

void OnlineGallery::onEnterTransitionDidFinish()
{
    CCLayer::onEnterTransitionDidFinish();
    if (m_cards.empty() && !m_pageInFlight)
        reload();
}

void OnlineGallery::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    unscheduleUpdate();
    // Nothing more may reach this screen.
    ServerLinkRequests::getInstance()->queue().cancelAll();
    m_life = std::make_shared<int>(0);
    m_detailsLife.reset();
    CCLayer::onExit();
}

void OnlineGallery::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

void OnlineGallery::update(float dt)
{
    ServerLink::getInstance()->networkManager().runPendingActions();
    if (m_leaving)
        return;
    fetchWhatShows();
    placeSpinner();
    if (m_spinner->isVisible()) {
        m_spinnerTime += dt;
        const int lit = static_cast<int>(m_spinnerTime * 12) % kSpinnerDots;
        int i = 0;
        for (CCObject* child : *m_spinner->getChildren()) {
            const int behind = (lit - i + kSpinnerDots) % kSpinnerDots;
            static_cast<CCSprite*>(child)->setOpacity(static_cast<uint8_t>(std::max(60, 255 - 40 * behind)));
            ++i;
        }
    }
}

// --- touches -------------------------------------------------------------------------

bool OnlineGallery::ccTouchBegan(CCTouch* touch, CCEvent* event)
{
    m_touch = TouchGoesTo::Nothing;
    ++m_touches;
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (window && window->isVisible()) {
        window->handleTouchBegan(touch);
        m_touch = TouchGoesTo::Window;
        return true;
    }
    if (m_leaving)
        return true;
    if (isDetailsShown()) {
        if (m_detailsMenu)
            m_detailsMenu->handleTouchBegan(touch);
        m_touch = TouchGoesTo::Details;
        return true;
    }
    if (m_menu) {
        m_menu->handleTouchBegan(touch);
        if (m_menu->getPressedButton() || m_menu->hasFiredOnPress()) {
            m_touch = TouchGoesTo::Menu;
            return true;
        }
    }
    if (m_grid && m_grid->ccTouchBegan(touch, event))
        m_touch = TouchGoesTo::Grid;
    return true;
}

void OnlineGallery::ccTouchMoved(CCTouch* touch, CCEvent* event)
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (m_touch == TouchGoesTo::Window && window && window->isVisible())
        window->handleTouchMoved(touch);
    else if (m_touch == TouchGoesTo::Grid) {
        m_grid->ccTouchMoved(touch, event);
        // Once a touch: the same drag does not ask again and again.
        if (m_listFailed && m_touches != m_failedInTouch && !m_leaving)
            retryList();
    }
}

void OnlineGallery::ccTouchEnded(CCTouch* touch, CCEvent* event)
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    switch (m_touch) {
    case TouchGoesTo::Window:
        if (window && window->isVisible())
            window->handleTouchEnded(touch);
        break;
    case TouchGoesTo::Details:
        if (m_detailsMenu)
            m_detailsMenu->handleTouchEnded(touch);
        break;
    case TouchGoesTo::Menu: m_menu->handleTouchEnded(touch); break;
    case TouchGoesTo::Grid: m_grid->ccTouchEnded(touch, event); break;
    case TouchGoesTo::Nothing: break;
    }
    m_touch = TouchGoesTo::Nothing;
}

void OnlineGallery::onBackPressed()
{
    if (m_leaving)
        return;
    if (isDetailsShown()) {
        closeDetails();
        return;
    }
    goBack();
}

void OnlineGallery::goBack()
{
    if (m_leaving)
        return;
    m_leaving = true;
    playSound("sfx_gui_back");
    ServerLinkRequests::getInstance()->queue().cancelAll();
    m_spinner->setVisible(false);
    // From the main menu, the game scene it came through goes too.
    CCDirector* director = CCDirector::sharedDirector();
    CCFiniteTimeAction* pop = CCCallFunc::create(director, callfunc_selector(CCDirector::popScene));
    CCFiniteTimeAction* again =
        m_fromMainMenu ? CCCallFunc::create(director, callfunc_selector(CCDirector::popScene)) : nullptr;
    runAction(CCSequence::create(CCDelayTime::create(kLeaveDelay), pop, again, nullptr));
}

// --- the list ---------------------------------------------------------------------------

void OnlineGallery::onOrderTab(CCObject* order)
{
    auto* value = dynamic_cast<CCInteger*>(order);
    if (value && value->getValue() >= 0 && value->getValue() <= 2)
        setOrder(static_cast<GalleryOrder>(value->getValue()));
}

void OnlineGallery::setOrder(GalleryOrder order)
{
    playSound("sfx_gui_select");
    m_order = order;
    showOrderTabs();
    StatsUtils::appliedFilter(CCString::create(LocalUtils::localize(kOrderKeys[static_cast<int>(order)])->getString()));
    reload();
}

void OnlineGallery::showOrderTabs()
{
    for (int i = 0; i < 3; ++i)
        if (m_tabs[i] && m_tabs[i]->getIcon())
            m_tabs[i]->getIcon()->setVisible(i == static_cast<int>(m_order));
}

void OnlineGallery::onSearchField(CCObject*)
{
    // Opened on the search as it stands, without the first-key replacement
    // the name fields use: a search is refined more often than retyped.
    GUILabel::setFontName(kFont);
    m_searchText->setText(CCString::create(m_search));
    ScreenUtils::showKeyboard(m_searchText, this, callfuncO_selector(OnlineGallery::onSearchEntered),
                              m_search.empty() ? LocalUtils::localize("GallerySearchHint") : nullptr);
}

void OnlineGallery::onSearchEntered(CCObject* text)
{
    auto* entered = dynamic_cast<CCString*>(text);
    setSearch(trimmedText(entered ? entered->getString() : std::string()));
}

void OnlineGallery::onClearSearch(CCObject*)
{
    if (!m_search.empty())
        setSearch("");
}

void OnlineGallery::setSearch(const std::string& text)
{
    if (text == m_search && !m_listFailed)
        return;
    m_search = text;
    refreshSearchField();
    StatsUtils::appliedSearch(
        CCString::create(m_search),
        CCString::create(LocalUtils::localize(kOrderKeys[static_cast<int>(m_order)])->getString()));
    reload();
}

void OnlineGallery::refreshSearchField()
{
    if (m_searchLabel)
        setFittedText(m_searchLabel,
                      m_search.empty() ? LocalUtils::localize("GallerySearchHint")->getString() : m_search, 62);
    if (m_searchLabel)
        m_searchLabel->setColor(m_search.empty() ? kMutedColour : kTextColour);
    if (m_clearButton) {
        m_clearButton->setVisible(!m_search.empty());
        m_clearButton->setEnabled(!m_search.empty());
    }
}

void OnlineGallery::reload()
{
    ServerLinkRequests::getInstance()->queue().cancelAll();
    ++m_generation;
    m_cards.clear();
    if (m_grid) {
        m_grid->clearContent();
        m_grid->setPosition(m_grid->getOrigin());
    }
    m_total = -1;
    m_pageInFlight = false;
    m_listFailed = false;
    m_listFailure.clear();
    if (m_countLabel)
        m_countLabel->setText(CCString::create(""));
    requestCount();
    requestNextPage();
    showStatus();
}

void OnlineGallery::requestCount()
{
    const Ticket t = ticket();
    ServerLink::getInstance()->requestWorldCount(
        m_search,
        [this, t](int32_t count) {
            if (valid(t))
                showCount(count);
        },
        [this, t](const GalleryFailure& failure) {
            if (valid(t))
                onListFailed(failure);
        });
}

void OnlineGallery::requestNextPage()
{
    if (m_pageInFlight || m_listFailed || m_leaving)
        return;
    if (m_total >= 0 && static_cast<int32_t>(m_cards.size()) >= m_total)
        return;
    m_pageInFlight = true;
    const Ticket t = ticket();
    ServerLink::getInstance()->requestWorldPage(
        m_order, static_cast<int32_t>(m_cards.size()), kPageSize, m_search,
        [this, t](const GalleryPage& page) {
            if (valid(t))
                onPage(page);
        },
        [this, t](const GalleryFailure& failure) {
            if (valid(t))
                onListFailed(failure);
        });
}

void OnlineGallery::onPage(const GalleryPage& page)
{
    m_pageInFlight = false;
    // The page's count stands in for a count that failed.
    m_listFailed = false;
    m_listFailure.clear();
    const size_t before = m_cards.size();
    for (const GalleryWorld& world : page.worlds) {
        // A world uploaded meanwhile shifts the list: one seen on the page
        // before is not shown twice.
        if (cardOf(world.id))
            continue;
        Card card;
        card.world = world;
        m_cards.push_back(card);
    }
    // Fewer than the count says (worlds deleted meanwhile): the list ends here.
    showCount(page.worlds.empty() ? static_cast<int32_t>(m_cards.size()) : page.count);
    if (m_cards.size() == before && static_cast<int32_t>(m_cards.size()) < m_total)
        m_total = static_cast<int32_t>(m_cards.size());
    for (size_t i = before; i < m_cards.size(); ++i)
        addCard(i);
    keepGridInRange();
    LOG << "online gallery: page of" << page.worlds.size() << "worlds at" << page.offset << "of" << page.count;
    showStatus();
}

void OnlineGallery::onListFailed(const GalleryFailure& failure)
{
    m_pageInFlight = false;
    if (m_listFailed)
        return;  // the count's and the page's failures are one
    m_listFailed = true;
    m_listFailure = failure.words();
    m_failedInTouch = m_touches;
    LOG << "online gallery: the list failed:" << m_listFailure;
    // The popup and the status line in the same words.
    ScreenUtils::showPopup(CCString::create(m_listFailure), nullptr, nullptr, nullptr, nullptr, 2);
    showStatus();
}

void OnlineGallery::retryList()
{
    // A failed request is not the end of the list: the player's scroll asks
    // again, the next page once the end shows (fetchWhatShows), or the whole
    // list when nothing came.
    m_listFailed = false;
    m_listFailure.clear();
    if (m_cards.empty()) {
        reload();
        return;
    }
    // The pictures that did not come meanwhile are asked for again as their
    // rows show.
    for (Card& card : m_cards)
        if (card.shotAsked && !m_shots.count(card.world.id))
            card.shotAsked = false;
    showStatus();
}

void OnlineGallery::showCount(int32_t count)
{
    m_total = std::max<int32_t>(count, static_cast<int32_t>(m_cards.size()));
    if (!m_countLabel)
        return;
    CCString* text = LocalUtils::localizeWithVar(
        LocalUtils::countedKey("GalleryWorldCountOne", "GalleryWorldCount", count), std::to_string(count).c_str());
    setFittedText(m_countLabel, text->getString(), 64);
    showStatus();
}

void OnlineGallery::showStatus()
{
    if (!m_statusLabel || !m_grid)
        return;
    std::string text;
    if (m_listFailed)
        text = m_listFailure;
    else if (m_cards.empty() && m_pageInFlight)
        text = LocalUtils::localize("GalleryLoading")->getString();
    else if (m_cards.empty() && m_total == 0)
        text = m_search.empty() ? LocalUtils::localize("GalleryNoWorlds")->getString()
                                : LocalUtils::localizeWithVar("GalleryNoMatch", m_search.c_str())->getString();
    if (m_statusLabel->getParent() != m_grid)
        m_grid->addChild(m_statusLabel, 3);
    GUILabel::setFontName(kFont);
    constexpr float kWidth = 220;
    if (!m_cards.empty()) {
        // One line under the last row, in the room kept there for more.
        m_statusLabel->setScale(7.0f / GUILabel::fontSize);
        setFittedText(m_statusLabel, text, kGridBox.size.width - 8);
        m_statusLabel->setAnchorPoint(ccp(0.5f, 0.5f));
        m_statusLabel->setPosition(
            ccp(kGridBox.size.width / 2, cardCorner(m_cards.size() - 1).y - kCardHeight - kMoreRoom / 2));
        m_statusLabel->setVisible(!text.empty());
        return;
    }
    // The empty grid: centred in its view, wherever it was scrolled. One line
    // centred; a longer text on up to three lines from its left (a
    // multi-line label keeps no width to centre it by).
    const CCPoint scrolled =
        ccpMult(ccpSub(m_grid->getPosition(), m_grid->getOrigin()), 1.0f / std::max(0.01f, m_grid->getScale()));
    const CCPoint middle = ccpSub(ccp(kGridBox.size.width / 2, kGridBox.size.height / 2), scrolled);
    m_statusLabel->setScale(8.0f / GUILabel::fontSize);
    m_statusLabel->setText(CCString::create(text));
    if (m_statusLabel->getWidth() * m_statusLabel->getScale() <= kWidth) {
        m_statusLabel->setAnchorPoint(ccp(0.5f, 0.5f));
        m_statusLabel->setPosition(ccpAdd(middle, ccp(0, 10)));
    } else {
        GUILabel::lineSpacing = 1.0f;
        m_statusLabel->setMultilineText(CCString::create(text), kWidth / m_statusLabel->getScale(), 3);
        m_statusLabel->setAnchorPoint(CCPointZero);
        m_statusLabel->setPosition(ccpAdd(middle, ccp(-kWidth / 2, 20)));
    }
    m_statusLabel->setVisible(!text.empty());
}

const OnlineGallery::Card* OnlineGallery::cardOf(int32_t worldId) const
{
    for (const Card& card : m_cards)
        if (card.world.id == worldId)
            return &card;
    return nullptr;
}

void OnlineGallery::addCard(size_t index)
{
    Card& card = m_cards[index];
    const GalleryWorld& world = card.world;
    CCMenuItemSprite* item =
        CCMenuItemSprite::create(frameSprite("onlinegallery_card.png"), frameSprite("onlinegallery_cardOn.png"), this,
                                 menu_selector(OnlineGallery::onCardTapped));
    item->setUserObject(CCInteger::create(world.id));
    item->setAnchorPoint(ccp(0, 1));
    item->setPosition(cardCorner(index));
    CCSprite* frame = frameSprite("onlinegallery_shot.png");
    frame->setPosition(kCardShot.origin);
    item->addChild(frame, 1);
    showScreenshot(item, world.id, kCardShot);
    addLabel(item, world.name, 7, ccp(3, 22), CCPointZero, kTextColour, 54);
    addLabel(item, LocalUtils::localizeWithVar("GalleryByAuthor", world.author.c_str())->getString(), 6, ccp(3, 13),
             CCPointZero, kMutedColour, 54);
    addStars(item, world.rating, ccp(3, 3), 1.0f);
    GUILabel* downloads = addLabel(item, downloadsText(world.downloads), 6, ccp(57, 3), ccp(1, 0), kMutedColour, 0);
    CCSprite* icon = frameSprite("onlinegallery_download.png");
    icon->setAnchorPoint(ccp(1, 0));
    icon->setPosition(ccp(57 - downloads->getWidth() * downloads->getScale() - 1, 3));
    item->addChild(icon, 2);
    card.item = item;
    m_grid->addChild(item);
}

void OnlineGallery::layoutCards()
{
    const CCPoint at = m_grid->getPosition();
    m_grid->clearContent();
    for (size_t i = 0; i < m_cards.size(); ++i)
        addCard(i);
    keepGridInRange();
    m_grid->setPosition(m_grid->clampPosition(at));
    showStatus();
}

void OnlineGallery::keepGridInRange()
{
    // The grid scrolls from its first row to its last, and past it by the
    // spinner's room while more worlds are to come; a short list stays put.
    const bool more = m_total < 0 || static_cast<int32_t>(m_cards.size()) < m_total;
    const float lowest = m_cards.empty() ? 0.0f : m_grid->getContentMin().y;
    m_grid->setBottomLeftMargin(ccp(0, std::max(0.0f, lowest) + (more && lowest < 0 ? kMoreRoom * sheetScale() : 0)));
}

void OnlineGallery::onCardTapped(CCObject* card)
{
    auto* item = dynamic_cast<CCNode*>(card);
    auto* id = item ? dynamic_cast<CCInteger*>(item->getUserObject()) : nullptr;
    if (id && !m_leaving)
        openDetails(id->getValue());
}

// --- screenshots and paging -------------------------------------------------------------

void OnlineGallery::fetchWhatShows()
{
    if (!m_grid || m_cards.empty())
        return;
    // The part of the grid's own units in view.
    const float scrolled = (m_grid->getPosition().y - m_grid->getOrigin().y) / m_grid->getScale();
    const float viewBottom = -scrolled;
    const float viewTop = kGridBox.size.height - scrolled;
    for (size_t i = 0; i < m_cards.size(); ++i) {
        const float top = cardCorner(i).y;
        if (top - kCardHeight < viewTop && top > viewBottom && !m_cards[i].shotAsked)
            requestScreenshot(m_cards[i]);
        // A picture far out of view lets its texture go; it comes again
        // when its row shows again. Memory stays bounded however far the
        // player scrolls.
        if ((top < viewBottom - kKeepRows * kRowPitch || top - kCardHeight > viewTop + kKeepRows * kRowPitch) &&
            m_cards[i].shotAsked)
            forgetScreenshot(m_cards[i]);
    }
    // The last row half in view: the next page.
    const float lastBottom = cardCorner(m_cards.size() - 1).y - kCardHeight;
    if (lastBottom > viewBottom - kRowPitch / 2)
        requestNextPage();
}

void OnlineGallery::requestScreenshot(Card& card)
{
    card.shotAsked = true;
    const int32_t id = card.world.id;
    if (m_shots.count(id))
        return;
    const Ticket t = ticket();
    ServerLink::getInstance()->requestScreenshot(
        id,
        [this, t, id](const std::string& png) {
            if (!t.life.expired())
                onScreenshot(id, png);
        },
        [id](const GalleryFailure& failure) {
            // The card keeps its empty frame.
            LOG << "online gallery: no screenshot of world" << id << ":" << failure.message;
        });
}

void OnlineGallery::forgetScreenshot(Card& card)
{
    card.shotAsked = false;
    auto it = m_shots.find(card.world.id);
    if (it == m_shots.end())
        return;
    if (card.item)
        card.item->removeChildByTag(kScreenshotTag, true);
    it->second->release();
    m_shots.erase(it);
}

void OnlineGallery::onScreenshot(int32_t worldId, const std::string& png)
{
    if (m_shots.count(worldId))
        return;
    CCTexture2D* texture = textureOfPng(png);
    if (!texture) {
        LOG << "online gallery: the screenshot of world" << worldId << "does not decode";
        return;
    }
    m_shots[worldId] = texture;
    if (const Card* card = cardOf(worldId); card && card->item)
        showScreenshot(card->item, worldId, kCardShot);
    if (m_detailsWorld == worldId && m_detailsShot)
        showScreenshot(m_detailsShot, worldId,
                       CCRect(0, 0, m_detailsShot->getContentSize().width, m_detailsShot->getContentSize().height));
}

void OnlineGallery::showScreenshot(CCNode* parent, int32_t worldId, const CCRect& box)
{
    auto it = m_shots.find(worldId);
    if (it == m_shots.end() || parent->getChildByTag(kScreenshotTag))
        return;
    CCSprite* picture =
        fittedPicture(it->second, CCRect(box.origin.x + 1, box.origin.y + 1, box.size.width - 2, box.size.height - 2));
    parent->addChild(picture, 1, kScreenshotTag);
}

CCSprite* OnlineGallery::screenshotOf(int32_t worldId) const
{
    const Card* card = cardOf(worldId);
    return card && card->item ? dynamic_cast<CCSprite*>(card->item->getChildByTag(kScreenshotTag)) : nullptr;
}

void OnlineGallery::placeSpinner()
{
    const float s = sheetScale();
    const CCSize margin = visibleMargin();
    const bool listLoading = m_pageInFlight && !isDetailsShown();
    const bool detailsLoading = isDetailsShown() && (m_playing || !m_detailsKnown);
    m_spinner->setVisible(!m_leaving && (listLoading || detailsLoading));
    if (!m_spinner->isVisible())
        return;
    CCPoint at;
    if (detailsLoading) {
        at = ccp(128, 66);
    } else if (m_cards.empty()) {
        at = ccp(kGridBox.getMidX(), kGridBox.getMidY() - 10);
    } else {
        // Under the last row, or at the foot of the view when that is lower.
        const CCPoint below = m_grid->convertToWorldSpace(
            ccp(kGridBox.size.width / 2, cardCorner(m_cards.size() - 1).y - kCardHeight - kMoreRoom / 2));
        at = ccp(kGridBox.getMidX(), std::max((below.y - margin.height / 2) / s, kGridBox.origin.y + 8));
    }
    m_spinner->setPosition(ccp(margin.width / 2 + at.x * s, margin.height / 2 + at.y * s));
}
