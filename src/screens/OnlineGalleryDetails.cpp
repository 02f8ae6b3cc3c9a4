// The gallery's details of one world: its picture, texts, stars and
// downloads, Play (download, check, start in free play) and, on the player's
// own world, Delete.
#include "screens/OnlineGallery.h"

#include <algorithm>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "online/ServerLinkRequests.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "scene/SaveLoadUtils.h"
#include "gui/ScreenUtils.h"
#include "screens/MainMenu.h"
#include "world/GameServices.h"
#include "world/World.h"
#include "world/WorldBlob.h"

USING_NS_CC;
using namespace galleryscreen;

namespace {

const CCPoint kPanelAt(20, 18);
const CCRect kBigShot(26, 88, 120, 80);
constexpr float kColumnX = 152;
constexpr float kColumnWidth = 78;

std::string downloadCountText(int32_t downloads)
{
    return LocalUtils::localizeWithVar(
               LocalUtils::countedKey("GalleryDownloadCountOne", "GalleryDownloadCount", downloads),
               std::to_string(downloads).c_str())
        ->getString();
}

}  // namespace

void OnlineGallery::buildDetails()
{
    if (m_detailsLayer)
        return;
    const float s = sheetScale();
    const CCSize margin = visibleMargin();
    m_detailsMenu = sheetMenu(100);
    if (!m_detailsMenu)
        return;
    m_detailsLayer = CCLayer::create();
    m_detailsLayer->addChild(CCLayerColor::create(ccc4(0, 0, 0, 150), screenSize.width, screenSize.height));
    m_detailsLayer->addChild(m_detailsMenu);
    CCSprite* panel = frameSprite("onlinegallery_panel.png");
    panel->setPosition(kPanelAt);
    m_detailsMenu->addChild(panel);
    CCSprite* frame = frameSprite("onlinegallery_bigShot.png");
    frame->setPosition(kBigShot.origin);
    m_detailsMenu->addChild(frame);

    m_closeButton = addButton(m_detailsMenu, this, callfuncO_selector(OnlineGallery::closeDetails), nullptr,
                              "onlinegallery_close.png", nullptr, ccp(26, 24));
    addCaption(m_closeButton, "GalleryClose", 8);
    m_deleteButton = addButton(m_detailsMenu, this, callfuncO_selector(OnlineGallery::onDelete), nullptr,
                               "onlinegallery_delete.png", nullptr, ccp(112, 24));
    addCaption(m_deleteButton, "GenericDeleteBut", 8);
    m_playButton = addButton(m_detailsMenu, this, callfuncO_selector(OnlineGallery::onPlay), nullptr,
                             "onlinegallery_play.png", nullptr, ccp(174, 24));
    addCaption(m_playButton, "GalleryPlay", 9);

    // The picture has a texture of its own: beside the sheet's batch, in
    // the same units.
    m_detailsShot = CCNode::create();
    m_detailsShot->setContentSize(kBigShot.size);
    m_detailsShot->setScale(s);
    m_detailsShot->setAnchorPoint(CCPointZero);
    m_detailsShot->setPosition(
        ccp(margin.width / 2 + kBigShot.origin.x * s, margin.height / 2 + kBigShot.origin.y * s));
    m_detailsLayer->addChild(m_detailsShot, 1);
    m_detailsLayer->setVisible(false);
    addChild(m_detailsLayer, 10);
}

void OnlineGallery::openDetails(int32_t worldId)
{
    const Card* card = cardOf(worldId);
    if (!card || isDetailsShown())
        return;
    buildDetails();
    if (!m_detailsLayer)
        return;
    playSound("sfx_gui_select");
    m_detailsWorld = worldId;
    m_detailsKnown = false;
    m_playing = false;
    m_detailsLife = std::make_shared<int>(0);
    m_detailsShot->removeAllChildrenWithCleanup(true);
    showScreenshot(m_detailsShot, worldId, CCRect(0, 0, kBigShot.size.width, kBigShot.size.height));
    fillDetails(card->world);
    setPlayBusy(false);
    m_detailsLayer->setVisible(true);

    // The description and the player's own rating come with the details.
    std::weak_ptr<int> life = m_detailsLife;
    ServerLink::getInstance()->requestWorldDetails(
        worldId,
        [this, life](const GalleryWorld& world) {
            if (!life.expired())
                onDetails(world);
        },
        [this, life](const GalleryFailure& failure) {
            if (life.expired())
                return;
            // The card's own figures stay; only the description is missing,
            // and the player is told why.
            LOG << "online gallery: no details:" << failure.words();
            m_detailsKnown = true;
            // A download or a delete of this world on its way says what
            // became of it: the details have nothing to add (the world gone
            // because the player has just deleted it, say).
            if (m_playing || m_leaving)
                return;
            if (failure.worldGone())
                onWorldGone(failure.words());
            else
                ScreenUtils::showPopup(CCString::create(failure.words()), nullptr, nullptr, nullptr, nullptr, 2);
        });
}

