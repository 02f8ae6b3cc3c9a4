// The world-sharing server as its clients meet it: the real tesmora-server on
// a free loopback port with a database of its own, driven over HTTP.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "GalleryClient.h"
#include "server/GalleryRequests.h"
#include "support/ServerProcess.h"
#include "support/TempFolders.h"
#include "world/ParticleCreator.h"
#include "world/WorldBlob.h"

using servertest::Answer;
using servertest::GalleryClient;
using servertest::Player;

namespace {

// A request's head sent on a connection of its own, its body held back: the
// server's answer (until its JSON is whole), then what follows a request
// sent after it (until the server ends the connection), ten seconds at most.
struct HeldBack {
    std::string answer, after;
    bool ended = false;  // the server closed (or reset) the connection
};
HeldBack sendHeadOnly(int port, const std::string& head)
{
    HeldBack out;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    const timeval wait{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
    out.ended = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0;
    const auto exchange = [&](const std::string& sent, std::string& in, bool untilEnd) {
        ::send(fd, sent.data(), sent.size(), MSG_NOSIGNAL);
        char buffer[4096];
        while (!out.ended && (untilEnd || in.empty() || in.back() != '}')) {
            const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
            if (n < 0 && errno == EAGAIN)
                return;
            out.ended = n <= 0;
            in.append(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
        }
    };
    exchange(head + "\r\n", out.answer, false);
    exchange("GET /v1/worlds/count HTTP/1.1\r\nHost: gallery\r\n\r\n", out.after, true);
    ::close(fd);
    return out;
}

class Gallery : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.started()) << "tesmora-server did not start"; }

    std::vector<int64_t> ids(const std::string& query)
    {
        std::vector<int64_t> out;
        const Answer a = client.get("/v1/worlds" + query);
        EXPECT_EQ(a.status, 200) << query << ": " << a.body;
        const json::Document page = a.json();
        for (const auto& w : page.find("worlds")->children())
            out.push_back(w->get("id")->intValue());
        return out;
    }
    int64_t count(const std::string& query = "")
    {
        return client.get("/v1/worlds/count" + query).json().find("count")->intValue();
    }
    json::NodePtr details(int64_t world, const std::string& query = "")
    {
        return client.get("/v1/worlds/" + std::to_string(world) + query).json().root();
    }
    Answer rate(const Player& p, int64_t world, int stars)
    {
        return client.post("/v1/worlds/" + std::to_string(world) + "/ratings?" + p.credentials(),
                           "{\"rating\":" + std::to_string(stars) + "}");
    }
    Answer download(const Player& p, int64_t world)
    {
        return client.get("/v1/worlds/" + std::to_string(world) + "/data?" + p.credentials());
    }

    testsupport::TempDir folder;
    testsupport::ServerProcess server{folder.file("gallery.db")};
    GalleryClient client{server.port()};
    const std::string blob = testsupport::sampleWorldBlob(0);
    const std::string png = testsupport::samplePng(200, 40, 40);
};

}  // namespace

TEST_F(Gallery, RegistersPlayersWithKeysAndRefusesATakenNickname)
{
    const Player ann = client.registerPlayer("Ann");
    EXPECT_GT(ann.id, 0);
    EXPECT_EQ(ann.key.size(), 64u);
    const Player bob = client.registerPlayer("Bob");
    EXPECT_NE(bob.id, ann.id);
    EXPECT_NE(bob.key, ann.key);
    const Answer taken = client.post("/v1/players", R"({"nickname":"ANN","UUID":"x","device_model":"y"})");
    EXPECT_EQ(taken.status, 403);
    EXPECT_EQ(taken.json().find("error")->stringValue(), "the nickname is taken");

    // Case is folded beyond ASCII; accents are not dropped. A name that shows
    // as one already there is taken: blanks at its ends, a wider or doubled
    // space, marks that draw nothing. Letters of any script make a new name.
    // Any spelling of the JSON media type is JSON.
    struct Name {
        const char* first;  // registered before the second ("Ann" already is)
        const char* second;
        int status;
        const char* type = "application/json";
        const char* words = nullptr;  // the error's words when they are fixed
    };
    for (const Name& n :
         {Name{"Éva", "éVA", 403, "application/json; charset=utf-8"}, Name{"ΣΩΣ", "σως", 403, "Application/JSON"},
          Name{"Straße", "STRASSE", 201, "application/json ;charset=UTF-8"},
          Name{"Zoé", "Zoe", 201, "APPLICATION/JSON\t;\tcharset=\"utf-8\""}, Name{"Ann", "Ann ", 403},
          Name{"Ann", " Ann", 403}, Name{"Ann", "Ann\u00a0", 403}, Name{"Ann", "\u2800Ann", 403},
          Name{"Ann", "Ann\ufe0f", 403}, Name{"Ann", "Ann\ufe0e", 403}, Name{"Ann", "Ann\u034f", 403},
          Name{"Ann", "Ann\u3164", 403}, Name{"Ann", "A\u180bnn\U000E0100", 403}, Name{"Ann Lee", "Ann\u00a0 Lee", 403},
          Name{"\U0001F600\ufe0f", " \U0001F600", 403}, Name{"Анна", "АННА\u034f", 403},
          Name{"アン", "アン\u3000", 403}, Name{"Ann", "\u0410nn", 201}}) {
        if (std::string(n.first) != "Ann") {
            ASSERT_GT(client.registerPlayer(n.first).id, 0) << n.first;
        }
        const Answer a = client.post("/v1/players", json::objectJson({json::stringNode("nickname", n.second)}), n.type);
        EXPECT_EQ(a.status, n.status) << n.first << " then " << n.second << " sent as " << n.type << ": " << a.body;
    }
    // The key opens the account; the stored hash is not the key.
    EXPECT_EQ(client.get("/v1/worlds/count?" + ann.credentials()).status, 200);
    EXPECT_EQ(client.get("/v1/worlds/count?id=" + std::to_string(ann.id) + "&key=" + bob.key).status, 401);
}

