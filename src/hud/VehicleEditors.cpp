#include "hud/VehicleEditors.h"

#include <algorithm>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Tank.h"
#include "elements/creatures/Truck.h"
#include "elements/creatures/Vehicles.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUISlider.h"
#include "hud/GUITopBar.h"
#include "scene/GameLayer.h"
#include "scene/ZoomOutView.h"

USING_NS_CC;

namespace {

std::vector<VehicleEditor*>& panels()
{
    static std::vector<VehicleEditor*> open;
    return open;
}

CCSize winSize()
{
    return CCDirector::sharedDirector()->getWinSize();
}

// The full width of the fuel filling, taken at the first call.
float g_fuelFullWidth = -1.0f;

CCRect screenBox(CCNode* node)
{
    const CCSize s = node->getContentSize();
    return CCRectApplyAffineTransform(CCRect(0, 0, s.width, s.height), node->nodeToWorldTransform());
}

// A node's box on screen, its children's (a button's caption) included.
CCRect screenBoxWithChildren(CCNode* node)
{
    CCRect box = screenBox(node);
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children) {
            const CCRect r = screenBox(static_cast<CCNode*>(child));
            const float x0 = std::min(box.getMinX(), r.getMinX()), y0 = std::min(box.getMinY(), r.getMinY());
            const float x1 = std::max(box.getMaxX(), r.getMaxX()), y1 = std::max(box.getMaxY(), r.getMaxY());
            box = CCRect(x0, y0, x1 - x0, y1 - y0);
        }
    return box;
}

// The lowest bottom edge, at least `gap` up, at which a button spanning x0
// to x1 stands `gap` clear above what the magnified view keeps in the
// screen's bottom corners: the draw/pan toggle with its caption and the
// overview. A lander's panel opens only in that view.
float bottomClearOfCorners(float x0, float x1, float gap)
{
    std::vector<CCNode*> corners;
    if (const DrawPanToggle* toggle = GUITopBar::getInstance()->getDrawPanToggle()) {
        corners.push_back(toggle->drawButton);
        corners.push_back(toggle->panButton);
    }
    if (ZoomOutView* overview = GameLayer::getInstance()->getZoomOutView())
        corners.push_back(overview);
    float bottom = gap;
    for (CCNode* node : corners) {
        if (!node)
            continue;
        const CCRect box = screenBoxWithChildren(node);
        if (box.getMaxX() > x0 && box.getMinX() < x1)
            bottom = std::max(bottom, box.getMaxY() + gap);
    }
    return bottom;
}

}  // namespace

float VehicleEditor::rowGap(float w, float b, int n)
{
    if (n < 2)
        return 0.0f;
    return (w - (static_cast<float>(n) * b + 2.0f * kMargin)) / static_cast<float>(n - 1);
}

std::vector<float> VehicleEditor::rowPositions(float w, float b, int n)
{
    std::vector<float> left;
    const float gap = rowGap(w, b, n);
    float x = kMargin;
    for (int i = 0; i < n; ++i) {
        left.push_back(x);
        x += b + gap;
    }
    return left;
}

const std::vector<VehicleEditor*>& VehicleEditor::openPanels()
{
    return panels();
}

VehicleEditor* VehicleEditor::open(VehicleLeader* vehicle, int kind)
{
    if (!vehicle || vehicle->editor)
        return nullptr;
    VehicleEditor* panel = nullptr;
    switch (static_cast<VehiclePanel>(kind)) {
    case VehiclePanel::Car: panel = CarEditor::create(vehicle); break;
    case VehiclePanel::Tank: panel = TankEditor::create(dynamic_cast<MPLeaderTank*>(vehicle)); break;
    case VehiclePanel::Truck: panel = TruckEditor::create(dynamic_cast<MPLeaderTruck*>(vehicle)); break;
    case VehiclePanel::Lander: panel = LanderEditor::create(dynamic_cast<MPLander*>(vehicle)); break;
    }
    if (!panel)
        return nullptr;
    const CCSize size = winSize();
    panel->setPosition(CCPointZero);
    if (panel->m_background && static_cast<VehiclePanel>(kind) != VehiclePanel::Lander)
        panel->m_background->setPosition(ccp(size.width / 2, size.height / 2));
    if (CCNode* parent = GameLayer::getInstance()->getParent())
        parent->addChild(panel, kZOrder);
    // Not the current window (the world steps on), but the back key closes
    // it as its cross does, before it reaches the world.
    BackButtonAdapter::getInstance()->addListener(panel);
    return panel;
}

