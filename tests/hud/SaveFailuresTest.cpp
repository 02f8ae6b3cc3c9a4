// What the player is told when the disk refuses a save, and what stays.
#include <cerrno>
#include <fstream>
#include <functional>
#include <string>

#include "base/LocalUtils.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/ScreenUtils.h"
#include "hud/GUISaveLoad.h"
#include "profile/Profile.h"
#include "scene/WorldPictures.h"
#include "world/CCMutableTexture2D.h"
#include "support/FileSizeLimit.h"
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
        const testsupport::FileSizeLimit limit(bytes);
        ASSERT_TRUE(limit.applied());
        step();
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
    EXPECT_EQ(shownText(), "Your progress could not be saved: file too large.");
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
    EXPECT_EQ(shownText(), "Your progress could not be saved: file too large.");
}

// The usual reasons in the player's words, in each language, the same for
// the progress and a world, whose earlier save is spoken of only if it has one.
TEST_F(SaveFailures, TheReasonIsSaidInThePlayersLanguage)
{
    enterScene(false);
    Profile* profile = Profile::getInstance();
    profile->load(true);
    name("Mine");
    const struct {
        const char* language;
        int error;
        const char* progress;
        const char* world;       // never saved before
        const char* savedWorld;  // saved before (nullptr: not tried)
    } cases[] = {
        {"en", ENOSPC, "Your progress could not be saved: no space left on the disk.",
         "Your world could not be saved: no space left on the disk.",
         "Your world could not be saved: no space left on the disk. Any earlier save of it is kept."},
        {"en", EROFS, "Your progress could not be saved: the disk is read-only.",
         "Your world could not be saved: the disk is read-only.", nullptr},
        {"en", EACCES, "Your progress could not be saved: the save folder may not be written to.",
         "Your world could not be saved: the save folder may not be written to.", nullptr},
        {"fr", ENOSPC, "Ta progression n'a pas pu être enregistrée\xC2\xA0: il n'y a plus de place sur le disque.",
         "Ton monde n'a pas pu être sauvegardé\xC2\xA0: il n'y a plus de place sur le disque.",
         "Ton monde n'a pas pu être sauvegardé\xC2\xA0: il n'y a plus de place sur le disque. Sa sauvegarde "
         "précédente est conservée."},
        {"es", ENOSPC, "No se pudo guardar tu progreso: no queda espacio en el disco.",
         "No se pudo guardar tu mundo: no queda espacio en el disco.",
         "No se pudo guardar tu mundo: no queda espacio en el disco. Se conserva su copia anterior."},
    };
    const auto realWrite = gameServices().fileWrite;
    const auto realError = gameServices().lastFileWriteError;
    auto answer = [&] {
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(0.5f);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progress);
        testsupport::LanguageTable table(c.language);
        const int error = c.error;
        auto refuse = [&] {
            gameServices().fileWrite = [](const std::string&, const void*, int32_t) { return false; };
            gameServices().lastFileWriteError = [error] { return error; };
        };
        refuse();
        profile->save();
        stepSeconds(0.2f);
        EXPECT_EQ(shownText(), c.progress);
        answer();
        layer->getGUI()->onSaveButton(nullptr);
        stepSeconds(0.2f);
        EXPECT_EQ(shownText(), c.world);
        answer();
        // Saved again, so the next failure is told.
        gameServices().fileWrite = realWrite;
        gameServices().lastFileWriteError = realError;
        profile->save();
        if (c.savedWorld) {
            ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
            refuse();
            layer->getGUI()->onSaveButton(nullptr);
            answer();  // yes, over the earlier save
            EXPECT_EQ(shownText(), c.savedWorld);
            answer();
            gameServices().fileWrite = realWrite;
            gameServices().lastFileWriteError = realError;
            platform::CloudStorage::fileDelete("User/Mine.sav");
        }
    }
}

class PictureFailures : public SaveFailures {
protected:
    // The row's picture: its sprite that is neither its bar nor its title.
    static CCSprite* rowPicture(GUISaveLoad* screen, int row)
    {
        auto* item = static_cast<CCMenuItemSprite*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(row)));
        for (CCObject* child : *item->getChildren()) {
            auto* sprite = dynamic_cast<CCSprite*>(child);
            if (sprite && !dynamic_cast<GUILabel*>(sprite) && sprite != item->getNormalImage() &&
                sprite != item->getSelectedImage())
                return sprite;
        }
        return nullptr;
    }
};