TEST_F(Gallery, BadRequestsGetTheirErrorAndChangeNothing)
{
    const Player ann = client.registerPlayer("Ann");
    const Player bob = client.registerPlayer("Bob");
    const int64_t world = client.upload(ann, "Kept", blob, png);
    ASSERT_GT(world, 0);
    ASSERT_EQ(rate(bob, world, 3).status, 200);
    const std::string w = "/v1/worlds/" + std::to_string(world);
    const std::string upload = "/v1/worlds?" + ann.credentials();
    const std::string notAWorld = std::string("\x0b\x00\x00\x00", 4) + "garbage";
    // Its first bytes read as a format version no world has.
    const std::string oddVersion = "gorb" + std::string(400, '\x01');
    const char* const refusedWorld = "the data is not a world the game can load";
    const std::string longText(300, 'a');
    // One byte longer than the largest world: the body itself is within the
    // limit, the world in it is not.
    registerAllElements();
    std::string tooLarge = blob;
    tooLarge.resize(worldblob::ExtraSizeTable::ofEveryElement().largestBlobSize() + 1, 'x');
    // An upload whose name and description are given as JSON text, escapes
    // and bytes as they are.
    const auto rawUpload = [&](const std::string& name, const std::string& description) {
        return "{\"name\":" + name + ",\"description\":" + description + ",\"data\":\"" + base64Encode(blob) +
            "\",\"screenshot\":\"" + base64Encode(png) + "\"}";
    };
    const std::string nicknameBody = R"({"nickname":"Typed"})";

    struct Case {
        const char* what;
        const char* method;
        std::string path;
        std::string body;
        int status;
        const char* type = "application/json";
        const char* words = nullptr;  // the error's words when they are fixed
    };
    const Case cases[] = {
        {"malformed JSON", "POST", "/v1/players", "{\"nickname\":", 400},
        {"nickname not a text", "POST", "/v1/players", "{\"nickname\":7}", 400},
        {"empty nickname", "POST", "/v1/players", "{\"nickname\":\"\"}", 400},
        {"nickname with a control character", "POST", "/v1/players", "{\"nickname\":\"a\\u0007\"}", 400},
        {"nickname longer than the keyboard allows", "POST", "/v1/players", "{\"nickname\":\"abcdefghijklmnop\"}", 413},
        {"nickname turned right to left", "POST", "/v1/players", R"({"nickname":"\u202eAnn"})", 400},
        {"nickname with a raw left-to-right mark", "POST", "/v1/players", "{\"nickname\":\"Bo\xe2\x80\x8e\"}", 400},
        {"nickname of a byte-order mark", "POST", "/v1/players", R"({"nickname":"\ufeff"})", 400},
        {"nickname of a zero-width space", "POST", "/v1/players", R"({"nickname":"\u200b"})", 400},
        {"nickname of spaces", "POST", "/v1/players", R"({"nickname":"   "})", 400},
        {"nickname of a no-break space and a Hangul filler", "POST", "/v1/players", R"({"nickname":"\u00a0\u3164"})",
         400},
        {"nickname of a braille blank", "POST", "/v1/players", R"({"nickname":"\u2800"})", 400},
        {"nickname of an accent on nothing", "POST", "/v1/players", R"({"nickname":"\u0301"})", 400},
        {"nickname of accents on blanks", "POST", "/v1/players", R"({"nickname":" \u0301\ufe0f\u0308 "})", 400},
        {"nickname with an escaped NUL", "POST", "/v1/players", R"({"nickname":"A\u0000B"})", 400},
        {"world name with an escaped NUL", "POST", upload, rawUpload(R"("Up\u0000side")", R"("")"), 400},
        {"nickname with a lone high surrogate", "POST", "/v1/players", R"({"nickname":"A\ud800B"})", 400},
        {"nickname with a lone low surrogate", "POST", "/v1/players", R"({"nickname":"A\udc00B"})", 400},
        {"high surrogate before a letter", "POST", "/v1/players", R"({"nickname":"A\ud800\u0041"})", 400},
        {"device model with a lone surrogate", "POST", "/v1/players", R"({"nickname":"Dee","device_model":"\udbff"})",
         400},
        {"world name with a lone surrogate", "POST", upload, rawUpload(R"("A\ud800B")", R"("")"), 400},
        {"description with a lone surrogate", "POST", upload, rawUpload(R"("x")", R"("Two \uD83D islands")"), 400},
        {"nickname not UTF-8", "POST", "/v1/players", "{\"nickname\":\"A\xff\"}", 400},
        {"world name not UTF-8", "POST", upload, rawUpload("\"\xc3\x28\"", R"("")"), 400},
        {"type application/jsonx", "POST", "/v1/players", nicknameBody, 415, "application/jsonx"},
        {"type application/json-patch+json", "POST", "/v1/players", nicknameBody, 415, "application/json-patch+json"},
        {"type application/jsonp", "POST", "/v1/players", nicknameBody, 415, "application/jsonp"},
        {"type text/json", "POST", upload, nicknameBody, 415, "text/json"},
        {"unknown player", "GET", "/v1/worlds/count?id=999&key=abc", "", 401},
        {"wrong key", "POST", w + "/ratings?id=" + std::to_string(bob.id) + "&key=" + ann.key, "{\"rating\":1}", 401},
        {"id without key", "GET", "/v1/worlds?id=1", "", 400},
        {"upload without a player", "POST", "/v1/worlds", GalleryClient::uploadBody("x", "", blob, png), 401},
        {"not a world", "POST", upload, GalleryClient::uploadBody("x", "", notAWorld, png), 422, "application/json",
         refusedWorld},
        {"not a world, of an odd version", "POST", upload, GalleryClient::uploadBody("x", "", oddVersion, png), 422,
         "application/json", refusedWorld},
        {"not a PNG", "POST", upload, GalleryClient::uploadBody("x", "", blob, "GIF89a..."), 422},
        {"data not base64", "POST", upload, R"({"name":"x","data":"%%%%","screenshot":"AAAA"})", 400},
        {"world larger than any", "POST", upload, GalleryClient::uploadBody("x", "", tooLarge, png), 413},
        {"screenshot over 512 KB", "POST", upload,
         GalleryClient::uploadBody("x", "", blob, png + std::string(512 * 1024, 'p')), 413},
        {"name too long", "POST", upload, GalleryClient::uploadBody("sixteen letters!", "", blob, png), 413},
        {"description too long", "POST", upload, GalleryClient::uploadBody("x", longText, blob, png), 413},
        {"empty name", "POST", upload, GalleryClient::uploadBody("", "", blob, png), 400},
        // 16 random bytes are 22 characters in base64: sixteen letters alike are no such id.
        {"request id of 21 characters", "POST", "/v1/players",
         R"({"nickname":"Typed","request_id":"0123456789abcdefghijk"})", 400},
        {"upload's request id of 16 letters alike", "POST", upload,
         rawUpload(R"("x")", R"("","request_id":"kkkkkkkkkkkkkkkk")"), 400},
        {"request id too long", "POST", "/v1/players",
         R"({"nickname":"Typed","request_id":")" + std::string(65, 'a') + "\"}", 400},
        {"request id with a dot", "POST", "/v1/players",
         R"({"nickname":"Typed","request_id":"0123456789abcdefghijk."})", 400},
        {"request id a number", "POST", "/v1/players", R"({"nickname":"Typed","request_id":1234567890123456})", 400},
        {"upload's request id with a space", "POST", upload,
         rawUpload(R"("x")", R"("","request_id":"0123456789 abcdefghijkl")"), 400},
        {"page over 50", "GET", "/v1/worlds?limit=51", "", 400},
        {"negative offset", "GET", "/v1/worlds?offset=-1", "", 400},
        {"unknown order", "GET", "/v1/worlds?order=oldest", "", 400},
        {"a parameter twice", "GET", "/v1/worlds?order=newest&order=rating", "", 400},
        {"limit twice with the same value", "GET", "/v1/worlds?limit=5&limit=5", "", 400},
        {"id twice with the same value", "GET",
         "/v1/worlds/count?" + ann.credentials() + "&id=" + std::to_string(ann.id), "", 400},
        {"key twice with the same value", "POST", w + "/ratings?" + bob.credentials() + "&key=" + bob.key,
         "{\"rating\":1}", 400},
        {"world id not a number", "GET", "/v1/worlds/abc", "", 400},
        {"rating of 0", "POST", w + "/ratings?" + bob.credentials(), "{\"rating\":0}", 400},
        {"rating of 6", "POST", w + "/ratings?" + bob.credentials(), "{\"rating\":6}", 400},
        {"rating not whole", "POST", w + "/ratings?" + bob.credentials(), "{\"rating\":2.5}", 400},
        {"unknown world's details", "GET", "/v1/worlds/424242", "", 404},
        {"unknown world's data", "GET", "/v1/worlds/424242/data?" + bob.credentials(), "", 404},
        {"unknown world's screenshot", "GET", "/v1/worlds/424242/screenshot", "", 404},
        {"unknown world's rating", "POST", "/v1/worlds/424242/ratings?" + bob.credentials(), "{\"rating\":2}", 404},
        {"unknown world's delete", "DELETE", "/v1/worlds/424242?" + ann.credentials(), "", 404},
        {"someone else's delete", "DELETE", w + "?" + bob.credentials(), "", 403},
        {"no such path", "GET", "/v1/elsewhere", "", 404},
    };
    for (const Case& c : cases) {
        const std::string method = c.method;
        const Answer a = method == "GET" ? client.get(c.path)
            : method == "DELETE"         ? client.remove(c.path)
                                         : client.post(c.path, c.body, c.type);
        EXPECT_EQ(a.status, c.status) << c.what << ": " << a.body.substr(0, 200);
        // Words for a person, in an answer that is JSON: not the request's
        // bytes, not the parser's report.
        const std::string why = a.json().find("error")->stringValue();
        EXPECT_FALSE(why.empty()) << c.what << " says why: " << a.body.substr(0, 200);
        EXPECT_TRUE(gallery::isPlayerText(why)) << c.what << ": " << why;
        EXPECT_TRUE(c.body.empty() || why.find(c.body) == std::string::npos) << c.what << " repeats the body: " << why;
        if (c.words) {
            EXPECT_EQ(why, c.words) << c.what;
        }
    }

    // A body that is not JSON by its type is refused before it is read.
    EXPECT_EQ(client.get("/v1/worlds/count").status, 200);
    httplib::Client raw("127.0.0.1", server.port());
    raw.set_keep_alive(true);
    auto form = raw.Post(upload.c_str(), std::string(20000, 'a'), "application/x-www-form-urlencoded");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 415);
    auto next = raw.Get("/v1/worlds/count");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->status, 200) << "the unread body is not taken for the next request";
    // A Range header does not cut an answer, an error's JSON least of all.
    for (const auto& [path, range, status] : {std::tuple{w, "bytes=0-5", 200},
                                              {"/v1/worlds/424242", "bytes=0-5", 404},
                                              {"/v1/elsewhere", "bytes=-3", 404},
                                              {w, "bytes=9-2", 416}}) {
        auto ranged = raw.Get(path.c_str(), {{"Range", range}});
        ASSERT_TRUE(ranged);
        EXPECT_EQ(ranged->status, status) << path << " " << range;
        EXPECT_TRUE(json::Document::parse(ranged->body).root()->isObject())
            << path << " " << range << ": " << ranged->body;
    }

    EXPECT_EQ(count(), 1);
    for (const char* refused : {"A", "Typed", "Dee"})
        EXPECT_GT(client.registerPlayer(refused).id, 0) << "a refused registration kept " << refused;
    const json::NodePtr kept = details(world);
    EXPECT_EQ(kept->get("name")->stringValue(), "Kept");
    EXPECT_EQ(kept->get("ratings")->intValue(), 1);
    EXPECT_EQ(kept->get("rating")->doubleValue(), 3.0);
    EXPECT_EQ(kept->get("downloads")->intValue(), 0);
}

