#include "base/Utils.h"

#include "base/Logger.h"
#include "platform/Folders.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

USING_NS_CC;

std::string documentsFolder;
std::string screenshotsFolder;
std::string saveFolder;
std::string resourceRoot;

bool initDocumentsFolders()
{
    platform::FolderResult docs = platform::Folders::documentsFolder();
    if (!docs.ok) {
        LOG_ERROR << "No documents folder:" << docs.error;
        documentsFolder.clear();
        screenshotsFolder.clear();
        return false;
    }
    documentsFolder = docs.path;
    screenshotsFolder = documentsFolder + "/screenshots";
    return true;
}

bool initSaveFolder()
{
    platform::FolderResult save = platform::Folders::saveFolder();
    if (!save.ok) {
        LOG_ERROR << "No save folder:" << save.error;
        saveFolder.clear();
        return false;
    }
    saveFolder = save.path;
    return true;
}

CCArray* createArrayWithObjects(CCObject* first, ...)
{
    CCArray* array = new CCArray();
    va_list args;
    va_start(args, first);
    for (CCObject* object = first; object; object = va_arg(args, CCObject*))
        array->addObject(object);
    va_end(args);
    return array;
}

std::string toStdString(CCString* string)
{
    return string ? string->getString() : std::string();
}

CCString* createCCString(const char* text)
{
    return new CCString(text);
}

CCString* appendToCCString(CCString* string, const std::string& tail)
{
    return CCString::create((string ? string->getString() : std::string()) + tail);
}

CCString* concatCCStrings(CCString* first, CCString* second)
{
    return CCString::create((first ? first->getString() : std::string()) +
                            (second ? second->getString() : std::string()));
}

CCArray* splitCCString(CCString* string, const std::string& separator)
{
    if (!string)
        return nullptr;
    CCArray* parts = CCArray::create();
    const std::string& text = string->getString();
    if (separator.empty()) {
        parts->addObject(CCString::create(text));
        return parts;
    }
    size_t position = 0;
    while (true) {
        size_t match = text.find(separator, position);
        if (match == std::string::npos) {
            parts->addObject(CCString::create(text.substr(position)));
            break;
        }
        parts->addObject(CCString::create(text.substr(position, match - position)));
        position = match + separator.size();
    }
    return parts;
}

namespace {

std::string mapBytes(const std::string& text, int (*change)(int))
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(change(static_cast<unsigned char>(c)));
    return result;
}

