// The HUD's side of the online gallery: opening it over the game, rating the
// world the player opened from it, and uploading a saved world.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/PlatformUtils.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "cocos2d_extensions/CCValue.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIRate.h"
#include "hud/FrontEnd.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "online/ServerLink.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "scene/SaveLoadUtils.h"
#include "gui/ScreenUtils.h"
#include "world/GameServices.h"
#include "world/WorldBlob.h"

USING_NS_CC;

namespace {

constexpr float kGalleryFadeSeconds = 0.25f;

void showMessage(const std::string& text)
{
    ScreenUtils::showPopup(CCString::create(text), nullptr, nullptr, nullptr, nullptr, 2);
}

// What the ratings of one gallery world still on their way share: whether
// one of them counted the world as rated. Answered after the world left the
// screen and the undo, they have no record of it to look at.
struct RatingsSent {
    bool counted = false;
};

std::shared_ptr<RatingsSent> ratingsSentFor(int32_t worldId)
{
    static std::map<int32_t, std::weak_ptr<RatingsSent>> sent;
    std::erase_if(sent, [](const auto& entry) { return entry.second.expired(); });
    std::shared_ptr<RatingsSent> shared = sent[worldId].lock();
    if (!shared) {
        shared = std::make_shared<RatingsSent>();
        sent[worldId] = shared;
    }
    return shared;
}

std::vector<GalleryOrigin*> recordsOf(int32_t worldId)
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->galleryOriginsOf(worldId) : std::vector<GalleryOrigin*>{};
}

}  // namespace

// --- opening ------------------------------------------------------------------------------

void GUI::openGallery()
{
    openGalleryScene(false);
}

void GUI::openGalleryFromMainMenu()
{
    openGalleryScene(true);
}

void GUI::openGalleryScene(bool fromMainMenu)
{
    closeMenu();
    GUITopBar::getInstance()->resetButtons();
    ScreenUtils* screens = ScreenUtils::getInstance();
    screens->savedWindow = screens->getCurrentWindow();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setReturnAsItWas(true);
    if (CCScene* gallery = frontEnd().galleryScene(fromMainMenu))
        CCDirector::sharedDirector()->pushScene(CCTransitionFade::create(kGalleryFadeSeconds, gallery));
}

// --- rating --------------------------------------------------------------------------------

int32_t GUI::getMyRating() const
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->galleryOrigin().myRating : -1;
}

void GUI::onRateButton(CCObject*)
{
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer || layer->getOnlineWorldId() == 0)
        return;
    Profile* profile = Profile::getInstance();
    if (!profile->isRegistered() && profile->hasNickname()) {
        // A server that forgot the player: the name is registered again
        // first, and the stars follow.
        profile->setPendingCallback(this, callfunc_selector(GUI::openRatePopup));
        profile->setDuplicateNameHandler(nullptr, nullptr);
        profile->ensureRegistered();
        return;
    }
    openRatePopup();
}

void GUI::onOnlineWorldGone(int32_t worldId)
{
    GameLayer* layer = GameLayer::existingInstance();
    if (worldId == 0 || !layer || layer->galleryOriginsOf(worldId).empty())
        return;
    LOG << "online world" << worldId << "is no longer in the gallery: nothing to rate";
    layer->forgetGalleryOrigin(worldId);
    refreshWorldMenu();
}

void GUI::forgetOnlineWorld()
{
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->forgetGalleryOrigin(0);
    refreshWorldMenu();
}

void GUI::refreshWorldMenu()
{
    if (m_openMenu == kWorldMenu && getState() != Closed && getState() != Closing)
        showWorldMenu();
}

void GUI::forgetGalleryWorlds()
{
    forgetGalleryMarks(0);
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer)
        return;
    if (layer->getOnlineWorldId() != 0)
        LOG << "online world" << layer->getOnlineWorldId() << "was the old server's: nothing to rate";
    if (GUI* gui = layer->getGUI())
        gui->forgetOnlineWorld();
    else
        layer->forgetGalleryOrigin(0);
}

void GUI::openRatePopup()
{
    GameLayer* layer = GameLayer::existingInstance();
    const int32_t worldId = layer ? layer->getOnlineWorldId() : 0;
    if (worldId == 0)
        return;
    if (layer->galleryOrigin().myRating >= 0) {
        m_ratePopupFor = worldId;
        ScreenUtils::showRatePopup(static_cast<float>(layer->galleryOrigin().myRating - 1), this);
        return;
    }
    std::weak_ptr<int> life = m_life;
    ServerLink::getInstance()->requestMyRating(
        worldId,
        [this, life, worldId](int32_t stars) {
            const std::vector<GalleryOrigin*> records = recordsOf(worldId);
            for (GalleryOrigin* origin : records)
                origin->myRating = stars;
            // Only over that world: one undone or replaced meanwhile gets no stars.
            if (life.expired() || records.empty() || GameLayer::existingInstance()->getOnlineWorldId() != worldId)
                return;
            m_ratePopupFor = worldId;
            ScreenUtils::showRatePopup(static_cast<float>(stars - 1), this);
        },
        [this, life](const GalleryFailure& failure) {
            if (life.expired())
                return;
            if (failure.worldGone())
                onOnlineWorldGone(failure.worldId);
            showMessage(failure.words());
        });
}