// A request tried again with its id, after an answer that never arrived,
// is the request already done: the registration's player with the key never
// received, the upload's world. Without an id, or
// with another, a request is a new one. The id again with another request
// (another nickname, another world) is a conflict: nothing made, nothing
// handed out.
TEST_F(Gallery, ARequestSentAgainWithItsIdIsTheOneAlreadyDone)
{
    const auto registration = [&](const std::string& nickname, const std::string& id) {
        return client.post(
            "/v1/players",
            json::objectJson({json::stringNode("nickname", nickname), json::stringNode("request_id", id)}));
    };
    const std::string annId = "ann-registration-000001";
    const Answer first = registration("Ann", annId);
    ASSERT_EQ(first.status, 201) << first.body;
    const Answer again = registration("Ann", annId);
    ASSERT_EQ(again.status, 201) << again.body;
    Player ann{first.json().find("id")->intValue(), again.json().find("key")->stringValue()};
    EXPECT_EQ(again.json().find("id")->intValue(), ann.id);
    // The same key, whichever of the two the server took first.
    EXPECT_EQ(ann.key, first.json().find("key")->stringValue());
    EXPECT_EQ(ann.key.size(), 64u);
    EXPECT_EQ(client.get("/v1/worlds/count?" + ann.credentials()).status, 200);
    EXPECT_EQ(registration("Ann", "another-request-00000001").status, 403) << "another id is another player";
    EXPECT_EQ(client.registerPlayer("ann").id, 0) << "so is none";
    for (const char* other : {"Eve", "ann"}) {
        const Answer conflict = registration(other, annId);
        EXPECT_EQ(conflict.status, 409) << other << ": " << conflict.body;
        EXPECT_EQ(conflict.body.find(ann.key), std::string::npos) << other;
        EXPECT_FALSE(conflict.json().find("id")->isValid()) << other;
    }
    EXPECT_GT(client.registerPlayer("Eve").id, 0) << "the conflict made no Eve";

    const auto upload = [&](const Player& p, const std::string& name, const std::string& id,
                            const std::string& description = "", const std::string* data = nullptr) {
        const Answer a =
            client.post("/v1/worlds?" + p.credentials(),
                        R"({"request_id":")" + id + "\"," +
                            GalleryClient::uploadBody(name, description, data ? *data : blob, png).substr(1));
        return a.status == 201 ? a.json().find("id")->intValue() : -a.status;
    };
    const std::string dunesId = "dunes_upload_0000000001";
    const int64_t dunes = upload(ann, "Dunes", dunesId);
    ASSERT_GT(dunes, 0);
    EXPECT_EQ(upload(ann, "Dunes", dunesId), dunes);
    const std::string otherBlob = testsupport::sampleWorldBlob(1);
    ASSERT_NE(otherBlob, blob);
    EXPECT_EQ(upload(ann, "Dunes", dunesId, "", &otherBlob), -409) << "other world bytes";
    EXPECT_EQ(upload(ann, "Hills", dunesId), -409) << "another name";
    EXPECT_EQ(upload(ann, "Dunes", dunesId, "Two islands"), -409) << "another description";
    EXPECT_EQ(count(), 1) << "one card";
    const Player bob = client.registerPlayer("Bob");
    const int64_t bobs = upload(bob, "Dunes", dunesId);
    EXPECT_GT(bobs, dunes) << "another player's id is his own";
    EXPECT_GT(client.upload(ann, "Dunes", blob, png), bobs) << "an upload without an id is a new one";
    EXPECT_EQ(count(), 3);
    // Once its world is deleted, the upload sent again makes it again.
    ASSERT_EQ(client.remove("/v1/worlds/" + std::to_string(dunes) + "?" + ann.credentials()).status, 200);
    EXPECT_GT(upload(ann, "Dunes", dunesId), bobs);
    EXPECT_EQ(count(), 3);
}

