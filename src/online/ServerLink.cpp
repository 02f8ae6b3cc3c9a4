#include "online/ServerLink.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/PlatformUtils.h"
#include "profile/Profile.h"
#include "world/GameServices.h"
#include "base/Utils.h"
#include "platform/UniqueId.h"
#include "online/NetworkManager.h"
#include "online/ServerLinkRequests.h"
#include "base/Base64.h"
#include "base/Crc32.h"
#include "base/json/Json.h"
#include "world/WorldBlob.h"

USING_NS_CC;

namespace {

// A registration or an upload carries an id of its own, kept in the profile
// until the server answers it (a time-out, a lost connection or a status
// worth trying again is no answer: a proxy's 502 may come after the server
// did the work), so that trying again, after a restart too, sends the same
// request: the server then answers with what the first one made instead of
// making it twice. The registration's id is kept for its nickname; an
// upload's for this fingerprint of its world, name and description (CRC-32
// and length), so that a changed world gets a new id.
uint64_t uploadFingerprint(const std::string& name, const std::string& description, const std::string& blob)
{
    const std::string about = name + '\n' + description + '\n' + blob;
    return static_cast<uint64_t>(crc32Bytes(reinterpret_cast<const uint8_t*>(about.data()), about.size())) << 32 |
        static_cast<uint32_t>(about.size());
}

ServerLink* g_instance = nullptr;

std::string localized(const char* key)
{
    return LocalUtils::localize(key)->getString();
}

// A failed create-player answer: on the request's progress bar when one
// shows, else in the message popup. Buttons act again either way.
void reportLoudly(const std::string& words)
{
    GameServices& services = gameServices();
    if (services.setBusy)
        services.setBusy(false);
    if ((!services.failProgress || !services.failProgress(words)) && services.showMessageText)
        services.showMessageText(words);
}

// The server does not know the stored player (its database was replaced,
// say): the profile goes back to a name without an account, which the game
// registers again as it registers any such name, and the world ids learnt
// from the old server are forgotten, so that nothing is sent about a world
// that has another id, or another world's id, on this one. Only the key
// that was refused is forgotten: an account made since then stays, and so
// do the ids learnt with it.
void forgetStoredPlayer(const std::string& refusedKey)
{
    Profile* profile = Profile::getInstance();
    if (!profile->isRegistered() || profile->getPrivateKey()->getString() != refusedKey)
        return;
    LOG << "gallery: the server does not know player" << profile->getPlayerId()
        << "; the name will be registered again";
    // The ids first: a stop before the profile is saved leaves the key,
    // which the next refusal forgets with them.
    if (gameServices().forgetGalleryWorlds)
        gameServices().forgetGalleryWorlds();
    profile->setPrivateKey(CCString::create("Unconfigured"));
    profile->save();
}

// Any answer of a gallery request: a 2xx status with a body its reader
// accepts is the answer; anything else is a failure with its reason.
class GalleryAction : public RequestAction {
public:
    // carriedKey: the stored player's key when the request carries it.
    GalleryAction(std::shared_ptr<Request> request, int32_t worldId,
                  std::function<bool(const std::string&, std::string&)> read, ServerLink::FailureHandler failed,
                  std::string carriedKey)
        : RequestAction(std::move(request)), worldId_(worldId), read_(std::move(read)), failed_(std::move(failed)),
          carriedKey_(std::move(carriedKey))
    {
    }

protected:
    bool onResponse(const Response& response) override
    {
        GalleryFailure failure;
        failure.worldId = worldId_;
        if (response.statusCode < 200 || response.statusCode > 299) {
            failure.kind = GalleryFailure::Kind::Refused;
            failure.status = response.statusCode;
            failure.message = galleryanswer::errorMessage(response.body);
            LOG << "gallery: the server refused" << withKeyHidden(request().url()) << "with" << response.statusCode
                << failure.message;
            if (response.statusCode == 401 && !carriedKey_.empty()) {
                failure.kind = GalleryFailure::Kind::PlayerUnknown;
                forgetStoredPlayer(carriedKey_);
            }
            return fail(failure);
        }
        std::string why;
        if (read_(response.body, why))
            return true;
        failure.kind = GalleryFailure::Kind::Unreadable;
        failure.status = response.statusCode;
        failure.message = why;
        LOG_ERROR << "gallery: unreadable answer from" << withKeyHidden(request().url()) << ":" << why;
        return fail(failure);
    }

