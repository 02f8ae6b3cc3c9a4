// What the player is told when the disk refuses a save, and what stays.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <string>

#include "base/LocalUtils.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/ScreenUtils.h"
#include "profile/Profile.h"
#include "support/Readability.h"
#include "support/SavedWorldsFixture.h"

USING_NS_CC;

namespace gametest {
namespace {

class SaveFailures : public SavedWorlds {
protected:
    static std::string shownText()
    {
        GUIPopup* popup = GUIPopup::getInstance();
        return popup->isShown() && popup->getMessageLabel() ? popup->getMessageLabel()->getText()->getString()
                                                            : std::string();
    }

    // Runs the step with files limited to `bytes`: a longer write fails as
    // on a full disk, with the system's own error.
    static void withFilesOfAtMost(rlim_t bytes, const std::function<void()>& step)
    {
        struct rlimit before;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
        struct rlimit limited = before;
        limited.rlim_cur = bytes;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        step();
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
    }
};

TEST_F(SaveFailures, AProfileThatCannotBeWrittenIsToldOnceAndTheOldOneStays)
{
    testsupport::LanguageTable english("en");
    enterScene(false);
    Profile* profile = Profile::getInstance();
    profile->load(true);
    profile->setMana(3500);
    profile->save();
    const std::vector<char> stored = cloudBytes("profile.dat");
    ASSERT_FALSE(stored.empty());

    // A mission paid on a disk that cannot take the profile.
    profile->setMana(3550);
    withFilesOfAtMost(1000, [&] { profile->save(); });
    stepSeconds(0.2f);
    EXPECT_EQ(shownText(), "Your progress could not be saved: file too large");
    EXPECT_EQ(cloudBytes("profile.dat"), stored) << "the old profile stays whole";
    EXPECT_EQ(profile->getMana(), 3550) << "the game goes on with what was earned";
    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(0.5f);

    // Failing again and again (each loss of focus saves) says nothing more.
    withFilesOfAtMost(1000, [&] { profile->save(); });
    stepSeconds(0.5f);
    EXPECT_EQ(shownText(), "");
    EXPECT_EQ(ScreenUtils::pendingNotice(), nullptr);

    // A save that works, then one that fails: told again.
    profile->save();
    EXPECT_NE(cloudBytes("profile.dat"), stored);
    withFilesOfAtMost(1000, [&] { profile->save(); });
    stepSeconds(0.2f);
    EXPECT_EQ(shownText(), "Your progress could not be saved: file too large");
}

// The usual reasons in the player's words, in each language.
TEST_F(SaveFailures, TheReasonIsSaidInThePlayersLanguage)
{
    enterScene(false);
    Profile* profile = Profile::getInstance();
    profile->load(true);
    const struct {
        const char* language;
        int error;
        const char* text;
    } cases[] = {
        {"en", ENOSPC, "Your progress could not be saved: no space left on the disk"},
        {"en", EROFS, "Your progress could not be saved: the disk is read-only"},
        {"en", EACCES, "Your progress could not be saved: the save folder may not be written to"},
        {"fr", ENOSPC, "Ta progression n'a pas pu être enregistrée : il n'y a plus de place sur le disque"},
        {"es", ENOSPC, "No se pudo guardar tu progreso: no queda espacio en el disco"},
    };
    const auto realWrite = gameServices().fileWrite;
    const auto realError = gameServices().lastFileWriteError;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testsupport::LanguageTable table(c.language);
        const int error = c.error;
        gameServices().fileWrite = [](const std::string&, const void*, int32_t) { return false; };
        gameServices().lastFileWriteError = [error] { return error; };
        profile->save();
        stepSeconds(0.2f);
        EXPECT_EQ(shownText(), c.text);
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(0.5f);
        // Saved again, so the next failure is told.
        gameServices().fileWrite = realWrite;
        gameServices().lastFileWriteError = realError;
        profile->save();
    }
}

}  // namespace
}  // namespace gametest
