// The shop's purchases: a row's tap asks the purchase popup, its Buy button
// records the purchase through the profile, and too little mana sends the
// player to the front page and then to the offline-mode popup.
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/Utils.h"
#include "gui/GUIPopup.h"
#include "hud/PixelMarket.h"
#include "profile/BackgroundId.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

// The row number a row's callback carries, or that of the tapped row button.
int rowOf(CCObject* sender)
{
    auto* number = dynamic_cast<CCInteger*>(sender);
    if (!number)
        if (auto* node = dynamic_cast<CCNode*>(sender))
            number = dynamic_cast<CCInteger*>(node->getUserObject());
    return number ? number->getValue() : -1;
}

// The entry of a list at a row number, or null.
CCString* entryAt(CCArray* list, int row)
{
    if (!list || row < 0 || static_cast<unsigned>(row) >= list->count())
        return nullptr;
    return dynamic_cast<CCString*>(list->objectAtIndex(static_cast<unsigned>(row)));
}

bool ownsBackground(const std::string& id)
{
    Profile* profile = Profile::getInstance();
    CCString* name = CCString::create(id);
    return profile->hasPurchasedBackground(name) || profile->hasUnlockedBackground(name);
}

}  // namespace

void PixelMarket::onElementTile(CCObject* sender)
{
    LOG_TRACE;
    // The popup already asks about an item: the answer stays about that one.
    if (GUIPopup::getInstance()->isShown())
        return;
    const int row = rowOf(sender);
    CCString* name = entryAt(m_elementNames, row);
    if (!name)
        return;
    const std::string element = name->getString();
    const std::optional<int32_t> price = listedElementPrice(element);
    if (!price)
        return;
    CCString* picture = CCString::createWithFormat("element_%s.png", element.c_str());
    CCString* title =
        toUpperCCString(LocalUtils::localizeWithVar("ShopElemGenericUnlockPhrase",
                                                    LocalUtils::localize((element + "Title").c_str())->getCString())
                            ->getString());
    CCString* description = toUpperCCString(LocalUtils::localize((element + "Shop").c_str())->getString());
    Profile* profile = Profile::getInstance();
    if (profile->getMana() < *price) {
        onNotEnoughMana();
        return;
    }
    if (profile->hasPurchasedElement(name))
        return;
    askToBuy("PURCHASE THIS ELEMENT?", {title, picture, description}, element, *price, 0, row);
}

void PixelMarket::onBackgroundTile(CCObject* sender)
{
    LOG_TRACE;
    if (GUIPopup::getInstance()->isShown())
        return;
    CCString* file = entryAt(m_rewardBackgrounds, rowOf(sender));
    if (!file)
        return;
    const std::string id = backgroundIdOf(file->getString());
    const std::optional<int32_t> price = listedBackgroundPrice(id);
    if (!isUsableBackgroundId(id) || !price || ownsBackground(id))
        return;
    const std::string key = backgroundTextKeyOf(id);
    CCString* title = LocalUtils::localize((key + "BkgName").c_str());
    CCString* description = LocalUtils::localize((key + "BkgDescription").c_str());
    CCString* picture = CCString::create(m_rewardsFolder + file->getString());
    if (Profile::getInstance()->getMana() < *price) {
        onNotEnoughMana();
        return;
    }
    // A background keeps the row number the pending item had.
    askToBuy("PURCHASE THIS BACKGROUND?", {title, picture, description}, id, *price, 1, m_pendingItem.index);
}

void PixelMarket::askToBuy(const char* question, const PurchaseTexts& shown, const std::string& name, int32_t price,
                           int32_t category, int32_t index)
{
    GUIPopup::getInstance()->setPurchaseInfo(shown.title, shown.picture, static_cast<float>(price), shown.description);
    ScreenUtils::showPopup(CCString::create(question), this, callfunc_selector(PixelMarket::confirmPurchase), nullptr,
                           nullptr, GUIPopup::Purchase);
    m_pendingItem = ShopItem();
    m_pendingItem.setName(name.c_str());
    m_pendingItem.price = price;
    m_pendingItem.category = category;
    m_pendingItem.flag = 0;
    m_pendingItem.index = index;
    m_purchasePending = GUIPopup::getInstance()->isShown();
}

void PixelMarket::onNotEnoughMana()
{
    LOG_TRACE;
    goBack();
    if (CCScene* scene = CCDirector::sharedDirector()->getRunningScene())
        scene->runAction(CCSequence::create(
            CCDelayTime::create(kNotEnoughManaDelay),
            CCCallFunc::create(this, callfunc_selector(PixelMarket::onNotEnoughManaDelayed)), nullptr));
}

void PixelMarket::onNotEnoughManaDelayed()
{
    LOG_TRACE;
    onManaButton();
}

void PixelMarket::confirmPurchase()
{
    LOG_TRACE;
    if (!m_purchasePending)
        return;
    m_purchasePending = false;
    const ShopItem item = m_pendingItem;
    CCString* name = CCString::create(item.name);
    Profile* profile = Profile::getInstance();
    // Bought meanwhile (in the HUD or the gallery): no second payment.
    const bool owned = item.category == 0 ? profile->hasPurchasedElement(name) : ownsBackground(item.name);
    if (!owned)
        profile->buyShopItem(name, item);
    if (m_returnToGallery) {
        setCategoryPageVisible(false);
        goBack();
        m_returnToGallery = false;
        if (GameLayer* layer = GameLayer::existingInstance())
            layer->openBackgroundsWindow();
        return;
    }
    showCategoryPage(item.category);
}
