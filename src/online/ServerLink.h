#pragma once
// The world-sharing server client: builds requests for the server's REST API
// and hands them to the network queue. Stateless apart from its base URL.
//
// The base URL comes from the environment (TESMORA_SERVER_URL); with none set
// every request fails at once through its connection-error handler.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "cocos2d.h"
#include "online/Action.h"
#include "online/GalleryAnswers.h"

class Profile;
class NetworkManager;

// Why a gallery request did not give its answer.
struct GalleryFailure {
    enum class Kind {
        Offline,        // no server is set
        Connection,     // the server could not be reached, or the transfer broke
        Refused,        // the server answered with an error status
        Unreadable,     // the answer is not what the request expects
        NotRegistered,  // the request needs the player's account, and there is none yet
        PlayerUnknown,  // the server refused the stored player (401): the name is registered again
    };
    Kind kind = Kind::Connection;
    long status = 0;      // the HTTP status when the server answered
    int curlCode = 0;     // the transfer's error when it failed
    std::string message;  // the server's own words, or the transfer's
    int32_t worldId = 0;  // the world the request was about; 0 for the list, an upload, an account
    // The server no longer has the world the request was about.
    bool worldGone() const;
    // The localised text to show the player: a refusal promises another try
    // only when the server was busy or failing.
    const char* textKey() const;
    // What the player reads: that text, then the server's own words when it
    // refused the request (a world gone needs none).
    std::string words() const;
};

enum class GalleryOrder { Newest, TopRated, MostDownloaded };

// The words of a transfer that failed, by libcurl's code: a server never
// reached (none set, refused, no route, name not resolved) reads as being
// offline; one that stopped answering in time, as a time-out; a connection
// that broke during the request, as lost. Every screen says it the same way.
const char* connectionFailureKey(int curlCode);

// A status from a busy or failing server, or from a proxy in front of it
// that gave up waiting (5xx, 408, 429): the request may have been done all
// the same, and may pass when sent again. Any other status is the server's
// answer to the request.
bool worthTryingAgain(long status);

// The words of a refusal by its HTTP status: a try again later only where
// it is worth it; any other refusal will not pass by waiting.
const char* refusalKey(long status);

// The localised words of a refusal, then the server's own when it gave some.
std::string refusalWords(const char* key, const std::string& serverWords);

// The address as a log line may show it: the player's key is the account's
// password, and logs end up in bug reports, so its value is hidden.
std::string withKeyHidden(const std::string& url);

class ServerLink {
public:
    static ServerLink* getInstance();

    // API root: base URL + "/v1"; empty when no server is configured.
    std::string apiUrl() const;
    const std::string& baseUrl() const { return baseUrl_; }
    void setBaseUrl(const std::string& url) { baseUrl_ = url; }
    // A server address is set: without one the game plays offline.
    bool isConfigured() const { return !baseUrl_.empty(); }

    // How long a request waits for its answer: the whole of a small one
    // (a count, a page, details, a rating, a delete, a registration); for a
    // large one (an upload, a world, a screenshot), a stretch with no byte
    // moving either way, so that a slow line still gets there.
    static constexpr long kAnswerTimeoutMs = 15000;
    void setAnswerTimeoutMs(long milliseconds) { answerTimeoutMs_ = milliseconds; }
    long answerTimeoutMs() const { return answerTimeoutMs_; }

    // Percent-encodes a query value (a space is encoded as "%20").
    static std::string urlEscape(const std::string& text);

    // POST /players with the nickname, the platform id ("UUID") and the
    // platform name ("device_model"). The answer stores the player's id and
    // key, saves and runs the profile's pending callback; a refusal runs
    // the given handler.
    void createPlayer(Profile* profile, cocos2d::CCObject* refusalTarget, cocos2d::SEL_CallFunc refusalSelector);
    // The same request in the background, as a later start retries it: no
    // progress bar, no popup, no busy flag; what fails is logged, and the
    // next start tries again. A name another player has runs the handler.
    void createPlayerQuietly(Profile* profile, cocos2d::CCObject* takenTarget = nullptr,
                             cocos2d::SEL_CallFunc takenSelector = nullptr);