void GUI::rateWorld(CCObject* rating)
{
    auto* value = dynamic_cast<cocos2d_extensions::CCValue<float>*>(rating);
    const int32_t index = value ? GUIRate::ratingOf(value->getValue()) : -1;
    GameLayer* layer = GameLayer::existingInstance();
    const int32_t worldId = layer ? layer->getOnlineWorldId() : 0;
    const int32_t chosenFor = m_ratePopupFor;
    m_ratePopupFor = 0;
    // The stars as sent (the popup gives the last lit star's index); 0 is
    // none lit, which chooses nothing.
    const int stars = index >= 0 ? index + 1 : 0;
    LOG << "rating" << stars << "of online world" << worldId;
    // A local world has nothing to rate; stars chosen for a world that has
    // left the screen since go to no other.
    if (worldId == 0 || stars == 0)
        return;
    if (chosenFor != worldId) {
        LOG << "the stars were chosen for online world" << chosenFor << ", not the one shown: nothing sent";
        return;
    }
    Profile* profile = Profile::getInstance();
    profile->countProgress(ProgressWord::GalleryRatingRequest0);
    profile->save();
    std::weak_ptr<int> life = m_life;
    const std::string name = layer->galleryOrigin().name;
    // The world counts as rated once, at the first rating's answer; a new
    // rating replaces the one before.
    const bool unratedWhenSent = layer->galleryOrigin().myRating == 0;
    std::shared_ptr<RatingsSent> sent = ratingsSentFor(worldId);
    ServerLink::getInstance()->rateWorld(
        worldId, stars,
        [this, life, worldId, name, stars, unratedWhenSent, sent](const GalleryRating& answer) {
            // Judged now: a rating answered meanwhile left its stars on the
            // world's records, or counted the world when none was left.
            const std::vector<GalleryOrigin*> records = recordsOf(worldId);
            const bool first = unratedWhenSent && !sent->counted &&
                std::none_of(records.begin(), records.end(), [](GalleryOrigin* r) { return r->myRating > 0; });
            sent->counted = sent->counted || first;
            Profile* p = Profile::getInstance();
            p->countProgress(ProgressWord::GalleryRatingRequest1);
            if (first)
                p->countProgress(ProgressWord::WorldsRated);
            p->save();
            // The world keeps its new stars, on screen and in the undo.
            for (GalleryOrigin* origin : records) {
                origin->myRating = stars;
                origin->rating = static_cast<float>(answer.rating);
                origin->ratings = answer.ratings;
            }
            StatsUtils::ratedWorld(CCString::create(name), worldId, stars);
            LOG << "rated online world" << worldId << "with" << stars << "stars: average" << answer.rating << "of"
                << answer.ratings;
            if (life.expired())
                return;
            if (GameLayer* current = GameLayer::existingInstance(); current && current->getOnlineWorldId() == worldId)
                showWorldRating();
            showMessage(LocalUtils::localize("RateThanks")->getString());
        },
        [this, life, worldId](const GalleryFailure& failure) {
            // Stars given to a server that forgot the player are not its own.
            if (failure.kind == GalleryFailure::Kind::PlayerUnknown)
                for (GalleryOrigin* origin : recordsOf(worldId))
                    origin->myRating = -1;
            if (life.expired())
                return;
            if (failure.worldGone())
                onOnlineWorldGone(failure.worldId);
            showMessage(failure.words());
        });
}

// --- uploading ------------------------------------------------------------------------------

std::string GUI::galleryMarkOf(const std::string& worldFile)
{
    return "User/" + worldFile + ".gallery";
}

int32_t GUI::galleryIdOf(const std::string& worldFile)
{
    std::string text;
    if (worldFile.empty() || !readStoreFile(galleryMarkOf(worldFile), text))
        return 0;
    const long id = std::strtol(text.c_str(), nullptr, 10);
    return id > 0 && id <= INT32_MAX ? static_cast<int32_t>(id) : 0;
}

