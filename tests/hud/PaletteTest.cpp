// The element palette and the menus the bar opens: what is offered, what a
// pick paints, and what the world settings change.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "support/Readability.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "hud/PixelMarket.h"
#include "world/ParticleCreator.h"
#include "world/TemperatureField.h"
#include "world/Tool.h"

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
        if (!localizationTable) {
            // The palette shows localised names.
            localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
            localizationTable->retain();
            ownTable = true;
        }
    }
    void TearDown() override
    {
        gui->setEverythingAvailable(true);
        gui->clearAvailableItems();
        if (ownTable) {
            localizationTable->release();
            localizationTable = nullptr;
        }
        GameScene::TearDown();
    }
    bool ownTable = false;
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

// A press on a bar button does what the button says whatever the tool: with
// the eraser on, the element button brings the element back and opens the
// palette, whose tabs then take the next press (nothing is painted); the
// other menu buttons open their menus.
TEST_F(Palette, WithTheEraserOnTheElementButtonBringsBackTheElementAndOpensThePalette)
{
    struct Case {
        const char* picked;  // before the eraser; null: none picked yet
        const char* back;
        const char* tool;
    };
    // The scene starts with its start element chosen.
    const Case cases[] = {{nullptr, "Soil", "Draw"},
                          {"Sand", "Sand", "Line"},
                          {"Water", "Water", "Fill"},
                          {"Sand", "Sand", "Replace"},
                          {"Water", "Water", "Miner"}};
    const CCPoint middle = ccp(0.5f, -0.5f);  // bar and menu buttons hang from their top left
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        if (c.picked)
            gui->selectElement(c.picked);
        gui->selectTool(c.tool);
        bar->onEraserButton();
        stepFrames(30);
        ASSERT_EQ(gui->getCurrentElement()->getString(), "Clear");

        tapButton(bar->getElementMenuButton(), middle);
        stepFrames(20);
        EXPECT_EQ(gui->getCurrentElement()->getString(), c.back);
        EXPECT_EQ(GUITopBar::frameOf(bar->getElementMenuButton()->getIcon()),
                  std::string("guitopbar_HUDelement_") + c.back + ".png");
        ASSERT_EQ(gui->getState(), GUIWindow::Open) << "one press opens the palette";
        EXPECT_EQ(gui->getOpenMenu(), GUI::kElementMenu);

        GUIButton* liquids = nullptr;
        int tabs = 0;
        for (CCObject* child : *gui->getMenuContent()->getChildren())
            if (auto* button = dynamic_cast<GUIButton*>(child); button && tabs++ == 1)
                liquids = button;
        const int cells = world->particleCount();
        tapButton(liquids, middle);
        EXPECT_EQ(gui->getPaletteFamily(), 1) << "the press went to the tab";
        EXPECT_EQ(world->particleCount(), cells) << "and painted nothing";
        gui->closeMenu();
        stepFrames(30);
    }
    for (GUIButton* button : {bar->getToolButton(), bar->getWorldSettingsButton(), bar->getWorldMenuButton()}) {
        bar->onEraserButton();
        stepFrames(30);
        const int cells = world->particleCount();
        tapButton(button, middle);
        stepFrames(20);
        EXPECT_EQ(gui->getState(), GUIWindow::Open);
        EXPECT_EQ(world->particleCount(), cells);
        gui->closeMenu();
        stepFrames(30);
    }
}

