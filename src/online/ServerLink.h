#pragma once
// The world-sharing server client: builds requests for the server's REST API
// and hands them to the network queue. Stateless apart from its base URL.
//
// The base URL comes from the environment (TESMORA_SERVER_URL); with none set
// every request fails at once through its connection-error handler.
#include <memory>
#include <string>

#include "cocos2d.h"
#include "online/Action.h"

class Profile;
class NetworkManager;

class ServerLink {
public:
    static ServerLink* getInstance();

    // API root: base URL + "/v1"; empty when no server is configured.
    std::string apiUrl() const;
    const std::string& baseUrl() const { return baseUrl_; }
    void setBaseUrl(const std::string& url) { baseUrl_ = url; }
    // A server address is set: without one the game plays offline.
    bool isConfigured() const { return !baseUrl_.empty(); }

    // Percent-encodes a query value (a space is encoded as "%20").
    static std::string urlEscape(const std::string& text);

    // POST /players with the nickname, the platform id ("UUID") and the
    // platform name ("device_model"). The answer stores the player's id and
    // key, saves and runs the profile's pending callback; a refusal runs
    // the given handler.
    void createPlayer(Profile* profile, cocos2d::CCObject* refusalTarget, cocos2d::SEL_CallFunc refusalSelector);
    // The same request in the background, as a later start retries it: no
    // progress bar, no popup, no busy flag; what fails is logged, and the
    // next start tries again.
    void createPlayerQuietly(Profile* profile);

    // Where requests go (the game's NetworkManager unless a test sets one).
    void setNetworkManager(NetworkManager* manager) { manager_ = manager; }
    NetworkManager& networkManager();

    // Test hook: a fresh client with the environment's base URL.
    static void resetInstanceForTests();

private:
    ServerLink();
    bool dispatch(const std::shared_ptr<RequestAction>& action);
    void sendCreatePlayer(Profile* profile, cocos2d::CCObject* refusalTarget, cocos2d::SEL_CallFunc refusalSelector,
                          bool quiet);

    std::string baseUrl_;
    NetworkManager* manager_ = nullptr;
};

// The answer to the create-player request.
class CreatePlayerCallback : public RequestAction {
public:
    CreatePlayerCallback(std::shared_ptr<Request> request, Profile* profile, cocos2d::CCObject* refusalTarget,
                         cocos2d::SEL_CallFunc refusalSelector, cocos2d::CCObject* continuationTarget,
                         cocos2d::SEL_CallFunc continuation);
    ~CreatePlayerCallback() override;
    // Failures are logged only, and the screen's state is left alone.
    void setQuiet(bool quiet) { quiet_ = quiet; }

protected:
    bool onResponse(const Response& response) override;
    bool onConnectionError(int curlCode, const std::string& message) override;

private:
    void runRefusal();
    void reportFailure(const char* key);
    bool quiet_ = false;
    Profile* profile_;
    cocos2d::CCObject* refusalTarget_;
    cocos2d::SEL_CallFunc refusalSelector_;
    cocos2d::CCObject* continuationTarget_;
    cocos2d::SEL_CallFunc continuation_;
};
