#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "LoopbackHttpServer.h"
#include "online/NetworkManager.h"

namespace {

// Records what the main thread saw of one request.
class RecordingAction : public RequestAction {
public:
    using RequestAction::RequestAction;
    int responses = 0;
    int errors = 0;
    Response seen;
    int errorCode = 0;
    std::thread::id ranOn;
    bool result = true;

protected:
    bool onResponse(const Response& response) override
    {
        ++responses;
        seen = response;
        ranOn = std::this_thread::get_id();
        return result;
    }
    bool onConnectionError(int curlCode, const std::string&) override
    {
        ++errors;
        errorCode = curlCode;
        ranOn = std::this_thread::get_id();
        return result;
    }
};

std::shared_ptr<RecordingAction> makeAction(const std::string& url, Request::Method method = Request::Method::Get)
{
    auto request = std::make_shared<Request>(url, method);
    // Far above what a loopback answer needs, even on a busy machine.
    request->setConnectTimeout(30);
    request->setTransferTimeoutMs(60000);
    return std::make_shared<RecordingAction>(request);
}

// Polls until the condition holds (true) or 60 s pass (false); callers
// assert on the result, so a deadline never passes unnoticed.
bool waitUntil(const std::function<bool()>& done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// Drains on this thread until the condition holds or 10 s pass.
bool drainUntil(NetworkManager& manager, const std::function<bool()>& done)
{
    return waitUntil([&] {
        manager.runPendingActions();
        return done();
    });
}

class NetworkManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(NetworkManager::init()); }
};

}  // namespace

TEST_F(NetworkManagerTest, AnsweredRequestRunsItsResponseHandlerOnTheDrainingThread)
{
    LoopbackHttpServer server([](const ReceivedRequest&) { return CannedResponse{200, "{\"ok\":true}"}; });
    NetworkManager manager;
    auto action = makeAction(server.url("/v1/worlds/count?id=3"));
    ASSERT_TRUE(manager.send(action));

    // Nothing runs until the main thread drains.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(action->responses, 0);

    ASSERT_TRUE(drainUntil(manager, [&] { return action->responses + action->errors > 0; }))
        << "not done within the 60 s deadline";
    EXPECT_EQ(action->responses, 1);
    EXPECT_EQ(action->errors, 0);
    EXPECT_EQ(action->ranOn, std::this_thread::get_id());
    EXPECT_EQ(action->seen.statusCode, 200);
    EXPECT_EQ(action->seen.body, "{\"ok\":true}");
    EXPECT_EQ(action->seen.header("x-test"), "loopback");
    EXPECT_EQ(action->seen.url, server.url("/v1/worlds/count?id=3"));
    EXPECT_EQ(manager.pendingRequestCount(), 0u);

    auto got = server.received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].method, "GET");
    EXPECT_EQ(got[0].path, "/v1/worlds/count?id=3");
}

TEST_F(NetworkManagerTest, PostCarriesBodyAndHeadersAndErrorStatusesStillReachTheResponseHandler)
{
    LoopbackHttpServer server([](const ReceivedRequest&) { return CannedResponse{500, "oops"}; });
    NetworkManager manager;
    auto action = makeAction(server.url("/v1/players"), Request::Method::Post);
    action->request().setBody("{\"nickname\":\"Ann\"}");
    action->request().addHeader("Content-Type", "application/json");
    action->request().addHeader("X-Evil", "a\r\nInjected: yes");
    ASSERT_TRUE(manager.send(action));
    ASSERT_TRUE(drainUntil(manager, [&] { return action->responses + action->errors > 0; }))
        << "not done within the 60 s deadline";

    EXPECT_EQ(action->responses, 1);
    EXPECT_EQ(action->seen.statusCode, 500);
    auto got = server.received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].method, "POST");
    EXPECT_EQ(got[0].body, "{\"nickname\":\"Ann\"}");
    EXPECT_EQ(got[0].header("Content-Type"), "application/json");
    EXPECT_EQ(got[0].header("Injected"), "");
}

TEST_F(NetworkManagerTest, ServerNotListeningReachesTheConnectionErrorHandler)
{
    NetworkManager manager;
    auto action = makeAction(LoopbackHttpServer::refusingUrl() + "/v1/players");
    ASSERT_TRUE(manager.send(action));
    ASSERT_TRUE(drainUntil(manager, [&] { return action->responses + action->errors > 0; }))
        << "not done within the 60 s deadline";
    EXPECT_EQ(action->errors, 1);
    EXPECT_EQ(action->responses, 0);
    EXPECT_NE(action->errorCode, 0);
}