void OnlineGallery::onDetails(const GalleryWorld& world)
{
    m_detailsKnown = true;
    fillDetails(world);
}

void OnlineGallery::fillDetails(const GalleryWorld& world)
{
    m_shown = world;
    if (m_detailsContent)
        m_detailsContent->removeFromParentAndCleanup(true);
    m_detailsContent = frameSprite("onlinegallery_empty.png");
    m_detailsMenu->addChild(m_detailsContent, 1);
    addLabel(m_detailsContent, world.name, 9, ccp(kColumnX, 156), CCPointZero, kTextColour, kColumnWidth);
    addLabel(m_detailsContent, LocalUtils::localizeWithVar("GalleryByAuthor", world.author.c_str())->getString(), 7,
             ccp(kColumnX, 146), CCPointZero, kMutedColour, kColumnWidth);
    addLabel(m_detailsContent, world.date.substr(0, 10), 6, ccp(kColumnX, 137), CCPointZero, kMutedColour,
             kColumnWidth);
    addStars(m_detailsContent, world.rating, ccp(kColumnX, 124), 1.3f);
    addLabel(m_detailsContent, GUI::ratingWords(world.rating, world.ratings), 6, ccp(kColumnX, 114), CCPointZero,
             kTextColour, kColumnWidth);
    addLabel(m_detailsContent, downloadCountText(world.downloads), 6, ccp(kColumnX, 105), CCPointZero, kTextColour,
             kColumnWidth);
    if (m_detailsKnown && !world.description.empty()) {
        GUILabel* description = addLabel(m_detailsContent, "", 7, ccp(26, 82), ccp(0, 1), kTextColour, 0);
        GUILabel::lineSpacing = 1.0f;
        description->setMultilineText(CCString::create(world.description), 204 / description->getScale(), 4);
    }
    // Delete only on the player's own world.
    Profile* profile = Profile::getInstance();
    const bool own = profile->isRegistered() && world.authorId != 0 && world.authorId == profile->getPlayerId();
    m_deleteButton->setVisible(own);
    m_deleteButton->setEnabled(own && !m_playing);
}

void OnlineGallery::closeDetails(CCObject*)
{
    if (!isDetailsShown() || m_playing)
        return;
    playSound("sfx_gui_back");
    m_detailsLife.reset();
    m_detailsWorld = 0;
    m_detailsLayer->setVisible(false);
}

void OnlineGallery::setPlayBusy(bool busy)
{
    m_playing = busy;
    m_playButton->setEnabled(!busy);
    m_closeButton->setEnabled(!busy);
    m_deleteButton->setEnabled(!busy && m_deleteButton->isVisible());
}

// --- play --------------------------------------------------------------------------------

void OnlineGallery::onPlay(CCObject*)
{
    if (!isDetailsShown() || m_playing || m_leaving)
        return;
    // A download needs the player's account.
    ScreenUtils::whenRegistered(this, callfunc_selector(OnlineGallery::downloadWorld),
                                callfunc_selector(OnlineGallery::onRegistrationFailed),
                                LocalUtils::localize("GalleryLoading"));
}

void OnlineGallery::onRegistrationFailed()
{
    LOG << "online gallery: no account, nothing downloaded";
}

void OnlineGallery::downloadWorld()
{
    if (!isDetailsShown() || m_playing || m_leaving)
        return;
    setPlayBusy(true);
    std::weak_ptr<int> life = m_detailsLife;
    ServerLink::getInstance()->downloadWorld(
        m_detailsWorld,
        [this, life](const std::string& blob) {
            if (!life.expired())
                onDownloaded(blob);
        },
        [this, life](const GalleryFailure& failure) {
            if (life.expired())
                return;
            if (failure.worldGone()) {
                setPlayBusy(false);
                onWorldGone(failure.words());
                return;
            }
            forgetOwnership(failure);
            onDownloadFailed(failure.words());
        });
}

void OnlineGallery::onDownloadFailed(const std::string& words)
{
    LOG << "online gallery: world" << m_detailsWorld << "not played:" << words;
    setPlayBusy(false);
    ScreenUtils::showPopup(CCString::create(words), nullptr, nullptr, nullptr, nullptr, 2);
}

void OnlineGallery::onDownloaded(const std::string& blob)
{
    // The game's own reader decides: a world it refuses is not started and
    // the running world stays as it was.
    worldblob::LoadPlan plan;
    std::string why;
    if (!worldblob::parseBlob(reinterpret_cast<const uint8_t*>(blob.data()), blob.size(), plan, why)) {
        LOG << "online gallery: world" << m_detailsWorld << "refused by the reader:" << why;
        onDownloadFailed(LocalUtils::localize("GalleryWorldUnreadable")->getString());
        return;
    }
    startWorld(m_shown, blob);
}

