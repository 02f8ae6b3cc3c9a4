// The element palette and the menus the bar opens: what is offered, what a
// pick paints, and what the world settings change.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/GameSceneFixture.h"
#include "profile/Profile.h"
#include "gui/GUIButton.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "hud/PixelMarket.h"
#include "world/ParticleCreator.h"
#include "world/TemperatureField.h"

USING_NS_CC;

namespace {

class Palette : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        bar = GUITopBar::getInstance();
        gui = layer->getGUI();
        testsupport::testHost().freePlay = true;
        bar->buildFreeModeBar();
    }
    void TearDown() override
    {
        gui->setEverythingAvailable(true);
        gui->clearAvailableItems();
        GameScene::TearDown();
    }
    static bool has(const std::vector<std::string>& v, const std::string& s)
    {
        return std::find(v.begin(), v.end(), s) != v.end();
    }

    GUITopBar* bar = nullptr;
    GUI* gui = nullptr;
};

TEST_F(Palette, EveryAcceptedNameIsInTheTableOrTheInternalList)
{
    std::set<std::string> table;
    for (const PaletteEntry& e : paletteTable()) {
        EXPECT_TRUE(table.insert(e.name).second) << "listed twice: " << e.name;
        EXPECT_FALSE(isInternalElement(e.name)) << e.name;
    }
    for (const std::string& name : ParticleCreator::acceptedNames())
        EXPECT_TRUE(table.count(name) || isInternalElement(name)) << name;
    EXPECT_FALSE(table.count("Clear")) << "the eraser is no element";
}

TEST_F(Palette, AvailabilityFollowsFreePlayTheFlagAndTheAllowedItems)
{
    struct Case {
        bool freePlay;
        bool everything;
        std::vector<std::string> allowed;
        const char* name;
        bool available;
    };
    const Case cases[] = {
        {true, false, {}, "Sand", true},        {false, true, {}, "Sand", true},
        {false, false, {"Sand"}, "Sand", true}, {false, false, {"Sand"}, "Water", false},
        {false, false, {}, "Clear", false},     {false, false, {"Clear"}, "Clear", true},
        {false, false, {"Zoom"}, "Zoom", true},
    };
    for (const Case& c : cases) {
        testsupport::testHost().freePlay = c.freePlay;
        gui->setEverythingAvailable(c.everything);
        gui->clearAvailableItems();
        for (const std::string& a : c.allowed)
            gui->addAvailableItem(a);
        EXPECT_EQ(gui->isAvailable(c.name), c.available) << c.name << " free " << c.freePlay;
    }
}

TEST_F(Palette, FreePlayOffersEveryBuiltElementAndTheEraserALockedDayOnlyItsOwn)
{
    const std::vector<std::string> all = gui->paletteNames();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "Clear") << "the eraser comes first";
    for (const PaletteEntry& e : paletteTable())
        EXPECT_EQ(has(all, e.name), ParticleCreator::isBuilt(hashString(e.name))) << e.name;

    testsupport::testHost().freePlay = false;
    gui->setEverythingAvailable(false);
    gui->addAvailableItem("Sand");
    gui->addAvailableItem("Water");
    EXPECT_EQ(gui->paletteNames(), (std::vector<std::string>{"Sand", "Water"})) << "the eraser only where allowed";
    gui->addAvailableItem("Clear");
    EXPECT_EQ(gui->paletteNames(), (std::vector<std::string>{"Clear", "Sand", "Water"}));
}

TEST_F(Palette, APickedElementIsWhatTheToolsPaintAndTheBarShows)
{
    bar->onElementMenuButton(nullptr);
    stepFrames(20);
    ASSERT_EQ(gui->getState(), GUIWindow::Open);
    GUIButton* sand = nullptr;
    for (CCObject* o : *gui->getMenuContent()->getChildren()) {
        auto* b = dynamic_cast<GUIButton*>(o);
        auto* call = b ? dynamic_cast<CCCallFuncO*>(b->getCallback()) : nullptr;
        auto* name = call ? dynamic_cast<CCString*>(call->getObject()) : nullptr;
        if (name && name->getString() == "Sand")
            sand = b;
    }
    ASSERT_NE(sand, nullptr);
    const CCPoint at =
        sand->getParent()->convertToWorldSpace(ccp(sand->getPosition().x + 20, sand->getPosition().y - 20));
    press(at.x, at.y);
    release(at.x, at.y);
    stepFrames(20);
    EXPECT_EQ(gui->getCurrentElement()->getString(), "Sand");
    EXPECT_EQ(GUITopBar::frameOf(bar->getElementMenuButton()->getIcon()), "guitopbar_HUDelement_Sand.png");
    EXPECT_EQ(gui->getState(), GUIWindow::Closed) << "a pick closes the HUD";

    press(400, 300);
    stepFrames(3, 0.015f);
    EXPECT_TRUE(layer->getTouching());
    stepFrames(10);
    release(400, 300);
    stepFrames(2);
    EXPECT_GT(countOf("Sand"), 0) << "the stroke paints sand";
}

