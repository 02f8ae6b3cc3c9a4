#include "base/LocalUtils.h"

#include <cstdio>

#include "base/Utils.h"

USING_NS_CC;

CCDictionary* localizationTable = nullptr;

namespace LocalUtils {

CCString* getLocalizedString(const char* key)
{
    if (!key)
        return CCString::create("");
    if (localizationTable) {
        if (auto* text = dynamic_cast<CCString*>(localizationTable->objectForKey(key)))
            return text;
    }
    return CCString::create(key);
}

CCString* localize(const char* key)
{
    return key ? getLocalizedString(key) : CCString::create("");
}

CCString* localizeCCString(CCString* key)
{
    return key ? getLocalizedString(key->getCString()) : CCString::create("");
}

CCString* localizeWithVar(const char* key, const char* value)
{
    if (!key)
        return CCString::create("");
    return CCString::create(replaceAll(getLocalizedString(key)->getCString(), "#var#", value));
}

CCString* localizeCCStringWithVar(CCString* key, CCString* value)
{
    if (!key || !value)
        return CCString::create("");
    return localizeWithVar(key->getCString(), value->getCString());
}

CCString* localizeWithVars(CCString* key, CCString* first, CCString* second)
{
    if (!key || !first || !second)
        return CCString::create("");
    std::string once = replaceAll(getLocalizedString(key->getCString())->getCString(), "#var1#", first->getCString());
    return CCString::create(replaceAll(once.c_str(), "#var2#", second->getCString()));
}

const char* countedKey(const char* singular, const char* plural, long long count)
{
    if (count == 1)
        return singular;
    return count == 0 && getLocalizedString("CountZeroSingular")->getString() == "1" ? singular : plural;
}

std::string decimalText(double value, int decimals)
{
    char shown[64];
    std::snprintf(shown, sizeof shown, "%.*f", decimals, value);
    std::string text = shown;
    // The table's separator; a table without one keeps the point.
    const std::string separator = getLocalizedString("DecimalSeparator")->getString();
    const size_t point = text.find('.');
    if (point != std::string::npos && separator != "DecimalSeparator" && !separator.empty())
        text.replace(point, 1, separator);
    return text;
}

const char* tableFileForLanguage(int languageCode)
{
    switch (languageCode) {
    case 2: return "localization/fr.plist";
    case 5: return "localization/es.plist";
    default: return "localization/en.plist";
    }
}

}  // namespace LocalUtils