void OnlineGallery::startWorld(const GalleryWorld& world, const std::string& blob)
{
    Profile* profile = Profile::getInstance();
    GameLayer* layer = GameLayer::getInstance();
    // Free play first: the load reads it (a paused world stays paused only there).
    const int previousMode = profile->getGameMode();
    const bool previousFreePlay = SaveLoadUtils::isFreePlay();
    profile->setGameMode(MainMenu::kFreeModeGameMode);
    SaveLoadUtils::setFreePlay(true);
    if (!layer->getWorld().loadBytes(reinterpret_cast<const uint8_t*>(blob.data()), blob.size())) {
        profile->setGameMode(previousMode);
        SaveLoadUtils::setFreePlay(previousFreePlay);
        onDownloadFailed(LocalUtils::localize("GalleryWorldUnreadable")->getString());
        return;
    }
    layer->setLoadedWorldName(nullptr);
    layer->setGalleryOrigin({world.id, world.name, static_cast<float>(world.rating), world.ratings, world.myRating});
    layer->setReturnAsItWas(false);
    MainMenu::buildTopBar(true);
    profile->countProgress(ProgressWord::WorldsDownloaded);
    profile->save();
    StatsUtils::loadedWorld(CCString::create(world.name), world.id);
    LOG << "online gallery: playing world" << world.id << world.name;
    playSound("sfx_gui_loading");

    // Back in the game, no window over the new world.
    ScreenUtils::getInstance()->savedWindow = nullptr;
    m_playing = false;
    m_detailsLife.reset();
    m_leaving = true;
    ServerLinkRequests::getInstance()->queue().cancelAll();
    runAction(CCSequence::create(
        CCDelayTime::create(kLeaveDelay),
        CCCallFunc::create(CCDirector::sharedDirector(), callfunc_selector(CCDirector::popScene)), nullptr));
}

// --- delete ------------------------------------------------------------------------------

void OnlineGallery::onDelete(CCObject*)
{
    if (!isDetailsShown() || m_playing || !m_deleteButton->isVisible())
        return;
    ScreenUtils::showLosingQuestion(LocalUtils::localize("GalleryDeleteQuestion"), this,
                                    callfunc_selector(OnlineGallery::confirmDelete));
}

void OnlineGallery::confirmDelete()
{
    if (!isDetailsShown())
        return;
    const int32_t id = m_detailsWorld;
    setPlayBusy(true);
    std::weak_ptr<int> life = m_detailsLife;
    ServerLink::getInstance()->deleteWorld(
        id,
        [this, life, id]() {
            // The server has confirmed: the saved worlds forget it whatever
            // the screen shows now.
            GUI::forgetGalleryMarks(id);
            if (!life.expired())
                onDeleted(id);
        },
        [this, life, id](const GalleryFailure& failure) {
            // Already gone: what the player asked for holds.
            if (failure.worldGone())
                GUI::forgetGalleryMarks(id);
            if (life.expired())
                return;
            setPlayBusy(false);
            forgetOwnership(failure);
            if (failure.worldGone())
                onWorldGone(failure.words());
            else
                ScreenUtils::showPopup(CCString::create(failure.words()), nullptr, nullptr, nullptr, nullptr, 2);
        });
}

void OnlineGallery::forgetOwnership(const GalleryFailure& failure)
{
    // The account is forgotten: a world whose author had the same id on
    // this server is not the player's to delete.
    if (failure.kind == GalleryFailure::Kind::PlayerUnknown)
        fillDetails(m_shown);
}

void OnlineGallery::onDeleted(int32_t worldId)
{
    LOG << "online gallery: deleted world" << worldId;
    setPlayBusy(false);
    closeDetails();
    forgetCard(worldId);
}

void OnlineGallery::onWorldGone(const std::string& words)
{
    const int32_t worldId = m_detailsWorld;
    LOG << "online gallery: world" << worldId << "is no longer on the server";
    closeDetails();
    forgetCard(worldId);
    ScreenUtils::showPopup(CCString::create(words), nullptr, nullptr, nullptr, nullptr, 2);
}

void OnlineGallery::forgetCard(int32_t worldId)
{
    // Gone from the gallery (found gone, or deleted): the game under it may
    // be playing that world.
    if (GameLayer* layer = GameLayer::existingInstance(); layer && layer->getGUI())
        layer->getGUI()->onOnlineWorldGone(worldId);
    const size_t before = m_cards.size();
    m_cards.erase(std::remove_if(m_cards.begin(), m_cards.end(),
                                 [worldId](const Card& card) { return card.world.id == worldId; }),
                  m_cards.end());
    if (auto it = m_shots.find(worldId); it != m_shots.end()) {
        it->second->release();
        m_shots.erase(it);
    }
    if (m_cards.size() == before)
        return;
    layoutCards();
    showCount(std::max(0, m_total - 1));
}