// Any drawing tool picked from the tools menu after the eraser draws with
// the element again.
TEST_F(Palette, AToolPickedAfterTheEraserDrawsWithTheElementAgain)
{
    for (const char* tool : {"Draw", "Line", "Fill"}) {
        SCOPED_TRACE(tool);
        gui->selectElement("Sand");
        bar->onEraserButton();
        ASSERT_EQ(gui->getCurrentElement()->getString(), "Clear");
        gui->onToolPicked(CCString::create(tool));
        EXPECT_EQ(gui->getCurrentElement()->getString(), "Sand");
        EXPECT_EQ(GUITopBar::frameOf(bar->getElementMenuButton()->getIcon()), "guitopbar_HUDelement_Sand.png");
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

// The Miner paints nothing: an element picked or bought while it is the tool
// comes with Draw, shown on the bar; every other tool stays. Where the level
// withholds Draw, the first painting tool it offers.
TEST_F(Shop, AnElementPickedWhileMiningComesWithAToolThatPaintsIt)
{
    Profile* profile = Profile::getInstance();
    struct Case {
        const char* tool;
        bool buy;
        const char* offered;  // the one painting tool a level offers; null: free play
        const char* after;
    };
    const Case cases[] = {{"Miner", false, nullptr, "Draw"},     {"Miner", true, nullptr, "Draw"},
                          {"Miner", false, "Line", "Line"},      {"Fill", false, nullptr, "Fill"},
                          {"Replace", true, nullptr, "Replace"}, {"Line", false, nullptr, "Line"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tool << (c.buy ? ", bought" : ", picked") << ", offered "
                                        << (c.offered ? c.offered : "all"));
        testsupport::testHost().freePlay = !c.offered;
        gui->setEverythingAvailable(!c.offered);
        gui->clearAvailableItems();
        if (c.offered)
            for (const char* item : {"Sand", "Diamond", "Miner", c.offered})
                gui->addAvailableItem(item);
        gui->selectTool(c.tool);
        ASSERT_EQ(GUITopBar::frameOf(bar->getToolButton()->getIcon()), std::string("guitopbar_HUD") + c.tool + ".png");
        const char* element = c.buy ? "Diamond" : "Sand";
        if (c.buy) {
            CCArray* owned = profile->getPurchasedElements();
            for (int i = static_cast<int>(owned->count()) - 1; i >= 0; --i)
                if (static_cast<CCString*>(owned->objectAtIndex(static_cast<unsigned>(i)))->getString() == element)
                    owned->removeObjectAtIndex(static_cast<unsigned>(i));
            profile->setMana(100);
        }
        gui->onElementPicked(CCString::create(element));
        if (c.buy)
            gui->confirmPurchase();
        EXPECT_EQ(gui->getCurrentElement()->getString(), element);
        ASSERT_NE(world->currentTool, nullptr);
        const std::string kinds[] = {"", "Draw", "Line", "Fill", "Replace", "Miner"};
        EXPECT_EQ(kinds[world->currentTool->kind], c.after);
        EXPECT_EQ(GUITopBar::frameOf(bar->getToolButton()->getIcon()), std::string("guitopbar_HUD") + c.after + ".png");
    }
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

namespace {

// The RGBA bytes of a frame of a loaded sheet, row by row.
std::vector<unsigned char> framePixels(const std::string& sheet, const std::string& name, CCSize& size)
{
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name.c_str());
    std::vector<unsigned char> pixels;
    size = CCSize(0, 0);
    if (!frame)
        return pixels;
    auto* image = new CCImage();
    if (image->initWithImageFile(("pvr/" + sheet + ".png").c_str()) && image->getBytesPerPixel() == 4) {
        const CCRect r = frame->getRect();
        size = r.size;
        for (int y = static_cast<int>(r.origin.y); y < static_cast<int>(r.getMaxY()); ++y)
            for (int x = static_cast<int>(r.origin.x); x < static_cast<int>(r.getMaxX()); ++x)
                for (int c = 0; c < 4; ++c)
                    pixels.push_back(image->getData()[(static_cast<size_t>(y) * image->getWidth() + x) * 4 + c]);
    }
    image->release();
    return pixels;
}

// Pixels a player tells apart: one drawn and one not, or a colour channel
// that differs by more than a fifth of its range.
int differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int n = 0;
    for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
        const bool drawnA = a[i + 3] != 0, drawnB = b[i + 3] != 0;
        int most = 0;
        for (int c = 0; c < 3; ++c)
            most = std::max(most, std::abs(int(a[i + c]) - int(b[i + c])));
        n += drawnA != drawnB || (drawnA && most > 51);
    }
    return n;
}

TEST_F(Palette, EveryEntryHasItsOwnIconAndNoTwoAreAlike)
{
    std::vector<std::string> names = {"Clear"};
    for (const PaletteEntry& e : paletteTable())
        names.emplace_back(e.name);
    std::vector<std::vector<unsigned char>> icons;
    for (const std::string& name : names) {
        CCSize size;
        icons.push_back(framePixels("guitopbar", "guitopbar_HUDelement_" + name + ".png", size));
        EXPECT_EQ(size.width, 14) << name;
        EXPECT_EQ(size.height, 14) << name;
        int drawn = 0;
        for (size_t i = 3; i < icons.back().size(); i += 4)
            drawn += icons.back()[i] != 0;
        EXPECT_GE(drawn, 30) << name << ": the icon shows next to nothing";
    }
    // Every pair, so a new recipe cannot copy another element's picture.
    constexpr int kAtLeast = 12;
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j)
            EXPECT_GE(differingPixels(icons[i], icons[j]), kAtLeast)
                << names[i] << " and " << names[j] << " look alike";
}

