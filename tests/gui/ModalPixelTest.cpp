// The modal windows drawn by the software renderer: the confirm panel, the
// keyboard's captions, the progress fill and the stars, a hint's lines clear
// of one another; and a frame of every popup kind for the test scene. With
// TESMORA_TEST_FRAMES set, each frame is saved there.
#include <cmath>
#include <map>
#include <tuple>

#include "WindowsFixture.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "support/Readability.h"
#include "hud/GUI.h"

USING_NS_CC;
using guitest::Held;
using guitest::ModalTest;

namespace {

bool near(const ccColor4B& a, int r, int g, int b, int tolerance = 3)
{
    return std::abs(a.r - r) <= tolerance && std::abs(a.g - g) <= tolerance && std::abs(a.b - b) <= tolerance;
}

std::string describe(const ccColor4B& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

}  // namespace

class ModalPixels : public ModalTest {
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        // White behind everything, so the dimming shows.
        scene()->addChild(CCLayerColor::create(ccc4(255, 255, 255, 255), 800, 600), -2);
    }
    // 4 x the UI scale: 3.125 on the 800 x 600 test screen.
    static float s() { return static_cast<float>(4.0 * screenRatio); }
    // The screen point of panel point (x, y) for a panel of w x h centred on the screen.
    static CCPoint onPanel(float w, float h, float x, float y)
    {
        return ccp(400 - w * s() / 2 + x * s(), 300 - h * s() / 2 + y * s());
    }
    ccColor4B atPoint(const CCPoint& p) const { return at(static_cast<int>(p.x), static_cast<int>(p.y)); }
    int countColour(int x0, int y0, int x1, int y1, int r, int g, int b) const
    {
        int count = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                count += near(at(x, y), r, g, b, 2);
        return count;
    }
};