// A body refused from its headers is refused at once, while the client
// still holds it back, and its connection ends: what the client sends after
// is never read as a request.
TEST_F(Gallery, ABodyIsRefusedFromItsHeadersAndItsConnectionEnds)
{
    const std::string post = "POST /v1/players HTTP/1.1\r\nHost: gallery\r\nContent-Type: application/json\r\n";
    const struct {
        const char* what;
        std::string head;
        int status;
    } cases[] = {
        {"a body larger than any upload", post + "Content-Length: 8000000\r\n", 413},
        {"a length past 64 bits", post + "Content-Length: 99999999999999999999999\r\n", 413},
        {"a body too large, asked about first", post + "Expect: 100-continue\r\nContent-Length: 8000000\r\n", 413},
        {"a negative length", post + "Content-Length: -1\r\n", 400},
        {"a length that is not a number", post + "Content-Length: 12 bytes\r\n", 400},
        {"a length given twice", post + "Content-Length: 2\r\nContent-Length: 20\r\n", 400},
        {"a body in chunks", post + "Transfer-Encoding: chunked\r\n", 411},
        {"a body without a length", post, 411},
        {"a body not JSON by its type",
         "POST /v1/players HTTP/1.1\r\nHost: gallery\r\nContent-Type: text/plain\r\nContent-Length: 44\r\n", 415},
    };
    for (const auto& c : cases) {
        // Ten seconds: far less than the 30 s for which a body is waited.
        const HeldBack got = sendHeadOnly(server.port(), c.head);
        EXPECT_EQ(got.answer.substr(0, 12), "HTTP/1.1 " + std::to_string(c.status)) << c.what << ": " << got.answer;
        EXPECT_NE(got.answer.find("\r\n\r\n{\"error\":\""), std::string::npos) << c.what << ": " << got.answer;
        EXPECT_TRUE(got.ended) << c.what << ": the connection stays open";
        EXPECT_EQ(got.after, "") << c.what << ": what followed was read as a request";
    }
    EXPECT_EQ(client.get("/v1/worlds/count").status, 200);
}