// The disk has room for the world but not for its picture.
TEST_F(PictureFailures, APictureTheDiskRefusesIsNotStoredAndTheListDrawsTheWorld)
{
    enterScene(false);
    paintBlock("Sand", 20, 20, 6);
    saveAs("Pic");
    ASSERT_GT(platform::CloudStorage::getFileSize("User/Pic.png"), 0) << "an older picture of the name";

    paintBlock("Stone", 60, 40, 10);
    const auto realWrite = gameServices().fileWrite;
    {
        testsupport::FileSizeLimit limit(40);
        ASSERT_TRUE(limit.applied());
        // The store's own writes (the world) go through; the picture's file does not.
        gameServices().fileWrite = [&](const std::string& file, const void* data, int32_t size) {
            return limit.lifted([&] { return realWrite(file, data, size); });
        };
        name("Pic");
        EXPECT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved) << "the world itself is whole";
    }
    gameServices().fileWrite = realWrite;
    EXPECT_FALSE(platform::CloudStorage::fileExists("User/Pic.png")) << "neither a cut picture nor the old one";
    EXPECT_FALSE(std::ifstream(SaveLoadUtils::localCachePath("User/Pic.png")).good());

    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 1);
    CCSprite* picture = rowPicture(screen, 0);
    ASSERT_NE(picture, nullptr);
    auto* texture = dynamic_cast<CCMutableTexture2D*>(picture->getTexture());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getContentSize().width, 120);
    EXPECT_EQ(texture->getPixelAt(65, 45).a, 255);
    const ccColor4B stone = texture->getPixelAt(65, 45), empty = texture->getPixelAt(100, 70);
    EXPECT_FALSE(stone.r == empty.r && stone.g == empty.g && stone.b == empty.b) << "the stone shows";
    // Drawn as the world shows once loaded (the stone's shade is drawn by chance).
    std::vector<char> blob = cloudBytes("User/Pic.sav");
    ASSERT_TRUE(world->load(NSData::dataWithBytesNoCopy(blob.data(), static_cast<uint32_t>(blob.size()))));
    auto* shown = dynamic_cast<CCMutableTexture2D*>(WorldPictures::createWorldSnapshot()->getTexture());
    ASSERT_NE(shown, nullptr);
    for (const CCPoint at : {ccp(100, 70), ccp(5, 3), ccp(0, 0), ccp(119, 40)}) {
        const ccColor4B want = shown->getPixelAt(at), got = texture->getPixelAt(at);
        EXPECT_TRUE(want.r == got.r && want.g == got.g && want.b == got.b && want.a == got.a)
            << at.x << ", " << at.y << ": " << int(got.r) << " " << int(got.g) << " " << int(got.b) << " instead of "
            << int(want.r) << " " << int(want.g) << " " << int(want.b);
    }
    EXPECT_GT(platform::CloudStorage::getFileSize("User/Pic.png"), 0) << "kept as its picture once drawn";
}

// A picture file left empty or broken (by an earlier run) is drawn again.
TEST_F(PictureFailures, AnEmptyOrBrokenPictureIsDrawnAgain)
{
    enterScene(false);
    paintBlock("Stone", 60, 40, 10);
    saveAs("empty");
    saveAs("broken");
    platform::CloudStorage::fileWrite("User/empty.png", "", 0);
    testsupport::writeFile(SaveLoadUtils::localCachePath("User/empty.png"), "");
    platform::CloudStorage::fileWrite("User/broken.png", "no picture", 10);
    testsupport::writeFile(SaveLoadUtils::localCachePath("User/broken.png"), "no picture");

    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        CCSprite* picture = rowPicture(screen, row);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->getContentSize().width, 120);
    }
    EXPECT_GT(platform::CloudStorage::getFileSize("User/empty.png"), 10);
    EXPECT_GT(platform::CloudStorage::getFileSize("User/broken.png"), 10);
}

}  // namespace
}  // namespace gametest
