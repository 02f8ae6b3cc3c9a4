// Blueprint sources: the grid is cut into one picture per stage, the stage
// list and variants are written as the game reads them, the same sources
// give the same bytes, and a broken source is refused with its line.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "Blueprints.h"

using namespace assetgen;

namespace {

std::string tempFolder(const std::string& name)
{
    return "/tmp/assetgen-bp-" + std::to_string(getpid()) + "-" + name;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file under a folder, by relative path, with its bytes.
void collect(const std::string& base, const std::string& rel, std::map<std::string, std::string>& out)
{
    DIR* dir = opendir((base + rel).c_str());
    if (!dir)
        return;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = rel + "/" + name;
        struct stat st { };
        stat((base + path).c_str(), &st);
        if (S_ISDIR(st.st_mode))
            collect(base, path, out);
        else
            out[path] = readAll(base + path);
    }
    closedir(dir);
}

bool parse(const std::string& text, BlueprintSource& out, std::string& error)
{
    const std::string path = tempFolder("source.bp");
    std::ofstream(path, std::ios::binary) << text;
    const bool ok = readBlueprintSource(path, out, error);
    std::remove(path.c_str());
    return ok;
}

}  // namespace

TEST(Blueprints, TheGridIsCutIntoOnePicturePerStage)
{
    BlueprintSource s;
    std::string error;
    ASSERT_TRUE(parse("size 3 2\nstage Wood BottomToTop\nstage Glass TopToBottom\nflipping\n"
                      "color w 0 10 20 30\ncolor g 1 40 50 60\nvariant\nw.g\nwwg\n",
                      s, error))
        << error;
    const std::vector<Image> images = blueprintStageImages(s, 0);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].at(0, 0), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(images[0].at(1, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(images[0].at(2, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(images[1].at(2, 0), (Rgba{40, 50, 60, 255}));
    EXPECT_EQ(images[1].at(0, 1), (Rgba{0, 0, 0, 0}));
    const std::string folder = tempFolder("cut");
    ASSERT_TRUE(writeBlueprintFolder(s, folder, error)) << error;
    const std::string specs = readAll(folder + "/specs.plist");
    EXPECT_NE(specs.find("<key>allowFlipping</key>\n\t\t<true/>"), std::string::npos) << specs;
    EXPECT_NE(specs.find("<string>TopToBottom</string>"), std::string::npos);
    EXPECT_EQ(specs.find("allowFlipping"), specs.rfind("allowFlipping")) << "stage 0 only";
    EXPECT_FALSE(readAll(folder + "/1.png").empty());
    std::system(("rm -rf " + folder).c_str());
}

TEST(Blueprints, SeveralVariantsWriteRandomVars)
{
    BlueprintSource s;
    std::string error;
    ASSERT_TRUE(parse("size 1 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nw\nvariant\n.\n", s, error));
    const std::string folder = tempFolder("vars");
    ASSERT_TRUE(writeBlueprintFolder(s, folder, error)) << error;
    EXPECT_NE(readAll(folder + "/randomVars.plist").find("<key>variants</key>\n\t<integer>2</integer>"),
              std::string::npos);
    EXPECT_FALSE(readAll(folder + "/0/specs.plist").empty());
    EXPECT_FALSE(readAll(folder + "/1/0.png").empty());
    std::system(("rm -rf " + folder).c_str());
}

TEST(Blueprints, BrokenSourcesAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"stage Wood BottomToTop\nvariant\nw\n", "size comes before"},
        {"size 2 1\nstage Wood Sideways\n", "unknown order"},
        {"size 2 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nw\n", "wide, not 2"},
        {"size 1 2\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nw\n", "fewer than 2 rows"},
        {"size 1 1\nstage Wood BottomToTop\nvariant\nx\n", "not in the legend"},
        {"size 1 1\nstage Wood BottomToTop\ncolor w 1 1 1 1\nvariant\nw\n", "missing stage"},
        {"size 1 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\ncolor w 0 2 2 2\n", "already in the legend"},
        {"size 1 1\nstage Wood BottomToTop\ncolor w 0 300 1 1\n", "color wants"},
        {"size 1 1\ncolor w 0 1 1 1\nvariant\nw\n", "no stage"},
        {"size 1 1\nstage Wood BottomToTop\n", "no variant"},
        {"size 1 1\nbuild it\n", "unknown statement"},
    };
    for (const auto& c : cases) {
        BlueprintSource s;
        std::string error;
        EXPECT_FALSE(parse(c.text, s, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(Blueprints, TwoRunsOverTheGameSourcesGiveTheSameBytes)
{
    const std::string sources = std::string(TESMORA_ASSETS_DIR) + "/blueprints";
    const std::string first = tempFolder("run1");
    const std::string second = tempFolder("run2");
    std::string error;
    ASSERT_TRUE(generateBlueprints(sources, first, error)) << error;
    ASSERT_TRUE(generateBlueprints(sources, second, error)) << error;
    std::map<std::string, std::string> a, b;
    collect(first, "", a);
    collect(second, "", b);
    EXPECT_GE(a.size(), 41u * 2);
    EXPECT_EQ(a, b);
    std::system(("rm -rf " + first + " " + second).c_str());
}
