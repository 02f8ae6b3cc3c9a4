// The gallery's requests from the game's side, against the real
// world-sharing server: each answer reaches its handler read and checked,
// each failure reaches the error handler with words to show, the queue
// holds the gallery to five requests and one screenshot at a time, and a
// request the game gave up on, or a proxy in front of the server failed,
// is the same request when tried again.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "LoopbackHttpServer.h"
#include "server/GalleryClient.h"
#include "base/LocalUtils.h"
#include "base/json/Json.h"
#include "online/NetworkManager.h"
#include "online/ServerLink.h"
#include "online/ServerLinkRequests.h"
#include "platform/CloudStorage.h"
#include "profile/Profile.h"
#include "support/CleanGame.h"
#include "support/LogCapture.h"
#include "support/Readability.h"
#include "support/ServerProcess.h"
#include "support/TempFolders.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace {

class GalleryRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.started());
        ASSERT_TRUE(NetworkManager::init());
        previousStoreRoot = platform::CloudStorage::root();
        ASSERT_TRUE(platform::CloudStorage::setRoot(store.path()));
        testsupport::resetGame();
        ServerLinkRequests::resetInstanceForTests();
        link = ServerLink::getInstance();
        link->setNetworkManager(&manager);
        link->setBaseUrl(server.url());
    }

    void TearDown() override
    {
        ServerLinkRequests::resetInstanceForTests();
        manager.stop();
        manager.runPendingActions();
        link->setNetworkManager(nullptr);
        testsupport::resetGame();
        if (previousStoreRoot.empty())
            platform::CloudStorage::clearRoot();
        else
            platform::CloudStorage::setRoot(previousStoreRoot);
    }

    // Drains until `done` holds (or a minute has gone).
    void pumpUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            manager.runPendingActions();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_TRUE(done()) << "no answer within a minute";
    }

    // The profile registered through the game's own request.
    void registerPlayer(const char* nickname)
    {
        Profile* profile = Profile::getInstance();
        profile->setNickname(CCString::create(nickname));
        profile->ensureRegistered();
        pumpUntil([profile] { return profile->isRegistered(); });
    }

    // A request's failure, after it arrives.
    GalleryFailure failureOf(const std::function<void(ServerLink::FailureHandler)>& send)
    {
        bool failed = false;
        GalleryFailure got;
        send([&](const GalleryFailure& f) {
            got = f;
            failed = true;
        });
        pumpUntil([&] { return failed; });
        return got;
    }

    testsupport::TempDir folder;
    testsupport::TempDir store;
    testsupport::ServerProcess server{folder.file("gallery.db")};
    NetworkManager manager;
    std::string previousStoreRoot;
    ServerLink* link = nullptr;
    const std::string blob = testsupport::sampleWorldBlob(2);
    const std::string png = testsupport::samplePng(30, 200, 90);
};

ServerLink::FailureHandler unexpected(const char* what)
{
    return [what](const GalleryFailure& f) { ADD_FAILURE() << what << " failed: " << f.status << " " << f.message; };
}

}  // namespace

