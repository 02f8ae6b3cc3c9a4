// Server answers: the JSON document over yajl, then the create-player
// handler with the body as a 200 answer. The handler either takes a sound
// account (saved, and read back from the stored file) or reports the answer
// as unreadable and leaves the profile as it was.
#include <map>

#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "online/ServerLink.h"
#include "base/json/Json.h"
#include "platform/GameClock.h"
#include "support/CleanGame.h"
#include "support/loaders/Common.h"
#include "support/loaders/LoaderHarness.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace loaders {

namespace {

class Listener : public CCObject {
public:
    int continued = 0;
    int refused = 0;
    void onContinue() { ++continued; }
    void onRefused() { ++refused; }
};

int depthOf(const json::Node& node)
{
    int deepest = 0;
    for (const auto& child : node.children())
        deepest = std::max(deepest, depthOf(*child));
    return deepest + 1;
}

std::string checkDocument(const std::string& text)
{
    json::Document doc = json::Document::parse(text);
    if (!doc.isValid())
        return doc.error().empty() ? "refused without a message" : "";
    if (depthOf(*doc.root()) > 65)
        return "document deeper than the parser's limit";
    // What the game writes of a document reads back as the same document.
    const std::string once = doc.root()->toJson();
    json::Document again = json::Document::parse(once);
    if (!again.isValid())
        return "its own text is not JSON: " + again.error();
    if (again.root()->toJson() != once)
        return "written, read and written again, the text changed";
    for (const char* path : {"id", "key", "a.b", "0", "0.0.0", "", "."})
        (void)doc.find(path)->intValue();
    return "";
}

class ServerAnswerHarness : public Harness {
public:
    ServerAnswerHarness()
    {
        platform::setManualGameTime(1'700'000'000);
        testsupport::resetGame();
        installMemoryStore(m_files);
        gameServices().showMessageText = [this](const std::string& words) { m_messages.push_back(words); };
        m_listener = new Listener();
    }

    ~ServerAnswerHarness() override
    {
        testsupport::resetGame();
        m_listener->release();
        platform::clearManualGameTime();
    }

    const char* name() const override { return "server answer"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out;
        for (const char* text :
             {R"({"id":77,"key":"s3cret-key"})",
              R"({"id":-2147483648,"key":"k","extra":[1,2.5,true,null,{"a":"\u00e9"}]})",
              R"({"error":"duplicate","details":{"field":"nickname"}})", R"([{"id":1},{"key":"x"}])"}) {
            const std::string s = text;
            out.emplace_back(s.begin(), s.end());
        }
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const std::string body(reinterpret_cast<const char*>(data), size);
        std::string why = checkDocument(body);
        if (!why.empty())
            return "document: " + why;
        return answer(body);
    }

private:
    std::string answer(const std::string& body)
    {
        Profile::resetInstanceForTests();
        Profile* profile = Profile::getInstance();
        profile->setNickname(CCString::create("Ann"));
        m_files.clear();
        m_messages.clear();
        m_listener->continued = m_listener->refused = 0;

        auto request = std::make_shared<Request>("http://127.0.0.1:9/v1/players", Request::Method::Post);
        request->response().statusCode = 200;
        request->response().body = body;
        auto action =
            std::make_shared<CreatePlayerCallback>(request, profile, m_listener, callfunc_selector(Listener::onRefused),
                                                   m_listener, callfunc_selector(Listener::onContinue));
        action->setTransferResult(0, "");
        const bool handled = action->execute();
        CCPoolManager::sharedPoolManager()->drain();

        if (m_listener->refused != 0)
            return "a 200 answer ran the refusal";
        if (!handled) {
            if (m_messages != std::vector<std::string>{LocalUtils::localize("NetErrorIncorrectJson")->getString()})
                return "an unread answer was not reported as incorrect";
            if (m_listener->continued != 0 || !m_files.empty())
                return "an unread answer went on or saved";
            if (profile->isRegistered() || profile->getPlayerId() != 0 ||
                profile->getProgressWord(ProgressWord::PlayerCreated) != 0)
                return "an unread answer changed the account";
            return "";
        }
        if (m_listener->continued != 1 || !m_messages.empty())
            return "an accepted answer did not go on exactly once";
        json::Document doc = json::Document::parse(body);
        if (!profile->isRegistered())
            return "an accepted answer left the player unregistered";
        if (profile->getPlayerId() != doc.find("id")->intValue() ||
            profile->getPrivateKey()->getString() != doc.find("key")->stringValue())
            return "the account is not the one in the answer";
        // The account survives a restart.
        const int32_t id = profile->getPlayerId();
        const std::string key = profile->getPrivateKey()->getString();
        Profile::resetInstanceForTests();
        Profile* again = Profile::getInstance();
        if (!again->loadFromFile(ProfileFile::kFileName))
            return "the saved account was refused";
        if (again->getPlayerId() != id || again->getPrivateKey()->getString() != key || !again->isRegistered())
            return "the saved account reads back otherwise";
        return "";
    }

    std::map<std::string, Bytes> m_files;
    std::vector<std::string> m_messages;
    Listener* m_listener = nullptr;
};

}  // namespace

std::unique_ptr<Harness> makeServerAnswerHarness()
{
    return std::make_unique<ServerAnswerHarness>();
}

}  // namespace loaders
