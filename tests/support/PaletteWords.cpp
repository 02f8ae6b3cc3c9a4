#include "support/PaletteWords.h"

#include <cctype>
#include <set>

#include "base/Utils.h"
#include "cocos2d.h"

namespace testsupport {

std::vector<std::string> wordsOf(const std::string& text)
{
    std::vector<std::string> words(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::string letter;
        if (c < 0x80 && std::isalnum(c)) {
            letter = static_cast<char>(std::tolower(c));
        } else if ((c == 0xC3 || c == 0xC5) && i + 1 < text.size()) {  // é, Ñ, œ; 0xC2 and 0xE2 lead spaces
            auto next = static_cast<unsigned char>(text[++i]);
            if ((c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) || (c == 0xC5 && next == 0x92))
                next = static_cast<unsigned char>(next + (c == 0xC3 ? 0x20 : 1));
            letter = {static_cast<char>(c), static_cast<char>(next)};
        }
        if (!letter.empty())
            words.back() += letter;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

bool isFormOf(const std::string& word, const std::string& base)
{
    const auto ends = [&](const char* end) {
        const std::string e = end;
        return base.size() > e.size() && base.compare(base.size() - e.size(), e.size(), e) == 0;
    };
    if (word == base || word.size() < 2 || base.size() < 2 || word.compare(0, 2, base, 0, 2) != 0)
        return word == base;
    const std::string cut1 = base.substr(0, base.size() - 1);
    std::set<std::string> forms{base, base + "s", base + "es", base + "x", base + "e"};
    if (ends("o"))
        forms.insert({cut1 + "a", cut1 + "as"});
    if (ends("y"))
        forms.insert(cut1 + "ies");
    if (ends("z"))
        forms.insert(cut1 + "ces");
    if (ends("al"))
        forms.insert(base.substr(0, base.size() - 2) + "aux");
    // The Spanish plural drops the accent of a last syllable: camión, camiones.
    static const std::map<std::string, char> plain{
        {"\xC3\xA1", 'a'}, {"\xC3\xA9", 'e'}, {"\xC3\xAD", 'i'}, {"\xC3\xB3", 'o'}, {"\xC3\xBA", 'u'}};
    if (base.size() > 3 && plain.count(base.substr(base.size() - 3, 2)))
        forms.insert(base.substr(0, base.size() - 3) + plain.at(base.substr(base.size() - 3, 2)) + base.back() + "es");
    return forms.count(word) > 0;
}

std::vector<size_t> phraseAt(const std::vector<std::string>& text, const std::vector<std::string>& phrase, bool forms)
{
    std::vector<size_t> found;
    for (size_t at = 0; !phrase.empty() && at + phrase.size() <= text.size(); ++at) {
        size_t n = 0;
        while (n < phrase.size() && (forms ? isFormOf(text[at + n], phrase[n]) : text[at + n] == phrase[n]))
            ++n;
        if (n == phrase.size())
            found.push_back(at);
    }
    return found;
}

std::map<std::string, std::string> textTable(const std::string& plist)
{
    std::map<std::string, std::string> table;
    cocos2d::CCDictionary* dict = cocos2d::CCDictionary::createWithContentsOfFile(plist.c_str());
    cocos2d::CCDictElement* element = nullptr;
    CCDICT_FOREACH(dict, element)
    {
        if (auto* text = dynamic_cast<cocos2d::CCString*>(element->getObject()))
            table[element->getStrKey()] = text->getString();
    }
    return table;
}

std::string paletteName(const std::map<std::string, std::string>& table, const std::string& element)
{
    if (auto it = table.find(element + "PaletteTitle"); it != table.end())
        return replaceAll(it->second.c_str(), "- ", "");
    auto it = table.find(element + "Title");
    return it != table.end() ? it->second : element;
}

}  // namespace testsupport