    bool onConnectionError(int curlCode, const std::string& message) override
    {
        GalleryFailure failure;
        failure.kind = GalleryFailure::Kind::Connection;
        failure.curlCode = curlCode;
        failure.message = message;
        LOG << "gallery: request failed:" << curlCode << message;
        return fail(failure);
    }

private:
    bool fail(const GalleryFailure& failure)
    {
        if (failed_)
            failed_(failure);
        return false;
    }

    int32_t worldId_;
    std::function<bool(const std::string&, std::string&)> read_;
    ServerLink::FailureHandler failed_;
    std::string carriedKey_;
};

// A failure known before anything is sent, delivered at the next drain as
// an answer would be.
class DeferredFailure : public Action {
public:
    DeferredFailure(GalleryFailure failure, ServerLink::FailureHandler failed)
        : failure_(std::move(failure)), failed_(std::move(failed))
    {
    }
    bool execute() override
    {
        if (failed_)
            failed_(failure_);
        return true;
    }

private:
    GalleryFailure failure_;
    ServerLink::FailureHandler failed_;
};

// No answer is longer than these: a page of 50 worlds, a screenshot, the
// largest world the game can save.
constexpr size_t kMaxJsonAnswer = 1u << 20;

size_t largestWorldAnswer()
{
    static const size_t largest = worldblob::ExtraSizeTable::ofEveryElement().largestBlobSize();
    return largest;
}

std::shared_ptr<Request> galleryRequest(const std::string& url, Request::Method method, size_t maxAnswer)
{
    auto request = std::make_shared<Request>(url, method);
    request->addHeader("Accept", method == Request::Method::Get ? "*/*" : "application/json");
    request->setMaxBodySize(maxAnswer);
    return request;
}

// A body reader that hands the value read to done.
template <typename T, typename Done>
std::function<bool(const std::string&, std::string&)> reading(bool (*read)(const std::string&, T&, std::string&),
                                                              Done done)
{
    return [read, done = std::move(done)](const std::string& body, std::string& why) {
        T value{};
        if (!read(body, value, why))
            return false;
        if (done)
            done(value);
        return true;
    };
}

}  // namespace

std::string withKeyHidden(const std::string& url)
{
    const size_t query = url.find('?');
    if (query == std::string::npos)
        return url;
    std::string shown = url.substr(0, query);
    char separator = '?';
    for (size_t at = query + 1; at <= url.size();) {
        size_t end = url.find('&', at);
        if (end == std::string::npos)
            end = url.size();
        const std::string param = url.substr(at, end - at);
        shown += separator;
        shown += param.compare(0, 4, "key=") == 0 ? "key=(hidden)" : param;
        separator = '&';
        at = end + 1;
    }
    return shown;
}

const char* connectionFailureKey(int curlCode)
{
    switch (curlCode) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_FAILED_INIT:
    case CURLE_URL_MALFORMAT:  // no server set: an empty address
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT: return "NotificationOfflineMode";
    case CURLE_OPERATION_TIMEDOUT: return "NetErrorTimeout";
    default: return "NetErrorConnectionLost";
    }
}

bool worthTryingAgain(long status)
{
    return status >= 500 || status == 408 || status == 429;
}

const char* refusalKey(long status)
{
    return worthTryingAgain(status) ? "NetError1" : "NetErrorRefused";
}

bool GalleryFailure::worldGone() const
{
    return kind == Kind::Refused && status == 404 && worldId != 0;
}

const char* GalleryFailure::textKey() const
{
    switch (kind) {
    case Kind::Offline: return "NotificationOfflineMode";
    case Kind::Connection: return connectionFailureKey(curlCode);
    case Kind::Unreadable: return "NetErrorIncorrectJson";
    case Kind::Refused: return worldGone() ? "GalleryWorldGone" : refusalKey(status);
    case Kind::PlayerUnknown: return "NetErrorPlayerUnknown";
    case Kind::NotRegistered: break;
    }
    return "NetError1";
}

std::string refusalWords(const char* key, const std::string& serverWords)
{
    std::string text = localized(key);
    if (!serverWords.empty())
        text += " " + LocalUtils::localizeWithVar("GalleryServerSays", serverWords.c_str())->getString();
    return text;
}