VehicleEditor* VehicleEditor::panelAt(const CCPoint& point)
{
    for (auto it = panels().rbegin(); it != panels().rend(); ++it) {
        VehicleEditor* panel = *it;
        if (!panel->getParent() || !panel->m_background)
            continue;
        const CCPoint local = panel->m_background->convertToNodeSpace(point);
        const CCSize s = panel->m_background->getContentSize();
        // The close cross sits just outside the top right corner.
        if (local.x >= 0 && local.y >= 0 && local.x <= s.width + 4 && local.y <= s.height + 6)
            return panel;
        for (const auto& [name, button] : panel->m_buttons)
            if (button->boundingBox().containsPoint(button->getParent()->convertToNodeSpace(point)))
                return panel;
    }
    return nullptr;
}

VehicleEditor::~VehicleEditor()
{
    if (particle && particle->editor == this)
        particle->editor = nullptr;
    particle = nullptr;
    panels().erase(std::remove(panels().begin(), panels().end(), this), panels().end());
}

VehicleLeader* VehicleEditor::vehicle() const
{
    return dynamic_cast<VehicleLeader*>(particle);
}

void VehicleEditor::close()
{
    if (particle && particle->editor == this)
        particle->editor = nullptr;
    particle = nullptr;
    panels().erase(std::remove(panels().begin(), panels().end(), this), panels().end());
    BackButtonAdapter::getInstance()->removeListener(this);
    retain();
    stopAllActions();
    // The buttons' actions hold the panel: dropping the buttons breaks the
    // cycle so the panel is freed.
    m_buttons.clear();
    m_buttonContainer = nullptr;
    if (m_background) {
        m_background->removeFromParentAndCleanup(true);
        m_background = nullptr;
    }
    removeFromParentAndCleanup(true);
    release();
}

void VehicleEditor::particleDestroyed()
{
    particle = nullptr;
    close();
}