TEST_F(Palette, EveryElementOnSaleHasItsPurchasePicture)
{
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    auto* elements = dynamic_cast<CCDictionary*>(PixelMarket::getInstance()->getCatalogue()->objectForKey("Elements"));
    ASSERT_NE(elements, nullptr);
    CCDictElement* e = nullptr;
    CCDICT_FOREACH(elements, e)
    {
        CCSize size;
        const std::string name = e->getStrKey();
        EXPECT_FALSE(framePixels("popups", "popups_element_" + name + ".png", size).empty()) << name;
        EXPECT_EQ(size.width, 32) << name;
    }
    PixelMarket::resetInstanceForTests();
}

TEST_F(Palette, EveryNameFamilyAndSaleHasItsTextsInEveryLanguage)
{
    std::vector<std::string> keys = {"ClearTitle"};
    for (const PaletteEntry& e : paletteTable())
        keys.push_back(std::string(e.name) + "Title");
    for (int f = 0; f < kPaletteFamilies; ++f)
        keys.emplace_back(paletteFamilyKey(static_cast<PaletteFamily>(f)));
    // The purchase popup's description of each element on sale.
    auto* sale = dynamic_cast<CCDictionary*>(PixelMarket::getInstance()->getCatalogue()->objectForKey("Elements"));
    ASSERT_NE(sale, nullptr);
    CCDictElement* item = nullptr;
    CCDICT_FOREACH(sale, item)
    {
        keys.push_back(std::string(item->getStrKey()) + "Shop");
    }
    PixelMarket::resetInstanceForTests();
    for (const char* language : {"en", "fr", "es"}) {
        CCDictionary* table =
            CCDictionary::createWithContentsOfFile((std::string("localization/") + language + ".plist").c_str());
        ASSERT_NE(table, nullptr) << language;
        for (const std::string& key : keys) {
            auto* text = dynamic_cast<CCString*>(table->objectForKey(key));
            EXPECT_TRUE(text && !text->getString().empty()) << language << ": " << key;
        }
    }
}

// The entries of the page on show, by element name.
std::map<std::string, GUIButton*> pageEntries(GUI* gui)
{
    std::map<std::string, GUIButton*> entries;
    for (CCObject* o : *gui->getMenuContent()->getChildren()) {
        auto* b = dynamic_cast<GUIButton*>(o);
        auto* call = b ? dynamic_cast<CCCallFuncO*>(b->getCallback()) : nullptr;
        if (auto* name = call ? dynamic_cast<CCString*>(call->getObject()) : nullptr)
            entries[name->getString()] = b;
    }
    return entries;
}

// The texts of the labels on a button, in order.
std::string textsOn(CCNode* node)
{
    std::string texts;
    for (CCObject* o : *node->getChildren())
        if (auto* label = dynamic_cast<GUILabel*>(o); label && label->getText())
            texts += (texts.empty() ? "" : " ") + label->getText()->getString();
    return texts;
}

