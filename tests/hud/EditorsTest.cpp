// The element editor windows: one per particle, choices reach the particle,
// closing and the particle's death leave no dangling link either way.
#include <gtest/gtest.h>

#include "support/GameSceneFixture.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Wiring.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/DeviceEditors.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class Editors : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
    }

    template <typename T> T* put(int x, int y) { return dynamic_cast<T*>(world->addParticle(x, y, T::kTypeId, true)); }

    static GUIWindow* current() { return ScreenUtils::getInstance()->getCurrentWindow(); }
};

TEST_F(Editors, ALongPressOpensOnePowerEditorWhoseChoicesReachThePower)
{
    auto* power = put<Power>(20, 20);
    ASSERT_NE(power, nullptr);
    power->period = 16;
    power->onTouch();
    auto* editor = dynamic_cast<PowerEditor*>(power->editor);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->particle, power);
    EXPECT_EQ(current(), editor);
    EXPECT_NE(editor->getParent(), nullptr);
    EXPECT_EQ(editor->getPeriod(), 16) << "starts from the particle's period";
    EXPECT_TRUE(editor->buttonFor(16)->isSelected());

    power->onTouch();
    EXPECT_EQ(power->editor, editor) << "one editor per particle";
    EXPECT_EQ(PowerEditor::open(power), nullptr);

    struct Case {
        int value;
        int period;
    };
    world->unsavedChanges = false;
    for (const Case c : {Case{4, 4}, Case{0, 0}, Case{32, 32}, Case{7, 32}, Case{-1, 32}}) {
        editor->onChoice(CCInteger::create(c.value));
        EXPECT_TRUE(world->unsavedChanges) << "a new world asks before the choice is lost";
        EXPECT_EQ(power->period, c.period) << "choice " << c.value;
        EXPECT_TRUE(editor->buttonFor(c.period)->isSelected()) << "choice " << c.value;
    }
    EXPECT_FALSE(editor->buttonFor(4)->isSelected());
}

TEST_F(Editors, PressingAChoiceButtonOnScreenAppliesIt)
{
    auto* power = put<Power>(20, 20);
    power->onTouch();
    auto* editor = dynamic_cast<PowerEditor*>(power->editor);
    ASSERT_NE(editor, nullptr);
    stepFrames(20);
    ASSERT_EQ(editor->getState(), GUIWindow::Open);
    GUIButton* button = editor->buttonFor(32);
    const CCPoint centre = button->getParent()->convertToWorldSpace(button->getPosition());
    press(centre.x, centre.y);
    release(centre.x, centre.y);
    stepFrames(20);
    EXPECT_EQ(power->period, 32);
}

TEST_F(Editors, RemovingTheParticleClosesItsEditorAndClosingFreesTheParticle)
{
    auto* power = put<Power>(20, 20);
    power->onTouch();
    ParticleEditor* editor = power->editor;
    ASSERT_NE(editor, nullptr);
    editor->retain();
    world->removeParticle(20, 20);
    EXPECT_EQ(editor->particle, nullptr);
    EXPECT_EQ(editor->getParent(), nullptr) << "the window went with the particle";
    EXPECT_EQ(current(), nullptr);
    editor->close();  // touches nothing dead
    editor->release();

    auto* again = put<Power>(20, 20);
    again->onTouch();
    ParticleEditor* second = again->editor;
    ASSERT_NE(second, nullptr);
    stepFrames(20);
    second->retain();
    second->close();
    EXPECT_EQ(again->editor, nullptr) << "closing clears the particle's link";
    stepFrames(20);
    EXPECT_EQ(second->getParent(), nullptr) << "slid out and removed";
    EXPECT_EQ(current(), nullptr);
    second->release();
    world->removeParticle(20, 20);  // no editor to reach
    again = put<Power>(20, 20);
    again->onTouch();
    EXPECT_NE(again->editor, nullptr) << "a new editor after the old one closed";
}