TEST_F(Gallery, AnUploadedWorldIsListedDetailedAndServedAsSent)
{
    const Player ann = client.registerPlayer("Ann");
    const Answer up = client.post("/v1/worlds?" + ann.credentials(),
                                  GalleryClient::uploadBody("Islands", "Two islands, one volcano", blob, png));
    ASSERT_EQ(up.status, 201) << up.body;
    const int64_t world = up.json().find("id")->intValue();

    const json::NodePtr d = details(world);
    EXPECT_EQ(d->get("id")->intValue(), world);
    EXPECT_EQ(d->get("name")->stringValue(), "Islands");
    EXPECT_EQ(d->get("description")->stringValue(), "Two islands, one volcano");
    EXPECT_EQ(d->get("author")->stringValue(), "Ann");
    EXPECT_EQ(d->get("author_id")->intValue(), ann.id);
    EXPECT_EQ(d->get("date")->stringValue().size(), 20u);
    EXPECT_EQ(d->get("ratings")->intValue(), 0);
    EXPECT_FALSE(d->get("my_rating")->isValid()) << "no player asked";
    EXPECT_EQ(ids(""), std::vector<int64_t>{world});

    const Answer data = download(ann, world);
    EXPECT_EQ(data.status, 200);
    EXPECT_EQ(data.body, blob);
    const Answer picture = client.get("/v1/worlds/" + std::to_string(world) + "/screenshot");
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(picture.body, png);
}

