// The asset checker on small trees made from the generated sounds, with one
// fault planted in each, and the source scan on small source texts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Mp3Encoder.h"
#include "Required.h"
#include "ShopCheck.h"
#include "SourceScan.h"
#include "TreeCheck.h"

using namespace assetcheck;
namespace fs = std::filesystem;

namespace {

const fs::path kTree = TESMORA_RESOURCE_DIR;
const std::string kAssets = TESMORA_ASSETS_DIR;

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& l : lines)
        all += l + "\n";
    return all;
}

class TreeFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(kTree / "sounds/sfx_gui_select.mp3"))
            << "the generated tree " << kTree << " has no sounds: the resources target builds it";
        std::string error;
        ASSERT_TRUE(loadSoundTables(kAssets, m_tables, error)) << error;
        m_root = fs::temp_directory_path() / ("assetcheck-" + std::to_string(getpid()));
        fs::remove_all(m_root);
        for (const char* path : {"sounds/sfx_gui_select.mp3", "sounds/sfx_element_soil.mp3",
                                 "sounds/sfx_element_bass/sfx_bass_c#1.mp3", "music/music_level_3.mp3"}) {
            fs::create_directories((m_root / path).parent_path());
            fs::copy_file(kTree / path, m_root / path);
        }
        std::ofstream(m_root.string() + ".manifest") << "sound sounds/sfx_gui_select.mp3\n"
                                                        "sound sounds/sfx_element_soil.mp3\n"
                                                        "sound sounds/sfx_element_{bass}/sfx_bass_c#1.mp3\n"
                                                        "music music/music_level_3.mp3\n";
        ASSERT_TRUE(readRequired(m_root.string() + ".manifest", m_required, error)) << error;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
        fs::remove(m_root.string() + ".manifest", ec);
    }
    std::string check()
    {
        Report report;
        checkTree(m_root.string(), m_required, report);
        checkSounds(m_root.string(), m_required, m_tables, report);
        return joined(report.errors);
    }
    void writeLoopWithClick(const fs::path& to)
    {
        soundgen::Samples s(44100);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = 0.3f * static_cast<float>(std::sin(2 * 3.14159265 * 220 * static_cast<double>(i) / 44100)) +
                (i < s.size() / 2 ? 0.3f : -0.3f);  // a jump midway leaves the ends apart
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(soundgen::encodeMp3(s, nullptr, 64, bytes, error)) << error;
        std::ofstream(to, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    SoundTables m_tables;
    fs::path m_root;
    std::vector<RequiredName> m_required;
};

TEST_F(TreeFaults, EachPlantedFaultIsReported)
{
    ASSERT_EQ(check(), "") << "the unchanged copy passes";
    const fs::path select = m_root / "sounds/sfx_gui_select.mp3", soil = m_root / "sounds/sfx_element_soil.mp3",
                   note = m_root / "sounds/sfx_element_bass/sfx_bass_c#1.mp3";
    struct Case {
        const char* fault;
        std::function<void()> plant;
        std::vector<std::string> expected;
    } cases[] = {
        {"missing sound", [&] { fs::remove(select); }, {"missing sounds/sfx_gui_select.mp3"}},
        {"wrong case",
         [&] { fs::rename(select, m_root / "sounds/sfx_GUI_select.mp3"); },
         {"the tree has sounds/sfx_GUI_select.mp3, which differs in case",
          "unexpected file sounds/sfx_GUI_select.mp3"}},
        {"case twins", [&] { fs::copy_file(select, m_root / "sounds/Sfx_gui_select.mp3"); }, {"differ only in case"}},
        {"space", [&] { fs::copy_file(select, m_root / "sounds/a b.mp3"); }, {"space in the name sounds/a b.mp3"}},
        {"note at the wrong pitch",
         [&] {
             fs::copy_file(kTree / "sounds/sfx_element_bass/sfx_bass_d1.mp3", note,
                           fs::copy_options::overwrite_existing);
         },
         {"sfx_bass_c#1.mp3: sounds at"}},
        {"truncated",
         [&] { fs::resize_file(soil, fs::file_size(soil) / 2); },
         {"sfx_element_soil.mp3: does not decode"}},
        {"wrong length",
         [&] { fs::copy_file(select, soil, fs::copy_options::overwrite_existing); },
         {"sfx_element_soil.mp3: 0.0600 s long, its recipe says 1.0000 s"}},
        {"click at the loop seam",
         [&] { writeLoopWithClick(soil); },
         {"sfx_element_soil.mp3: the loop's ends do not meet"}},
        {"mono where stereo belongs",
         [&] {
             fs::copy_file(kTree / "sounds/sfx_element_lava.mp3", m_root / "music/music_level_3.mp3",
                           fs::copy_options::overwrite_existing);
         },
         {"music_level_3.mp3: 1 channels, expected 2"}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        c.plant();
        const std::string errors = check();
        for (const std::string& e : c.expected)
            EXPECT_NE(errors.find(e), std::string::npos) << c.fault << ": expected '" << e << "' in\n" << errors;
    }
}

// The shop catalogue on a copy of the generated tree's catalogue, tables,
// popup and shop frames and reward pictures, checked with the manifest's shop list.
TEST(ShopFaults, EachPlantedFaultIsReported)
{
    ASSERT_TRUE(fs::exists(kTree / "backgrounds/Rewards/sunset.png"))
        << "the generated tree " << kTree << " has no reward pictures: the resources target builds it";
    const fs::path root = fs::temp_directory_path() / ("assetcheck-shop-" + std::to_string(getpid()));
    std::vector<RequiredName> required;
    std::string error;
    ASSERT_TRUE(readRequired(kAssets + "/required.manifest", required, error)) << error;
    auto replaceIn = [&](const std::string& from, const std::string& to) {
        std::ifstream in(root / "data/shop.plist");
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        std::ofstream(root / "data/shop.plist") << text;
    };
    struct Case {
        const char* fault;
        std::function<void()> plant;
        std::vector<std::string> expected;
    } cases[] = {
        {"none", [] {}, {}},
        {"capitalised id",
         [&] { replaceIn("<string>sunset</string>", "<string>Sunset</string>"); },
         {"the bkgID \"Sunset\" is not 1 to 11 lower-case", "backgrounds/Rewards/sunset.png has no record"}},
        {"missing picture",
         [&] { fs::remove(root / "backgrounds/Rewards/city.png"); },
         {"no picture backgrounds/Rewards/city.png"}},
        {"duplicate id",
         [&] { replaceIn("<string>desert</string>", "<string>forest</string>"); },
         {"the bkgID \"forest\" is used twice", "backgrounds/Rewards/desert.png has no record"}},
        {"unpriced element",
         [&] { replaceIn("<key>Bee</key>", "<key>Bees</key>"); },
         {"the shop element Bee has no price"}},
        {"element without its shop picture",
         [&] {
             std::ifstream in(root / "pvr/pixelmarket.plist");
             std::string text((std::istreambuf_iterator<char>(in)), {});
             const size_t at = text.find("pixelmarket_element_Bee.png");
             ASSERT_NE(at, std::string::npos);
             text.replace(at, 27, "pixelmarket_element_Bea.png");
             std::ofstream(root / "pvr/pixelmarket.plist") << text;
         },
         {"the priced element Bee has no pixelmarket_element_Bee.png frame"}},
    };
    for (const Case& c : cases) {
        fs::remove_all(root);
        for (const char* path : {"data", "localization", "pvr", "backgrounds/Rewards"})
            fs::create_directories(root / path);
        fs::copy(kTree / "data/shop.plist", root / "data/shop.plist");
        fs::copy(kTree / "localization", root / "localization");
        fs::copy(kTree / "pvr/popups.plist", root / "pvr/popups.plist");
        fs::copy(kTree / "pvr/pixelmarket.plist", root / "pvr/pixelmarket.plist");
        fs::copy(kTree / "backgrounds/Rewards", root / "backgrounds/Rewards");
        c.plant();
        Report report;
        checkShop(root.string(), required, report);
        const std::string errors = joined(report.errors);
        if (c.expected.empty()) {
            EXPECT_EQ(errors, "") << "the shipped catalogue passes";
        }
        for (const std::string& e : c.expected)
            EXPECT_NE(errors.find(e), std::string::npos) << c.fault << ": expected '" << e << "' in\n" << errors;
    }
    fs::remove_all(root);
}

TEST(BraceExpansion, ExpandsListsRangesAndNesting)
{
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    } cases[] = {
        {"a.mp3", {"a.mp3"}},
        {"x_{c,c#}{1..2}.mp3", {"x_c1.mp3", "x_c2.mp3", "x_c#1.mp3", "x_c#2.mp3"}},
        {"h{,_1}", {"h", "h_1"}},
        {"{a,b{1..2}}", {"a", "b1", "b2"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> out;
        ASSERT_TRUE(expandBraces(c.pattern, out)) << c.pattern;
        EXPECT_EQ(out, c.names) << c.pattern;
    }
    for (const char* bad : {"a{b", "a}b", "{3..1}", "{1..x}"}) {
        std::vector<std::string> out;
        EXPECT_FALSE(expandBraces(bad, out)) << bad;
    }
}

TEST(PitchMeasure, FindsTheFundamentalNotAnOvertone)
{
    for (double f : {65.41, 220.0, 987.77, 1975.53}) {
        std::vector<float> x(8192);
        for (size_t i = 0; i < x.size(); ++i) {
            double t = static_cast<double>(i) / 44100;
            // A weak root under a strong octave still reads as the root.
            x[i] = static_cast<float>(0.4 * std::sin(2 * M_PI * f * t) + 0.8 * std::sin(4 * M_PI * f * t) +
                                      0.3 * std::sin(2 * M_PI * 2.76 * f * t) * std::exp(-t * 30));
        }
        EXPECT_NEAR(measurePitch(x, f) / f, 1.0, 0.002) << f;
        EXPECT_GT(std::fabs(measurePitch(x, f * 1.06) / (f * 1.06) - 1), 0.01) << "a semitone off is seen, " << f;
    }
}

TEST(SourceScan, LiteralsNamingUnknownAssetsAreReportedWithTheirPlace)
{
    std::vector<RequiredName> required;
    std::string error;
    const std::string manifest = fs::temp_directory_path() / ("scan-" + std::to_string(getpid()) + ".manifest");
    std::ofstream(manifest) << "sound sounds/sfx_gui_select.mp3\n"
                               "sound sounds/sfx_element_bass/sfx_bass_{c,c#}{1..3}.mp3\n"
                               "music music/music_level_2.mp3\n"
                               "sheet enginetest\n"
                               "later frame guitopbar_HUDZoom.png\n"
                               "later sheet guitopbar\n"
                               "file images/app_icon.png\n";
    ASSERT_TRUE(readRequired(manifest, required, error)) << error;
    fs::remove(manifest);
    const std::vector<std::string> sheets{"enginetest", "guitopbar"};
    struct Case {
        const char* literal;
        bool asset;
        bool known;
    } cases[] = {
        {"sfx_gui_select", true, true},
        {"sounds/sfx_gui_select.mp3", true, true},
        {"sfx_gui_selekt", true, false},
        {"sfx_bass_", true, true},      // a prefix of built names
        {"sfx_bass_%s%d", true, true},  // a template of built names
        {"sfx_trumpet_%s%d", true, false},
        {"music_level_2", true, true},
        {"music_level_9", true, false},
        {"pvr/enginetest.pvr.ccz", true, true},
        {"pvr/guitopbar.pvr.ccz", true, true},
        {"pvr/popups.pvr.ccz", true, false},
        {"guitopbar_HUDZoom.png", true, true},
        {"guitopbar_HUDZoomIn.png", true, false},
        {"images/app_icon.png", true, true},
        {"images/app_icon2.png", true, false},
        {"fonts/ach_colorFont.plist", true, false},
        {"hello world", false, false},
        {"other_thing.png", false, false},  // no sheet of that name
        {"%d points", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(looksLikeAsset(c.literal, sheets), c.asset) << c.literal;
        if (c.asset) {
            EXPECT_EQ(covered(c.literal, required), c.known) << c.literal;
        }
    }

    const std::string dir = fs::temp_directory_path() / ("scan-src-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir + "/Screen.cpp") << "// \"sfx_in_a_comment\"\n"
                                          "/* \"music_in_a_block\"\n */ char q = '\"';\n"
                                          "void f() { play(\"sfx_gui_select\"); }\n"
                                          "void g() { play(\"sfx_gui_unknown\"); auto s = R\"(music_raw)\"; }\n";
    std::vector<std::string> errors;
    scanSources({dir}, required, sheets, errors);
    fs::remove_all(dir);
    ASSERT_EQ(errors.size(), 2u) << joined(errors);
    EXPECT_NE(errors[0].find("Screen.cpp:5: the literal \"sfx_gui_unknown\""), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("Screen.cpp:5: the literal \"music_raw\""), std::string::npos) << errors[1];
}

}  // namespace