TEST_F(Palette, AfterTheEraserTheElementButtonBringsBackTheElementAndThenOpensThePalette)
{
    struct Case {
        const char* picked;  // before the eraser; null: none picked yet
        const char* back;
    };
    // The scene starts with its start element chosen.
    const Case cases[] = {{nullptr, "Soil"}, {"Sand", "Sand"}, {"Water", "Water"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picked ? c.picked : "nothing picked");
        if (c.picked)
            gui->selectElement(c.picked);
        bar->onEraserButton();
        ASSERT_EQ(gui->getCurrentElement()->getString(), "Clear");

        bar->onElementMenuButton(nullptr);
        stepFrames(20);
        EXPECT_EQ(gui->getCurrentElement()->getString(), c.back);
        EXPECT_EQ(GUITopBar::frameOf(bar->getElementMenuButton()->getIcon()),
                  std::string("guitopbar_HUDelement_") + c.back + ".png");
        EXPECT_EQ(gui->getState(), GUIWindow::Closed) << "the first press only brings the element back";

        bar->onElementMenuButton(nullptr);
        stepFrames(30);
        EXPECT_EQ(gui->getState(), GUIWindow::Open) << "the next press opens the palette";
        EXPECT_EQ(gui->getOpenMenu(), GUI::kElementMenu);
        gui->closeMenu();
        stepFrames(30);
    }
}

TEST_F(Palette, PresetsSetTheAmbientAndSwitchesFlipTheWorld)
{
    gui->onPresetPicked(CCInteger::create(4));
    EXPECT_EQ(gui->getTemperatureLevel(), 4);
    stepFrames(3);
    EXPECT_EQ(world->temperatureField.getAmbient(), TemperatureField::ambientForLevel(4));
    EXPECT_NE(GUITopBar::frameOf(bar->getTemperatureIcon()).find("_4.png"), std::string::npos);

    struct Case {
        int which;
        bool (*flag)(World&);
    };
    const Case cases[] = {
        {0, [](World& w) { return w.temperatureField.isViewOn(); }},
        {1, [](World& w) { return w.lightMap.isLightOn(); }},
        {2, [](World& w) { return w.lightMap.isSunOn(); }},
        {3, [](World& w) { return w.weather; }},
    };
    for (const Case& c : cases) {
        const bool before = c.flag(*world);
        gui->onSwitchPicked(CCInteger::create(c.which));
        EXPECT_NE(c.flag(*world), before) << c.which;
    }
    EXPECT_EQ(bar->getLightPicto()->isVisible(), world->lightMap.isLightOn());
    EXPECT_EQ(bar->getSunPicto()->isVisible(), world->lightMap.isSunOn());
    EXPECT_EQ(bar->getCloudsPicto()->isVisible(), world->weather);
    const std::string icon = GUITopBar::frameOf(bar->getTemperatureIcon());
    EXPECT_EQ(icon,
              std::string(world->temperatureField.isViewOn() ? "guitopbar_tempOn_4.png" : "guitopbar_tempOff_4.png"));
}

}  // namespace

namespace {

TEST_F(Palette, TheRequestedElementOutlivesTheFrameThatSetIt)
{
    PixelMarket* market = PixelMarket::getInstance();
    market->setRequestedElement(CCString::create("Acid"));
    CCPoolManager::sharedPoolManager()->drain();
    ASSERT_NE(market->getRequestedElement(), nullptr);
    EXPECT_EQ(market->getRequestedElement()->getString(), "Acid");
    market->setRequestedElement(nullptr);
    EXPECT_EQ(market->getRequestedElement(), nullptr);
    EXPECT_EQ(market->elementPrice("NoSuchElement"), 0) << "no catalogue entry, no price";
    PixelMarket::resetInstanceForTests();
}

}  // namespace