TEST_F(GalleryRequests, EachRequestGetsItsAnswerFromTheServer)
{
    registerPlayer("Ann");
    int32_t world = 0;
    link->uploadWorld(
        "Harbour", "Boats", blob, png, [&](int32_t id) { world = id; }, unexpected("upload"));
    pumpUntil([&] { return world > 0; });

    int32_t count = -1;
    GalleryPage page;
    link->requestWorldCount(
        "harb", [&](int32_t n) { count = n; }, unexpected("count"));
    link->requestWorldPage(
        GalleryOrder::TopRated, 0, 10, "", [&](const GalleryPage& p) { page = p; }, unexpected("page"));
    pumpUntil([&] { return count >= 0 && !page.worlds.empty(); });
    EXPECT_EQ(count, 1);
    EXPECT_EQ(page.count, 1);
    EXPECT_EQ(page.worlds[0].id, world);
    EXPECT_EQ(page.worlds[0].name, "Harbour");
    EXPECT_EQ(page.worlds[0].author, "Ann");
    EXPECT_EQ(page.worlds[0].authorId, Profile::getInstance()->getPlayerId());

    std::string picture, data;
    link->requestScreenshot(
        world, [&](const std::string& p) { picture = p; }, unexpected("screenshot"));
    link->downloadWorld(
        world, [&](const std::string& d) { data = d; }, unexpected("download"));
    pumpUntil([&] { return !picture.empty() && !data.empty(); });
    EXPECT_EQ(picture, png);
    EXPECT_EQ(data, blob);

    GalleryRating rating;
    link->rateWorld(
        world, 4, [&](const GalleryRating& r) { rating = r; }, unexpected("rating"));
    pumpUntil([&] { return rating.ratings > 0; });
    EXPECT_EQ(rating.rating, 4.0);
    EXPECT_EQ(rating.ratings, 1);

    GalleryWorld details;
    link->requestWorldDetails(
        world, [&](const GalleryWorld& w) { details = w; }, unexpected("details"));
    int32_t mine = -1;
    link->requestMyRating(
        world, [&](int32_t stars) { mine = stars; }, unexpected("own rating"));
    pumpUntil([&] { return details.id != 0 && mine >= 0; });
    EXPECT_EQ(details.description, "Boats");
    EXPECT_EQ(details.myRating, -1) << "browsing does not ask for the player";
    EXPECT_EQ(details.downloads, 1);
    EXPECT_EQ(mine, 4);

    bool deleted = false;
    link->deleteWorld(
        world, [&] { deleted = true; }, unexpected("delete"));
    pumpUntil([&] { return deleted; });
    count = -1;
    link->requestWorldCount(
        "", [&](int32_t n) { count = n; }, unexpected("count"));
    pumpUntil([&] { return count >= 0; });
    EXPECT_EQ(count, 0);
}

TEST_F(GalleryRequests, FailuresReachTheErrorHandlerWithWordsToShow)
{
    // Before the player has an account, nothing that needs one is sent.
    for (auto send : std::vector<std::function<void(ServerLink::FailureHandler)>>{
             [&](auto f) { link->downloadWorld(1, nullptr, f); },
             [&](auto f) { link->uploadWorld("x", "", blob, png, nullptr, f); },
             [&](auto f) { link->rateWorld(1, 3, nullptr, f); },
             [&](auto f) { link->deleteWorld(1, nullptr, f); },
             [&](auto f) { link->requestMyRating(1, nullptr, f); },
         }) {
        const GalleryFailure f = failureOf(send);
        EXPECT_EQ(f.kind, GalleryFailure::Kind::NotRegistered);
        EXPECT_STREQ(f.textKey(), "NetError1");
    }

    // A world gone says so and nothing more; a refusal says what the server
    // said and promises no second try.
    testsupport::LanguageTable english("en");
    registerPlayer("Bob");
    GalleryFailure f = failureOf([&](auto handler) { link->requestWorldDetails(999, nullptr, handler); });
    EXPECT_EQ(f.kind, GalleryFailure::Kind::Refused);
    EXPECT_EQ(f.status, 404);
    EXPECT_EQ(f.message, "no such world");
    EXPECT_EQ(f.words(), LocalUtils::localize("GalleryWorldGone")->getString());
    f = failureOf([&](auto handler) { link->rateWorld(999, 3, nullptr, handler); });
    EXPECT_TRUE(f.worldGone());
    f = failureOf([&](auto handler) { link->uploadWorld("x", "", "not a world", png, nullptr, handler); });
    EXPECT_EQ(f.status, 422);
    EXPECT_NE(f.message.find("not a world the game can load"), std::string::npos) << f.message;
    EXPECT_STREQ(f.textKey(), "NetErrorRefused");
    EXPECT_NE(f.words().find(f.message), std::string::npos);
    for (const auto& [status, key] :
         {std::pair{400L, "NetErrorRefused"}, std::pair{401L, "NetErrorRefused"}, std::pair{413L, "NetErrorRefused"},
          std::pair{429L, "NetError1"}, std::pair{500L, "NetError1"}, std::pair{503L, "NetError1"}})
        EXPECT_STREQ(refusalKey(status), key) << status;

    // A server never reached reads as being offline, whether none is set or
    // none listens; one that hangs up mid-request, as a lost connection; one
    // that says nothing in time, as a time-out.
    link->setAnswerTimeoutMs(400);
    LoopbackHttpServer cut([](const ReceivedRequest&) { return CannedResponse{200, "", "", false, true}; });
    LoopbackHttpServer silent([](const ReceivedRequest&) { return CannedResponse{200, "", "", true}; }, 2, 20);
    const struct {
        std::string url;
        GalleryFailure::Kind kind;
        const char* key;
    } transfers[] = {
        {"", GalleryFailure::Kind::Offline, "NotificationOfflineMode"},
        {LoopbackHttpServer::refusingUrl(), GalleryFailure::Kind::Connection, "NotificationOfflineMode"},
        {cut.url(), GalleryFailure::Kind::Connection, "NetErrorConnectionLost"},
        {silent.url(), GalleryFailure::Kind::Connection, "NetErrorTimeout"},
    };
    for (const auto& t : transfers) {
        link->setBaseUrl(t.url);
        f = failureOf([&](auto handler) { link->requestWorldPage(GalleryOrder::Newest, 0, 20, "", nullptr, handler); });
        EXPECT_EQ(f.kind, t.kind) << t.url;
        EXPECT_STREQ(f.textKey(), t.key) << t.url << ": " << f.curlCode << " " << f.message;
    }

    // A broken answer, which the real server never gives.
    LoopbackHttpServer broken([](const ReceivedRequest&) { return CannedResponse{200, R"({"count":"many"})"}; });
    link->setBaseUrl(broken.url());
    f = failureOf([&](auto handler) { link->requestWorldCount("", nullptr, handler); });
    EXPECT_EQ(f.kind, GalleryFailure::Kind::Unreadable);
    EXPECT_STREQ(f.textKey(), "NetErrorIncorrectJson");
}