void GUI::forgetGalleryMarks(int32_t worldId)
{
    const std::string folder = "user/", suffix = ".gallery";
    for (const std::string& name : listCloudFiles("User")) {
        if (name.size() <= folder.size() + suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string file = name.substr(folder.size(), name.size() - folder.size() - suffix.size());
        if ((worldId == 0 || galleryIdOf(file) == worldId) && gameServices().fileDelete(galleryMarkOf(file)))
            LOG << "online gallery: saved world" << file << "no longer shared";
    }
}

void GUI::onUploadButton(CCObject*)
{
    if (!ServerLink::getInstance()->isConfigured()) {
        ScreenUtils::showOfflinePopup();
        return;
    }
    GameLayer* layer = GameLayer::existingInstance();
    const std::string file = layer && layer->getLoadedWorldName() ? layer->getLoadedWorldName()->getString() : "";
    // What goes is the world as saved: a world never saved is saved first.
    if (file.empty() || !gameServices().fileExists("User/" + file + ".sav")) {
        showMessage(LocalUtils::localize("UploadSaveFirst")->getString());
        return;
    }
    // So is one changed or renamed since: the save would share an old copy
    // under an old name.
    std::string shownFile;
    const std::string shown = layer->getUniverseName() ? layer->getUniverseName()->getString() : "";
    if (layer->getWorld().unsavedChanges || !SaveLoadUtils::worldFileName(shown, shownFile) ||
        toLowerString(shownFile) != toLowerString(file)) {
        LOG << "upload:" << file << "changed since its save; asked to save it first";
        showMessage(LocalUtils::localize("UploadChangedSaveFirst")->getString());
        return;
    }
    m_uploadFile = file;
    if (galleryIdOf(file) > 0) {
        ScreenUtils::showPopup(LocalUtils::localize("UploadAgainQuestion"), this,
                               callfunc_selector(GUI::confirmUploadCopy), nullptr, nullptr, 0);
        return;
    }
    confirmUploadCopy();
}

void GUI::confirmUploadCopy()
{
    if (m_uploadFile.empty())
        return;
    Profile* profile = Profile::getInstance();
    if (!profile->isRegistered() && !profile->hasNickname()) {
        // The nickname keyboard first, with no bar over it; the upload
        // follows the registration.
        ScreenUtils::whenRegistered(this, callfunc_selector(GUI::confirmUploadCopy),
                                    callfunc_selector(GUI::onUploadRegistrationFailed), nullptr);
        return;
    }
    ScreenUtils::showUploadProgress();
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    bar->setTargetProgress(10);
    // The player's account first; the upload follows on the same bar.
    ScreenUtils::whenRegistered(this, callfunc_selector(GUI::sendUpload),
                                callfunc_selector(GUI::onUploadRegistrationFailed), nullptr);
}

void GUI::onUploadRegistrationFailed()
{
    LOG << "upload: no account, nothing sent";
}

void GUI::failUpload(const std::string& words)
{
    LOG << "upload of" << m_uploadFile << "failed:" << words;
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    if (!bar->getParent())
        return;
    bar->setResultText(CCString::create(words));
    ScreenUtils::showProgressFailure();
}

void GUI::sendUpload()
{
    const std::string file = m_uploadFile;
    // A name refused on the way closed the bar with its answer: the upload
    // shows on a bar again.
    ScreenUtils::showUploadProgress();
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    bar->setTargetProgress(30);
    bar->setFastFill(false);
    std::string blob;
    std::string picture;
    worldblob::LoadPlan plan;
    std::string why;
    const std::string sav = "User/" + file + ".sav";
    if (!readStoreFile(sav, blob) ||
        !worldblob::parseBlob(reinterpret_cast<const uint8_t*>(blob.data()), blob.size(), plan, why)) {
        LOG << "upload: the saved world" << sav << "does not read:" << why;
        failUpload(LocalUtils::localize("UploadFailedGeneric")->getString());
        return;
    }
    // Its picture as saved beside it; made again from the world when gone.
    const std::string png = "User/" + file + ".png";
    if (!readStoreFile(png, picture) || picture.empty()) {
        SaveLoadUtils::saveThumbnail(CCString::create(file));
        if (!readStoreFile(png, picture) || picture.empty()) {
            failUpload(LocalUtils::localize("UploadFailedGeneric")->getString());
            return;
        }
    }
    std::string name = plan.header.name;
    if (name.empty()) {
        name = file;
        std::replace(name.begin(), name.end(), '_', ' ');
    }
    // A description never typed goes up empty. Worlds saved before the hint
    // was stored as none still hold it as if typed.
    std::string description = plan.header.description;
    if (description == LocalUtils::localize("UniverseDescriptionInitial")->getString())
        description.clear();
    bar->setTargetProgress(60);
    std::weak_ptr<int> life = m_life;
    ServerLink::getInstance()->uploadWorld(
        name, description, blob, picture,
        [life, file](int32_t id) {
            LOG << "upload of" << file << "done: gallery world" << id;
            const std::string mark = std::to_string(id);
            gameServices().fileWrite(galleryMarkOf(file), mark.data(), static_cast<int32_t>(mark.size()));
            if (life.expired())
                return;
            GUIProgressBar* done = GUIProgressBar::getInstance();
            done->setResultText(LocalUtils::localize("UploadSucceeded"));
            done->complete();
        },
        [this, life](const GalleryFailure& failure) {
            if (!life.expired())
                failUpload(failure.words());
        });
}