std::string GalleryFailure::words() const
{
    if (kind == Kind::Refused && !worldGone())
        return refusalWords(textKey(), message);
    return localized(textKey());
}

ServerLink* ServerLink::getInstance()
{
    if (!g_instance)
        g_instance = new ServerLink();
    return g_instance;
}

void ServerLink::resetInstanceForTests()
{
    delete g_instance;
    g_instance = new ServerLink();
}

ServerLink::ServerLink()
{
    const char* url = std::getenv("TESMORA_SERVER_URL");
    baseUrl_ = url ? url : "";
    while (!baseUrl_.empty() && baseUrl_.back() == '/')
        baseUrl_.pop_back();
}

std::string ServerLink::apiUrl() const
{
    return baseUrl_.empty() ? std::string() : baseUrl_ + "/v1";
}

std::string ServerLink::urlEscape(const std::string& text)
{
    static const std::string unencoded = " ";
    static const std::string encoded = "\n\r?[]()$,!'*;:@&=#%+/";
    return urlEncode(text, unencoded, encoded);
}

NetworkManager& ServerLink::networkManager()
{
    return manager_ ? *manager_ : NetworkManager::getInstance();
}

bool ServerLink::dispatch(const std::shared_ptr<RequestAction>& action)
{
    if (baseUrl_.empty())
        LOG << "no server configured (TESMORA_SERVER_URL): the request fails";
    return networkManager().send(action);
}

void ServerLink::createPlayer(Profile* profile, CCObject* refusalTarget, SEL_CallFunc refusalSelector)
{
    sendCreatePlayer(profile, refusalTarget, refusalSelector, false);
}

void ServerLink::createPlayerQuietly(Profile* profile, CCObject* takenTarget, SEL_CallFunc takenSelector)
{
    LOG << "registering the kept name again in the background";
    sendCreatePlayer(profile, takenTarget, takenSelector, true);
}

void ServerLink::sendCreatePlayer(Profile* profile, CCObject* refusalTarget, SEL_CallFunc refusalSelector, bool quiet)
{
    if (!profile)
        return;
    std::string url = apiUrl().empty() ? std::string() : apiUrl() + "/players";
    auto request = std::make_shared<Request>(url, Request::Method::Post);
    request->addHeader("Content-Type", "application/json");
    request->addHeader("Accept", "application/json");
    std::string nickname = profile->getNickname() ? profile->getNickname()->getString() : std::string();
    // Kept in the profile until answered, and never logged: a repeat of it
    // gets the player's key.
    std::string requestId = profile->registrationRequestId();
    if (requestId.empty() && isConfigured()) {
        requestId = platform::uniqueId();
        profile->setRegistrationRequestId(requestId);
        profile->save();
    }
    std::vector<json::NodePtr> fields = {
        json::stringNode("nickname", nickname),
        json::stringNode("UUID", platformUserId()),
        json::stringNode("device_model", platformName()),
    };
    if (!requestId.empty())
        fields.push_back(json::stringNode("request_id", requestId));
    request->setBody(json::objectJson(fields));
    limitTime(*request, false);
    auto action = std::make_shared<CreatePlayerCallback>(request, profile, refusalTarget, refusalSelector, profile,
                                                         callfunc_selector(Profile::runPendingCallback));
    action->setQuiet(quiet);
    action->keepRequestId(requestId);
    dispatch(action);
}

CreatePlayerCallback::CreatePlayerCallback(std::shared_ptr<Request> request, Profile* profile, CCObject* refusalTarget,
                                           SEL_CallFunc refusalSelector, CCObject* continuationTarget,
                                           SEL_CallFunc continuation)
    : RequestAction(std::move(request)), profile_(profile), refusalTarget_(refusalTarget),
      refusalSelector_(refusalSelector), continuationTarget_(continuationTarget), continuation_(continuation)
{
    // Kept alive until the answer comes: a window may close meanwhile.
    CC_SAFE_RETAIN(refusalTarget_);
    CC_SAFE_RETAIN(continuationTarget_);
}

CreatePlayerCallback::~CreatePlayerCallback()
{
    CC_SAFE_RELEASE(refusalTarget_);
    CC_SAFE_RELEASE(continuationTarget_);
}

void CreatePlayerCallback::reportFailure(const std::string& words, bool logged)
{
    if (quiet_) {
        if (!logged)
            LOG << "create player: failed in the background (" << words << "); the name is kept";
        return;
    }
    reportLoudly(words);
}

