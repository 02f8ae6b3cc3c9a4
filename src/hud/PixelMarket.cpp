#include "hud/PixelMarket.h"

#include "base/Logger.h"
#include "profile/BackgroundId.h"

USING_NS_CC;

namespace {
PixelMarket* g_market = nullptr;
}

PixelMarket* PixelMarket::getInstance()
{
    if (!g_market)
        g_market = new PixelMarket();
    return g_market;
}

void PixelMarket::resetInstanceForTests()
{
    CC_SAFE_RELEASE_NULL(g_market);
}

PixelMarket::~PixelMarket()
{
    CC_SAFE_RELEASE(m_catalogue);
    CC_SAFE_RELEASE(m_requestedElement);
}

void PixelMarket::loadCatalogue()
{
    if (m_catalogue)
        return;
    m_catalogue = CCDictionary::createWithContentsOfFile("data/shop.plist");
    if (!m_catalogue)
        m_catalogue = CCDictionary::create();
    m_catalogue->retain();
}

CCDictionary* PixelMarket::getCatalogue()
{
    loadCatalogue();
    return m_catalogue;
}

void PixelMarket::setCatalogueForTests(CCDictionary* catalogue)
{
    CC_SAFE_RETAIN(catalogue);
    CC_SAFE_RELEASE(m_catalogue);
    m_catalogue = catalogue;
}

// The price is the value under the element's exact name in "Elements".
int32_t PixelMarket::elementPrice(const char* name)
{
    auto* elements = dynamic_cast<CCDictionary*>(getCatalogue()->objectForKey("Elements"));
    auto* price = elements && name ? dynamic_cast<CCString*>(elements->objectForKey(name)) : nullptr;
    return price ? price->intValue() : 0;
}

std::vector<PixelMarket::BackgroundOffer> PixelMarket::backgroundOffers()
{
    std::vector<BackgroundOffer> offers;
    auto* records = dynamic_cast<CCArray*>(getCatalogue()->objectForKey("Backgrounds"));
    if (!records) {
        LOG << "shop catalogue: no \"Backgrounds\" array, no background on sale";
        return offers;
    }
    int index = 0;
    for (CCObject* object : *records) {
        ++index;
        auto* record = dynamic_cast<CCDictionary*>(object);
        auto* name = record ? dynamic_cast<CCString*>(record->objectForKey("bkgID")) : nullptr;
        auto* price = record ? dynamic_cast<CCString*>(record->objectForKey("Price")) : nullptr;
        const std::string id = name ? backgroundIdOf(name->getString()) : std::string();
        if (!isUsableBackgroundId(id) || !price || price->intValue() < 0) {
            LOG << "shop catalogue: background record " << index << " skipped (its bkgID "
                << (name ? name->getString() : std::string("is missing")) << (price ? "" : ", no Price") << ")";
            continue;
        }
        bool seen = false;
        for (const BackgroundOffer& offer : offers)
            seen = seen || offer.id == id;
        if (!seen)
            offers.push_back({id, price->intValue()});
    }
    return offers;
}

int32_t PixelMarket::backgroundPrice(const std::string& id)
{
    const std::string wanted = backgroundIdOf(id);
    for (const BackgroundOffer& offer : backgroundOffers())
        if (offer.id == wanted)
            return offer.price;
    return 0;
}

// Kept past the frame that set it: the shop reads it when it opens later.
void PixelMarket::setRequestedElement(CCString* name)
{
    CC_SAFE_RETAIN(name);
    CC_SAFE_RELEASE(m_requestedElement);
    m_requestedElement = name;
}

void PixelMarket::onManaButton()
{
    static bool told = false;
    if (!told) {
        told = true;
        LOG << "not built yet: shop window (the mana action opens nothing)";
    }
}
