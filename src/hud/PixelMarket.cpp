#include "hud/PixelMarket.h"

#include "base/Logger.h"

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