TEST_F(Editors, EachInstrumentOpensItsWindowWithItsOctaves)
{
    struct Case {
        uint32_t type;
        const char* window;
        int octaves;
    };
    const Case cases[] = {{Bass::kTypeId, "BassEditor", 3},
                          {Drums::kTypeId, "DrumsEditor", 0},
                          {Guitar::kTypeId, "GuitarEditor", 3},
                          {Trumpet::kTypeId, "TrumpetEditor", 2},
                          {Note::kTypeId, "NoteEditor", 4}};
    int x = 10;
    for (const Case& c : cases) {
        auto* instrument = dynamic_cast<Instrument*>(world->addParticle(x, 30, c.type, true));
        ASSERT_NE(instrument, nullptr) << c.window;
        instrument->onTouch();
        auto* editor = dynamic_cast<InstrumentEditor*>(instrument->editor);
        ASSERT_NE(editor, nullptr) << c.window;
        EXPECT_EQ(editor->getOctaveCount(), c.octaves) << c.window;
        world->unsavedChanges = false;
        editor->onNote(CCInteger::create(9));
        EXPECT_EQ(instrument->note, 9) << c.window;
        EXPECT_TRUE(world->unsavedChanges) << c.window;
        EXPECT_TRUE(editor->noteButton(9)->isSelected()) << c.window;
        editor->onNote(CCInteger::create(12));
        EXPECT_EQ(instrument->note, 9) << c.window << ": out of range ignored";
        if (c.octaves > 0) {
            editor->onOctave(CCInteger::create(c.octaves - 1));
            EXPECT_EQ(instrument->octave, c.octaves - 1) << c.window;
            editor->onOctave(CCInteger::create(c.octaves));
            EXPECT_EQ(instrument->octave, c.octaves - 1) << c.window << ": out of range ignored";
        }
        world->removeParticle(x, 30);
        EXPECT_EQ(current(), nullptr) << c.window;
        x += 2;
    }
}

// The note editor names the notes as the language's texts do ("do grave");
// the editors' picture check finds them inside their buttons.
TEST_F(Editors, TheNoteEditorNamesTheNotesInThePlayersLanguage)
{
    const struct {
        const char* language;
        const char *first, *second, *third, *last;
    } cases[] = {{"en", "C", "C#", "D", "B"}, {"fr", "do", "do#", "r\xC3\xA9", "si"}, {"es", "do", "do#", "re", "si"}};
    for (const auto& c : cases) {
        testsupport::LanguageTable table(c.language);
        auto* note = dynamic_cast<Instrument*>(world->addParticle(40, 30, Note::kTypeId, true));
        ASSERT_NE(note, nullptr);
        note->onTouch();
        auto* editor = dynamic_cast<InstrumentEditor*>(note->editor);
        ASSERT_NE(editor, nullptr);
        const auto caption = [&](int n) { return editor->noteButton(n)->getLabel()->getText()->getString(); };
        EXPECT_EQ(caption(0), c.first) << c.language;
        EXPECT_EQ(caption(1), c.second) << c.language;
        EXPECT_EQ(caption(2), c.third) << c.language;
        EXPECT_EQ(caption(11), c.last) << c.language;
        world->removeParticle(40, 30);
    }
}

// An editor closes with its cross, and with a touch beside its panel; a
// touch on the panel between its buttons leaves it open.
TEST_F(Editors, TheCrossOrATouchBesideThePanelClosesAnEditor)
{
    for (bool cross : {true, false}) {
        SCOPED_TRACE(cross ? "cross" : "beside");
        auto* note = put<Note>(20, 20);
        note->onTouch();
        ParticleEditor* editor = note->editor;
        ASSERT_NE(editor, nullptr);
        ASSERT_NE(editor->getCloseButton(), nullptr);
        stepFrames(20);
        const CCPoint middle = editor->getPanel()->getParent()->convertToWorldSpace(editor->getPanel()->getPosition());
        // Between the notes' row and the octaves'.
        press(middle.x, middle.y - 20);
        release(middle.x, middle.y - 20);
        stepFrames(20);
        EXPECT_EQ(note->editor, editor) << "a touch on the panel";
        GUIButton* close = editor->getCloseButton();
        const CCPoint at = cross ? close->getParent()->convertToWorldSpace(close->getPosition()) : ccp(middle.x, 20.0f);
        press(at.x, at.y);
        release(at.x, at.y);
        stepFrames(20);
        EXPECT_EQ(note->editor, nullptr);
        EXPECT_EQ(current(), nullptr);
        world->removeParticle(20, 20);
    }
}

TEST_F(Editors, AWindowNameWithoutAnEditorOpensNothing)
{
    auto* power = put<Power>(20, 20);
    EXPECT_FALSE(openDeviceEditor(*power, "BassEditor")) << "the kind does not match";
    EXPECT_FALSE(openDeviceEditor(*power, "HumanEditor"));
    EXPECT_EQ(power->editor, nullptr);
}

}  // namespace
