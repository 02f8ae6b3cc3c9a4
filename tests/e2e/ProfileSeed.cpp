// Writes the profile a scripted run starts from, where the game keeps it
// (XDG_DATA_HOME as the game reads it): a named player whose story is
// finished, and optionally the best day reached in some game modes and
// more campaigns finished (by their index in the profile's flags).
//   e2e_profile_seed <name> [<mode>=<best day>...] [finished=<campaign>...] [mana=<n>]
// Exits 0 when the profile was written, 1 when not, 2 on bad use.
// With --expect it reads the profile a run left instead: its mana and the
// best day of a game mode, each against the value wanted.
//   e2e_profile_seed --expect [mana=<n>] [best<mode>=<day>]...
// Exits 0 when all match, 1 when one does not, 2 on bad use.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "platform/PlatformServices.h"
#include "profile/Profile.h"
#include "screens/GameWiring.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace {

int expectFields(int argc, char** argv)
{
    Profile* profile = Profile::getInstance();
    profile->load(false);
    if (!profile->isLoaded()) {
        std::fprintf(stderr, "profile seed: no profile to read\n");
        return 1;
    }
    bool ok = true;
    for (int i = 0; i < argc; ++i) {
        const std::string pair = argv[i];
        const size_t eq = pair.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "profile seed: '%s' is not <field>=<value>\n", argv[i]);
            return 2;
        }
        const std::string field = pair.substr(0, eq);
        int got = 0;
        if (field == "mana") {
            got = profile->getMana();
        } else if (field.rfind("best", 0) == 0) {
            got = profile->getBestDay(std::atoi(field.c_str() + 4));
        } else {
            std::fprintf(stderr, "profile seed: no field '%s'\n", field.c_str());
            return 2;
        }
        const int wanted = std::atoi(pair.c_str() + eq + 1);
        std::printf("profile seed: %s is %d (wanted %d)\n", field.c_str(), got, wanted);
        ok = ok && got == wanted;
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: e2e_profile_seed <name> [<mode>=<best day>...] [finished=<campaign>...] [mana=<n>]\n"
                     "       e2e_profile_seed --expect [mana=<n>] [best<mode>=<day>]...\n");
        return 2;
    }
    CCEGLView::setRunMode(kCCRunModeHeadless);
    CCEGLView::sharedOpenGLView()->setFrameSize(800, 600);
    computeScreenMetrics(CCDirector::sharedDirector()->getWinSizeInPixels());
    // The game's own start: its save folder and the store the profile is kept in.
    const platform::StartResult started = platform::PlatformServices::start();
    if (!started.ok || !initSaveFolder()) {
        std::fprintf(stderr, "profile seed: no save folder: %s\n", started.cause.c_str());
        return 1;
    }
    installGameHost();
    if (std::string(argv[1]) == "--expect")
        return expectFields(argc - 2, argv + 2);
    Profile* profile = Profile::getInstance();
    profile->load(false);
    profile->setNickname(CCString::create(argv[1]));
    profile->setCompletionFlag(CampaignIndex::Story, 1);
    for (int i = 2; i < argc; ++i) {
        const std::string pair = argv[i];
        const size_t eq = pair.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "profile seed: '%s' is not <mode>=<best day>\n", argv[i]);
            return 2;
        }
        const int value = std::atoi(pair.substr(eq + 1).c_str());
        if (pair.substr(0, eq) == "mana") {
            profile->setMana(value);
        } else if (pair.substr(0, eq) == "finished") {
            if (value < 0 || value >= CampaignIndex::Count) {
                std::fprintf(stderr, "profile seed: no campaign %d\n", value);
                return 2;
            }
            profile->setCompletionFlag(value, 1);
        } else {
            profile->setBestDay(std::atoi(pair.substr(0, eq).c_str()), value);
        }
    }
    profile->save();
    if (!gameServices().fileExists("profile.dat")) {
        std::fprintf(stderr, "profile seed: the profile was not written\n");
        return 1;
    }
    std::printf("profile seed: %s, story finished, in %s\n", argv[1], saveFolder.c_str());
    platform::PlatformServices::shutdown();
    return 0;
}