TEST_F(Gallery, APlayersSecondRatingReplacesTheFirst)
{
    const Player ann = client.registerPlayer("Ann");
    const Player bob = client.registerPlayer("Bob");
    const int64_t world = client.upload(ann, "Rated", blob, png);

    EXPECT_EQ(rate(bob, world, 5).json().find("rating")->doubleValue(), 5.0);
    const Answer again = rate(bob, world, 2);
    EXPECT_EQ(again.json().find("rating")->doubleValue(), 2.0);
    EXPECT_EQ(again.json().find("ratings")->intValue(), 1);
    const Answer third = rate(ann, world, 4);
    EXPECT_EQ(third.json().find("rating")->doubleValue(), 3.0);
    EXPECT_EQ(third.json().find("ratings")->intValue(), 2);
    EXPECT_EQ(details(world, "?" + bob.credentials())->get("my_rating")->intValue(), 2);
    const Player cid = client.registerPlayer("Cid");
    EXPECT_EQ(details(world, "?" + cid.credentials())->get("my_rating")->intValue(), 0);
}

TEST_F(Gallery, DownloadsCountOncePerPlayer)
{
    const Player ann = client.registerPlayer("Ann");
    const Player bob = client.registerPlayer("Bob");
    const int64_t world = client.upload(ann, "Popular", blob, png);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(download(bob, world).status, 200);
    EXPECT_EQ(details(world)->get("downloads")->intValue(), 1);
    download(ann, world);
    EXPECT_EQ(details(world)->get("downloads")->intValue(), 2);
    EXPECT_EQ(client.get("/v1/worlds/" + std::to_string(world) + "/data").status, 401) << "a download needs a player";
}

