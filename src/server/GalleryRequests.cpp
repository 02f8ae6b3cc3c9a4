#include "server/GalleryRequests.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <initializer_list>

#include "base/Base64.h"
#include "base/Utf8.h"
#include "base/json/Json.h"
#include "server/CaseFold.h"

namespace gallery {

namespace {

constexpr int64_t kLargestId = int64_t(1) << 53;  // exact in every JSON reader
constexpr int64_t kLargestOffset = 1'000'000'000;

ApiError bad(const std::string& message)
{
    return {400, message};
}

// The one value of a parameter: absent is fine, twice is not.
ApiError single(const Params& params, const char* name, std::optional<std::string>& out)
{
    auto [first, last] = params.equal_range(name);
    if (first == last)
        return {};
    if (std::next(first) != last)
        return bad(std::string("the parameter \"") + name + "\" is given twice");
    out = first->second;
    return {};
}

// Plain decimal digits within [low, high].
bool readInteger(const std::string& text, int64_t low, int64_t high, int64_t& out)
{
    if (text.empty() || text.size() > 16)
        return false;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return false;
    out = value;
    return true;
}

// A string member of the body: absent or not a string is a 400; longer than
// limit a 413.
ApiError stringMember(const json::Document& body, const char* name, size_t limit, bool required, std::string& out)
{
    json::NodePtr node = body.root()->get(name);
    if (!node->isValid()) {
        if (required)
            return bad(std::string("\"") + name + "\" is missing");
        out.clear();
        return {};
    }
    if (!node->isString())
        return bad(std::string("\"") + name + "\" is not a text");
    out = node->stringValue();
    if (out.size() > limit)
        return {413, std::string("\"") + name + "\" is longer than " + std::to_string(limit) + " bytes"};
    if (!isPlayerText(out))
        return bad(std::string("\"") + name + "\" is not plain text");
    return {};
}

// "request_id": absent, or kMinRequestIdBytes to kMaxRequestIdBytes letters,
// digits, '-' and '_'. A registration's id is as secret as a key (its repeat
// gets the player a new one), so no answer ever quotes it.
ApiError requestIdMember(const json::Document& body, std::string& out)
{
    json::NodePtr node = body.root()->get("request_id");
    out.clear();
    if (!node->isValid())
        return {};
    const std::string text = node->isString() ? node->stringValue() : std::string();
    const bool fits =
        text.size() >= kMinRequestIdBytes && text.size() <= kMaxRequestIdBytes &&
        std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
        });
    if (!fits)
        return bad("\"request_id\" is " + std::to_string(kMinRequestIdBytes) + " to " +
                   std::to_string(kMaxRequestIdBytes) + " letters, digits, '-' or '_'");
    out = text;
    return {};
}

// Reads count hex digits at text[at] into value.
bool hexDigits(const std::string& text, size_t at, size_t count, uint32_t& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (size_t k = at; k < at + count; ++k) {
        const char c = text[k];
        const int digit = c >= '0' && c <= '9' ? c - '0'
            : c >= 'a' && c <= 'f'             ? c - 'a' + 10
            : c >= 'A' && c <= 'F'             ? c - 'A' + 10
                                               : -1;
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return true;
}

// The parser keeps texts as C strings and puts "?" for half a surrogate
// pair: a text escaping a NUL would arrive cut short and one with a lone
// surrogate changed, so both are refused before it sees them. Escapes it
// would refuse anyway are left to it.
bool escapesBadCharacter(const std::string& text)
{
    bool inString = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (!inString || c != '\\') {
            if (c == '"')
                inString = !inString;
            continue;
        }
        ++at;
        uint32_t unit = 0;
        if (at >= text.size() || text[at] != 'u' || !hexDigits(text, at + 1, 4, unit))
            continue;
        at += 4;
        if (unit == 0 || (unit >= 0xDC00 && unit <= 0xDFFF))
            return true;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            uint32_t low = 0;
            if (text.compare(at + 1, 2, "\\u") != 0 || !hexDigits(text, at + 3, 4, low) || low < 0xDC00 || low > 0xDFFF)
                return true;
            at += 6;
        }
    }
    return false;
}

ApiError readObject(const std::string& text, json::Document& out)
{
    if (escapesBadCharacter(text))
        return bad("a text in the body holds a character no text may hold (an escaped NUL or half a surrogate pair)");
    // The parser's own message quotes the body: it is not for the caller.
    out = json::Document::parse(text);
    if (!out.isValid())
        return bad("the body is not JSON (UTF-8 text)");
    if (!out.root()->isObject())
        return bad("the body is not a JSON object");
    return {};
}

ApiError base64Member(const json::Document& body, const char* name, size_t limit, std::string& out)
{
    json::NodePtr node = body.root()->get(name);
    if (!node->isString())
        return bad(std::string("\"") + name + "\" is missing or not a text");
    const std::string& text = node->stringValue();
    if (base64DecodedSizeAtMost(text.size()) > limit + 2)
        return {413, std::string("\"") + name + "\" is larger than " + std::to_string(limit) + " bytes"};
    if (!base64Decode(text, out))
        return bad(std::string("\"") + name + "\" is not base64");
    if (out.size() > limit)
        return {413, std::string("\"") + name + "\" is larger than " + std::to_string(limit) + " bytes"};
    return {};
}