// The C locale's rules, whatever locale the process runs in.
int asciiUpper(int c)
{
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

int asciiLower(int c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

}  // namespace

CCString* toUpperCCString(const std::string& text)
{
    // Shown texts: the accented small letters of French and Spanish have
    // capitals in every font, so they change too (a caption in capitals with
    // one small "è" reads as a fault). Other bytes stay.
    std::string result = mapBytes(text, asciiUpper);
    for (size_t i = 0; i + 1 < result.size(); ++i) {
        auto lead = static_cast<unsigned char>(result[i]);
        auto next = static_cast<unsigned char>(result[i + 1]);
        if (lead == 0xC3 && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
            result[i + 1] = static_cast<char>(next - 0x20);  // à..þ but ÷
            ++i;
        } else if (lead == 0xC3 && next == 0xBF) {
            result.replace(i, 2, "\xC5\xB8");  // ÿ -> Ÿ
            ++i;
        } else if (lead == 0xC5 && next == 0x93) {
            result[i + 1] = static_cast<char>(0x92);  // œ -> Œ
            ++i;
        } else if (lead >= 0xC0) {
            ++i;
        }
    }
    return CCString::create(result);
}

CCString* toLowerCCString(const std::string& text)
{
    return CCString::create(mapBytes(text, asciiLower));
}

CCString* toLowerCString(const char* text)
{
    return text ? toLowerCCString(text) : nullptr;
}

std::string toLowerString(const std::string& text)
{
    return mapBytes(text, asciiLower);
}

std::string trimmedText(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

CCString* truncateCCString(CCString* string, unsigned maxLength)
{
    if (!string)
        return nullptr;
    const std::string& text = string->getString();
    return CCString::create(text.size() >= maxLength ? text.substr(0, maxLength) : text);
}

std::wstring ansiToWide(const std::string& text)
{
    // The game's texts are UTF-8 here; bytes that do not decode pass as they are.
    std::wstring result;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra == 0 || i + extra >= text.size()) {
            result += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        uint32_t code = c & (0x3F >> extra);
        bool valid = true;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            result += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        result += static_cast<wchar_t>(code);
        i += extra + 1;
    }
    return result;
}

std::string stripTrailingSlashes(const std::string& path, bool allowEmpty)
{
    if (path.empty() || path.back() != '/')
        return path;
    size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return allowEmpty ? std::string() : std::string("/");
    return path.substr(0, end + 1);
}

std::string joinPath(const std::string& first, const std::string& second)
{
    if (first.empty())
        return second;
    size_t start = second.find_first_not_of('/');
    return stripTrailingSlashes(first, true) + "/" +
        (start == std::string::npos ? std::string() : second.substr(start));
}

std::string appendExtension(const std::string& base, const std::string& extension)
{
    return extension.empty() ? base : base + "." + extension;
}

std::string removeExtension(const std::string& path)
{
    std::string stripped = stripTrailingSlashes(path, false);
    size_t dot = stripped.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return stripped;
    size_t slash = stripped.rfind('/');
    if (slash != std::string::npos && dot < slash)
        return stripped;
    return stripped.substr(0, dot);
}

std::string lastPathComponent(const std::string& path)
{
    std::string stripped = stripTrailingSlashes(path, false);
    size_t slash = stripped.rfind('/');
    if (slash == std::string::npos || stripped.size() == 1)
        return stripped;
    return stripped.substr(slash + 1);
}

std::string soundFilePath(const char* folder, const char* name)
{
    return joinPath(folder ? folder : "", name ? name : "") + "." + "mp3";
}

std::string intToString(int value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

bool stringsEqual(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return std::strcmp(a, b) == 0;
}

bool ccStringEqualsCString(CCString* a, const char* b)
{
    return stringsEqual(a ? a->getCString() : nullptr, b);
}

bool cStringEqualsCCString(const char* a, CCString* b)
{
    return ccStringEqualsCString(b, a);
}

bool ccStringsEqual(CCString* a, CCString* b)
{
    if (!a || !b)
        return a == b;
    return a->getString() == b->getString();
}

bool setContainsString(CCSet* set, CCString* string)
{
    if (!set || !string)
        return false;
    for (CCObject* object : *set) {
        auto* element = dynamic_cast<CCString*>(object);
        if (element && element->getString() == string->getString())
            return true;
    }
    return false;
}

bool arrayContainsString(CCArray* array, CCString* string)
{
    if (!array || !string)
        return false;
    for (CCObject* object : *array) {
        if (!object)
            break;
        auto* element = dynamic_cast<CCString*>(object);
        if (element && element->getString() == string->getString())
            return true;
    }
    return false;
}

void removeStringFromSet(CCSet* set, CCString* string)
{
    if (!set || !string) {
        LOG;
        return;
    }
    // The text may be the set's own member: keep it alive while comparing.
    std::string text = string->getString();
    while (true) {
        CCObject* found = nullptr;
        for (CCObject* object : *set) {
            auto* element = dynamic_cast<CCString*>(object);
            if (element && element->getString() == text) {
                found = object;
                break;
            }
        }
        if (!found)
            break;
        set->removeObject(found);
    }
}

Range rangeOfString(const std::string& needle, const std::string& haystack)
{
    size_t start = haystack.find(needle);
    if (start == std::string::npos)
        return Range{Range::npos, 0};
    return Range{static_cast<uint32_t>(start), static_cast<uint32_t>(needle.size())};
}

std::string replaceAll(const char* text, const char* pattern, const char* replacement)
{
    if (!text || !pattern || !replacement || !*pattern)
        return std::string();
    std::string source = text;
    std::string result;
    size_t patternLength = std::strlen(pattern);
    size_t position = 0;
    while (true) {
        size_t match = source.find(pattern, position);
        if (match == std::string::npos)
            break;
        result.append(source, position, match - position);
        result += replacement;
        position = match + patternLength;
    }
    result.append(source, position, std::string::npos);
    return result;
}

std::string replaceRange(const std::string& text, Range range, const std::string& replacement)
{
    // Only a range that lies wholly inside the text is replaced; 64-bit sums
    // so that a huge start or length cannot wrap around.
    uint64_t start = range.start;
    uint64_t end = start + range.length;
    if (range.start == Range::npos || start > text.size() || end > text.size())
        return text;
    std::string result = text;
    result.replace(static_cast<size_t>(start), range.length, replacement);
    return result;
}

std::string replaceRangeOfCCString(CCString* text, Range range, const std::string& replacement)
{
    return replaceRange(text ? text->getString() : std::string(), range, replacement);
}

std::string errnoText(int error)
{
    switch (error) {
    case EPERM: return "The file system containing pathname does not support the creation of directories;";
    case ENOENT: return "A directory component in pathname does not exist or is a dangling symbolic link;";
    case ENOMEM: return "Insufficient kernel memory was available;";
    case EACCES:
        return "The parent directory does not allow write permission to the process, or one of the "
               "directories in pathname did not allow search permission;";
    case EFAULT: return "Pathname points outside your accessible address space;";
    case EEXIST: return "Pathname already exists (not necessarily as a directory);";
    case ENOTDIR: return "A component used as a directory in pathname is not, in fact, a directory;";
    case ENOSPC: return "The device containing pathname has no room for the new directory;";
    case EROFS: return "Pathname refers to a file on a read-only file system;";
    case EMLINK: return "The number of links to the parent directory would exceed LINK_MAX;";
    case ENAMETOOLONG: return "Pathname was too long;";
    case ELOOP: return "Too many symbolic links were encountered in resolving pathname;";
    default: return std::string();
    }
}

void logErrnoText()
{
    LOG << Logger::Label("msg") << errnoText(errno);
}

namespace {

bool makeOneDirectory(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        // Something else has the folder's name: that is a failure, not success.
        errno = EEXIST;
    } else if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return true;
    }
    int saved = errno;
    LOG_ERROR << "Error on creation directory: " << path;
    errno = saved;
    logErrnoText();
    return false;
}

}  // namespace