bool CreatePlayerCallback::answered()
{
    // A registration of another name may have taken its place.
    if (requestId_.empty() || profile_->registrationRequestId() != requestId_)
        return false;
    profile_->clearRegistrationRequestId();
    return true;
}

void CreatePlayerCallback::runRefusal()
{
    if (refusalTarget_ && refusalSelector_)
        (refusalTarget_->*refusalSelector_)();
}

bool CreatePlayerCallback::onResponse(const Response& response)
{
    const long status = response.statusCode;
    if (status < 200 || status > 202) {
        // A proxy's 502 may come after the server made the player: the same
        // id again gets it.
        // Saved: a start after a refusal sends a new request, not this one.
        if (!worthTryingAgain(status) && answered())
            profile_->save();
        // The request holds no key and a refusal's body none either.
        const std::string serverWords = galleryanswer::errorMessage(response.body);
        LOG << "create player: the server refused it with " + std::to_string(status) + ": " +
                (serverWords.empty() ? std::string("(no words)") : serverWords) +
                (quiet_ ? " (in the background; the name is kept)" : "");
        // Only 403 says the name is another player's: a busy or failing
        // server leaves the typed name as it is.
        if (status == 403) {
            runRefusal();
            reportFailure(localized("NetErrorNameTaken"), true);
        } else {
            reportFailure(refusalWords(refusalKey(status), serverWords), true);
        }
        return true;
    }

    // The answer is untrusted: anything but an object with a numeric id and
    // a key that fits its field is an unreadable answer.
    json::Document document = json::Document::parse(response.body);
    json::NodePtr id = document.find("id");
    json::NodePtr key = document.find("key");
    bool idFits = id->isInt() && id->intValue() >= INT32_MIN && id->intValue() <= INT32_MAX;
    bool keyFits = key->isString() && !key->stringValue().empty() &&
        key->stringValue().size() < static_cast<size_t>(Profile::kPrivateKeyFieldSize) &&
        key->stringValue().find('\0') == std::string::npos &&
        // The profile's word for "no account": taking it would
        // report success and leave the player unregistered.
        key->stringValue() != "Unconfigured";
    if (!document.isValid() || !idFits || !keyFits) {
        // Never the parser's report: it quotes the answer, which holds the key.
        LOG_ERROR << "create player: incorrect answer:"
                  << (!document.isValid() ? "not JSON"
                          : !idFits       ? "no usable id"
                                          : "no usable key");
        reportFailure(localized("NetErrorIncorrectJson"));
        return false;
    }

    // An answer that did not read keeps the id: the server may have made the
    // player, and the same request again gets it.
    answered();
    profile_->setPlayerId(static_cast<int32_t>(id->intValue()));
    profile_->setPrivateKey(CCString::create(key->stringValue()));
    profile_->setProgressWord(ProgressWord::PlayerCreated, 1);
    profile_->save();
    if (!quiet_ && gameServices().setBusy)
        gameServices().setBusy(false);
    if (!quiet_ && gameServices().completeProgress)
        gameServices().completeProgress();
    if (continuationTarget_ && continuation_)
        (continuationTarget_->*continuation_)();
    return true;
}

bool CreatePlayerCallback::onConnectionError(int curlCode, const std::string& message)
{
    LOG_ERROR << "create player: connection failed" << curlCode << message;
    reportFailure(localized(connectionFailureKey(curlCode)));
    return true;
}

std::string ServerLink::galleryUrl(const std::string& path, const std::map<std::string, std::string>& params) const
{
    if (apiUrl().empty())
        return std::string();
    std::string url = apiUrl() + path;
    char separator = '?';
    for (const auto& [name, value] : params) {
        url += separator;
        url += name + "=" + urlEscape(value);
        separator = '&';
    }
    return url;
}

bool ServerLink::addCredentials(std::map<std::string, std::string>& params) const
{
    Profile* profile = Profile::getInstance();
    if (!profile->isRegistered())
        return false;
    params["id"] = std::to_string(profile->getPlayerId());
    params["key"] = profile->getPrivateKey()->getString();
    return true;
}

