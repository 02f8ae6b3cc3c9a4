#pragma once
// Localised texts by key from the language's table, with "#var#", "#var1#"
// and "#var2#" filled in. A missing key (or no table) answers the key itself.
// Main thread.
#include <string>

#include "cocos2d.h"

// The language's table: null until start-up loads it, then kept for the run.
extern cocos2d::CCDictionary* localizationTable;

namespace LocalUtils {

// The table's own text for the key, or a new text holding the key.
cocos2d::CCString* getLocalizedString(const char* key);
// "" for a null key.
cocos2d::CCString* localize(const char* key);
cocos2d::CCString* localizeCCString(cocos2d::CCString* key);
// Every "#var#" replaced by the value; "" when the value is null.
cocos2d::CCString* localizeWithVar(const char* key, const char* value);
cocos2d::CCString* localizeCCStringWithVar(cocos2d::CCString* key, cocos2d::CCString* value);
// "#var1#" by the first value, then "#var2#" by the second over that result;
// "" when any argument is null.
cocos2d::CCString* localizeWithVars(cocos2d::CCString* key, cocos2d::CCString* first, cocos2d::CCString* second);

// The key of a counted text: the singular one for a count the language says
// in the singular (1; 0 as well where the table's "CountZeroSingular" is
// "1", as in French), else the plural one.
const char* countedKey(const char* singular, const char* plural, long long count);

// A number with that many decimals, written with the language's decimal
// separator ("4.0" in English, "4,0" in French and Spanish).
std::string decimalText(double value, int decimals);

// The table file of a language code: 2 French, 5 Spanish, anything else English.
const char* tableFileForLanguage(int languageCode);

}  // namespace LocalUtils