bool VehicleEditor::buildFrame(VehicleLeader* vehicle)
{
    GUIWindow::initWithSize(winSize());
    setVisible(true);
    m_state = Open;
    particle = vehicle;
    vehicle->editor = this;
    panels().push_back(this);
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    m_batchNode = CCSpriteBatchNode::create("pvr/carsGUI.pvr.ccz", 500);
    if (!m_batchNode)
        m_batchNode = CCSpriteBatchNode::create("pvr/carsGUI.png", 500);
    if (!m_batchNode) {
        LOG_ERROR << "The vehicle panel's sheet cannot be read";
        return false;
    }
    addChild(m_batchNode, 1);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/carsGUI.plist");
    if (m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    m_background = CCSprite::createWithSpriteFrameName("carsGUI_background.png");
    if (!m_background)
        return false;
    m_background->setScale(sheetScale());
    const CCSize size = winSize();
    m_background->setPosition(ccp(size.width / 2, size.height / 2));
    m_batchNode->addChild(m_background);
    m_buttonContainer = m_background;
    const CCSize bg = m_background->getContentSize();
    GUIButton* cross = GUIButton::create(CCCallFunc::create(this, callfunc_selector(VehicleEditor::onClose)),
                                         "carsGUI_cross.png", nullptr);
    cross->setAnchorPoint(ccp(1.0f, 0.9f));
    cross->setPosition(ccp(bg.width + 2, bg.height + 4));
    m_background->addChild(cross);
    return true;
}

void VehicleEditor::addTitle(const char* key, const CCPoint& at, const CCPoint& anchor)
{
    GUILabel::setFontName("carsGUI_ach_fontButtons");
    GUILabel* title = GUILabel::create();
    title->setText(LocalUtils::localize(key));
    title->setAnchorPoint(anchor);
    title->setPosition(at);
    if (GUILabel::fontSize > 0)
        title->setScale(10.0f / GUILabel::fontSize);
    m_background->addChild(title);
}

bool VehicleEditor::initRow(VehicleLeader* vehicle, const char* title, const std::vector<std::string>& names)
{
    if (!buildFrame(vehicle))
        return false;
    CCSpriteFrame* sample = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("carsGUI_ai_on.png");
    const float b = sample ? sample->getOriginalSize().width : 20.0f;
    const float w = m_background->getContentSize().width;
    const std::vector<float> left = rowPositions(w, b, static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string frame = "carsGUI_" + names[i] + "_off.png";
        // The toggled picture is the button's icon, shown while toggled.
        const char* toggledFrame = names[i] == "ai" ? "carsGUI_ai_on.png"
            : names[i] == "unload"                  ? "carsGUI_load_on.png"
                                                    : nullptr;
        GUIButton* button = GUIButton::create(nullptr, frame.c_str(), toggledFrame);
        // The action carries the name, not the button: a button holding an
        // action that holds the button would never be freed.
        CCString* name = CCString::create(names[i]);
        button->setCallback(CCCallFuncO::create(this, callfuncO_selector(VehicleEditor::onButton), name));
        button->setUserObject(name);
        button->setAnchorPoint(CCPointZero);
        button->setPosition(ccp(left[i], kMargin));
        if (names[i] == "ai") {
            button->setToggled(vehicle->autoDrive);
        } else if (names[i] == "unload") {
            auto* truck = dynamic_cast<MPLeaderTruck*>(vehicle);
            button->setToggled(truck && truck->bedTipped);
        }
        m_background->addChild(button);
        m_buttons.emplace_back(names[i], button);
    }
    addTitle(title, ccp(w * 0.5f, m_background->getContentSize().height - 6), ccp(0.5f, 0.5f));
    return true;
}

GUIButton* VehicleEditor::button(const std::string& name) const
{
    for (const auto& [n, b] : m_buttons)
        if (n == name)
            return b;
    return nullptr;
}

void VehicleEditor::onButton(CCObject* object)
{
    if (auto* name = dynamic_cast<CCString*>(object))
        press(name->getCString(), button(name->getCString()));
}

void VehicleEditor::onClose()
{
    close();
}

void VehicleEditor::press(const std::string& name, GUIButton* button)
{
    VehicleLeader* v = vehicle();
    if (!v)
        return;
    if (name == "left") {
        v->moveLeft();
    } else if (name == "right") {
        v->moveRight();
    } else if (name == "ai") {
        v->autoDrive = !v->autoDrive;
        if (button)
            button->setToggled(!button->isToggled());
    } else if (name == "fire") {
        if (auto* tank = dynamic_cast<MPLeaderTank*>(v))
            tank->fire();
    } else if (name == "unload") {
        if (auto* truck = dynamic_cast<MPLeaderTruck*>(v)) {
            if (truck->bedTipped)
                truck->lowerBed();
            else
                truck->tipBed();
            // The button pictures the bed: up or down as it now is, also
            // when the truck refused to move it.
            if (button)
                button->setToggled(truck->bedTipped);
        }
    }
}

CarEditor* CarEditor::create(VehicleLeader* car)
{
    if (!car)
        return nullptr;
    auto* panel = new CarEditor();
    panel->autorelease();
    panel->initRow(car, "EditorCarTitle", {"left", "ai", "right"});
    return panel;
}

TankEditor* TankEditor::create(MPLeaderTank* tank)
{
    if (!tank)
        return nullptr;
    auto* panel = new TankEditor();
    panel->autorelease();
    panel->initRow(tank, "EditorTankTitle", {"left", "ai", "fire", "right"});
    return panel;
}

TruckEditor* TruckEditor::create(MPLeaderTruck* truck)
{
    if (!truck)
        return nullptr;
    auto* panel = new TruckEditor();
    panel->autorelease();
    panel->initRow(truck, "EditorTruckTitle", {"left", "unload", "ai", "right"});
    return panel;
}

LanderEditor* LanderEditor::create(MPLander* lander)
{
    if (!lander)
        return nullptr;
    auto* panel = new LanderEditor();
    panel->autorelease();
    panel->initLander(lander);
    return panel;
}

bool LanderEditor::initLander(MPLander* lander)
{
    if (!buildFrame(lander))
        return false;
    const CCSize size = winSize();
    const float scale = sheetScale();
    m_background->setPosition(ccp(size.width / 2, size.height / 2 - size.height * 0.05f));
    // Window fractions in the background's own units, from its lower left
    // corner in the window.
    const CCPoint corner = ccpSub(
        m_background->getPosition(),
        ccp(m_background->getContentSize().width * scale / 2, m_background->getContentSize().height * scale / 2));
    auto at = [&](float wx, float wy) { return ccp((wx - corner.x) / scale, (wy - corner.y) / scale); };
    struct Held {
        const char* name;
        SEL_CallFunc press;
        SEL_CallFunc release;
    };
    const Held held[] = {
        {"leftBig", callfunc_selector(LanderEditor::pressLeft), callfunc_selector(LanderEditor::releaseLeft)},
        {"rightBig", callfunc_selector(LanderEditor::pressRight), callfunc_selector(LanderEditor::releaseRight)},
        {"burstBig", callfunc_selector(LanderEditor::pressBurst), callfunc_selector(LanderEditor::releaseBurst)},
    };
    std::vector<GUIDynamicButton*> made;
    for (const Held& h : held) {
        const std::string frame = std::string("carsGUI_") + h.name + "_off.png";
        GUIDynamicButton* button = GUIDynamicButton::create(CCCallFunc::create(this, h.press),
                                                            CCCallFunc::create(this, h.release), frame.c_str());
        m_background->addChild(button);
        m_buttons.emplace_back(h.name, button);
        made.push_back(button);
    }
    // Along the bottom edge, 2 % in from the sides; lifted above the
    // corners' toggle and overview, which would hide them. The two thrusters
    // stay level.
    const float gap = size.height * 0.02f;
    const float leftWidth = made[0]->getContentSize().width * scale;
    const float rightWidth = made[1]->getContentSize().width * scale;
    const float burstWidth = made[2]->getContentSize().width * scale;
    const float leftX = size.width * 0.02f;
    const float rightX = size.width * 0.04f + leftWidth;
    const float burstRight = size.width * 0.98f;
    const float thrustersY = std::max(bottomClearOfCorners(leftX, leftX + leftWidth, gap),
                                      bottomClearOfCorners(rightX, rightX + rightWidth, gap));
    made[0]->setAnchorPoint(CCPointZero);
    made[0]->setPosition(at(leftX, thrustersY));
    made[1]->setAnchorPoint(CCPointZero);
    made[1]->setPosition(at(rightX, thrustersY));
    made[2]->setAnchorPoint(ccp(1.0f, 0.0f));
    made[2]->setPosition(at(burstRight, bottomClearOfCorners(burstRight - burstWidth, burstRight, gap)));
    const CCSize bg = m_background->getContentSize();
    addTitle("EditorLanderTitle", ccp(bg.width * 0.5f, bg.height * 0.97f), ccp(0.5f, 1.0f));
    CCSprite* outside = CCSprite::createWithSpriteFrameName("carsGUI_fuelBarOutside.png");
    m_fuelInside = CCSprite::createWithSpriteFrameName("carsGUI_fuelBarInside.png");
    m_flameOn = CCSprite::createWithSpriteFrameName("carsGUI_fuelBarFire_on.png");
    m_flameOff = CCSprite::createWithSpriteFrameName("carsGUI_fuelBarFire_off.png");
    if (!outside || !m_fuelInside || !m_flameOn || !m_flameOff)
        return false;
    outside->setAnchorPoint(ccp(0.0f, 1.0f));
    outside->setPosition(at(size.height * 0.02f, size.height * 0.87f));
    m_background->addChild(outside);
    const CCSize o = outside->getContentSize();
    const CCSize in = m_fuelInside->getContentSize();
    m_fuelInside->setAnchorPoint(CCPointZero);
    m_fuelInside->setPosition(ccp((o.width - in.width) / 2, (o.height - in.height) / 2));
    outside->addChild(m_fuelInside);
    for (CCSprite* flame : {m_flameOn, m_flameOff}) {
        flame->setAnchorPoint(ccp(0.0f, 0.5f));
        flame->setPosition(ccp(o.width + 2, o.height / 2));
        outside->addChild(flame);
    }
    // The gauge shows the tank as it is now, also on a paused world whose
    // lander takes no step to show it.
    showLanderFuel();
    return true;
}

void LanderEditor::showLanderFuel()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        showFuel(static_cast<float>(l->fuel) / static_cast<float>(MPLander::kMaxFuel));
}