// The key is the account's password: whatever the answer, no log line
// carries it, while the line still says which request it was.
TEST_F(GalleryRequests, NoLogLineCarriesThePlayersKey)
{
    const std::string key(64, 'c');
    Profile* profile = Profile::getInstance();
    profile->setPlayerId(7);
    profile->setPrivateKey(CCString::create(key));
    profile->setNickname(CCString::create("Ann"));
    enum Kind { Refused, Unreadable, Cut };
    std::atomic<int> kind{Refused};
    // An unreadable answer quotes the key, as a cut registration answer would.
    LoopbackHttpServer fake(
        [&](const ReceivedRequest&) {
            if (kind == Refused)
                return CannedResponse{403, R"({"error": "unknown player or wrong key"})"};
            if (kind == Unreadable)
                return CannedResponse{200, R"({"id": 7, "key": ")" + key};
            return CannedResponse{200, "", "", false, true};
        },
        100);
    link->setBaseUrl(fake.url());
    bool registrationAnswered = false;
    gameServices().showMessageText = [&](const std::string&) { registrationAnswered = true; };
    const std::vector<std::pair<const char*, std::function<void()>>> requests = {
        {"/v1/worlds/count?", [&] { link->requestWorldCount("lake", nullptr, nullptr); }},
        {"/v1/worlds?", [&] { link->requestWorldPage(GalleryOrder::Newest, 0, 12, "", nullptr, nullptr); }},
        {"/v1/worlds/3", [&] { link->requestWorldDetails(3, nullptr, nullptr); }},
        {"/v1/worlds/3?", [&] { link->requestMyRating(3, nullptr, nullptr); }},
        {"/v1/worlds/3/screenshot", [&] { link->requestScreenshot(3, nullptr, nullptr); }},
        {"/v1/worlds/3/data?", [&] { link->downloadWorld(3, nullptr, nullptr); }},
        {"/v1/worlds?", [&] { link->uploadWorld("x", "", blob, png, nullptr, nullptr); }},
        {"/v1/worlds/3/ratings?", [&] { link->rateWorld(3, 4, nullptr, nullptr); }},
        {"/v1/worlds/3?", [&] { link->deleteWorld(3, nullptr, nullptr); }},
    };
    NetworkQueueProcessor& queue = ServerLinkRequests::getInstance()->queue();
    for (const Kind k : {Refused, Unreadable, Cut}) {
        kind = k;
        SCOPED_TRACE(k);
        testsupport::LogCapture log;
        for (const auto& [path, send] : requests) {
            send();
            pumpUntil([&] { return queue.inFlight() + queue.waiting() == 0; });
            if (k == Refused) {
                EXPECT_TRUE(log.contains(path)) << "the line names the request";
            }
        }
        registrationAnswered = false;
        link->createPlayer(profile, nullptr, nullptr);
        pumpUntil([&] { return registrationAnswered; });
        if (k == Refused) {
            EXPECT_TRUE(log.contains("key=(hidden)"));
        }
        for (const std::string& line : log.lines())
            EXPECT_EQ(line.find(key), std::string::npos) << line;
        // Nor the id of a registration, which stands for a key.
        for (const ReceivedRequest& request : fake.received()) {
            const std::string id = json::Document::parse(request.body).find("request_id")->stringValue();
            for (const std::string& line : log.lines())
                EXPECT_TRUE(id.empty() || line.find(id) == std::string::npos) << line;
        }
    }
}