void ServerLink::limitTime(Request& request, bool large) const
{
    request.setConnectTimeout(std::max(1L, std::min(10L, answerTimeoutMs_ / 1000)));
    if (large) {
        request.setTransferTimeoutMs(0);
        request.setStallTimeoutMs(answerTimeoutMs_);
    } else {
        request.setTransferTimeoutMs(answerTimeoutMs_);
    }
}

void ServerLink::failSoon(GalleryFailure::Kind kind, FailureHandler failed)
{
    GalleryFailure failure;
    failure.kind = kind;
    networkManager().postCompleted(std::make_shared<DeferredFailure>(failure, std::move(failed)));
}

void ServerLink::sendGallery(std::shared_ptr<Request> request, int32_t worldId, bool screenshot, bool large,
                             BodyReader read, FailureHandler failed, std::string carriedKey)
{
    if (!isConfigured()) {
        failSoon(GalleryFailure::Kind::Offline, std::move(failed));
        return;
    }
    limitTime(*request, large);
    auto action = std::make_shared<GalleryAction>(std::move(request), worldId, std::move(read), std::move(failed),
                                                  std::move(carriedKey));
    NetworkQueueProcessor& queue = ServerLinkRequests::getInstance()->queue();
    queue.setNetworkManager(manager_);
    queue.add(action, screenshot);
}

void ServerLink::requestWorldCount(const std::string& search, std::function<void(int32_t)> done, FailureHandler failed)
{
    // Browsing needs no player: a server that does not know the stored one
    // still lists its worlds.
    std::map<std::string, std::string> params;
    if (!search.empty())
        params["search"] = search;
    auto request = galleryRequest(galleryUrl("/worlds/count", params), Request::Method::Get, kMaxJsonAnswer);
    sendGallery(request, 0, false, false, reading(galleryanswer::readCount, std::move(done)), std::move(failed));
}

void ServerLink::requestWorldPage(GalleryOrder order, int32_t offset, int32_t limit, const std::string& search,
                                  std::function<void(const GalleryPage&)> done, FailureHandler failed)
{
    static const char* const kOrders[] = {"newest", "rating", "downloads"};
    std::map<std::string, std::string> params;
    params["order"] = kOrders[static_cast<int>(order)];
    params["offset"] = std::to_string(std::max(0, offset));
    params["limit"] = std::to_string(std::clamp<int32_t>(limit, 1, galleryanswer::kMaxPageWorlds));
    if (!search.empty())
        params["search"] = search;
    auto request = galleryRequest(galleryUrl("/worlds", params), Request::Method::Get, kMaxJsonAnswer);
    sendGallery(request, 0, false, false, reading(galleryanswer::readPage, std::move(done)), std::move(failed));
}

void ServerLink::requestWorldDetails(int32_t worldId, std::function<void(const GalleryWorld&)> done,
                                     FailureHandler failed)
{
    auto request =
        galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId), {}), Request::Method::Get, kMaxJsonAnswer);
    sendGallery(request, worldId, false, false, reading(galleryanswer::readWorld, std::move(done)), std::move(failed));
}

void ServerLink::requestMyRating(int32_t worldId, std::function<void(int32_t)> done, FailureHandler failed)
{
    std::map<std::string, std::string> params;
    if (!addCredentials(params))
        return failSoon(GalleryFailure::Kind::NotRegistered, std::move(failed));
    auto request =
        galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId), params), Request::Method::Get, kMaxJsonAnswer);
    sendGallery(
        request, worldId, false, false,
        [done](const std::string& body, std::string& why) {
            GalleryWorld world;
            if (!galleryanswer::readWorld(body, world, why))
                return false;
            if (world.myRating < 0) {
                why = "no \"my_rating\" for the player";
                return false;
            }
            if (done)
                done(world.myRating);
            return true;
        },
        std::move(failed), params["key"]);
}

void ServerLink::requestScreenshot(int32_t worldId, std::function<void(const std::string&)> done, FailureHandler failed)
{
    auto request = galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId) + "/screenshot", {}),
                                  Request::Method::Get, galleryanswer::kMaxScreenshotBytes);
    sendGallery(
        request, worldId, true, true,
        [done](const std::string& body, std::string& why) {
            if (!galleryanswer::readScreenshot(body, why))
                return false;
            if (done)
                done(body);
            return true;
        },
        std::move(failed));
}