TEST_F(Palette, EveryFamilyFitsOnePageAndEveryElementIsInOne)
{
    const GUI::PaletteLayout layout = GUI::paletteLayout();
    size_t listed = 0;
    for (int f = 0; f < kPaletteFamilies; ++f) {
        const auto names = GUI::familyNames(f);
        EXPECT_FALSE(names.empty()) << f;
        EXPECT_LE(names.size(), static_cast<size_t>(layout.columns * layout.rows)) << "family " << f;
        listed += names.size();
        for (const std::string& name : names)
            EXPECT_EQ(static_cast<int>(paletteFamilyOf(name)), f) << name;
    }
    EXPECT_EQ(listed, gui->paletteNames().size()) << "free play offers each name on exactly one page";
}

TEST_F(Palette, ItOpensOnTheCurrentElementsFamilyAndTheTabsSwitchPages)
{
    struct Case {
        const char* current;
        PaletteFamily family;
        const char* shownTitle;
    };
    const Case cases[] = {{"Water", PaletteFamily::Liquids, "Water"},
                          {"Sand", PaletteFamily::Powders, "Sand"},
                          {"LedRed", PaletteFamily::Devices, "Red LED"},
                          {"MPLeaderTank", PaletteFamily::Vehicles, "Tank"}};
    for (const Case& c : cases) {
        gui->selectElement(c.current);
        gui->showElementMenu();
        EXPECT_EQ(gui->getPaletteFamily(), static_cast<int>(c.family)) << c.current;
        auto entries = pageEntries(gui);
        ASSERT_TRUE(entries.count(c.current)) << c.current;
        EXPECT_TRUE(entries[c.current]->isSelected()) << "the current element stands out";
        EXPECT_EQ(textsOn(entries[c.current]).rfind(c.shownTitle, 0), 0u)
            << textsOn(entries[c.current]) << ": the entry shows the element's name";
    }
    gui->onPaletteFamilyPicked(CCInteger::create(static_cast<int>(PaletteFamily::Creatures)));
    auto entries = pageEntries(gui);
    EXPECT_TRUE(entries.count("HumanLeader"));
    EXPECT_FALSE(entries.count("Water"));
    int selectedTabs = 0;
    for (CCObject* o : *gui->getMenuContent()->getChildren())
        if (auto* b = dynamic_cast<GUIButton*>(o);
            b && dynamic_cast<CCInteger*>(static_cast<CCCallFuncO*>(b->getCallback())->getObject()))
            selectedTabs += b->isSelected() ? (textsOn(b) == "Creatures" ? 1 : 100) : 0;
    EXPECT_EQ(selectedTabs, 1) << "the creatures tab, and only it, is marked";
}