TEST_F(Gallery, OnlyItsAuthorDeletesAWorldAndItGoesWhole)
{
    const Player ann = client.registerPlayer("Ann");
    const Player bob = client.registerPlayer("Bob");
    const int64_t world = client.upload(ann, "Doomed", blob, png);
    const int64_t other = client.upload(bob, "Stays", blob, png);
    rate(bob, world, 4);
    download(bob, world);
    const std::string w = "/v1/worlds/" + std::to_string(world);

    EXPECT_EQ(client.remove(w + "?" + bob.credentials()).status, 403);
    EXPECT_EQ(details(world)->get("ratings")->intValue(), 1) << "someone else's delete changed nothing";
    EXPECT_EQ(count(), 2);

    const Answer gone = client.remove(w + "?" + ann.credentials());
    EXPECT_EQ(gone.status, 200);
    EXPECT_TRUE(gone.json().find("deleted")->boolValue());
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(ids("?order=rating"), std::vector<int64_t>{other});
    EXPECT_EQ(client.get(w).status, 404);
    EXPECT_EQ(download(bob, world).status, 404);
    EXPECT_EQ(client.get(w + "/screenshot").status, 404);
    EXPECT_EQ(rate(bob, world, 5).status, 404);
    EXPECT_EQ(client.remove(w + "?" + ann.credentials()).status, 404);
}

TEST_F(Gallery, PagesComeInEachOrderAndSearchFindsNamesAndAuthors)
{
    const Player ann = client.registerPlayer("Ann");
    const Player bob = client.registerPlayer("Bobby");
    const Player cid = client.registerPlayer("Cid");
    std::vector<int64_t> w;
    for (const char* name : {"Volcano", "Lake", "Forest 100%", "Desert", "Volcanic rim"})
        w.push_back(client.upload(w.size() % 2 ? bob : ann, name, blob, png));
    // Ratings: Lake 5, Desert 4 and 5 (4.5), Volcano 2; downloads: Desert 3, Lake 1.
    rate(cid, w[1], 5);
    rate(cid, w[3], 4);
    rate(ann, w[3], 5);
    rate(cid, w[0], 2);
    for (const Player& p : {ann, bob, cid})
        download(p, w[3]);
    download(cid, w[1]);

    EXPECT_EQ(ids(""), (std::vector<int64_t>{w[4], w[3], w[2], w[1], w[0]}));
    EXPECT_EQ(ids("?order=rating"), (std::vector<int64_t>{w[1], w[3], w[0], w[4], w[2]}));
    EXPECT_EQ(ids("?order=downloads"), (std::vector<int64_t>{w[3], w[1], w[4], w[2], w[0]}));
    EXPECT_EQ(ids("?order=newest&offset=1&limit=2"), (std::vector<int64_t>{w[3], w[2]}));
    EXPECT_TRUE(ids("?offset=5").empty());
    const Answer page = client.get("/v1/worlds?limit=2");
    EXPECT_EQ(page.json().find("count")->intValue(), 5) << "a page tells the whole list's length";
    EXPECT_EQ(page.json().find("worlds.0.name")->stringValue(), "Volcanic rim");
    EXPECT_EQ(page.json().find("worlds.1.rating")->doubleValue(), 4.5);

    EXPECT_EQ(ids("?search=volcan"), (std::vector<int64_t>{w[4], w[0]})) << "any case, any part of the name";
    EXPECT_EQ(ids("?search=bobb&order=rating"), (std::vector<int64_t>{w[1], w[3]})) << "the author's name";
    EXPECT_EQ(ids("?search=100%25"), std::vector<int64_t>{w[2]}) << "% is a letter, not a wildcard";
    EXPECT_EQ(count("?search=volcan"), 2);
    EXPECT_EQ(count("?search=nowhere"), 0);
}

// A start that fails leaves no file behind.
TEST(GalleryServerProgram, RefusesBadOptionsAndAnUnusableDatabase)
{
    testsupport::TempDir folder;
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string before = "";  // shell commands before the server's
    };
    const Case cases[] = {
        {{"--port", "http"}, 2},
        {{"--port", "70000"}, 2},
        {{"--verbose"}, 2},
        {{"--db", folder.path()}, 1},  // a folder, not a database file
        {{"--help"}, 0},
        // A disk that takes not one byte: the new database made goes again.
        {{"--db", folder.file("new.db")}, 1, "ulimit -f 0; trap '' XFSZ; "},
    };
    for (const Case& c : cases) {
        std::string command = c.before + "exec " + TESMORA_SERVER_BINARY + " --port 0";
        for (const std::string& arg : c.args)
            command += " " + arg;
        const int status = std::system((command + " > /dev/null 2>&1").c_str());
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << command;
        EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << command;
    }
}

