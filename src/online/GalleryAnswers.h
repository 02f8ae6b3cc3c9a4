#pragma once
// The gallery's answers from the world-sharing server, read and checked
// before the game uses them: the JSON shape, every number in its range,
// every text within its size. A body that fails any check is refused whole.
#include <cstdint>
#include <string>
#include <vector>

// One world as the gallery shows it.
struct GalleryWorld {
    int32_t id = 0;
    std::string name;
    std::string description;  // details only
    std::string author;
    int32_t authorId = 0;
    std::string date;     // as the server wrote it ("2026-12-08T10:00:00Z")
    double rating = 0.0;  // average stars, 0 to 5
    int32_t ratings = 0;
    int32_t downloads = 0;
    int32_t myRating = -1;  // the player's own stars, 0 when none; -1 when not asked for the player
};

struct GalleryPage {
    int32_t count = 0;  // worlds in the whole list
    int32_t offset = 0;
    std::vector<GalleryWorld> worlds;
};

struct GalleryRating {
    double rating = 0.0;
    int32_t ratings = 0;
};

namespace galleryanswer {

constexpr size_t kMaxPageWorlds = 50;
constexpr size_t kMaxScreenshotBytes = 512 * 1024;

bool readCount(const std::string& body, int32_t& count, std::string& why);
bool readPage(const std::string& body, GalleryPage& page, std::string& why);
bool readWorld(const std::string& body, GalleryWorld& world, std::string& why);
bool readNewWorldId(const std::string& body, int32_t& id, std::string& why);
bool readRating(const std::string& body, GalleryRating& rating, std::string& why);
bool readDeleted(const std::string& body, int32_t id, std::string& why);
// A PNG's signature and a size within the limit.
bool readScreenshot(const std::string& body, std::string& why);
// The server's own words in an error answer ({"error": "..."}), cut to a
// line a popup can show; empty when the body has none.
std::string errorMessage(const std::string& body);

}  // namespace galleryanswer
