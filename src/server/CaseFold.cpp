#include "server/CaseFold.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "base/Utf8.h"

namespace gallery {

namespace {

locale_t utf8Locale()
{
    // Made once, never freed: the locale is read by every thread for the
    // life of the server.
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

// Unicode's Default_Ignorable_Code_Point: drawn as nothing (variation
// selectors, the combining grapheme joiner, Hangul fillers, zero-width
// spaces and joiners, direction marks, the soft hyphen, tags...).
bool drawsNothing(uint32_t code)
{
    return inRanges(code,
                    {{0x00AD, 0x00AD},
                     {0x034F, 0x034F},
                     {0x061C, 0x061C},
                     {0x115F, 0x1160},
                     {0x17B4, 0x17B5},
                     {0x180B, 0x180F},
                     {0x200B, 0x200F},
                     {0x202A, 0x202E},
                     {0x2060, 0x206F},
                     {0x3164, 0x3164},
                     {0xFE00, 0xFE0F},
                     {0xFEFF, 0xFEFF},
                     {0xFFA0, 0xFFA0},
                     {0xFFF0, 0xFFF8},
                     {0x1BCA0, 0x1BCA3},
                     {0x1D173, 0x1D17A},
                     {0xE0000, 0xE0FFF}});
}

// Drawn as a gap: the space separators (Zs) and the braille blank.
bool isBlank(uint32_t code)
{
    return inRanges(code,
                    {{0x0020, 0x0020},
                     {0x00A0, 0x00A0},
                     {0x1680, 0x1680},
                     {0x2000, 0x200A},
                     {0x202F, 0x202F},
                     {0x205F, 0x205F},
                     {0x2800, 0x2800},
                     {0x3000, 0x3000}});
}

// A combining mark (an accent, a vowel sign, an enclosing circle), drawn on
// the character before it.
bool isCombining(uint32_t code, locale_t locale)
{
    static const wctype_t combining = locale ? wctype_l("combining", locale) : wctype_t(0);
    return combining && iswctype_l(static_cast<wint_t>(code), combining, locale);
}

uint32_t foldCase(uint32_t code, locale_t locale)
{
    // Through uppercase first, so that final sigma and the other lowercase
    // variants meet their letter.
    if (locale)
        return static_cast<uint32_t>(towlower_l(towupper_l(static_cast<wint_t>(code), locale), locale));
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
}

}  // namespace

bool inRanges(uint32_t code, std::initializer_list<CodeRange> ranges)
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [code](const CodeRange& r) { return code >= r.first && code <= r.last; });
}

bool caseFoldReady()
{
    return utf8Locale() != locale_t(nullptr);
}

std::string nicknameKey(const std::string& nickname)
{
    const locale_t locale = utf8Locale();
    std::string out;
    out.reserve(nickname.size());
    bool gap = false;   // blanks since the last character drawn
    bool base = false;  // a character drawn for a mark to sit on
    for (size_t at = 0; at < nickname.size();) {
        uint32_t code = 0;
        const size_t length = decodeUtf8(nickname, at, code);
        const size_t from = at;
        at += length == 0 ? 1 : length;
        if (length != 0 && (drawsNothing(code) || (!base && isCombining(code, locale))))
            continue;
        if (length != 0 && isBlank(code)) {
            gap = !out.empty();
            base = false;
            continue;
        }
        if (gap)
            out += ' ';
        gap = false;
        base = true;
        if (length == 0)
            out += nickname[from];
        else
            appendUtf8(foldCase(code, locale), out);
    }
    return out;
}

}  // namespace gallery
