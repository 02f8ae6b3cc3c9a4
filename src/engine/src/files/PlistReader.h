#pragma once
// Internal: the XML plist reader behind CCDictionary and CCArray
// createWithContentsOfFile.

#include <string>

#include "cocos2d/CCObject.h"

namespace cocos2d {

enum class PlistRoot { Dictionary, Array };

// Parses the file (resolved through CCFileUtils) and returns its root with a
// count of 1, not autoreleased, or null with one log line when the file is
// missing, unreadable, malformed, binary or has another root. Touches no
// autorelease pool, so it may run on a background thread.
CCObject* plistReadFile(const std::string& path, PlistRoot expected);

// The same over bytes already in memory; name is used in log lines only.
CCObject* plistReadBuffer(const char* data, size_t size, const std::string& name, PlistRoot expected);

}  // namespace cocos2d
