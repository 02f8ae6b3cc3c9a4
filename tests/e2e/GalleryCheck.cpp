// What the end-to-end gallery run left behind, read through the game's own
// code: on the server, the one world of its name with its average rating,
// number of ratings and downloads (the game's requests); in a player's
// profile, kept where the game keeps it (XDG_DATA_HOME), progress words at
// their counts.
//   e2e_gallery_check --world <server url> <name> <rating> <ratings> <downloads>
// (one world of that name: a second is a copy nobody meant); the world found
// by its name downloaded by the profile's player into a file:
//   e2e_gallery_check --data <server url> <name> <file>
//   e2e_gallery_check --words <offset>=<count>...
// And, for playing by hand, a fresh server filled with shared worlds: the
// prepared worlds, each with its picture as the game draws it, shared by
// three players (Ann, Bob and Cleo) who rate and download some of each
// other's.
//   e2e_gallery_check --seed <server url> <count>
// Prints what it found; exits 0 when all holds, 1 when not, 2 on bad use.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/LocalUtils.h"
#include "base/NSData.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "online/NetworkManager.h"
#include "online/ServerLink.h"
#include "platform/PlatformServices.h"
#include "profile/Profile.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"
#include "world/GameServices.h"
#include "world/World.h"

USING_NS_CC;

