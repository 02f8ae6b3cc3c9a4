#include "files/PlistReader.h"

#include <pugixml.hpp>

#include <cstring>

#include "base/EngineLog.h"
#include "cocos2d/CCArray.h"
#include "cocos2d/CCDictionary.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCString.h"

namespace cocos2d {

namespace {

// Deeper nesting than any real file; bounds the recursion on hostile input.
const int kMaxDepth = 256;

// The element's text exactly as written (entities decoded, nothing trimmed).
std::string textOf(const pugi::xml_node& element)
{
    std::string text;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        }
    }
    return text;
}

struct Reader {
    const std::string& name;

    CCObject* value(const pugi::xml_node& element, int depth);

    CCObject* dictionary(const pugi::xml_node& element, int depth)
    {
        CCDictionary* dict = new CCDictionary();
        bool haveKey = false;
        std::string key;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            if (std::strcmp(child.name(), "key") == 0) {
                if (haveKey) {
                    engineLog("plist %s: key \"%s\" has no value", name.c_str(), key.c_str());
                }
                key = textOf(child);
                haveKey = true;
                continue;
            }
            if (!haveKey) {
                engineLog("plist %s: <%s> without a key skipped", name.c_str(), child.name());
                continue;
            }
            haveKey = false;
            CCObject* object = value(child, depth + 1);
            if (object) {
                // A duplicate key: the last value wins at the first position.
                dict->setObject(object, key);
                object->release();
            }
        }
        if (haveKey) {
            engineLog("plist %s: key \"%s\" has no value", name.c_str(), key.c_str());
        }
        return dict;
    }

    CCObject* array(const pugi::xml_node& element, int depth)
    {
        CCArray* array = new CCArray();
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            CCObject* object = value(child, depth + 1);
            if (object) {
                array->addObject(object);
                object->release();
            }
        }
        return array;
    }
};

CCObject* Reader::value(const pugi::xml_node& element, int depth)
{
    if (depth > kMaxDepth) {
        engineLog("plist %s: nesting deeper than %d skipped", name.c_str(), kMaxDepth);
        return nullptr;
    }
    const char* tag = element.name();
    if (std::strcmp(tag, "dict") == 0) {
        return dictionary(element, depth);
    }
    if (std::strcmp(tag, "array") == 0) {
        return array(element, depth);
    }
    if (std::strcmp(tag, "string") == 0 || std::strcmp(tag, "integer") == 0 || std::strcmp(tag, "real") == 0 ||
        std::strcmp(tag, "date") == 0 || std::strcmp(tag, "data") == 0) {
        return new CCString(textOf(element));
    }
    if (std::strcmp(tag, "true") == 0) {
        return new CCString("1");
    }
    if (std::strcmp(tag, "false") == 0) {
        return new CCString("0");
    }
    engineLog("plist %s: unknown element <%s> skipped", name.c_str(), tag);
    return nullptr;
}

}  // namespace

CCObject* plistReadBuffer(const char* data, size_t size, const std::string& name, PlistRoot expected)
{
    if (size >= 6 && std::memcmp(data, "bplist", 6) == 0) {
        engineLog("plist %s: binary plists are not supported", name.c_str());
        return nullptr;
    }
    pugi::xml_document doc;
    // parse_ws_pcdata_single keeps "<key> </key>" as a single space.
    pugi::xml_parse_result parsed = doc.load_buffer(data, size, pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!parsed) {
        engineLog("plist %s: malformed at byte %lld: %s", name.c_str(), (long long)parsed.offset, parsed.description());
        return nullptr;
    }
    pugi::xml_node top = doc.document_element();
    pugi::xml_node root = top;
    if (top && std::strcmp(top.name(), "plist") == 0) {
        root = pugi::xml_node();
        for (pugi::xml_node child = top.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                root = child;
                break;
            }
        }
    }
    const char* wanted = expected == PlistRoot::Dictionary ? "dict" : "array";
    if (!root || std::strcmp(root.name(), wanted) != 0) {
        engineLog("plist %s: root is <%s>, not <%s>", name.c_str(), root ? root.name() : "", wanted);
        return nullptr;
    }
    Reader reader{name};
    return reader.value(root, 0);
}

CCObject* plistReadFile(const std::string& path, PlistRoot expected)
{
    unsigned long size = 0;
    unsigned char* bytes = CCFileUtils::sharedFileUtils()->getFileData(path.c_str(), "rb", &size);
    if (!bytes) {
        return nullptr;  // getFileData logged it
    }
    CCObject* root = plistReadBuffer(reinterpret_cast<const char*>(bytes), size, path, expected);
    delete[] bytes;
    return root;
}

}  // namespace cocos2d
