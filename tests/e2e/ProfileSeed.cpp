// Writes the profile a scripted run starts from, where the game keeps it
// (XDG_DATA_HOME as the game reads it): a named player whose story is
// finished, and optionally the best day reached in some game modes and
// more campaigns finished (by their index in the profile's flags).
//   e2e_profile_seed <name> [<mode>=<best day>...] [finished=<campaign>...]
// Exits 0 when the profile was written, 1 when not, 2 on bad use.
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

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_profile_seed <name> [<mode>=<best day>...] [finished=<campaign>...]\n");
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
        if (pair.substr(0, eq) == "finished") {
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