bool makeDirectories(const std::string& path, bool recursive)
{
    if (path.empty()) {
        LOG_ERROR << "Error on creation directory: " << path;
        return false;
    }
    if (!recursive)
        return makeOneDirectory(path);
    for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (prefix.empty() || prefix.back() == '/')
            continue;
        if (!makeOneDirectory(prefix))
            return false;
    }
    return makeOneDirectory(path);
}

std::list<std::string> listFilesInFolder(const std::string& folder)
{
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return listArchiveEntries(joinPath("assets", folder));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        LOG << "Path not found: " << folder;
        return {};
    }
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat entryInfo;
        if (::stat(joinPath(folder, name).c_str(), &entryInfo) == 0 && S_ISDIR(entryInfo.st_mode))
            continue;
        names.push_back(name);
    }
    ::closedir(dir);
    // The system's order differs between file systems; sorted, it is the same everywhere.
    std::sort(names.begin(), names.end());
    return std::list<std::string>(names.begin(), names.end());
}

std::list<std::string> listArchiveEntries(const std::string&)
{
    return {};
}

std::string urlEncode(const std::string& text, const std::string& unencoded, const std::string& encoded)
{
    bool keep[256] = {};
    for (unsigned char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.~"))
        keep[c] = true;
    for (unsigned char c : unencoded)
        keep[c] = true;
    for (unsigned char c : encoded)
        keep[c] = false;
    keep[static_cast<unsigned char>(' ')] = false;
    std::string result;
    result.reserve(text.size());
    for (unsigned char c : text) {
        if (keep[c]) {
            result += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%.2X", c);
            result += escaped;
        }
    }
    return result;
}

void invokeSelector(CCObject* target, SEL_CallFunc selector)
{
    if (!target || !selector)
        return;
    CCCallFunc::create(target, selector)->execute();
}

void runAfterDelay(CCNode* node, CCObject* target, SEL_CallFunc selector, float delay)
{
    if (!node)
        node = CCDirector::sharedDirector()->getRunningScene();
    if (!node) {
        LOG_ERROR << "runAfterDelay: no scene to run on";
        return;
    }
    node->runAction(CCSequence::create(CCDelayTime::create(delay), CCCallFunc::create(target, selector), NULL));
}

void popSceneAfterDelay(float delay)
{
    FunctionTrace trace(205);
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene) {
        LOG_ERROR << "popSceneAfterDelay: no running scene";
        return;
    }
    scene->runAction(CCSequence::create(
        CCDelayTime::create(delay),
        CCCallFunc::create(CCDirector::sharedDirector(), callfunc_selector(CCDirector::popScene)), NULL));
}
