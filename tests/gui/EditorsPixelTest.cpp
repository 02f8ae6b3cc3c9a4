// The device editors as a player reads them: the power and instrument
// editors open over the world with every label at 4.5:1 against what lies
// under it and every caption inside its button, in the three languages. With TESMORA_TEST_FRAMES set, the English
// frames are saved.
#include "elements/materials/Instruments.h"
#include "elements/materials/Wiring.h"
#include "hud/DeviceEditors.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace gametest {
namespace {

class EditorSheets : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
    }
    void check(CCNode* window, const std::string& name, const std::string& language)
    {
        ASSERT_NE(window, nullptr) << name;
        stepSeconds(0.5f);
        if (language == "en")
            testsupport::saveTestFrame("editor_" + name);
        testsupport::expectReadable(window, language + " " + name);
        testsupport::expectCaptionsFit(window, language + " " + name);
    }
};

TEST_F(EditorSheets, ThePowerAndInstrumentEditorsRead)
{
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        auto* power = dynamic_cast<Power*>(world->addParticle(20, 20, Power::kTypeId, true));
        ASSERT_NE(power, nullptr);
        power->onTouch();
        check(dynamic_cast<CCNode*>(power->editor), "power", language);
        world->removeParticle(20, 20);
        stepFrames(1);

        auto* guitar = dynamic_cast<Instrument*>(world->addParticle(30, 30, Guitar::kTypeId, true));
        ASSERT_NE(guitar, nullptr);
        guitar->onTouch();
        check(dynamic_cast<CCNode*>(guitar->editor), "guitar", language);
        world->removeParticle(30, 30);
        stepFrames(1);
    }
}

}  // namespace
}  // namespace gametest