    // The gallery's requests, through the gallery queue (ServerLinkRequests).
    // Browsing (counts, pages, details, screenshots) carries no player; the
    // others carry the player's id and key from the profile, and a server
    // that refuses them (401) makes the profile forget the account, so that
    // the name is registered again. Exactly one of the two handlers runs, on
    // the main thread at a network drain, unless the queue is cancelled first.
    using FailureHandler = std::function<void(const GalleryFailure&)>;
    void requestWorldCount(const std::string& search, std::function<void(int32_t)> done, FailureHandler failed);
    void requestWorldPage(GalleryOrder order, int32_t offset, int32_t limit, const std::string& search,
                          std::function<void(const GalleryPage&)> done, FailureHandler failed);
    void requestWorldDetails(int32_t worldId, std::function<void(const GalleryWorld&)> done, FailureHandler failed);
    // The player's own stars for the world (0 when not rated yet).
    void requestMyRating(int32_t worldId, std::function<void(int32_t)> done, FailureHandler failed);
    // The PNG, one screenshot on the network at a time.
    void requestScreenshot(int32_t worldId, std::function<void(const std::string&)> done, FailureHandler failed);
    // The world blob; the server counts the player's first download.
    void downloadWorld(int32_t worldId, std::function<void(const std::string&)> done, FailureHandler failed);
    // The new world's gallery id.
    void uploadWorld(const std::string& name, const std::string& description, const std::string& blob,
                     const std::string& screenshot, std::function<void(int32_t)> done, FailureHandler failed);
    // Stars 1 to 5; the answer is the world's new average and count.
    void rateWorld(int32_t worldId, int stars, std::function<void(const GalleryRating&)> done, FailureHandler failed);
    void deleteWorld(int32_t worldId, std::function<void()> done, FailureHandler failed);

    // base URL + "/v1" + path + the parameters in key order, each escaped.
    std::string galleryUrl(const std::string& path, const std::map<std::string, std::string>& params) const;

    // Where requests go (the game's NetworkManager unless a test sets one).
    void setNetworkManager(NetworkManager* manager) { manager_ = manager; }
    NetworkManager& networkManager();

    // Test hook: a fresh client with the environment's base URL.
    static void resetInstanceForTests();

private:
    ServerLink();
    bool dispatch(const std::shared_ptr<RequestAction>& action);
    // The player's "id" and "key" when registered.
    bool addCredentials(std::map<std::string, std::string>& params) const;
    // Reads a 2xx answer's body; false (with why) makes it Unreadable.
    using BodyReader = std::function<bool(const std::string& body, std::string& why)>;
    // A large request (a screenshot, a world, an upload) is timed on its
    // progress rather than its whole length.
    // carriedKey: the player's key when the request carries it.
    void sendGallery(std::shared_ptr<Request> request, int32_t worldId, bool screenshot, bool large, BodyReader read,
                     FailureHandler failed, std::string carriedKey = {});
    void failSoon(GalleryFailure::Kind kind, FailureHandler failed);
    void limitTime(Request& request, bool large) const;
    void sendCreatePlayer(Profile* profile, cocos2d::CCObject* refusalTarget, cocos2d::SEL_CallFunc refusalSelector,
                          bool quiet);

    std::string baseUrl_;
    NetworkManager* manager_ = nullptr;
    long answerTimeoutMs_ = kAnswerTimeoutMs;
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
    // The request's id, given up once the server answers it.
    void keepRequestId(std::string id) { requestId_ = std::move(id); }

protected:
    bool onResponse(const Response& response) override;
    bool onConnectionError(int curlCode, const std::string& message) override;

private:
    void runRefusal();
    // True when the profile's kept id was this request's and is forgotten.
    bool answered();
    // logged: the failure's line is written already.
    void reportFailure(const std::string& words, bool logged = false);
    bool quiet_ = false;
    std::string requestId_;
    Profile* profile_;
    cocos2d::CCObject* refusalTarget_;
    cocos2d::SEL_CallFunc refusalSelector_;
    cocos2d::CCObject* continuationTarget_;
    cocos2d::SEL_CallFunc continuation_;
};
