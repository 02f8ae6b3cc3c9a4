#include "Manifest.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace assetgen {

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

bool readManifest(const std::string& path, std::vector<ManifestLine>& lines, std::string& error)
{
    std::vector<std::string> raw;
    if (!readLines(path, raw, error))
        return false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string& text = raw[i];
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#')
            continue;
        ManifestLine line;
        line.file = path;
        line.number = static_cast<int>(i + 1);
        std::istringstream words(text);
        std::string word;
        while (words >> word)
            line.words.push_back(word);
        size_t afterFirst = text.find_first_of(" \t", first);
        if (afterFirst != std::string::npos) {
            size_t restStart = text.find_first_not_of(" \t", afterFirst);
            if (restStart != std::string::npos)
                line.rest = text.substr(restStart);
        }
        lines.push_back(line);
    }
    return true;
}

bool parseInt(const std::string& word, int& value)
{
    if (word.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

static int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

bool splitUtf8Chars(const std::string& text, std::vector<std::string>& chars)
{
    for (size_t i = 0; i < text.size();) {
        int n = utf8Length(static_cast<unsigned char>(text[i]));
        if (n == 0 || i + n > text.size())
            return false;
        std::string ch = text.substr(i, n);
        if (decodeUtf8(ch) < 0)
            return false;
        if (ch != " " && ch != "\t")
            chars.push_back(ch);
        i += n;
    }
    return true;
}

long decodeUtf8(const std::string& ch)
{
    if (ch.empty())
        return -1;
    int n = utf8Length(static_cast<unsigned char>(ch[0]));
    if (n == 0 || static_cast<size_t>(n) != ch.size())
        return -1;
    if (n == 1)
        return static_cast<unsigned char>(ch[0]);
    long cp = static_cast<unsigned char>(ch[0]) & (0x7F >> n);
    for (int i = 1; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(ch[i]);
        if ((c & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (c & 0x3F);
    }
    return cp;
}

std::string encodeUtf8(long cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace assetgen
