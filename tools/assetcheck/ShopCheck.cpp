#include "ShopCheck.h"

#include <cctype>
#include <filesystem>
#include <memory>
#include <set>

#include "cocos2d.h"

namespace assetcheck {

namespace fs = std::filesystem;
using namespace cocos2d;

namespace {

constexpr const char* kLanguages[] = {"en", "fr", "es"};
constexpr size_t kMaxId = 11;
constexpr int kPictureWidth = 120, kPictureHeight = 80;

// Owned for the check's length.
struct Plist {
    explicit Plist(const std::string& path) : dict(CCDictionary::createWithContentsOfFileThreadSafe(path)) { }
    ~Plist()
    {
        if (dict)
            dict->release();
    }
    Plist(const Plist&) = delete;
    Plist& operator=(const Plist&) = delete;
    CCDictionary* dict;
};

bool isWholeNumber(CCObject* value)
{
    auto* text = dynamic_cast<CCString*>(value);
    if (!text || text->getString().empty())
        return false;
    for (char c : text->getString())
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string textKeyOf(const std::string& id)
{
    std::string key = id;
    if (!key.empty())
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    return key;
}

void checkPicture(const std::string& root, const std::string& path, Report& report)
{
    CCImage* image = new CCImage();
    if (!image->initWithImageFile((root + "/" + path).c_str())) {
        report.errors.push_back("shop: " + path + " does not decode");
    } else {
        if (image->getWidth() != kPictureWidth || image->getHeight() != kPictureHeight)
            report.errors.push_back("shop: " + path + " is " + std::to_string(image->getWidth()) + " x " +
                                    std::to_string(image->getHeight()) + ", a background is 120 x 80");
        if (image->hasAlpha()) {
            const unsigned char* p = image->getData();
            for (int i = 0; i < image->getWidth() * image->getHeight(); ++i)
                if (p[i * 4 + 3] != 0 && p[i * 4 + 3] != 255) {
                    report.errors.push_back("shop: " + path + " has a pixel whose alpha is neither 0 nor 255");
                    break;
                }
        }
    }
    image->release();
}

}  // namespace

void checkShop(const std::string& root, const std::vector<RequiredName>& required, Report& report)
{
    std::vector<std::string> listed;
    for (const RequiredName& r : required)
        if (r.kind == "shop")
            listed.push_back(r.path);
    if (listed.empty())
        return;
    Plist shop(root + "/data/shop.plist");
    if (!shop.dict) {
        report.errors.push_back("shop: data/shop.plist does not parse");
        return;
    }
    std::vector<std::unique_ptr<Plist>> tables;
    for (const char* language : kLanguages) {
        tables.push_back(std::make_unique<Plist>(root + "/localization/" + language + ".plist"));
        if (!tables.back()->dict)
            report.errors.push_back(std::string("shop: localization/") + language + ".plist does not parse");
    }
    auto needText = [&](const std::string& key, const std::string& what) {
        for (size_t i = 0; i < tables.size(); ++i)
            if (tables[i]->dict && !tables[i]->dict->objectForKey(key))
                report.errors.push_back("shop: " + what + " has no " + key + " in " + kLanguages[i] + ".plist");
    };
    Plist popups(root + "/pvr/popups.plist");
    auto* frames = popups.dict ? dynamic_cast<CCDictionary*>(popups.dict->objectForKey("frames")) : nullptr;
    Plist shopSheet(root + "/pvr/pixelmarket.plist");
    auto* shopFrames = shopSheet.dict ? dynamic_cast<CCDictionary*>(shopSheet.dict->objectForKey("frames")) : nullptr;

    // Elements: each of the shop's list priced, and every priced one complete.
    auto* elements = dynamic_cast<CCDictionary*>(shop.dict->objectForKey("Elements"));
    if (!elements) {
        report.errors.push_back("shop: no \"Elements\" dictionary");
    } else {
        for (const std::string& name : listed)
            if (!elements->objectForKey(name))
                report.errors.push_back("shop: the shop element " + name + " has no price");
        if (CCArray* keys = elements->allKeys())
            for (CCObject* key : *keys) {
                const std::string name = static_cast<CCString*>(key)->getString();
                if (!isWholeNumber(elements->objectForKey(name)))
                    report.errors.push_back("shop: the price of " + name + " is not a whole number");
                if (!frames || !frames->objectForKey("popups_element_" + name + ".png"))
                    report.errors.push_back("shop: the priced element " + name + " has no popups_element_" + name +
                                            ".png frame");
                if (!shopFrames || !shopFrames->objectForKey("pixelmarket_element_" + name + ".png"))
                    report.errors.push_back("shop: the priced element " + name + " has no pixelmarket_element_" + name +
                                            ".png frame");
                needText(name + "Title", "the priced element " + name);
                needText(name + "Shop", "the priced element " + name);
            }
    }

    // Backgrounds: one record per id, each with its picture and texts.
    std::set<std::string> ids;
    auto* records = dynamic_cast<CCArray*>(shop.dict->objectForKey("Backgrounds"));
    if (!records) {
        report.errors.push_back("shop: no \"Backgrounds\" array");
    } else {
        int index = 0;
        for (CCObject* object : *records) {
            ++index;
            const std::string where = "shop: background record " + std::to_string(index);
            auto* record = dynamic_cast<CCDictionary*>(object);
            auto* name = record ? dynamic_cast<CCString*>(record->objectForKey("bkgID")) : nullptr;
            if (!name) {
                report.errors.push_back(where + " has no bkgID");
                continue;
            }
            const std::string id = name->getString();
            bool lower = !id.empty() && id.size() <= kMaxId;
            for (char c : id)
                lower = lower &&
                    (std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
                     c == '_');
            if (!lower)
                report.errors.push_back(where + ": the bkgID \"" + id +
                                        "\" is not 1 to 11 lower-case letters, digits or '_'");
            if (!ids.insert(id).second)
                report.errors.push_back(where + ": the bkgID \"" + id + "\" is used twice");
            if (!isWholeNumber(record->objectForKey("Price")))
                report.errors.push_back(where + " (" + id + ") has no whole-number Price");
            const std::string picture = "backgrounds/Rewards/" + id + ".png";
            if (!fs::is_regular_file(root + "/" + picture))
                report.errors.push_back(where + ": no picture " + picture);
            else
                checkPicture(root, picture, report);
            needText(textKeyOf(id) + "BkgName", "the background " + id);
            needText(textKeyOf(id) + "BkgDescription", "the background " + id);
        }
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root + "/backgrounds/Rewards", ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0 &&
            !ids.count(file.substr(0, file.size() - 4)))
            report.errors.push_back("shop: backgrounds/Rewards/" + file + " has no record in data/shop.plist");
    }
}

}  // namespace assetcheck