TEST_F(GalleryRequests, ASmallRequestHasItsAnswerTimeAndAnUploadAsLongAsItMoves)
{
    registerPlayer("Dee");
    link->setAnswerTimeoutMs(400);
    // Answers that come in parts over three times the answer time.
    LoopbackHttpServer slow([](const ReceivedRequest& request) {
        CannedResponse answer{201, R"({"id": 3})"};
        if (request.method == "GET")
            answer = {200, R"({"count": 1})"};
        answer.trickleMs = 180;
        return answer;
    });
    LoopbackHttpServer silent([](const ReceivedRequest&) { return CannedResponse{200, "", "", true}; }, 2, 20);
    const struct {
        const LoopbackHttpServer& server;
        bool upload;
        const char* failure;  // null: answered
    } cases[] = {
        {slow, true, nullptr},
        {slow, false, "NetErrorTimeout"},
        {silent, true, "NetErrorTimeout"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upload ? "upload" : "count");
        link->setBaseUrl(c.server.url());
        bool answered = false;
        GalleryFailure failure;
        bool failed = false;
        auto fail = [&](const GalleryFailure& f) {
            failure = f;
            failed = true;
        };
        if (c.upload)
            link->uploadWorld(
                "Slow", "", blob, png, [&](int32_t) { answered = true; }, fail);
        else
            link->requestWorldCount(
                "", [&](int32_t) { answered = true; }, fail);
        pumpUntil([&] { return answered || failed; });
        EXPECT_EQ(answered, c.failure == nullptr) << failure.curlCode << " " << failure.message;
        if (c.failure) {
            EXPECT_STREQ(failure.textKey(), c.failure);
        }
    }
}

TEST_F(GalleryRequests, TheQueueHoldsFiveRequestsAndOneScreenshotAtATime)
{
    registerPlayer("Cid");
    int32_t world = 0;
    link->uploadWorld(
        "Queue", "", blob, png, [&](int32_t id) { world = id; }, unexpected("upload"));
    pumpUntil([&] { return world > 0; });

    NetworkQueueProcessor& queue = ServerLinkRequests::getInstance()->queue();
    int answered = 0;
    size_t mostInFlight = 0;
    auto note = [&] {
        ++answered;
        mostInFlight = std::max(mostInFlight, queue.inFlight());
    };
    for (int i = 0; i < 3; ++i)
        link->requestScreenshot(
            world, [&](const std::string&) { note(); }, unexpected("screenshot"));
    for (int i = 0; i < 7; ++i)
        link->requestWorldCount(
            "", [&](int32_t) { note(); }, unexpected("count"));
    // One screenshot and four counts go; two screenshots and three counts wait.
    EXPECT_EQ(queue.inFlight(), 5u);
    EXPECT_EQ(queue.waiting(), 5u);
    pumpUntil([&] { return answered == 10; });
    EXPECT_LE(mostInFlight, 5u);
    EXPECT_EQ(queue.inFlight() + queue.waiting(), 0u);

    // A screen that leaves cancels what it asked: no handler runs after.
    for (int i = 0; i < 8; ++i)
        link->requestWorldCount(
            "", [&](int32_t) { ADD_FAILURE() << "a cancelled request answered"; }, nullptr);
    queue.cancelAll();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    manager.runPendingActions();
    EXPECT_EQ(queue.inFlight() + queue.waiting(), 0u);
}