TEST_F(Palette, EveryNameFitsItsEntryAtOneSizeAboveItsPriceTickOrFreeInEveryLanguage)
{
    // Nothing owned: every priced entry shows its price, the widest badge.
    Profile::getInstance()->getPurchasedElements()->removeAllObjects();
    PixelMarket::resetInstanceForTests();
    CCDictionary* english = localizationTable;
    for (const char* language : {"en", "fr", "es"}) {
        localizationTable =
            CCDictionary::createWithContentsOfFile((std::string("localization/") + language + ".plist").c_str());
        ASSERT_NE(localizationTable, nullptr);
        const std::string free = LocalUtils::localize("PaletteFreeLabel")->getString();
        for (int f = 0; f < kPaletteFamilies; ++f) {
            gui->showPaletteFamily(f);
            for (auto& [element, entry] : pageEntries(gui)) {
                const std::string where = std::string(language) + ": " + element;
                const CCSize room = entry->getContentSize();
                // The badge row along the bottom: a price, a tick or the word for free.
                float badgeTop = 0;
                int statuses = 0;
                std::vector<GUILabel*> lines;
                for (CCObject* c : *entry->getChildren()) {
                    auto* label = dynamic_cast<GUILabel*>(c);
                    auto* sprite = dynamic_cast<CCSprite*>(c);
                    const std::string frame = sprite && !label ? GUITopBar::frameOf(sprite) : std::string();
                    if (frame.find("palettePrice") != std::string::npos ||
                        frame.find("paletteOwned") != std::string::npos || (label && label->getAnchorPoint().x == 1)) {
                        ++statuses;
                        badgeTop = std::max(badgeTop, static_cast<CCNode*>(c)->boundingBox().getMaxY());
                        if (label) {
                            EXPECT_EQ(label->getText()->getString(), free) << where;
                        }
                    } else if (label && label->getText() && !label->getText()->getString().empty()) {
                        lines.push_back(label);
                    }
                }
                EXPECT_EQ(statuses, 1) << where << ": says whether it is free, owned or its price";
                ASSERT_GE(lines.size(), 1u) << where;
                EXPECT_LE(lines.size(), 2u) << where;
                const float descent = GUILabel::baseLine * lines[0]->getScale();
                for (GUILabel* line : lines) {
                    const CCRect box = line->boundingBox();  // from the baseline to the letters' tops
                    const std::string what = where + " \"" + line->getText()->getString() + "\"";
                    EXPECT_NEAR(line->getCumulativeScale(), 4.0f / 3.0f, 0.01f) << what << ": not at the common size";
                    EXPECT_GE(box.getMinX(), 15) << what << " runs into the icon";
                    EXPECT_LE(box.getMaxX(), room.width - 0.9f) << what << " runs over its button";
                    EXPECT_GE(box.getMinY() - descent, badgeTop) << what << " runs into the badge row";
                    EXPECT_LE(box.getMaxY(), room.height - 0.5f) << what << " touches the top";
                }
                // Two lines keep apart: two screen pixels at least between a
                // descender and the letters below.
                if (lines.size() == 2) {
                    const float gap = lines[0]->boundingBox().getMinY() - descent - lines[1]->boundingBox().getMaxY();
                    EXPECT_GE(gap * entry->getScale(), 2.0f) << where;
                }
            }
        }
    }
    localizationTable = english;
    PixelMarket::resetInstanceForTests();
}

}  // namespace

