// The server's readers of what a client sends: a query line and a body. Each
// reader refuses with a status and a reason that makes a JSON error answer of
// plain words, or gives values inside the API's limits; what the server would
// write back from accepted values is JSON that reads back the same.
#include "base/json/Json.h"
#include "server/GalleryRequests.h"
#include "support/loaders/LoaderHarness.h"

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

// Small limits, so that the fuzzer reaches both sides of each.
constexpr size_t kBlobLimit = 256;
constexpr size_t kPictureLimit = 128;

bool refusedSoundly(const gallery::ApiError& e)
{
    if ((e.status != 400 && e.status != 401 && e.status != 413) || e.message.empty())
        return false;
    const json::Document answer = json::Document::parse(gallery::errorJson(e.message));
    return gallery::isPlayerText(answer.find("error")->stringValue());
}

class ServerRequestHarness : public Harness {
public:
    const char* name() const override { return "server request"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out;
        for (const char* text : {
                 "id=7&key=abc&limit=20&offset=0&order=rating&search=isl\n{\"nickname\":\"Ann\",\"UUID\":\"u\","
                 "\"device_model\":\"Linux\"}",
                 "order=downloads&search=100%25\n{\"name\":\"Islands\",\"description\":\"Two\",\"data\":\"AAECAw==\","
                 "\"screenshot\":\"iVBORw==\"}",
                 "id=1&key=k\n{\"rating\":4}",
                 "offset=5&limit=50&id=1\n{\"nickname\":\"\\u00e9t\\u00e9\"}",
                 "search=%C3%A9&order=newest&order=rating\n[1,2]",
                 "limit=5&limit=5&id=7&id=7\n{\"nickname\":\"A\\u0000B\",\"UUID\":\"\\ud83d\\ude00\\ud800\"}",
             }) {
            const std::string s = text;
            out.emplace_back(s.begin(), s.end());
        }
        return out;
    }

protected:
    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const std::string input(reinterpret_cast<const char*>(data), size);
        const size_t cut = input.find('\n');
        const std::string query = input.substr(0, cut);
        const std::string body = cut == std::string::npos ? std::string() : input.substr(cut + 1);
        const gallery::Params params = gallery::readQuery("/v1/worlds?" + query);

        for (bool required : {false, true}) {
            std::optional<gallery::Credentials> who;
            gallery::ApiError e = gallery::readCredentials(params, required, who);
            if (e && !refusedSoundly(e))
                return "credentials refused without a sound status";
            if (!e && who && (who->playerId < 1 || who->key.empty() || who->key.size() > gallery::kMaxKeyBytes))
                return "credentials out of range taken";
            if (!e && required && !who)
                return "required credentials missing but accepted";
        }
        gallery::PageQuery page;
        if (gallery::ApiError e = gallery::readPageQuery(params, page)) {
            if (!refusedSoundly(e))
                return "a page query refused without a sound status";
        } else {
            if (page.limit < 1 || page.limit > gallery::kMaxPageSize || page.offset < 0 ||
                page.search.size() > gallery::kMaxSearchBytes || !gallery::isPlayerText(page.search))
                return "a page query out of range taken";
            gallery::WorldInfo w;
            w.id = 1;
            w.name = page.search;
            w.author = page.search;
            const std::string text = gallery::pageJson(3, page, {w});
            json::Document again = json::Document::parse(text);
            if (!again.isValid() || again.find("worlds.0.name")->stringValue() != page.search)
                return "the page written from an accepted query does not read back";
        }
        int64_t id = 0;
        if (!gallery::readWorldId(query, id) && (id < 1 || id > (int64_t(1) << 53)))
            return "a world id out of range taken";

        gallery::NewPlayer player;
        if (gallery::ApiError e = gallery::readNewPlayer(body, player)) {
            if (!refusedSoundly(e))
                return "a player refused without a sound status";
        } else if (player.nickname.empty() || player.nickname.size() > gallery::kMaxNicknameBytes ||
                   !gallery::isPlayerText(player.nickname) ||
                   player.platformId.size() > gallery::kMaxPlatformTextBytes) {
            return "a player out of range taken";
        }
        gallery::Upload upload;
        if (gallery::ApiError e = gallery::readUpload(body, kBlobLimit, kPictureLimit, upload)) {
            if (!refusedSoundly(e))
                return "an upload refused without a sound status";
        } else if (upload.name.empty() || upload.name.size() > gallery::kMaxWorldNameBytes ||
                   upload.description.size() > gallery::kMaxDescriptionBytes || upload.blob.size() > kBlobLimit ||
                   upload.screenshot.size() > kPictureLimit) {
            return "an upload out of range taken";
        }
        int stars = 0;
        if (gallery::ApiError e = gallery::readRating(body, stars)) {
            if (!refusedSoundly(e))
                return "a rating refused without a sound status";
        } else if (stars < 1 || stars > 5) {
            return "a rating out of range taken";
        }
        return "";
    }
};

}  // namespace

std::unique_ptr<Harness> makeServerRequestHarness()
{
    return std::make_unique<ServerRequestHarness>();
}

}  // namespace loaders