void LanderEditor::close()
{
    // The sprites go with the background.
    m_fuelInside = m_flameOn = m_flameOff = nullptr;
    VehicleEditor::close();
}

void LanderEditor::showFuel(float fraction)
{
    if (!m_fuelInside || !m_flameOn || !m_flameOff)
        return;
    m_flameOn->setVisible(fraction > kLowFuel);
    m_flameOff->setVisible(fraction <= kLowFuel);
    if (g_fuelFullWidth < 0)
        g_fuelFullWidth = m_fuelInside->getContentSize().width;
    const CCRect r = m_fuelInside->getTextureRect();
    m_fuelInside->setTextureRect(CCRect(r.origin.x, r.origin.y, g_fuelFullWidth * fraction, r.size.height));
}

void LanderEditor::hold(const std::string& name, bool down)
{
    if (name == "leftBig")
        down ? pressLeft() : releaseLeft();
    else if (name == "rightBig")
        down ? pressRight() : releaseRight();
    else if (name == "burstBig")
        down ? pressBurst() : releaseBurst();
}

void LanderEditor::pressLeft()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->pressLeft();
}

void LanderEditor::releaseLeft()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->leftHeld = false;
}

void LanderEditor::pressRight()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->pressRight();
}

void LanderEditor::releaseRight()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->rightHeld = false;
}

// The flame follows the fuel, as every step shows it: a release does not
// put out the flame of a full tank, nor a press light that of an empty one.
void LanderEditor::pressBurst()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->burstHeld = true;
    showLanderFuel();
}

void LanderEditor::releaseBurst()
{
    if (auto* l = dynamic_cast<MPLander*>(particle))
        l->burstHeld = false;
    showLanderFuel();
}
