#include "online/GalleryAnswers.h"

#include <cmath>
#include <cstring>

#include "base/json/Json.h"

namespace galleryanswer {

namespace {

constexpr size_t kMaxShortText = 64;
constexpr size_t kMaxLongText = 1024;
constexpr size_t kMaxErrorText = 200;

bool fail(std::string& why, const std::string& reason)
{
    why = reason;
    return false;
}

bool readObject(const std::string& body, json::Document& doc, std::string& why)
{
    doc = json::Document::parse(body);
    if (!doc.isValid())
        return fail(why, "not JSON: " + doc.error());
    if (!doc.root()->isObject())
        return fail(why, "not a JSON object");
    return true;
}

bool readInt(const json::Node& object, const char* name, int64_t low, int64_t high, int32_t& out, std::string& why)
{
    json::NodePtr node = object.get(name);
    if (!node->isInt() || node->intValue() < low || node->intValue() > high)
        return fail(why, std::string("\"") + name + "\" missing or out of range");
    out = static_cast<int32_t>(node->intValue());
    return true;
}

bool readText(const json::Node& object, const char* name, size_t limit, bool required, std::string& out,
              std::string& why)
{
    json::NodePtr node = object.get(name);
    if (!node->isValid() && !required)
        return true;
    if (!node->isString() || node->stringValue().size() > limit)
        return fail(why, std::string("\"") + name + "\" missing, not a text or too long");
    out = node->stringValue();
    return true;
}

bool readStars(const json::Node& object, double& out, std::string& why)
{
    json::NodePtr node = object.get("rating");
    const double value = node->doubleValue(-1.0);
    if (!node->isNumber() || !std::isfinite(value) || value < 0.0 || value > 5.0)
        return fail(why, "\"rating\" missing or out of range");
    out = value;
    return true;
}

bool readWorldObject(const json::Node& object, GalleryWorld& w, std::string& why)
{
    if (!object.isObject())
        return fail(why, "a world is not an object");
    return readInt(object, "id", 1, INT32_MAX, w.id, why) &&
        readText(object, "name", kMaxShortText, true, w.name, why) &&
        readText(object, "description", kMaxLongText, false, w.description, why) &&
        readText(object, "author", kMaxShortText, true, w.author, why) &&
        readInt(object, "author_id", 1, INT32_MAX, w.authorId, why) &&
        readText(object, "date", kMaxShortText, true, w.date, why) && readStars(object, w.rating, why) &&
        readInt(object, "ratings", 0, INT32_MAX, w.ratings, why) &&
        readInt(object, "downloads", 0, INT32_MAX, w.downloads, why) &&
        (!object.get("my_rating")->isValid() || readInt(object, "my_rating", 0, 5, w.myRating, why));
}

}  // namespace

bool readCount(const std::string& body, int32_t& count, std::string& why)
{
    json::Document doc;
    int32_t value = 0;
    if (!readObject(body, doc, why) || !readInt(*doc.root(), "count", 0, INT32_MAX, value, why))
        return false;
    count = value;
    return true;
}

bool readPage(const std::string& body, GalleryPage& page, std::string& why)
{
    json::Document doc;
    GalleryPage read;
    if (!readObject(body, doc, why) || !readInt(*doc.root(), "count", 0, INT32_MAX, read.count, why) ||
        !readInt(*doc.root(), "offset", 0, INT32_MAX, read.offset, why))
        return false;
    json::NodePtr worlds = doc.root()->get("worlds");
    if (!worlds->isArray() || worlds->size() > kMaxPageWorlds)
        return fail(why, "\"worlds\" missing or longer than a page");
    for (const json::NodePtr& node : worlds->children()) {
        GalleryWorld w;
        if (!readWorldObject(*node, w, why))
            return false;
        read.worlds.push_back(std::move(w));
    }
    page = std::move(read);
    return true;
}

bool readWorld(const std::string& body, GalleryWorld& world, std::string& why)
{
    json::Document doc;
    GalleryWorld read;
    if (!readObject(body, doc, why) || !readWorldObject(*doc.root(), read, why))
        return false;
    world = std::move(read);
    return true;
}

bool readNewWorldId(const std::string& body, int32_t& id, std::string& why)
{
    json::Document doc;
    int32_t value = 0;
    if (!readObject(body, doc, why) || !readInt(*doc.root(), "id", 1, INT32_MAX, value, why))
        return false;
    id = value;
    return true;
}

bool readRating(const std::string& body, GalleryRating& rating, std::string& why)
{
    json::Document doc;
    GalleryRating read;
    if (!readObject(body, doc, why) || !readStars(*doc.root(), read.rating, why) ||
        !readInt(*doc.root(), "ratings", 1, INT32_MAX, read.ratings, why))
        return false;
    // Whole stars from 1 to 5, at least one rating: the average is too.
    if (read.rating < 1.0)
        return fail(why, "\"rating\" below one star");
    rating = read;
    return true;
}

bool readDeleted(const std::string& body, int32_t id, std::string& why)
{
    json::Document doc;
    int32_t deleted = 0;
    if (!readObject(body, doc, why) || !readInt(*doc.root(), "id", 1, INT32_MAX, deleted, why))
        return false;
    if (deleted != id || !doc.root()->get("deleted")->boolValue())
        return fail(why, "the answer names another world");
    return true;
}

bool readScreenshot(const std::string& body, std::string& why)
{
    static const char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    if (body.size() > kMaxScreenshotBytes)
        return fail(why, "the screenshot is larger than any the server keeps");
    if (body.size() < 8 || std::memcmp(body.data(), kSignature, 8) != 0)
        return fail(why, "the screenshot is not a PNG picture");
    return true;
}

std::string errorMessage(const std::string& body)
{
    json::Document doc = json::Document::parse(body);
    std::string text = doc.find("error")->stringValue();
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    if (text.size() > kMaxErrorText) {
        text.resize(kMaxErrorText);
        // Never end inside a character.
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0)
            text.pop_back();
    }
    return text;
}

}  // namespace galleryanswer