namespace {

// Drains the network until `done` holds; false after a minute.
bool waitFor(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        NetworkManager::getInstance().runPendingActions();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool startGame(bool drawing)
{
    CCEGLView::setRunMode(drawing ? kCCRunModeSoftware : kCCRunModeHeadless);
    CCEGLView::sharedOpenGLView()->setFrameSize(800, 600);
    computeScreenMetrics(CCDirector::sharedDirector()->getWinSizeInPixels());
    const platform::StartResult started = platform::PlatformServices::start();
    if (!started.ok || !initSaveFolder()) {
        std::fprintf(stderr, "gallery check: no save folder: %s\n", started.cause.c_str());
        return false;
    }
    registerAllElements();
    initColorsAndShadows();
    // English words for what goes wrong.
    if (!localizationTable)
        if ((localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist")))
            localizationTable->retain();
    installGameHost();
    return NetworkManager::init();
}

// The worlds of that name on the server, or nothing when it does not answer.
bool worldsNamed(const std::string& url, const std::string& name, std::vector<GalleryWorld>& found)
{
    ServerLink* link = ServerLink::getInstance();
    link->setBaseUrl(url);
    GalleryPage page;
    bool answered = false;
    link->requestWorldPage(
        GalleryOrder::Newest, 0, 50, name,
        [&](const GalleryPage& p) {
            page = p;
            answered = true;
        },
        [&](const GalleryFailure& failure) {
            std::fprintf(stderr, "gallery check: no page: %s\n", failure.words().c_str());
            answered = true;
        });
    if (!waitFor([&] { return answered; }))
        return false;
    for (const GalleryWorld& w : page.worlds)
        if (w.name == name)
            found.push_back(w);
    if (found.empty())
        std::fprintf(stderr, "gallery check: no world named \"%s\" among %zu\n", name.c_str(), page.worlds.size());
    return !found.empty();
}

int checkWorld(const std::string& url, const std::string& name, double rating, int ratings, int downloads)
{
    std::vector<GalleryWorld> found;
    if (!startGame(false) || !worldsNamed(url, name, found))
        return 1;
    for (const GalleryWorld& w : found)
        std::printf("gallery check: world %d \"%s\" by %s: rating %.2f of %d, %d downloads\n", w.id, w.name.c_str(),
                    w.author.c_str(), w.rating, w.ratings, w.downloads);
    if (found.size() != 1)
        std::fprintf(stderr, "gallery check: %zu worlds named \"%s\": a second is a copy nobody meant\n", found.size(),
                     name.c_str());
    const GalleryWorld& w = found.front();
    return found.size() == 1 && std::fabs(w.rating - rating) < 0.005 && w.ratings == ratings && w.downloads == downloads
        ? 0
        : 1;
}

int downloadWorld(const std::string& url, const std::string& name, const std::string& file)
{
    std::vector<GalleryWorld> found;
    if (!startGame(false) || !worldsNamed(url, name, found))
        return 1;
    Profile::getInstance()->load(false);
    std::string data;
    bool answered = false;
    ServerLink::getInstance()->downloadWorld(
        found.front().id,
        [&](const std::string& got) {
            data = got;
            answered = true;
        },
        [&](const GalleryFailure& failure) {
            std::fprintf(stderr, "gallery check: no data: %s\n", failure.words().c_str());
            answered = true;
        });
    if (!waitFor([&] { return answered; }) || data.empty())
        return 1;
    FILE* out = std::fopen(file.c_str(), "wb");
    const bool written = out && std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (out)
        std::fclose(out);
    std::printf("gallery check: world %d \"%s\": %zu bytes into %s\n", found.front().id, name.c_str(), data.size(),
                file.c_str());
    return written ? 0 : 1;
}

int checkWords(int argc, char** argv)
{
    if (!startGame(false))
        return 1;
    Profile* profile = Profile::getInstance();
    profile->load(false);
    bool ok = true;
    for (int i = 0; i < argc; ++i) {
        const std::string pair = argv[i];
        const size_t eq = pair.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "gallery check: '%s' is not <offset>=<count>\n", argv[i]);
            return 2;
        }
        const int offset = std::atoi(pair.substr(0, eq).c_str());
        const int wanted = std::atoi(pair.substr(eq + 1).c_str());
        const int got = profile->getProgressWord(static_cast<size_t>(offset));
        std::printf("gallery check: word %d is %d (wanted %d)\n", offset, got, wanted);
        ok = ok && got == wanted;
    }
    return ok ? 0 : 1;
}

struct Account {
    int32_t id = 0;
    std::string key;
};

// A new player under the name, or under "Ann 2", "Ann 3"... when earlier
// seeds took it: a server seeded before is seeded again as new players.
// Says why when it cannot.
bool registerSeedPlayer(const std::string& name, Account& account)
{
    Profile* profile = Profile::getInstance();
    std::string failure;
    gameServices().showMessageText = [&failure](const std::string& words) { failure = words.empty() ? "?" : words; };
    for (int n = 1; n <= 99; ++n) {
        const std::string nickname = n == 1 ? name : name + " " + std::to_string(n);
        failure.clear();
        profile->setPrivateKey(CCString::create("Unconfigured"));
        profile->setNickname(CCString::create(nickname));
        ServerLink::getInstance()->createPlayer(profile, nullptr, nullptr);
        if (!waitFor([&] { return profile->isRegistered() || !failure.empty(); })) {
            std::fprintf(stderr, "gallery check: %s: no answer from the server within a minute\n", nickname.c_str());
            return false;
        }
        if (profile->isRegistered()) {
            account = {profile->getPlayerId(), profile->getPrivateKey()->getString()};
            std::printf("gallery check: player %s is %d\n", nickname.c_str(), account.id);
            return true;
        }
        if (failure != LocalUtils::localize("NetErrorNameTaken")->getString()) {
            std::fprintf(stderr, "gallery check: %s not registered: %s\n", nickname.c_str(), failure.c_str());
            return false;
        }
    }
    std::fprintf(stderr, "gallery check: every name from %s to %s 99 is taken\n", name.c_str(), name.c_str());
    return false;
}

int seed(const std::string& url, int count)
{
    if (!startGame(true))
        return 1;
    ServerLink* link = ServerLink::getInstance();
    link->setBaseUrl(url);
    static const char* const players[] = {"Ann", "Bob", "Cleo"};
    static const char* const names[] = {"Islands",    "Lava lake", "Snowfall",   "Meadow",     "Geysers",   "Old mill",
                                        "Volcano",    "Canyon",    "Reef",       "Orchard",    "Ice cave",  "Dunes",
                                        "Harbour",    "Fireworks", "Greenhouse", "Swamp",      "Waterfall", "Mine",
                                        "Lighthouse", "Circuit",   "Beehive",    "Rainforest", "Tundra",    "Glacier",
                                        "Oasis",      "Quarry",    "Lagoon",     "Ruins",      "Marsh",     "Crater"};
    Profile* profile = Profile::getInstance();
    Account accounts[3];
    for (int p = 0; p < 3; ++p)
        if (!registerSeedPlayer(players[p], accounts[p]))
            return 1;
    World& world = GameLayer::getInstance()->getWorld();
    const std::string root = CCFileUtils::sharedFileUtils()->getResourceRoot();
    int shared = 0;
    for (int i = 0; i < count; ++i) {
        const std::string day = root + "/universes/Missions/Day" + std::to_string(1 + i % 30);
        NSData* blob = NSData::dataWithContentsOfFile(day.c_str());
        if (!blob || !world.load(blob)) {
            std::fprintf(stderr, "gallery check: the prepared world %s does not load\n", day.c_str());
            return 1;
        }
        CCImage* image = ScreenUtils::renderNodeToImage(ScreenUtils::createWorldSnapshot());
        const std::string path = saveFolder + "/seed.png";
        const bool drawn = image && image->saveToFile(path.c_str(), false);
        if (image)
            image->release();
        NSData* picture = drawn ? NSData::dataWithContentsOfFile(path.c_str()) : nullptr;
        if (!picture) {
            std::fprintf(stderr, "gallery check: no picture of %s (%s)\n", day.c_str(), path.c_str());
            return 1;
        }
        const Account& author = accounts[i % 3];
        profile->setPlayerId(author.id);
        profile->setPrivateKey(CCString::create(author.key));
        bool done = false;
        const std::string name = std::string(names[i % 30]) + (i >= 30 ? " " + std::to_string(i / 30 + 1) : "");
        link->uploadWorld(
            name, "A prepared world of the story, shared for the gallery.",
            std::string(reinterpret_cast<const char*>(blob->bytes), blob->length),
            std::string(reinterpret_cast<const char*>(picture->bytes), picture->length),
            [&](int32_t id) {
                ++shared;
                // The other two rate it and play it, more for some worlds than others.
                for (int other = 1; other <= 2; ++other) {
                    const Account& player = accounts[(i + other) % 3];
                    profile->setPlayerId(player.id);
                    profile->setPrivateKey(CCString::create(player.key));
                    if ((i + other) % 4 != 0)
                        link->rateWorld(
                            id, 1 + (i * 7 + other * 3) % 5, [](const GalleryRating&) {}, [](const GalleryFailure&) {});
                    if ((i + other) % 3 != 0)
                        link->downloadWorld(
                            id, [](const std::string&) {}, [](const GalleryFailure&) {});
                }
                done = true;
            },
            [&](const GalleryFailure& failure) {
                std::fprintf(stderr, "gallery check: %s not shared: %s\n", name.c_str(), failure.words().c_str());
                done = true;
            });
        if (!waitFor([&] { return done; })) {
            std::fprintf(stderr, "gallery check: %s: no answer from %s within a minute\n", name.c_str(), url.c_str());
            return 1;
        }
    }
    // The ratings and downloads on their way.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    NetworkManager::getInstance().runPendingActions();
    std::printf("gallery check: %d worlds shared on %s\n", shared, url.c_str());
    return shared == count ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--world" && argc == 7)
        return checkWorld(argv[2], argv[3], std::atof(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    if (mode == "--data" && argc == 5)
        return downloadWorld(argv[2], argv[3], argv[4]);
    if (mode == "--words" && argc > 2)
        return checkWords(argc - 2, argv + 2);
    if (mode == "--seed" && argc == 4 && std::atoi(argv[3]) > 0)
        return seed(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr,
                 "usage: e2e_gallery_check --world <server url> <name> <rating> <ratings> <downloads>\n"
                 "       e2e_gallery_check --data <server url> <name> <file>\n"
                 "       e2e_gallery_check --words <offset>=<count>...\n"
                 "       e2e_gallery_check --seed <server url> <count>\n");
    return 2;
}