void ServerLink::downloadWorld(int32_t worldId, std::function<void(const std::string&)> done, FailureHandler failed)
{
    std::map<std::string, std::string> params;
    if (!addCredentials(params))
        return failSoon(GalleryFailure::Kind::NotRegistered, std::move(failed));
    auto request = galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId) + "/data", params),
                                  Request::Method::Get, largestWorldAnswer());
    sendGallery(
        request, worldId, false, true,
        [done](const std::string& body, std::string& why) {
            if (body.empty()) {
                why = "the world is empty";
                return false;
            }
            if (done)
                done(body);
            return true;
        },
        std::move(failed), params["key"]);
}

void ServerLink::uploadWorld(const std::string& name, const std::string& description, const std::string& blob,
                             const std::string& screenshot, std::function<void(int32_t)> done, FailureHandler failed)
{
    std::map<std::string, std::string> params;
    if (!addCredentials(params))
        return failSoon(GalleryFailure::Kind::NotRegistered, std::move(failed));
    auto request = galleryRequest(galleryUrl("/worlds", params), Request::Method::Post, kMaxJsonAnswer);
    request->addHeader("Content-Type", "application/json");
    // The body at once: waiting for a "100 Continue" moves nothing, and a
    // stall would end the upload before it began.
    request->addHeader("Expect", "");
    // The same world, name and description again, after an upload that had
    // no answer (before a restart too), is that upload tried again; a world
    // changed since is a new one. Kept in the profile, and never logged.
    Profile* profile = Profile::getInstance();
    const uint64_t world = uploadFingerprint(name, description, blob);
    std::string requestId = profile->uploadRequestFor(world);
    if (requestId.empty() && isConfigured()) {
        requestId = platform::uniqueId();
        profile->keepUploadRequest(requestId, world);
        profile->save();
    }
    std::vector<json::NodePtr> fields = {json::stringNode("name", name), json::stringNode("description", description),
                                         json::stringNode("data", base64Encode(blob)),
                                         json::stringNode("screenshot", base64Encode(screenshot))};
    if (!requestId.empty())
        fields.push_back(json::stringNode("request_id", requestId));
    request->setBody(json::objectJson(fields));
    // Answered: this one is done with; other worlds' uploads keep theirs.
    const auto answered = [requestId] {
        Profile* p = Profile::getInstance();
        if (p->clearUploadRequest(requestId))
            p->save();
    };
    std::function<void(int32_t)> uploaded = [answered, done = std::move(done)](int32_t id) {
        answered();
        if (done)
            done(id);
    };
    FailureHandler refused = [answered, failed = std::move(failed)](const GalleryFailure& failure) {
        if ((failure.kind == GalleryFailure::Kind::Refused && !worthTryingAgain(failure.status)) ||
            failure.kind == GalleryFailure::Kind::PlayerUnknown)
            answered();
        if (failed)
            failed(failure);
    };
    sendGallery(request, 0, false, true, reading(galleryanswer::readNewWorldId, std::move(uploaded)),
                std::move(refused), params["key"]);
}

void ServerLink::rateWorld(int32_t worldId, int stars, std::function<void(const GalleryRating&)> done,
                           FailureHandler failed)
{
    std::map<std::string, std::string> params;
    if (!addCredentials(params))
        return failSoon(GalleryFailure::Kind::NotRegistered, std::move(failed));
    auto request = galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId) + "/ratings", params),
                                  Request::Method::Post, kMaxJsonAnswer);
    request->addHeader("Content-Type", "application/json");
    request->setBody(json::objectJson({json::intNode("rating", stars)}));
    sendGallery(request, worldId, false, false, reading(galleryanswer::readRating, std::move(done)), std::move(failed),
                params["key"]);
}

void ServerLink::deleteWorld(int32_t worldId, std::function<void()> done, FailureHandler failed)
{
    std::map<std::string, std::string> params;
    if (!addCredentials(params))
        return failSoon(GalleryFailure::Kind::NotRegistered, std::move(failed));
    auto request = galleryRequest(galleryUrl("/worlds/" + std::to_string(worldId), params), Request::Method::Delete,
                                  kMaxJsonAnswer);
    sendGallery(
        request, worldId, false, false,
        [done, worldId](const std::string& body, std::string& why) {
            if (!galleryanswer::readDeleted(body, worldId, why))
                return false;
            if (done)
                done();
            return true;
        },
        std::move(failed), params["key"]);
}