TEST(GalleryServerProgram, ADatabaseWrittenBeforeNicknamesFoldedKeepsEveryPlayer)
{
    testsupport::TempDir folder;
    const std::string database = folder.file("gallery.db");
    const std::string blob = testsupport::sampleWorldBlob(0);
    const std::string png = testsupport::samplePng(0, 90, 0);
    Player first, second, ann, copy;
    int64_t world = 0;
    {
        testsupport::ServerProcess server(database);
        ASSERT_TRUE(server.started());
        GalleryClient client(server.port());
        first = client.registerPlayer("Éva");
        second = client.registerPlayer("Other");
        ASSERT_GT(client.registerPlayer("Ωmega").id, 0);
        ann = client.registerPlayer("Ann");
        copy = client.registerPlayer("Bo");
        world = client.upload(second, "Mine", blob, png);
        ASSERT_GT(world, 0);
    }
    // As the builds before the fold left it: no folded names, two players
    // whose names differ only in the case of a letter beyond ASCII, and two
    // whose names differ only by a mark that draws nothing.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    for (const char* sql : {"DROP INDEX IF EXISTS players_folded", "ALTER TABLE players DROP COLUMN folded",
                            "UPDATE players SET nickname = 'éva' WHERE nickname = 'Other'",
                            "UPDATE players SET nickname = 'Ann' || char(0xFE0F) WHERE nickname = 'Bo'"})
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);

    testsupport::ServerProcess server(database);
    ASSERT_TRUE(server.started());
    GalleryClient client(server.port());
    for (const Player& p : {first, second, ann, copy})
        EXPECT_EQ(client.get("/v1/worlds/count?" + p.credentials()).status, 200) << "player " << p.id << " kept";
    EXPECT_EQ(client.get("/v1/worlds/" + std::to_string(world)).json().find("author")->stringValue(), "éva");
    const int64_t copied = client.upload(copy, "Twin", blob, png);
    ASSERT_GT(copied, 0);
    EXPECT_EQ(client.get("/v1/worlds/" + std::to_string(copied)).json().find("author")->stringValue(), "Ann\ufe0f");
    for (const char* taken : {"ÉVA", "ωMEGA", "ANN\u3164", "Ann\ufe0e"})
        EXPECT_EQ(client.registerPlayer(taken).id, 0) << taken << " is taken";
    EXPECT_GT(client.registerPlayer("Eva").id, 0);
}

// One port, one database: a second server on a port that a running one holds
// says so and exits, leaving no file where there was none, every player
// stays with the first, and a server stopped with a connection open binds its
// port again at once.
TEST(GalleryServerProgram, ASecondServerOnAHeldPortExitsAndTheFirstKeepsServing)
{
    testsupport::TempDir folder;
    auto first = std::make_unique<testsupport::ServerProcess>(folder.file("first.db"));
    ASSERT_TRUE(first->started());
    const int port = first->port();
    const Player ann = GalleryClient(port).registerPlayer("Ann");
    ASSERT_GT(ann.id, 0);
    const auto files = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
            names.insert(entry.path().string());
        return names;
    };
    const std::set<std::string> before = files();

    const struct {
        const char* why;
        std::string options;
    } seconds[] = {
        {"a database that is not there", "--db " + folder.file("second.db")},
        {"the first's own database", "--db " + folder.file("first.db")},
        {"the default one, in a data folder that is not there", ""},
    };
    for (const auto& second : seconds) {
        SCOPED_TRACE(second.why);
        // Bounded: a second server that binds would serve until killed.
        const std::string command = "XDG_DATA_HOME=" + folder.file("data") + " exec timeout 30 " +
            TESMORA_SERVER_BINARY + " --port " + std::to_string(port) + " " + second.options + " 2>&1";
        FILE* out = ::popen(command.c_str(), "r");
        ASSERT_NE(out, nullptr);
        std::string said;
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), out))
            said += buffer;
        const int status = ::pclose(out);
        EXPECT_EQ(WEXITSTATUS(status), 1) << said;
        EXPECT_NE(said.find("address already in use"), std::string::npos) << said;
        EXPECT_EQ(files(), before) << "no file made, none removed";
    }

    // Every new connection reaches the first server, which knows Ann.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(GalleryClient(port, false).get("/v1/worlds/count?" + ann.credentials()).status, 200) << i;

    EXPECT_EQ(first->stop(), 0);
    first.reset();
    testsupport::ServerProcess again(folder.file("first.db"), port);
    ASSERT_TRUE(again.started()) << "a restart binds its port while the last connections linger";
    EXPECT_EQ(again.port(), port);
    EXPECT_EQ(GalleryClient(port).get("/v1/worlds/count?" + ann.credentials()).status, 200);
}
