#include "PixelText.h"

#include <array>
#include <cctype>

namespace assetgen {

namespace {

// Rows top first, '#' inked.
using Small = std::array<const char*, 5>;
using Tall = std::array<const char*, 7>;

const Small* smallGlyph(char c)
{
    static const Small letters[26] = {
        {".#.", "#.#", "###", "#.#", "#.#"}, {"##.", "#.#", "##.", "#.#", "##."}, {".##", "#..", "#..", "#..", ".##"},
        {"##.", "#.#", "#.#", "#.#", "##."}, {"###", "#..", "##.", "#..", "###"}, {"###", "#..", "##.", "#..", "#.."},
        {".##", "#..", "#.#", "#.#", ".##"}, {"#.#", "#.#", "###", "#.#", "#.#"}, {"###", ".#.", ".#.", ".#.", "###"},
        {"..#", "..#", "..#", "#.#", ".#."}, {"#.#", "#.#", "##.", "#.#", "#.#"}, {"#..", "#..", "#..", "#..", "###"},
        {"#.#", "###", "###", "#.#", "#.#"}, {"##.", "#.#", "#.#", "#.#", "#.#"}, {".#.", "#.#", "#.#", "#.#", ".#."},
        {"##.", "#.#", "##.", "#..", "#.."}, {".#.", "#.#", "#.#", "##.", ".##"}, {"##.", "#.#", "##.", "#.#", "#.#"},
        {".##", "#..", ".#.", "..#", "##."}, {"###", ".#.", ".#.", ".#.", ".#."}, {"#.#", "#.#", "#.#", "#.#", "###"},
        {"#.#", "#.#", "#.#", "#.#", ".#."}, {"#.#", "#.#", "###", "###", "#.#"}, {"#.#", "#.#", ".#.", "#.#", "#.#"},
        {"#.#", "#.#", ".#.", ".#.", ".#."}, {"###", "..#", ".#.", "#..", "###"},
    };
    static const Small digits[10] = {
        {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"}, {"##.", "..#", ".#.", "#..", "###"},
        {"##.", "..#", ".#.", "..#", "##."}, {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "##.", "..#", "##."},
        {".##", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."}, {"###", "#.#", "###", "#.#", "###"},
        {"###", "#.#", "###", "..#", "##."},
    };
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isalpha(u))
        return &letters[std::toupper(u) - 'A'];
    if (std::isdigit(u))
        return &digits[c - '0'];
    return nullptr;
}

const Tall kTallDigits[10] = {
    {"###", "#.#", "#.#", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"},
    {"###", "..#", "..#", "###", "#..", "#..", "###"}, {"###", "..#", "..#", ".##", "..#", "..#", "###"},
    {"#.#", "#.#", "#.#", "###", "..#", "..#", "..#"}, {"###", "#..", "#..", "###", "..#", "..#", "###"},
    {"###", "#..", "#..", "###", "#.#", "#.#", "###"}, {"###", "..#", "..#", ".#.", ".#.", ".#.", ".#."},
    {"###", "#.#", "#.#", "###", "#.#", "#.#", "###"}, {"###", "#.#", "#.#", "###", "..#", "..#", "###"},
};
const Tall kTallPlus = {"...", "...", ".#.", "###", ".#.", "...", "..."};

template <size_t Rows> void drawGlyph(Image& image, int x, int y, const std::array<const char*, Rows>& glyph, Rgba ink)
{
    for (size_t row = 0; row < Rows; ++row)
        for (int col = 0; col < 3; ++col)
            if (glyph[row][col] == '#')
                image.set(x + col, y + static_cast<int>(row), ink);
}

}  // namespace

int smallTextWidth(const std::string& text)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) * 4 - 1;
}

void drawSmallText(Image& image, int x, int y, const std::string& text, Rgba ink)
{
    for (char c : text) {
        if (const Small* glyph = smallGlyph(c))
            drawGlyph(image, x, y, *glyph, ink);
        x += 4;
    }
}

Image labelledBlock(int width, int height, Rgba fill, Rgba outline, const std::string& label, Rgba ink)
{
    Image out(width, height);
    out.fillRect(0, 0, width, height, fill);
    out.fillRect(0, 0, width, 1, outline);
    out.fillRect(0, height - 1, width, 1, outline);
    out.fillRect(0, 0, 1, height, outline);
    out.fillRect(width - 1, 0, 1, height, outline);
    std::string text = label;
    while (!text.empty() && smallTextWidth(text) > width - 2)
        text.pop_back();
    drawSmallText(out, (width - smallTextWidth(text)) / 2, (height - 5) / 2, text, ink);
    return out;
}

Image digitStrip(Rgba ink)
{
    Image out(42, 7);
    drawGlyph(out, 0, 0, kTallPlus, ink);
    for (int n = 0; n <= 9; ++n)
        drawGlyph(out, 4 * n + 3, 0, kTallDigits[n], ink);
    return out;
}

std::string placeholderLabel(const std::string& name)
{
    // Families share their first word: the word after it tells them apart.
    std::string rest = name;
    for (const char* prefix : {"MPLeader", "MP", "Seed"}) {
        const std::string p = prefix;
        if (rest.size() > p.size() && rest.compare(0, p.size(), p) == 0 &&
            std::isupper(static_cast<unsigned char>(rest[p.size()]))) {
            rest = rest.substr(p.size());
            break;
        }
    }
    std::string capitals;
    for (char c : rest)
        if (std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)))
            capitals += c;
    std::string label = capitals.size() >= 2 ? capitals : rest;
    if (label.size() > 3)
        label.resize(3);
    for (char& c : label)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return label;
}

}  // namespace assetgen
