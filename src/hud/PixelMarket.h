#pragma once
// PixelMarket: the shop. For now only its part as the catalogue holder the
// HUD uses: the catalogue ("data/shop.plist", when present), the element the
// player lacked the mana for, and the mana action. The shop window itself is
// not built yet.
#include <string>
#include <vector>

#include "cocos2d.h"

class PixelMarket : public cocos2d::CCObject {
public:
    static PixelMarket* getInstance();
    // Tests: forget the instance.
    static void resetInstanceForTests();

    // Reads the catalogue once; an absent file leaves an empty one.
    void loadCatalogue();
    cocos2d::CCDictionary* getCatalogue();
    // Tests: use this catalogue instead of the file's.
    void setCatalogueForTests(cocos2d::CCDictionary* catalogue);
    // The price of an element in the catalogue, or 0 when it has none.
    int32_t elementPrice(const char* name);

    // One reward background on sale: its id (profile/BackgroundId.h) and price.
    struct BackgroundOffer {
        std::string id;
        int32_t price = 0;
    };
    // The catalogue's "Backgrounds" records in file order, one per id (the
    // first record of an id wins). A record without a usable "bkgID" or
    // without a price of 0 or more is skipped and logged; no catalogue or no
    // array gives none.
    std::vector<BackgroundOffer> backgroundOffers();
    // The price of that background, or 0 when the catalogue has no record.
    int32_t backgroundPrice(const std::string& id);

    // Retained until replaced or cleared (null).
    void setRequestedElement(cocos2d::CCString* name);
    cocos2d::CCString* getRequestedElement() const { return m_requestedElement; }
    void onManaButton();

    ~PixelMarket() override;

private:
    PixelMarket() = default;
    cocos2d::CCDictionary* m_catalogue = nullptr;     // retained
    cocos2d::CCString* m_requestedElement = nullptr;  // retained
};