TEST_F(ModalPixels, TheConfirmPanelIsCentredAtFourTimesTheUiScaleOverA200Dimming)
{
    ScreenUtils::showPopup(CCString::create("Reset the world?"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Confirm);
    stepSeconds(0.15f);
    drawScene();
    saveFrame("popup_confirm");
    // White under black at 200 of 255.
    const int dim = 255 - 200;
    EXPECT_TRUE(near(at(5, 5), dim, dim, dim)) << describe(at(5, 5));
    // 176 x 112 at 3.125: x 125..675, y 125..475.
    for (const auto& [x, y] : {std::pair{122, 300}, std::pair{678, 300}, std::pair{400, 478}}) {
        EXPECT_TRUE(near(at(x, y), dim, dim, dim)) << x << "," << y << " " << describe(at(x, y));
    }
    for (const auto& [x, y] : {std::pair{128, 300}, std::pair{672, 300}, std::pair{400, 472}, std::pair{300, 200}}) {
        EXPECT_FALSE(near(at(x, y), dim, dim, dim)) << x << "," << y;
    }
    // The message in (36, 75, 98), from panel point (29, 72) up.
    const CCPoint text = onPanel(176, 112, 29, 72);
    EXPECT_GT(countColour(static_cast<int>(text.x), static_cast<int>(text.y), 670, 470, 36, 75, 98), 20);
}

TEST_F(ModalPixels, ShiftedKeyCaptionsAreDrawnInTheirOtherCase)
{
    ScreenUtils::showKeyboard(nullptr, nullptr, nullptr);
    stepSeconds(0.15f);
    // The first key of the top row: panel point (2, 60), 19 x 18.
    const CCPoint low = onPanel(240, 168, 2, 60), high = onPanel(240, 168, 21, 78);
    auto caption = [&] {
        std::vector<bool> ink;
        for (int y = static_cast<int>(low.y) + 2; y < static_cast<int>(high.y) - 2; ++y)
            for (int x = static_cast<int>(low.x) + 2; x < static_cast<int>(high.x) - 2; ++x)
                ink.push_back(at(x, y).r > 240 && at(x, y).g > 240 && at(x, y).b > 240);
        return ink;
    };
    drawScene();
    saveFrame("keyboard_plain");
    const std::vector<bool> plain = caption();
    executeAction(GUIKeyboard::getInstance()->getShiftKey()->getCallback());
    drawScene();
    saveFrame("keyboard_shifted");
    const std::vector<bool> shifted = caption();
    EXPECT_NE(plain, shifted);
    EXPECT_NE(GUIKeyboard::getInstance()->keyWithCaption("Q"), nullptr);
    int inked = 0;
    for (bool on : shifted)
        inked += on;
    EXPECT_GT(inked, 10);
}

TEST_F(ModalPixels, TheBarFillsToHalfInGreenAndTurnsRedAfterAFailure)
{
    ScreenUtils::showUploadProgress();
    GUIProgressBar::getInstance()->setTargetProgress(50);
    stepFrames(60);
    drawScene();
    saveFrame("progress_half");
    // The fill: panel (18, 39), 122 x 4, of a 160 x 60 panel; half is 61.
    const CCPoint quarter = onPanel(160, 60, 18 + 30, 41), threeQuarters = onPanel(160, 60, 18 + 91, 41);
    EXPECT_TRUE(near(atPoint(quarter), 70, 200, 90)) << describe(atPoint(quarter));
    EXPECT_FALSE(near(atPoint(threeQuarters), 70, 200, 90)) << describe(atPoint(threeQuarters));
    const CCPoint cap = onPanel(160, 60, 18 + 61 + 1, 41);
    EXPECT_TRUE(near(atPoint(cap), 230, 255, 230)) << describe(atPoint(cap));

    GUIProgressBar::getInstance()->setResultText(CCString::create("NetError1"));
    ScreenUtils::showProgressFailure();
    stepFrames(60);
    drawScene();
    saveFrame("progress_failed");
    EXPECT_TRUE(near(atPoint(quarter), 210, 50, 50)) << describe(atPoint(quarter));
    EXPECT_TRUE(near(atPoint(threeQuarters), 210, 50, 50)) << describe(atPoint(threeQuarters));
}

TEST_F(ModalPixels, StarsUpToTheRatingAreLit)
{
    Held<GUI> gui;
    ScreenUtils::showRatePopup(2.7f, gui.get());
    drawScene();
    saveFrame("rate_stars");
    for (int i = 0; i < GUIRate::kStars; ++i) {
        const CCPoint centre = onPanel(130, 52, 17.0f * static_cast<float>(i) + 8 + 7, 34 + 6.5f);
        const ccColor4B c = atPoint(centre);
        if (i <= 2) {
            EXPECT_TRUE(near(c, 250, 210, 60)) << i << " " << describe(c);
        } else {
            EXPECT_TRUE(near(c, 120, 120, 120)) << i << " " << describe(c);
        }
    }
}

TEST_F(ModalPixels, EveryPopupKindDrawsItsPanel)
{
    Profile::getInstance()->setDay(1);
    GUIPopup* popup = GUIPopup::getInstance();
    popup->setPurchaseInfo(CCString::create("Hint"), CCString::create("popups_exclamation.png"), 50,
                           CCString::create("A nudge in the right direction."));
    const char* names[] = {"confirm", "purchase", "message", "disclaimer", "hints", "static_confirm"};
    for (int kind = 0; kind <= 5; ++kind) {
        SCOPED_TRACE(names[kind]);
        ScreenUtils::showPopup(CCString::create("Are you sure?"), nullptr, nullptr, nullptr, nullptr, kind);
        stepSeconds(0.15f);
        drawScene();
        saveFrame(std::string("popup_") + names[kind]);
        EXPECT_FALSE(near(at(400, 300), 55, 55, 55));
        EXPECT_TRUE(near(at(3, 300), 55, 55, 55));
        popup->hide();
        stepSeconds(0.35f);
    }
}

// A bought hint wrapped over lines: every letter below the first line has a
// clear font row above its ink, however it sits under the line above ("É"
// under "autour"'s "u" on day 6 in French, "Á" under "tierra" on day 22 in
// Spanish, an ascender under a descender in English).
TEST_F(ModalPixels, TheLinesOfAHintKeepTheirAccentsClearOfTheLineAbove)
{
    for (const auto& [language, day, accented] :
         {std::tuple{"fr", 6, "\xC3\x89"}, std::tuple{"es", 22, "\xC3\x81"}, std::tuple{"en", 6, ""}}) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        Profile::getInstance()->setGameMode(0);
        Profile::getInstance()->setDay(day);
        Profile::getInstance()->setLevelHint(GUIPopup::hintSlot(0, day), 3u);
        ScreenUtils::showPopup(CCString::create(""), nullptr, nullptr, nullptr, nullptr, GUIPopup::Hints);
        stepSeconds(0.15f);
        drawScene();
        saveFrame(std::string("hints_accents_") + language);
        auto* label = dynamic_cast<GUILabel*>(GUIPopup::getInstance()->getButtonContainer()->getChildByTag(89));
        ASSERT_NE(label, nullptr);
        // Each glyph's character from its place in the font image.
        std::map<std::pair<float, float>, std::string> keys;
        for (const auto& [key, rect] : GUILabel::fontFrames)
            keys[{rect.origin.x, rect.origin.y}] = key;
        int checked = 0, accents = 0;
        for (CCObject* object : *label->getChildren()) {
            auto* glyph = static_cast<CCSprite*>(object);
            const CCPoint cell = ccpSub(glyph->getTextureRect().origin, label->getTextureRect().origin);
            const std::string key = keys[{cell.x, cell.y}];
            if (glyph->getPosition().y >= 0 || !GUILabel::fontInk.count(key))
                continue;  // on the first line, or a space
            // The font row above the glyph's first inked row, a pixel in from
            // its edges (the renderer rounds the glyphs' places).
            const CCRect box = testsupport::screenBox(glyph);
            const float unit = box.size.height / glyph->getContentSize().height;
            const float top = box.getMaxY() - unit * GUILabel::fontInk[key].top;
            int touching = 0;
            for (float y = top + 1; y <= top + unit - 1; y += 1)
                for (float x = box.getMinX() + 1; x <= box.getMaxX() - 1; x += 1)
                    touching += near(at(static_cast<int>(x), static_cast<int>(y)), 255, 255, 255, 30);
            EXPECT_EQ(touching, 0) << "\"" << key << "\" touches the line above";
            ++checked;
            accents += key == accented;
        }
        EXPECT_GT(checked, 20);
        EXPECT_TRUE(accents > 0 || !*accented) << accented << " stands on the first line";
        GUIPopup::getInstance()->hide();
        stepSeconds(0.35f);
    }
}