namespace {

class Shop : public Palette {
protected:
    void SetUp() override
    {
        Palette::SetUp();
        auto* elements = CCDictionary::create();
        elements->setObject(CCString::create("40"), "Diamond");
        auto* catalogue = CCDictionary::create();
        catalogue->setObject(elements, "Elements");
        PixelMarket::getInstance()->setCatalogueForTests(catalogue);
    }
    void TearDown() override
    {
        PixelMarket::resetInstanceForTests();
        Palette::TearDown();
    }
};

TEST_F(Shop, APricedElementIsBoughtWithTheManaOrRequestedWithout)
{
    Profile* profile = Profile::getInstance();
    // A fresh profile owns a start set; this test's element is not owned.
    CCArray* owned = profile->getPurchasedElements();
    for (int i = static_cast<int>(owned->count()) - 1; i >= 0; --i)
        if (static_cast<CCString*>(owned->objectAtIndex(static_cast<unsigned>(i)))->getString() == "Diamond")
            owned->removeObjectAtIndex(static_cast<unsigned>(i));
    ASSERT_FALSE(profile->hasPurchasedElement(CCString::create("Diamond")));
    EXPECT_EQ(gui->priceToPay("Diamond"), 40);
    EXPECT_EQ(gui->priceToPay("Sand"), 0) << "not in the catalogue: free";

    profile->setMana(10);
    gui->selectElement("Sand");
    gui->onElementPicked(CCString::create("Diamond"));
    EXPECT_EQ(gui->getCurrentElement()->getString(), "Sand") << "nothing chosen without the mana";
    ASSERT_NE(PixelMarket::getInstance()->getRequestedElement(), nullptr);
    EXPECT_EQ(PixelMarket::getInstance()->getRequestedElement()->getString(), "Diamond");

    profile->setMana(100);
    gui->onElementPicked(CCString::create("Diamond"));
    EXPECT_EQ(gui->getPendingPurchase(), "Diamond") << "the purchase popup asks first";
    ASSERT_NE(GUIPopup::getInstance()->getPurchaseTitle(), nullptr);
    EXPECT_EQ(GUIPopup::getInstance()->getPurchasePrice(), 40.0f) << "the popup shows the price it charges";
    EXPECT_EQ(gui->getCurrentElement()->getString(), "Sand");
    gui->confirmPurchase();
    EXPECT_EQ(profile->getMana(), 60);
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Diamond")));
    EXPECT_EQ(gui->getCurrentElement()->getString(), "Diamond");
    EXPECT_EQ(gui->priceToPay("Diamond"), 0) << "owned now";
    gui->confirmPurchase();
    EXPECT_EQ(profile->getMana(), 60) << "a second confirmation charges nothing";
}

}  // namespace

namespace {

// The shipped catalogue is read as the palette reads it: every priced name is
// one the factory accepts, and the prices reach the palette.
TEST_F(Palette, TheShippedCataloguePricesAcceptedNames)
{
    PixelMarket::resetInstanceForTests();
    PixelMarket* market = PixelMarket::getInstance();
    auto* elements = dynamic_cast<CCDictionary*>(market->getCatalogue()->objectForKey("Elements"));
    ASSERT_NE(elements, nullptr) << "data/shop.plist is missing or has no Elements";
    EXPECT_EQ(elements->count(), 104u);
    std::set<std::string> accepted;
    for (const std::string& name : ParticleCreator::acceptedNames())
        accepted.insert(name);
    CCDictElement* e = nullptr;
    CCDICT_FOREACH(elements, e)
    {
        EXPECT_TRUE(accepted.count(e->getStrKey())) << e->getStrKey();
        EXPECT_GT(market->elementPrice(e->getStrKey()), 0) << e->getStrKey();
    }
    EXPECT_EQ(market->elementPrice("Acid"), 50);
    EXPECT_EQ(market->elementPrice("Tyrannosaurus"), 500);
    auto* backgrounds = dynamic_cast<CCArray*>(market->getCatalogue()->objectForKey("Backgrounds"));
    ASSERT_NE(backgrounds, nullptr);
    EXPECT_EQ(backgrounds->count(), 15u);
    PixelMarket::resetInstanceForTests();
}

}  // namespace
