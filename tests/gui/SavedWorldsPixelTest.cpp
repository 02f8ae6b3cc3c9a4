// The saved-worlds screen as a player reads it: the rows, the folder tabs and
// the buttons at 4.5:1 against what lies under them, and every caption inside
// its button in the three languages. With TESMORA_TEST_FRAMES set, the
// English frame is saved there.
#include <cstdlib>

#include "gui/GUIButton.h"
#include "hud/GUISaveLoad.h"
#include "support/Readability.h"
#include "support/SavedWorldsFixture.h"

USING_NS_CC;

namespace gametest {
namespace {

using SavedWorldsSheets = SavedWorlds;

TEST_F(SavedWorldsSheets, TheRowsTabsAndButtonsRead)
{
    enterScene(false);
    for (const char* universe : {"Beach 2", "Volcano"}) {
        name(universe);
        ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    }
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        CCScene* scene = GUISaveLoad::scene();
        CCDirector::sharedDirector()->pushScene(scene);
        stepSeconds(1.0f);
        GUISaveLoad* screen = nullptr;
        for (CCObject* child : *scene->getChildren())
            if (auto* s = dynamic_cast<GUISaveLoad*>(child))
                screen = s;
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->getRowCount(), 2);
        if (std::string(language) == "en") {
            stepFrames(1);
            if (const char* folder = std::getenv("TESMORA_TEST_FRAMES"); folder && *folder) {
                CCImage* frame = CCEGLView::sharedOpenGLView()->captureFrame();
                frame->saveToFile((std::string(folder) + "/saved_worlds.png").c_str(), false);
                frame->release();
            }
        }
        testsupport::expectReadable(screen, std::string(language) + " saved worlds");
        for (const testsupport::CaptionFit& fit : testsupport::captionFits(screen))
            EXPECT_TRUE(fit.fits) << language << ": \"" << fit.caption << "\" is " << fit.caption_.size.width
                                  << " wide, its button " << fit.button.size.width;
        CCDirector::sharedDirector()->popScene();
        stepSeconds(1.0f);
    }
}

}  // namespace
}  // namespace gametest
