// The README and the notes under docs/ link only to files, and headings in
// them, that are there: a newcomer follows those links first.

#include "support/TempFolders.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRepo = TESMORA_SOURCE_DIR;

// A link written as code (a fenced block or a code span) is shown, not
// followed.
std::string withoutCode(const std::string& markdown)
{
    std::istringstream in(markdown);
    std::string line, out;
    bool fenced = false;
    static const std::regex codeSpan("`[^`]*`");
    while (std::getline(in, line)) {
        const size_t first = line.find_first_not_of(' ');
        const bool fence =
            first != std::string::npos && (line.compare(first, 3, "```") == 0 || line.compare(first, 3, "~~~") == 0);
        if (fence)
            fenced = !fenced;
        out += fence || fenced ? std::string() : std::regex_replace(line, codeSpan, "``");
        out += '\n';
    }
    return out;
}

// The anchors the repository's web view makes of the headings: lower case,
// punctuation dropped, spaces made hyphens; a heading met again gains -1, -2.
std::set<std::string> headingAnchors(const std::string& markdown)
{
    std::set<std::string> anchors;
    std::map<std::string, int> seen;
    std::istringstream in(withoutCode(markdown));
    std::string line;
    static const std::regex heading(R"(^ {0,3}#{1,6}[ \t]+(.*?)[ \t#]*$)");
    std::smatch match;
    while (std::getline(in, line)) {
        if (!std::regex_match(line, match, heading))
            continue;
        std::string anchor;
        for (const char c : match[1].str()) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x80 || std::isalnum(u) || c == '-' || c == '_')
                anchor += static_cast<char>(std::tolower(u));
            else if (c == ' ')
                anchor += '-';
        }
        const int repeats = seen[anchor]++;
        anchors.insert(repeats ? anchor + "-" + std::to_string(repeats) : anchor);
    }
    return anchors;
}

// The targets of a text's inline links and images, and of its reference
// definitions ("[name]: target").
std::vector<std::string> linkTargets(const std::string& markdown)
{
    static const std::regex link(R"re(\]\(\s*<?([^)\s>]+)>?(?:\s+"[^"]*")?\s*\)|^ {0,3}\[[^\]]+\]:\s*<?([^\s>]+))re",
                                 std::regex::multiline);
    std::vector<std::string> targets;
    const std::string text = withoutCode(markdown);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it)
        targets.push_back((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
    return targets;
}

// The links of a text kept in `folder` that lead nowhere: no such file or
// folder, or no such heading in the file. Web addresses are not followed.
std::vector<std::string> brokenLinks(const fs::path& folder, const std::string& markdown)
{
    std::vector<std::string> broken;
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
    for (const std::string& target : linkTargets(markdown)) {
        if (std::regex_search(target, scheme))
            continue;
        const size_t hash = target.find('#');
        const std::string file = target.substr(0, hash);
        const fs::path path = (folder / file).lexically_normal();
        if (!file.empty() && !fs::exists(path)) {
            broken.push_back(target);
            continue;
        }
        if (hash == std::string::npos)
            continue;
        const std::string anchors = file.empty() ? markdown : testsupport::readFile(path.string());
        if (!headingAnchors(anchors).count(target.substr(hash + 1)))
            broken.push_back(target);
    }
    return broken;
}

std::vector<fs::path> documentation()
{
    std::vector<fs::path> files{kRepo / "README.md"};
    for (const auto& entry : fs::directory_iterator(kRepo / "docs"))
        if (entry.path().extension() == ".md")
            files.push_back(entry.path());
    return files;
}

}  // namespace

TEST(DocumentationLinks, EveryLinkOfTheReadmeAndTheDocsLeadsToAFileAndHeadingThatAreThere)
{
    size_t readmeLinks = 0;
    for (const fs::path& file : documentation()) {
        const std::string text = testsupport::readFile(file.string());
        if (file.filename() == "README.md")
            readmeLinks = linkTargets(text).size();
        EXPECT_EQ(brokenLinks(file.parent_path(), text), std::vector<std::string>{}) << file.lexically_relative(kRepo);
    }
    // The README leads to the notes under docs/.
    EXPECT_GE(readmeLinks, 5u);
}

// What the check above counts as broken, on texts kept at the repository's
// top, as the README is.
TEST(DocumentationLinks, AMissingFileOrHeadingIsBrokenAndCodeOrTheWebIsNotFollowed)
{
    struct Row {
        const char* markdown;
        std::vector<std::string> broken;
    };
    const std::vector<Row> rows{
        {"See [the API](docs/server-api.md).", {}},
        {"See [gone](docs/gone.md) and [there](docs/server-api.md).", {"docs/gone.md"}},
        {"[running](docs/server-api.md#running-it), [a request](docs/server-api.md#get-v1worldsworld)", {}},
        {"[no part](docs/server-api.md#no-such-part)", {"docs/server-api.md#no-such-part"}},
        {"[below](#the-tools-and-the-brush)\n\n## The tools, and the brush", {}},
        {"[below](#twice-1)\n# Twice\n## Twice", {}},
        {"[below](#nowhere)\n## Somewhere", {"#nowhere"}},
        {"[folder](src/server/) ![shot](docs/none.png)", {"docs/none.png"}},
        {"[ref]: docs/gone.md\n[ok]: docs/stand-ins.md", {"docs/gone.md"}},
        {"`[code](docs/gone.md)`\n```\n[fenced](docs/gone.md)\n```\n[web](https://example.org/gone.md)", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(brokenLinks(kRepo, row.markdown), row.broken) << row.markdown;
}