namespace {

TEST_F(Shop, PricesOwnedAndWithheldEntriesAreToldApartAndBadgesLeaveTheNameClear)
{
    Profile* profile = Profile::getInstance();
    auto* elements = CCDictionary::create();
    for (const char* name : {"Diamond", "Ruby", "Sapphire"})
        elements->setObject(CCString::create("150"), name);
    auto* catalogue = CCDictionary::create();
    catalogue->setObject(elements, "Elements");
    PixelMarket::getInstance()->setCatalogueForTests(catalogue);
    CCArray* owned = profile->getPurchasedElements();
    for (int i = static_cast<int>(owned->count()) - 1; i >= 0; --i) {
        const std::string name = static_cast<CCString*>(owned->objectAtIndex(static_cast<unsigned>(i)))->getString();
        if (name == "Diamond" || name == "Ruby" || name == "Sapphire")
            owned->removeObjectAtIndex(static_cast<unsigned>(i));
    }
    owned->addObject(CCString::create("Ruby"));
    // A day that offers sand and the gems, not wall.
    testsupport::testHost().freePlay = false;
    gui->setEverythingAvailable(false);
    for (const char* name : {"Sand", "Diamond", "Ruby", "Sapphire"})
        gui->addAvailableItem(name);
    gui->showPaletteFamily(static_cast<int>(PaletteFamily::Powders));
    auto entries = pageEntries(gui);
    ASSERT_TRUE(entries.count("Wall") && entries.count("Sand") && entries.count("Diamond") && entries.count("Ruby"));

    auto framesOn = [](CCNode* node) {
        std::set<std::string> frames;
        for (CCObject* o : *node->getChildren())
            if (auto* s = dynamic_cast<CCSprite*>(o); s && !dynamic_cast<GUILabel*>(s))
                frames.insert(GUITopBar::frameOf(s));
        return frames;
    };
    EXPECT_TRUE(framesOn(entries["Diamond"]).count("gamemenus_palettePrice.png")) << "on sale: a price";
    EXPECT_TRUE(framesOn(entries["Ruby"]).count("gamemenus_paletteOwned.png")) << "owned: a tick";
    EXPECT_FALSE(framesOn(entries["Ruby"]).count("gamemenus_palettePrice.png"));
    EXPECT_TRUE(framesOn(entries["Wall"]).count("gamemenus_paletteLock.png")) << "withheld: a lock";
    EXPECT_TRUE(entries["Sand"]->isEnabled());
    EXPECT_EQ(textsOn(entries["Sand"]), "Sand Free") << "a free element says so";

    // The badge and the name never overlap, in any language's length.
    for (const char* name : {"Diamond", "Sapphire"}) {
        CCSprite* badge = nullptr;
        for (CCObject* o : *entries[name]->getChildren())
            if (auto* s = dynamic_cast<CCSprite*>(o); s && GUITopBar::frameOf(s) == "gamemenus_palettePrice.png")
                badge = s;
        ASSERT_NE(badge, nullptr) << name;
        for (CCObject* o : *entries[name]->getChildren()) {
            auto* label = dynamic_cast<GUILabel*>(o);
            if (label && label->getText() && !label->getText()->getString().empty()) {
                EXPECT_FALSE(label->boundingBox().intersectsRect(badge->boundingBox()))
                    << name << ": " << label->getText()->getString();
            }
        }
    }
    gui->onElementPicked(CCString::create("Wall"));
    EXPECT_NE(gui->getCurrentElement()->getString(), "Wall") << "a withheld element cannot be picked";
}

// Tiles on days and levels that hold them back: whatever the element
// would cost elsewhere (on sale, owned, free), a withheld tile shows its lock
// and nothing under its name, and a touch on it selects nothing and says in
// one notice why, told once however often it is touched. A tile the day
// offers on sale shows its price and a touch buys it.
TEST_F(Palette, AWithheldTileShowsNoPriceTickOrFreeAndATouchSaysWhy)
{
    PixelMarket::resetInstanceForTests();
    Profile::getInstance()->setMana(1000);
    testsupport::testHost().freePlay = false;
    const struct {
        const char* day;
        const char* element;
        const char* notice;  // null: on sale there
    } cases[] = {
        {"Day24", "AcidSteam", "PaletteMadeNotice"},   // free elsewhere
        {"Day1", "Mud", "PaletteMadeNotice"},          // owned
        {"Day2", "Wood", "PaletteWithheldNotice"},     // owned
        {"Day6", "SeedOak", "PaletteWithheldNotice"},  // on sale elsewhere
        {"Day2_1", "LightSensor", "PaletteWithheldNotice"},
        {"Day2_1", "ConveyorBeltR", "PaletteWithheldNotice"},
        {"Day29", "SeedOak", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.day) + " " + c.element);
        ASSERT_TRUE(gui->loadDaySettings(c.day));
        const std::string start = gui->pickStartElement();
        gui->selectElement(start);
        bar->dropNotifications();
        bar->onElementMenuButton(nullptr);
        stepFrames(20);
        ASSERT_EQ(gui->getState(), GUIWindow::Open);
        gui->showPaletteFamily(static_cast<int>(paletteFamilyOf(c.element)));
        GUIButton* entry = pageEntries(gui)[c.element];
        ASSERT_NE(entry, nullptr);
        std::set<std::string> frames;
        bool free = false;
        for (CCObject* o : *entry->getChildren()) {
            if (auto* label = dynamic_cast<GUILabel*>(o))
                free = free || label->getAnchorPoint().x == 1;
            else if (auto* sprite = dynamic_cast<CCSprite*>(o))
                frames.insert(GUITopBar::frameOf(sprite));
        }
        EXPECT_EQ(frames.count("gamemenus_paletteLock.png"), c.notice ? 1u : 0u);
        EXPECT_EQ(frames.count("gamemenus_palettePrice.png"), c.notice ? 0u : 1u);
        EXPECT_EQ(frames.count("gamemenus_paletteOwned.png"), 0u);
        EXPECT_FALSE(free) << "no word for free";

        for (int touch = 0; touch < 2; ++touch) {
            const CCPoint at =
                entry->getParent()->convertToWorldSpace(ccp(entry->getPosition().x + 20, entry->getPosition().y - 20));
            press(at.x, at.y);
            release(at.x, at.y);
            stepFrames(20);
            if (!c.notice)
                break;
            EXPECT_EQ(gui->getCurrentElement()->getString(), start) << "nothing selected";
            EXPECT_EQ(gui->getState(), GUIWindow::Open) << "the palette stays";
            EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "no purchase";
            ASSERT_TRUE(bar->isNotificationShowing());
            EXPECT_EQ(bar->getNotificationLabel()->getText()->getString(),
                      LocalUtils::localizeWithVar(c.notice, GUI::elementTitle(c.element).c_str())->getString());
            EXPECT_EQ(GUITopBar::frameOf(bar->getNotificationIcon()),
                      std::string("guitopbar_HUDelement_") + c.element + ".png");
            EXPECT_FALSE(bar->hasNotification()) << "told once";
        }
        if (!c.notice) {
            EXPECT_TRUE(GUIPopup::getInstance()->isShown()) << "on sale: a touch buys";
            EXPECT_EQ(gui->getPendingPurchase(), c.element);
            GUIPopup::resetInstanceForTests();
        }
        gui->closeMenu();
        stepFrames(30);
    }
    PixelMarket::resetInstanceForTests();
}