// The server frozen past the answer time: the game gives up on the
// registration and on the upload, and the server, let go on, carries them
// out all the same. Tried again, each is the request already done: one
// player, whose key the game then holds, and one world. An answered
// request is done with: the next upload is a new one.
TEST_F(GalleryRequests, ARequestGivenUpOnIsTheSameRequestWhenTriedAgain)
{
    Profile* profile = Profile::getInstance();
    profile->setNickname(CCString::create("Ann"));
    bool timedOut = false;
    gameServices().showMessageText = [&](const std::string& words) {
        EXPECT_EQ(words, LocalUtils::localize("NetErrorTimeout")->getString());
        timedOut = true;
    };
    const auto worlds = [&] {
        int32_t count = -1;
        link->requestWorldCount(
            "", [&](int32_t n) { count = n; }, unexpected("the count"));
        pumpUntil([&] { return count >= 0; });
        return count;
    };
    const auto upload = [&](const std::string& world) {
        int32_t id = 0;
        link->uploadWorld(
            "Dunes", "", world, png, [&](int32_t got) { id = got; }, unexpected("the upload"));
        pumpUntil([&] { return id != 0; });
        return id;
    };

    link->setAnswerTimeoutMs(400);
    ASSERT_EQ(::kill(server.pid(), SIGSTOP), 0);
    profile->ensureRegistered();
    pumpUntil([&] { return timedOut; });
    ASSERT_EQ(::kill(server.pid(), SIGCONT), 0);
    link->setAnswerTimeoutMs(ServerLink::kAnswerTimeoutMs);
    profile->ensureRegistered();
    pumpUntil([&] { return profile->isRegistered(); });
    const GalleryFailure known = failureOf(
        [&](ServerLink::FailureHandler failed) { link->requestMyRating(424242, nullptr, std::move(failed)); });
    EXPECT_EQ(known.status, 404) << "the server takes the key the game holds";

    const auto giveUp = [&](const std::string& world) {
        link->setAnswerTimeoutMs(400);
        ASSERT_EQ(::kill(server.pid(), SIGSTOP), 0);
        const GalleryFailure lost = failureOf([&](ServerLink::FailureHandler failed) {
            link->uploadWorld("Dunes", "", world, png, nullptr, std::move(failed));
        });
        EXPECT_STREQ(lost.textKey(), "NetErrorTimeout");
        ASSERT_EQ(::kill(server.pid(), SIGCONT), 0);
        link->setAnswerTimeoutMs(ServerLink::kAnswerTimeoutMs);
    };
    giveUp(blob);
    pumpUntil([&] { return worlds() == 1; });
    const int32_t dunes = upload(blob);
    EXPECT_EQ(worlds(), 1) << "the upload tried again is the world already made";
    EXPECT_GT(upload(blob), dunes) << "an upload that had its answer is done with";
    EXPECT_EQ(worlds(), 2);
    // The world changed after the time-out, under the same name: what goes
    // up is the new world, not the one the server kept.
    giveUp(blob);
    pumpUntil([&] { return worlds() == 3; });
    const std::string changed = testsupport::sampleWorldBlob(3);
    ASSERT_NE(changed, blob);
    upload(changed);
    EXPECT_EQ(worlds(), 4);
}

