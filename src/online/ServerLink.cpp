#include "online/ServerLink.h"

#include <cstdlib>

#include "base/Logger.h"
#include "base/PlatformUtils.h"
#include "profile/Profile.h"
#include "world/GameServices.h"
#include "base/Utils.h"
#include "online/NetworkManager.h"
#include "base/json/Json.h"

USING_NS_CC;

namespace {

ServerLink* g_instance = nullptr;

void showMessage(const char* key)
{
    if (gameServices().showMessagePopup)
        gameServices().showMessagePopup(key);
}

// A failed create-player answer: on the request's progress bar when one
// shows, else in the message popup. Buttons act again either way.
void reportLoudly(const char* key)
{
    GameServices& services = gameServices();
    if (services.setBusy)
        services.setBusy(false);
    if (!services.failProgress || !services.failProgress(key))
        showMessage(key);
}

}  // namespace

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

void ServerLink::createPlayerQuietly(Profile* profile)
{
    LOG << "registering the kept name again in the background";
    sendCreatePlayer(profile, nullptr, nullptr, true);
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
    request->setBody(json::objectJson({
        json::stringNode("nickname", nickname),
        json::stringNode("UUID", platformUserId()),
        json::stringNode("device_model", platformName()),
    }));
    auto action = std::make_shared<CreatePlayerCallback>(request, profile, refusalTarget, refusalSelector, profile,
                                                         callfunc_selector(Profile::runPendingCallback));
    action->setQuiet(quiet);
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

void CreatePlayerCallback::reportFailure(const char* key)
{
    if (quiet_) {
        LOG << "create player: failed in the background (" << key << "); the name is kept";
        return;
    }
    reportLoudly(key);
}

void CreatePlayerCallback::runRefusal()
{
    if (refusalTarget_ && refusalSelector_)
        (refusalTarget_->*refusalSelector_)();
}

bool CreatePlayerCallback::onResponse(const Response& response)
{
    long status = response.statusCode;
    if (status == 403 || status == 500) {
        runRefusal();
        reportFailure("NetError1");
        return true;
    }
    if (status < 200 || status > 202) {
        LOG_ERROR << "create player: unexpected status" << status;
        reportFailure("NetError1");
        return false;
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
        LOG_ERROR << "create player: incorrect answer" << document.error();
        reportFailure("NetErrorIncorrectJson");
        return false;
    }

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
    reportFailure("NetErrorConnectionLost");
    return true;
}