// %XX is the byte XX and + a space; a % without two hex digits after it is
// itself.
std::string urlDecode(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        uint32_t byte = 0;
        if (text[at] == '%' && hexDigits(text, at + 1, 2, byte)) {
            out += static_cast<char>(byte);
            at += 2;
        } else {
            out += text[at] == '+' ? ' ' : text[at];
        }
    }
    return out;
}

// The length of the character at text[at] when it is one a player may type
// (UTF-8, not a control character), else 0.
size_t plainCharLength(const std::string& text, size_t at)
{
    uint32_t code = 0;
    const size_t length = decodeUtf8(text, at, code);
    // C0 controls, DEL and the C1 controls.
    return length == 0 || code < 0x20 || (code >= 0x7F && code < 0xA0) ? 0 : length;
}

// Characters that are not drawn but change the text around them: Unicode's
// format characters (Cf: the direction marks and overrides, zero-width
// spaces and joiners, the byte-order mark, the soft hyphen...) and the line
// and paragraph separators. A nickname shown beside others must not hide or
// reverse their text.
bool isFormatCharacter(uint32_t code)
{
    return inRanges(code,
                    {{0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
                     {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
                     {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
                     {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
                     {0xE0020, 0xE007F}});
}

// A nickname (already plain text) that players can see and read as it is:
// no format character, and something that shows once blanks and what draws
// nothing are left out.
ApiError checkNicknameShown(const std::string& nickname)
{
    for (size_t at = 0; at < nickname.size();) {
        uint32_t code = 0;
        const size_t length = decodeUtf8(nickname, at, code);
        if (length == 0 || isFormatCharacter(code))
            return bad("the nickname holds an invisible formatting character (such as a direction mark, a "
                       "zero-width space or a byte-order mark)");
        at += length;
    }
    if (nicknameKey(nickname).empty())
        return bad("the nickname has no visible character");
    return {};
}

}  // namespace

bool isPlayerText(const std::string& text)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = plainCharLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

Params readQuery(const std::string& target)
{
    Params out;
    const size_t mark = target.find('?');
    if (mark == std::string::npos)
        return out;
    size_t at = mark + 1;
    while (at <= target.size()) {
        const size_t end = std::min(target.find('&', at), target.size());
        const std::string pair = target.substr(at, end - at);
        const size_t equals = pair.find('=');
        std::string name = urlDecode(pair.substr(0, equals));
        if (!name.empty())
            out.emplace(std::move(name),
                        equals == std::string::npos ? std::string() : urlDecode(pair.substr(equals + 1)));
        at = end + 1;
    }
    return out;
}

bool isJsonType(const std::string& contentType)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t first = 0;
    size_t last = std::min(contentType.find(';'), contentType.size());
    while (first < last && blank(contentType[first]))
        ++first;
    while (last > first && blank(contentType[last - 1]))
        --last;
    static const char kJsonType[] = "application/json";
    return last - first == sizeof(kJsonType) - 1 &&
        strncasecmp(contentType.c_str() + first, kJsonType, sizeof(kJsonType) - 1) == 0;
}

ApiError readCredentials(const Params& params, bool required, std::optional<Credentials>& out)
{
    out.reset();
    std::optional<std::string> id, key;
    if (ApiError e = single(params, "id", id))
        return e;
    if (ApiError e = single(params, "key", key))
        return e;
    if (!id && !key) {
        if (required)
            return {401, "this needs a registered player: give \"id\" and \"key\""};
        return {};
    }
    if (!id || !key)
        return bad("\"id\" and \"key\" go together");
    Credentials c;
    if (!readInteger(*id, 1, kLargestId, c.playerId))
        return bad("\"id\" is not a player id");
    if (key->empty() || key->size() > kMaxKeyBytes)
        return {401, "unknown player or wrong key"};
    c.key = *key;
    out = c;
    return {};
}

ApiError readSearch(const Params& params, std::string& out)
{
    std::optional<std::string> search;
    if (ApiError e = single(params, "search", search))
        return e;
    out = search.value_or("");
    if (out.size() > kMaxSearchBytes)
        return bad("the search is longer than " + std::to_string(kMaxSearchBytes) + " bytes");
    if (!isPlayerText(out))
        return bad("the search is not plain text");
    return {};
}

ApiError readPageQuery(const Params& params, PageQuery& out)
{
    PageQuery q;
    std::optional<std::string> order, offset, limit;
    for (auto [name, value] : {std::pair{"order", &order}, std::pair{"offset", &offset}, std::pair{"limit", &limit}}) {
        if (ApiError e = single(params, name, *value))
            return e;
    }
    if (order) {
        if (*order == "newest")
            q.order = Order::Newest;
        else if (*order == "rating")
            q.order = Order::TopRated;
        else if (*order == "downloads")
            q.order = Order::MostDownloaded;
        else
            return bad("\"order\" is one of newest, rating, downloads");
    }
    if (offset && !readInteger(*offset, 0, kLargestOffset, q.offset))
        return bad("\"offset\" is a count from 0");
    q.limit = kDefaultPageSize;
    if (limit && !readInteger(*limit, 1, kMaxPageSize, q.limit))
        return bad("\"limit\" is 1 to " + std::to_string(kMaxPageSize));
    if (ApiError e = readSearch(params, q.search))
        return e;
    out = q;
    return {};
}

ApiError readWorldId(const std::string& text, int64_t& out)
{
    if (!readInteger(text, 1, kLargestId, out))
        return bad("not a world id");
    return {};
}

ApiError readNewPlayer(const std::string& body, NewPlayer& out)
{
    json::Document doc;
    if (ApiError e = readObject(body, doc))
        return e;
    NewPlayer p;
    if (ApiError e = stringMember(doc, "nickname", kMaxNicknameBytes, true, p.nickname))
        return e;
    if (p.nickname.empty())
        return bad("the nickname is empty");
    if (ApiError e = checkNicknameShown(p.nickname))
        return e;
    if (ApiError e = stringMember(doc, "UUID", kMaxPlatformTextBytes, false, p.platformId))
        return e;
    if (ApiError e = stringMember(doc, "device_model", kMaxPlatformTextBytes, false, p.deviceModel))
        return e;
    if (ApiError e = requestIdMember(doc, p.requestId))
        return e;
    out = std::move(p);
    return {};
}

ApiError readUpload(const std::string& body, size_t maxBlobBytes, size_t maxScreenshotBytes, Upload& out)
{
    json::Document doc;
    if (ApiError e = readObject(body, doc))
        return e;
    Upload u;
    if (ApiError e = stringMember(doc, "name", kMaxWorldNameBytes, true, u.name))
        return e;
    if (u.name.empty())
        return bad("the world's name is empty");
    if (ApiError e = stringMember(doc, "description", kMaxDescriptionBytes, false, u.description))
        return e;
    if (ApiError e = base64Member(doc, "data", maxBlobBytes, u.blob))
        return e;
    if (ApiError e = base64Member(doc, "screenshot", maxScreenshotBytes, u.screenshot))
        return e;
    if (ApiError e = requestIdMember(doc, u.requestId))
        return e;
    out = std::move(u);
    return {};
}

ApiError readRating(const std::string& body, int& stars)
{
    json::Document doc;
    if (ApiError e = readObject(body, doc))
        return e;
    json::NodePtr rating = doc.root()->get("rating");
    if (!rating->isInt() || rating->intValue() < 1 || rating->intValue() > 5)
        return bad("\"rating\" is a whole number of stars from 1 to 5");
    stars = static_cast<int>(rating->intValue());
    return {};
}

std::string errorJson(const std::string& message)
{
    std::string plain;
    for (size_t at = 0; at < message.size();) {
        const size_t length = plainCharLength(message, at);
        plain += length ? message.substr(at, length) : "?";
        at += std::max<size_t>(length, 1);
    }
    return json::objectJson({json::stringNode("error", plain)});
}

std::string isoDate(int64_t secondsSince1970)
{
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    if (!gmtime_r(&t, &parts))
        return "1970-01-01T00:00:00Z";
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

const char* orderName(Order order)
{
    switch (order) {
    case Order::TopRated: return "rating";
    case Order::MostDownloaded: return "downloads";
    case Order::Newest: break;
    }
    return "newest";
}

namespace {

json::NodePtr worldNode(const WorldInfo& w, bool withDescription, int myRating)
{
    auto node = json::Node::makeObject();
    node->append(json::intNode("id", w.id));
    node->append(json::stringNode("name", w.name));
    if (withDescription)
        node->append(json::stringNode("description", w.description));
    node->append(json::stringNode("author", w.author));
    node->append(json::intNode("author_id", w.authorId));
    node->append(json::stringNode("date", isoDate(w.created)));
    // Two decimals: enough for stars, and the same text on every machine.
    node->append(json::doubleNode("rating", std::round(w.average() * 100.0) / 100.0));
    node->append(json::intNode("ratings", w.ratings));
    node->append(json::intNode("downloads", w.downloads));
    if (myRating >= 0)
        node->append(json::intNode("my_rating", myRating));
    return node;
}

}  // namespace

std::string worldJson(const WorldInfo& world, bool withDescription, int myRating)
{
    return worldNode(world, withDescription, myRating)->toJson();
}

std::string pageJson(int64_t count, const PageQuery& query, const std::vector<WorldInfo>& worlds)
{
    auto list = json::Node::makeArray("worlds");
    for (const WorldInfo& w : worlds)
        list->append(worldNode(w, false, -1));
    return json::objectJson({json::intNode("count", count), json::stringNode("order", orderName(query.order)),
                             json::intNode("offset", query.offset), json::intNode("limit", query.limit), list});
}

}  // namespace gallery