// A proxy in front of the server passes the registration and the upload on,
// then gives up on the server's answer and says so (a 502 after the server
// did the work). The game keeps each request's id through such a status:
// tried again, in the same run or at the next start, each is the request
// already done, one player and one world; a world changed before the next
// start is a new upload. A status that is the server's own refusal (nothing
// passed on) is an answer: the next try, the next start's too, is a new
// request. Another world's upload in between keeps its own id, and leaves
// the first's.
TEST_F(GalleryRequests, ARequestKeepsItsIdThroughAProxysFailureAndIsDoneOnce)
{
    const struct {
        int status;
        bool kept;
        bool restart;  // the game started again between the tries
        bool another;  // another world uploaded between the tries
    } cases[] = {{502, true, false, false},  {504, true, true, false},  {500, true, false, false},
                 {408, true, false, false},  {429, true, true, false},  {400, false, true, false},
                 {409, false, false, false}, {422, false, true, false}, {503, true, true, true}};
    servertest::GalleryClient direct(server.port());
    for (const auto& [status, kept, restart, another] : cases) {
        SCOPED_TRACE(status);
        // The next request passed on (when kept) and answered with the
        // status; the others passed on and their answers passed back.
        std::atomic<bool> failNext{true};
        LoopbackHttpServer proxy([&, status = status, kept = kept](const ReceivedRequest& request) {
            const bool fails = failNext.exchange(false);
            if (fails && !kept)
                return CannedResponse{status, R"({"error":"refused"})"};
            httplib::Client upstream("127.0.0.1", server.port());
            upstream.set_read_timeout(60, 0);
            auto answer = upstream.Post(request.path, request.body, "application/json");
            if (!answer)
                return CannedResponse{599, "", "", false, true};
            return fails ? CannedResponse{status, "<html>Bad Gateway</html>", "text/html"}
                         : CannedResponse{answer->status, answer->body};
        });
        link->setBaseUrl(proxy.url());
        const std::string nickname = "P" + std::to_string(status);
        const auto sentIds = [&] {
            std::vector<std::string> ids;
            for (const ReceivedRequest& request : proxy.received())
                ids.push_back(json::Document::parse(request.body).find("request_id")->stringValue());
            return ids;
        };

        // A player of their own, whose profile file is where the game keeps it.
        testsupport::TempDir home;
        ASSERT_TRUE(platform::CloudStorage::setRoot(home.path()));
        Profile::resetInstanceForTests();
        Profile* profile = Profile::getInstance();
        profile->setNickname(CCString::create(nickname));
        bool failed = false;
        const auto sayFailures = [&] { gameServices().showMessageText = [&](const std::string&) { failed = true; }; };
        // Quit and start again: nothing but the profile's file is kept.
        const auto startAgain = [&] {
            testsupport::resetGame();
            ServerLinkRequests::resetInstanceForTests();
            link = ServerLink::getInstance();
            link->setNetworkManager(&manager);
            link->setBaseUrl(proxy.url());
            profile = Profile::getInstance();
            profile->load(false);
            sayFailures();
        };
        sayFailures();
        profile->ensureRegistered();
        pumpUntil([&] { return failed; });
        if (restart)
            startAgain();
        failed = false;
        profile->ensureRegistered();
        pumpUntil([&] { return failed || profile->isRegistered(); });
        ASSERT_TRUE(profile->isRegistered()) << "the name is taken by the registration the proxy failed";
        ASSERT_EQ(sentIds().size(), 2u);
        EXPECT_EQ(sentIds()[0] == sentIds()[1], kept);
        EXPECT_EQ(sentIds()[0].size(), 32u);

        const std::string name = "W" + std::to_string(status), otherName = "Y" + std::to_string(status);
        const auto uploadAs = [&](const std::string& as, const std::string& world) {
            int32_t id = 0;
            link->uploadWorld(
                as, "", world, png, [&](int32_t got) { id = got; },
                [&](const GalleryFailure& failure) {
                    EXPECT_EQ(failure.status, status);
                    id = -1;
                });
            pumpUntil([&] { return id != 0; });
            return id;
        };
        const auto upload = [&](const std::string& world) { return uploadAs(name, world); };
        const auto worldsNamed = [&](const std::string& named) {
            return direct.get("/v1/worlds/count?search=" + named).json().find("count")->intValue();
        };
        const auto worlds = [&] { return worldsNamed(name); };
        failNext = true;
        EXPECT_EQ(upload(blob), -1);
        if (another) {
            EXPECT_GT(uploadAs(otherName, testsupport::sampleWorldBlob(4)), 0);
        }
        if (restart)
            startAgain();
        EXPECT_GT(upload(blob), 0);
        EXPECT_EQ(worlds(), 1);
        EXPECT_EQ(worldsNamed(otherName), another ? 1 : 0);
        ASSERT_EQ(sentIds().size(), another ? 5u : 4u);
        EXPECT_EQ(sentIds()[2] == sentIds().back(), kept);
        if (!restart)
            continue;
        failNext = true;
        EXPECT_EQ(upload(blob), -1);
        startAgain();
        EXPECT_GT(upload(testsupport::sampleWorldBlob(3)), 0);
        EXPECT_EQ(worlds(), kept ? 3 : 2) << "the world changed before the restart goes up as a new one";
        ASSERT_EQ(sentIds().size(), another ? 7u : 6u);
        EXPECT_NE(sentIds()[sentIds().size() - 2], sentIds().back());
    }
}
