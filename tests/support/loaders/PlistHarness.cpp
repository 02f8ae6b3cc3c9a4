// The plist reader behind every table the game reads: localisation, sprite
// sheets, fonts, shop, hints, blueprints. Whatever the bytes, the reader
// gives null or a sound tree of dictionaries, arrays and texts, and every
// conversion the game applies to a text gives a plain value.
#include <cmath>
#include <fstream>

#include "base/LocalUtils.h"
#include "support/TempFolders.h"
#include "support/loaders/LoaderHarness.h"

USING_NS_CC;

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

// One deeper than the reader's limit: the root and its 256 levels.
constexpr int kDeepest = 258;

std::string checkText(const CCString* s)
{
    const float f = s->floatValue();
    const double d = s->doubleValue();
    (void)s->intValue();
    (void)s->uintValue();
    (void)s->boolValue();
    if (std::isfinite(d) && std::fabs(d) < 1e30 && !std::isfinite(f))
        return "float of a small number is not finite";
    const CCRect r = CCRectFromString(s->getCString());
    const CCPoint p = CCPointFromString(s->getCString());
    const CCSize z = CCSizeFromString(s->getCString());
    (void)r;
    (void)p;
    (void)z;
    return "";
}

std::string walk(CCObject* node, int depth, int& nodes)
{
    if (depth > kDeepest)
        return "tree deeper than the reader's limit";
    ++nodes;
    if (auto* s = dynamic_cast<CCString*>(node))
        return checkText(s);
    if (auto* a = dynamic_cast<CCArray*>(node)) {
        for (unsigned i = 0; i < a->count(); ++i) {
            CCObject* child = a->objectAtIndex(i);
            if (!child)
                return "null in an array";
            std::string why = walk(child, depth + 1, nodes);
            if (!why.empty())
                return why;
        }
        return "";
    }
    if (auto* d = dynamic_cast<CCDictionary*>(node)) {
        unsigned seen = 0;
        CCDictElement* element = nullptr;
        CCDICT_FOREACH(d, element)
        {
            ++seen;
            if (!element->getObject())
                return "null in a dictionary";
            if (d->objectForKey(element->getStrKeyString()) != element->getObject())
                return "key \"" + std::string(element->getStrKeyString()) + "\" finds another value";
            std::string why = walk(element->getObject(), depth + 1, nodes);
            if (!why.empty())
                return why;
        }
        if (seen != d->count())
            return "dictionary count differs from its elements";
        return "";
    }
    return "unknown object in the tree";
}

class PlistHarness : public Harness {
public:
    PlistHarness() : m_file(m_dir.file("fuzz.plist")) { }

    const char* name() const override { return "plist"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out;
        const std::string root = gameResourceRoot();
        for (const char* file : {"localization/en.plist", "data/hints.plist", "fonts/ach_colorFont.plist",
                                 "pvr/GUIRate.plist", "trees/oak/specs.plist", "buildings/house/randomVars.plist"}) {
            Bytes b = readWholeFile(root + "/" + file);
            if (!b.empty())
                out.push_back(std::move(b));
        }
        out.push_back(bytesOfText("<plist version=\"1.0\"><array><integer>3</integer><real>1.5</real><true/>"
                                  "<dict><key>a</key><string>{{1,2},{3,4}}</string></dict></array></plist>"));
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        {
            std::ofstream out(m_file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        }
        for (bool dictionary : {true, false}) {
            // Both readers give an empty container for what they refuse.
            CCObject* root = nullptr;
            if (dictionary) {
                root = CCDictionary::createWithContentsOfFileThreadSafe(m_file);
            } else {
                root = CCArray::createWithContentsOfFile(m_file);
                root->retain();
                CCPoolManager::sharedPoolManager()->drain();
            }
            std::string why;
            int nodes = 0;
            if (root->retainCount() != 1)
                why = "root not handed over with one count";
            else
                why = walk(root, 0, nodes);
            if (why.empty() && dictionary)
                why = asLocalisationTable(static_cast<CCDictionary*>(root));
            root->release();
            if (!why.empty())
                return why;
        }
        return "";
    }

private:
    static Bytes bytesOfText(const std::string& s) { return Bytes(s.begin(), s.end()); }

    // The dictionary as the language's table: every key localised, with
    // values that hold the placeholders themselves.
    static std::string asLocalisationTable(CCDictionary* table)
    {
        CCDictionary* old = localizationTable;
        localizationTable = table;
        std::string why;
        CCDictElement* element = nullptr;
        CCDICT_FOREACH(table, element)
        {
            const char* key = element->getStrKeyString().c_str();
            CCString* text = LocalUtils::localize(key);
            CCString* filled = LocalUtils::localizeWithVars(CCString::create(key), CCString::create("#var2#"),
                                                            CCString::create("#var1#"));
            (void)LocalUtils::localizeWithVar(key, "#var#");
            if (!text || !filled) {
                why = "no text for a key";
                break;
            }
        }
        localizationTable = old;
        CCPoolManager::sharedPoolManager()->drain();
        return why;
    }

    testsupport::TempDir m_dir;
    std::string m_file;
};

}  // namespace

std::unique_ptr<Harness> makePlistHarness()
{
    return std::make_unique<PlistHarness>();
}

}  // namespace loaders
