#include "SourceScan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace assetcheck {

namespace fs = std::filesystem;

namespace {

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.rfind(prefix, 0) == 0;
}
bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "sfx_%s_%d" -> "sfx_*_*"; a prefix literal gets a trailing "*".
std::string globOf(const std::string& text)
{
    std::string glob;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            size_t j = i + 1;
            while (j < text.size() && std::string("0123456789.-lzu").find(text[j]) != std::string::npos)
                ++j;
            if (j < text.size()) {
                glob += '*';
                i = j;
                continue;
            }
        }
        glob += text[i];
    }
    if (endsWith(text, "_") || endsWith(text, "/"))
        glob += '*';
    return glob;
}

// '*' matches one or more characters; everything else itself.
bool globMatch(const char* glob, const char* name)
{
    if (!*glob)
        return !*name;
    if (*glob == '*') {
        for (const char* n = name + 1; n <= name + std::char_traits<char>::length(name); ++n)
            if (*name && globMatch(glob + 1, n))
                return true;
        return false;
    }
    return *name == *glob && globMatch(glob + 1, name + 1);
}

// Every form under which code may name a manifest entry.
std::vector<std::string> spellings(const RequiredName& r)
{
    std::vector<std::string> out{r.path};
    fs::path p(r.path);
    if (r.kind == "sound" || r.kind == "music") {
        out.push_back(p.stem().string());                              // "sfx_gui_next"
        out.push_back((p.parent_path() / p.stem()).generic_string());  // "sounds/sfx_gui_next"
    }
    if (startsWith(r.path, "pvr/") && endsWith(r.path, ".png"))
        out.push_back(r.path.substr(0, r.path.size() - 4) + ".pvr.ccz");  // the name the code uses
    return out;
}

}  // namespace

std::vector<Literal> stringLiterals(const std::string& s, const std::string& file)
{
    std::vector<Literal> out;
    int line = 1;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\n') {
            ++line;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            while (i < s.size() && s[i] != '\n')
                ++i;
            --i;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            i += 2;
            while (i + 1 < s.size() && !(s[i] == '*' && s[i + 1] == '/'))
                line += s[i++] == '\n';
            ++i;
        } else if (c == '\'') {
            for (++i; i < s.size() && s[i] != '\'' && s[i] != '\n'; ++i)
                if (s[i] == '\\')
                    ++i;
        } else if (c == 'R' && i + 1 < s.size() && s[i + 1] == '"' &&
                   (i == 0 || !(std::isalnum(static_cast<unsigned char>(s[i - 1])) || s[i - 1] == '_'))) {
            // Raw string: R"delim( ... )delim"
            size_t open = s.find('(', i + 2);
            if (open == std::string::npos)
                break;
            std::string close = ")" + s.substr(i + 2, open - i - 2) + "\"";
            size_t end = s.find(close, open);
            if (end == std::string::npos)
                break;
            out.push_back({s.substr(open + 1, end - open - 1), file, line});
            line += static_cast<int>(std::count(s.begin() + static_cast<std::ptrdiff_t>(i),
                                                s.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
            i = end + close.size() - 1;
        } else if (c == '"') {
            std::string text;
            for (++i; i < s.size() && s[i] != '"' && s[i] != '\n'; ++i) {
                if (s[i] == '\\' && i + 1 < s.size())
                    text += s[++i];
                else
                    text += s[i];
            }
            out.push_back({text, file, line});
        }
    }
    return out;
}

bool looksLikeAsset(const std::string& t, const std::vector<std::string>& sheets)
{
    if (t.empty() || t.find(' ') != std::string::npos)
        return false;
    if (startsWith(t, "sfx_") || startsWith(t, "music_") || startsWith(t, "pvr/") || startsWith(t, "fonts/"))
        return true;
    if (endsWith(t, ".mp3") && t.find('/') != std::string::npos)
        return true;
    if (endsWith(t, ".png")) {
        if (t.find('/') != std::string::npos)
            return true;
        for (const std::string& sheet : sheets)
            if (startsWith(t, sheet + "_"))
                return true;
    }
    return false;
}

bool covered(const std::string& text, const std::vector<RequiredName>& required)
{
    const bool pattern = endsWith(text, "_") || endsWith(text, "/") || text.find('%') != std::string::npos;
    const std::string glob = pattern ? globOf(text) : text;
    for (const RequiredName& r : required)
        for (const std::string& name : spellings(r)) {
            if (name == text)
                return true;
            if (pattern && globMatch(glob.c_str(), name.c_str()))
                return true;
        }
    return false;
}

void scanSources(const std::vector<std::string>& folders, const std::vector<RequiredName>& required,
                 const std::vector<std::string>& sheets, std::vector<std::string>& errors)
{
    std::vector<fs::path> files;
    for (const std::string& folder : folders) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            const auto ext = it->path().extension();
            if (it->is_regular_file() && (ext == ".cpp" || ext == ".h"))
                files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::string source((std::istreambuf_iterator<char>(in)), {});
        for (const Literal& l : stringLiterals(source, file.generic_string()))
            if (looksLikeAsset(l.text, sheets) && !covered(l.text, required))
                errors.push_back(l.file + ":" + std::to_string(l.line) + ": the literal \"" + l.text +
                                 "\" names an asset the required manifest does not know; add it to "
                                 "assets/required.manifest (or make the asset)");
    }
}

}  // namespace assetcheck