TEST_F(Shop, ThePurchasePopupShowsTheElementsPictureAndTitle)
{
    auto* elements = CCDictionary::create();
    elements->setObject(CCString::create("40"), "Diamond");
    elements->setObject(CCString::create("40"), "SeedLiberty");
    auto* catalogue = CCDictionary::create();
    catalogue->setObject(elements, "Elements");
    PixelMarket::getInstance()->setCatalogueForTests(catalogue);
    CCArray* owned = Profile::getInstance()->getPurchasedElements();
    for (int i = static_cast<int>(owned->count()) - 1; i >= 0; --i)
        if (static_cast<CCString*>(owned->objectAtIndex(static_cast<unsigned>(i)))->getString() == "Diamond")
            owned->removeObjectAtIndex(static_cast<unsigned>(i));
    Profile::getInstance()->setMana(100);
    testsupport::LogCapture log;
    gui->onElementPicked(CCString::create("Diamond"));
    stepFrames(5);
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    ASSERT_NE(popup->getItemImage(), nullptr) << "the popup shows the element";
    EXPECT_EQ(popup->getItemImage()->getContentSize().width, 32) << "the element's purchase picture";
    EXPECT_EQ(popup->getPurchaseTitle()->getString(), "UNLOCK DIAMOND");
    EXPECT_FALSE(log.contains("Bad file name"));
    // In capitals, accented letters included.
    popup->onBackPressed();
    stepSeconds(0.5f);
    testsupport::LanguageTable french("fr");
    gui->onElementPicked(CCString::create("SeedLiberty"));
    stepFrames(5);
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getPurchaseTitle()->getString(), "DÉBLOQUER STATUE DE LA LIBERTÉ");
    EXPECT_EQ(popup->getPurchaseDescription()->getString(), "BÂTIT UNE GRANDE STATUE.");
}

}  // namespace

namespace {

// The shipped catalogue end to end: Bee is on sale and not in the start set,
// its entry shows the price, and the popup shows its picture, price and text.
TEST_F(Palette, AnUnownedBeeIsBoughtThroughThePopupWithItsPicture)
{
    PixelMarket::resetInstanceForTests();
    Profile* profile = Profile::getInstance();
    ASSERT_FALSE(profile->hasPurchasedElement(CCString::create("Bee")));
    const int32_t price = PixelMarket::getInstance()->elementPrice("Bee");
    ASSERT_GT(price, 0);
    EXPECT_EQ(gui->priceToPay("Bee"), price);
    profile->setMana(price);
    gui->onElementPicked(CCString::create("Bee"));
    stepFrames(5);
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getPurchasePrice(), static_cast<float>(price));
    ASSERT_NE(popup->getItemImage(), nullptr);
    EXPECT_EQ(popup->getItemImage()->getContentSize().width, 32);
    popup->onOkPressed();
    stepSeconds(1.0f);
    EXPECT_EQ(profile->getMana(), 0);
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Bee")));
    EXPECT_EQ(gui->getCurrentElement()->getString(), "Bee");
}

}  // namespace
