#pragma once
// Free helpers every subsystem calls: the per-user folders, engine string and
// array constructors, '/'-only paths, null-safe string comparisons, text
// replacement, case changes, local folders, the sound path, delayed
// callbacks and query encoding. Main thread; the folders are set at start-up.
#include <cstdint>
#include <list>
#include <string>

#include "cocos2d.h"

namespace cocos2d {
class CCNode;
}

// Filled once at start-up; empty when the folder could not be found.
extern std::string documentsFolder;    // documents + "/ORVANE/TesmOra"
extern std::string screenshotsFolder;  // documentsFolder + "/screenshots"
extern std::string saveFolder;         // data folder + "/ORVANE/TesmOra"
// The folder the game reads its assets from (the engine's resource root).
extern std::string resourceRoot;

// Fill the folders from the platform; a folder that cannot be found stays
// empty and is logged. True when found.
bool initDocumentsFolders();
bool initSaveFolder();

// Engine strings and arrays.
cocos2d::CCArray* createArrayWithObjects(cocos2d::CCObject* first, ...);  // NULL-ended, retained
cocos2d::CCString* createCCString(const char* text);                      // retained
std::string toStdString(cocos2d::CCString* string);                       // "" for null
cocos2d::CCString* appendToCCString(cocos2d::CCString* string, const std::string& tail);
cocos2d::CCString* concatCCStrings(cocos2d::CCString* first, cocos2d::CCString* second);
cocos2d::CCArray* splitCCString(cocos2d::CCString* string, const std::string& separator);
cocos2d::CCString* toUpperCCString(const std::string& text);
cocos2d::CCString* toLowerCCString(const std::string& text);
cocos2d::CCString* toLowerCString(const char* text);
std::string toLowerString(const std::string& text);
// The text without the blanks (spaces, tabs, line ends) at its ends.
std::string trimmedText(const std::string& text);
cocos2d::CCString* truncateCCString(cocos2d::CCString* string, unsigned maxLength);
std::wstring ansiToWide(const std::string& text);

// Paths, '/' only.
std::string stripTrailingSlashes(const std::string& path, bool allowEmpty);
std::string joinPath(const std::string& first, const std::string& second);
std::string appendExtension(const std::string& base, const std::string& extension);
std::string removeExtension(const std::string& path);
std::string lastPathComponent(const std::string& path);
std::string soundFilePath(const char* folder, const char* name);

// Decimal text of a number, through a string stream.
std::string intToString(int value);

// Null-safe comparisons: two nulls are equal, one null differs.
bool stringsEqual(const char* a, const char* b);
bool ccStringEqualsCString(cocos2d::CCString* a, const char* b);
bool cStringEqualsCCString(const char* a, cocos2d::CCString* b);
bool ccStringsEqual(cocos2d::CCString* a, cocos2d::CCString* b);
bool setContainsString(cocos2d::CCSet* set, cocos2d::CCString* string);
bool arrayContainsString(cocos2d::CCArray* array, cocos2d::CCString* string);
void removeStringFromSet(cocos2d::CCSet* set, cocos2d::CCString* string);

struct Range {
    static constexpr uint32_t npos = 0xFFFFFFFFu;
    uint32_t start;
    uint32_t length;
};
Range rangeOfString(const std::string& needle, const std::string& haystack);

// Every occurrence of the pattern, left to right without overlap; "" when any
// argument is null or the pattern is empty.
std::string replaceAll(const char* text, const char* pattern, const char* replacement);
// The range's bytes replaced when the whole range lies inside the text;
// otherwise an unchanged copy.
std::string replaceRange(const std::string& text, Range range, const std::string& replacement);
std::string replaceRangeOfCCString(cocos2d::CCString* text, Range range, const std::string& replacement);

// Local folders.
bool makeDirectories(const std::string& path, bool recursive);
void logErrnoText();
std::string errnoText(int error);
// File names in the folder (no folders, no "." or ".."), sorted by name.
std::list<std::string> listFilesInFolder(const std::string& folder);
// No application archive on this platform: always empty.
std::list<std::string> listArchiveEntries(const std::string& prefix);

// Callbacks.
void invokeSelector(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
void runAfterDelay(cocos2d::CCNode* node, cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector, float delay);

// Percent-encoding of a query value. Letters, digits and "-_.~" stay, plus the
// characters of `unencoded`, minus those of `encoded`; every other byte is
// "%XX". A space is always "%20": left as it is it would break the URL.
std::string urlEncode(const std::string& text, const std::string& unencoded = std::string(),
                      const std::string& encoded = std::string());