TEST_F(NetworkManagerTest, OversizedBodyEndsTheTransferAsFailed)
{
    LoopbackHttpServer server([](const ReceivedRequest&) { return CannedResponse{200, std::string(5000, 'x')}; });
    NetworkManager manager;
    auto action = makeAction(server.url("/big"));
    action->request().setMaxBodySize(1000);
    ASSERT_TRUE(manager.send(action));
    ASSERT_TRUE(drainUntil(manager, [&] { return action->responses + action->errors > 0; }))
        << "not done within the 60 s deadline";
    EXPECT_EQ(action->errors, 1);
    EXPECT_EQ(action->responses, 0);
}

TEST_F(NetworkManagerTest, EmptyOrForeignUrlsFailWithoutATransfer)
{
    NetworkManager manager;
    auto empty = makeAction("");
    auto file = makeAction("file:///etc/passwd");
    manager.send(empty);
    manager.send(file);
    ASSERT_TRUE(drainUntil(manager, [&] { return empty->errors + file->errors == 2; }))
        << "not done within the 60 s deadline";
    EXPECT_EQ(empty->responses + file->responses, 0);
}

TEST_F(NetworkManagerTest, ActionsRunInCompletionOrderAndAFailedActionDoesNotStopTheOthers)
{
    NetworkManager manager;
    std::vector<int> order;
    struct Step : Action {
        std::vector<int>* order;
        int id;
        bool ok;
        bool execute() override
        {
            order->push_back(id);
            return ok;
        }
    };
    for (int i = 0; i < 3; ++i) {
        auto step = std::make_shared<Step>();
        step->order = &order;
        step->id = i;
        step->ok = i != 1;
        manager.postCompleted(step);
    }
    EXPECT_EQ(manager.runPendingActions(), 3u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(manager.runPendingActions(), 0u);
}

TEST_F(NetworkManagerTest, CancelledRequestNeverRunsItsAction)
{
    LoopbackHttpServer server(
        [](const ReceivedRequest&) {
            CannedResponse r;
            r.hang = true;
            return r;
        },
        4, 120);
    NetworkManager manager;
    auto action = makeAction(server.url("/slow"));
    ASSERT_TRUE(manager.send(action));
    // Wait until the server holds the request, then cancel it.
    ASSERT_TRUE(waitUntil([&] { return !server.received().empty(); }))
        << "the server did not receive the request within 60 s";
    manager.cancel(action);
    ASSERT_TRUE(drainUntil(manager, [&] { return manager.pendingRequestCount() == 0; }))
        << "not done within the 60 s deadline";
    manager.runPendingActions();
    EXPECT_EQ(action->responses + action->errors, 0);
    server.stop();
}

TEST_F(NetworkManagerTest, StopWithRequestsInFlightReturnsPromptlyAndDropsThem)
{
    // The server holds every request this long: a stop that waited for them
    // would take at least as long, whatever the machine's load.
    constexpr int kHold = 200;
    LoopbackHttpServer server(
        [](const ReceivedRequest&) {
            CannedResponse r;
            r.hang = true;
            return r;
        },
        8, kHold);
    std::vector<std::shared_ptr<RecordingAction>> actions;
    auto started = std::chrono::steady_clock::now();
    {
        NetworkManager manager;
        for (int i = 0; i < 4; ++i) {
            actions.push_back(makeAction(server.url("/hold/" + std::to_string(i))));
            actions.back()->request().setTransferTimeoutMs(kHold * 1000L);
            ASSERT_TRUE(manager.send(actions.back()));
        }
        ASSERT_TRUE(waitUntil([&] { return !server.received().empty(); }))
            << "the server did not receive a request within 60 s";
        manager.stop();
        EXPECT_FALSE(manager.isRunning());
        manager.runPendingActions();
        // A request after the stop fails through its handler instead of hanging.
        auto late = makeAction(server.url("/late"));
        EXPECT_FALSE(manager.send(late));
        manager.runPendingActions();
        EXPECT_EQ(late->errors, 1);
    }  // the destructor after an explicit stop is harmless
    auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_LT(elapsed, std::chrono::seconds(kHold * 3 / 4)) << "the stop waited for the held requests";
    for (auto& action : actions) {
        EXPECT_EQ(action->responses + action->errors, 0);
        EXPECT_EQ(action.use_count(), 1);  // nothing of the worker holds it any more
    }
    server.stop();
}
