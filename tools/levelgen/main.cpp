// levelgen: builds the prepared worlds from their level scripts with the
// game's own world, and checks the worlds and day settings of a tree.
//
//   levelgen --assets DIR --out TREE [--backgrounds TREE] [--level FILE]...
//       every assets/levels/*.level (or the files named) into
//       TREE/universes/Missions/<world>, guide pictures into
//       TREE/backgrounds/Missions/. Backgrounds
//       and the creatures' pictures are read from --backgrounds (default:
//       the output tree).
//   levelgen --check --assets DIR --tree TREE [--all-days]
//       the checks of DayCheck.h; missing story days fail with --all-days.
//
// Every run writes the same bytes for the same scripts.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DayCheck.h"
#include "GuidePicture.h"
#include "LevelBuilder.h"
#include "LevelScript.h"
#include "cocos2d.h"

namespace fs = std::filesystem;
using namespace levelgen;

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "levelgen: %s\n", message.c_str());
    return 1;
}

// Written beside, then renamed: a build stopped half-way leaves no half world.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            error = "cannot write " + path;
            return false;
        }
    }
    fs::rename(partial, path, ec);
    if (ec) {
        error = "cannot write " + path + ": " + ec.message();
        return false;
    }
    return true;
}

bool generate(LevelBuilder& builder, const std::string& file, const std::string& out, const std::string& backgrounds,
              std::string& error)
{
    levelscript::Level level;
    if (!levelscript::readLevel(file, LevelBuilder::knownElement, level, error))
        return false;
    const std::string background = backgroundPath(backgrounds, level.header.background + ".png");
    if (background.empty()) {
        error = file + ": no background picture " + level.header.background + ".png in " + backgrounds;
        return false;
    }
    BuiltLevel built;
    if (!builder.build(level, built, error))
        return false;
    if (!built.marks.empty() || !built.guides.empty()) {
        assetgen::Image picture;
        if (!readBackground(background, picture, error) ||
            !assetgen::writePng(out + "/backgrounds/Missions/" + built.backgroundFile,
                                guidePicture(picture, built.marks, built.guides), error))
            return false;
    }
    return writeBytes(out + "/universes/Missions/" + level.header.world, built.prepared, error);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string assets, out, backgrounds, tree;
    std::vector<std::string> levels;
    bool check = false, allDays = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--check") {
            check = true;
            continue;
        }
        if (option == "--all-days") {
            allDays = true;
            continue;
        }
        if (i + 1 >= argc)
            return fail("option " + option + " wants a value"), 2;
        const std::string value = argv[++i];
        if (option == "--assets")
            assets = value;
        else if (option == "--out")
            out = value;
        else if (option == "--backgrounds")
            backgrounds = value;
        else if (option == "--level")
            levels.push_back(value);
        else if (option == "--tree")
            tree = value;
        else
            return fail("unknown option " + option), 2;
    }
    if (check) {
        if (assets.empty() || tree.empty())
            return fail("usage: levelgen --check --assets DIR --tree TREE [--all-days]"), 2;
        CheckReport report;
        checkLevels(assets + "/levels", tree, allDays, report);
        for (const std::string& note : report.notes)
            std::printf("levelgen: note: %s\n", note.c_str());
        for (const std::string& e : report.errors)
            std::fprintf(stderr, "levelgen: %s\n", e.c_str());
        if (!report.errors.empty())
            return fail(std::to_string(report.errors.size()) + " faults");
        std::printf("levelgen: %zu level scripts checked, no fault\n", levelFiles(assets + "/levels").size());
        return 0;
    }
    if (assets.empty() || out.empty())
        return fail("usage: levelgen --assets DIR --out TREE [--backgrounds TREE] [--level FILE]..."), 2;
    if (backgrounds.empty())
        backgrounds = out;
    if (levels.empty())
        levels = levelFiles(assets + "/levels");
    // Creatures are painted in their job's skin from the pictures of the tree
    // the backgrounds come from.
    cocos2d::CCFileUtils::sharedFileUtils()->setResourceRoot(backgrounds);
    LevelBuilder builder;
    for (const std::string& file : levels) {
        std::string error;
        if (!generate(builder, file, out, backgrounds, error))
            return fail(error);
    }
    return 0;
}
