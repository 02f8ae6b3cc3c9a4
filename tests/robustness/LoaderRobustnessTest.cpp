// Every reader of bytes from outside the running game, fed damaged copies of
// valid inputs: each must refuse the input and keep its old state, or take a
// sound new one. The damage is seeded, so a failure repeats exactly; the
// rounds are few enough to keep the whole suite quick under the sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "support/Mutator.h"
#include "support/loaders/LoaderHarness.h"

using loaders::Harness;
using testsupport::Damage;
using testsupport::Mutator;

namespace {

struct Loader {
    const char* name;
    std::unique_ptr<Harness> (*make)();
    int rounds;  // per kind of damage
};

const Loader kLoaders[] = {
    {"Profile", loaders::makeProfileHarness, 10},
    {"Plist", loaders::makePlistHarness, 30},
    {"ServerAnswer", loaders::makeServerAnswerHarness, 60},
    {"SheetAndFont", loaders::makeSheetFontHarness, 10},
    {"Blueprint", loaders::makeBlueprintHarness, 5},
    {"CloudNames", loaders::makeCloudNameHarness, 6},
    {"GalleryAnswer", loaders::makeGalleryAnswerHarness, 60},
    {"ServerRequest", loaders::makeServerRequestHarness, 60},
};

// Enough of an input to find it again: text as it is, else hex of its start.
std::string shown(const std::vector<uint8_t>& input)
{
    std::string out;
    for (size_t i = 0; i < input.size() && i < 160; ++i) {
        const uint8_t c = input[i];
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out + (input.size() > 160 ? "... (" + std::to_string(input.size()) + " bytes)" : "");
}

uint32_t seedOf(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (char c : name)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

class LoaderRobustness : public ::testing::TestWithParam<Loader> { };

TEST_P(LoaderRobustness, ValidInputsLoadSoundly)
{
    auto harness = GetParam().make();
    const auto seeds = harness->seeds();
    ASSERT_GE(seeds.size(), 2u) << "the valid inputs are missing";
    for (size_t i = 0; i < seeds.size(); ++i)
        EXPECT_EQ(harness->feed(seeds[i]), "") << "valid input " << i;
}

TEST_P(LoaderRobustness, DamagedInputsAreRefusedOrLoadedSoundly)
{
    auto harness = GetParam().make();
    const auto seeds = harness->seeds();
    ASSERT_FALSE(seeds.empty());
    Mutator mutator(seedOf(GetParam().name));
    int failures = 0;
    auto run = [&](const std::vector<uint8_t>& input, const char* damage, int round) {
        const std::string why = harness->feed(input);
        if (!why.empty() && ++failures <= 3)
            ADD_FAILURE() << damage << " round " << round << ": " << why << "\n  input: " << shown(input);
    };
    for (Damage damage : testsupport::kAllDamage)
        for (int round = 0; round < GetParam().rounds; ++round)
            run(mutator.mutate(seeds[static_cast<size_t>(round) % seeds.size()], damage), damageName(damage), round);
    for (int round = 0; round < GetParam().rounds; ++round)
        run(mutator.mutate(seeds[static_cast<size_t>(round) % seeds.size()]), "mixed damage", round);
    // Nothing at all, and bytes that are no format.
    run({}, "empty", 0);
    run(std::vector<uint8_t>(4096, 0xFF), "all ones", 0);
}

INSTANTIATE_TEST_SUITE_P(Loaders, LoaderRobustness, ::testing::ValuesIn(kLoaders),
                         [](const ::testing::TestParamInfo<Loader>& info) { return std::string(info.param.name); });

}  // namespace

TEST(Mutator, SameSeedSameDamageAndEveryKindChangesTheInput)
{
    const std::vector<uint8_t> input =
        testsupport::bytesOf("<plist><dict><key>a</key><integer>12</integer><key>b</key><string>text</string>"
                             "</dict></plist>{\"id\":5,\"list\":[1,2]}");
    for (Damage damage : testsupport::kAllDamage) {
        SCOPED_TRACE(damageName(damage));
        Mutator a(99), b(99);
        int changed = 0;
        for (int i = 0; i < 20; ++i) {
            const auto x = a.mutate(input, damage);
            EXPECT_EQ(x, b.mutate(input, damage));
            changed += x != input;
        }
        EXPECT_GE(changed, 15);
    }
    // Deep nesting goes past the readers' limits; a huge number past 64 bits.
    Mutator m(5);
    size_t longest = 0;
    for (int i = 0; i < 30; ++i)
        longest = std::max(longest, m.mutate(input, Damage::DeepNesting).size());
    EXPECT_GT(longest, input.size() + 5000);
}

namespace {

// Inputs that once got through: each is fed to its loader's harness.
struct KnownInput {
    const char* what;
    std::unique_ptr<Harness> (*make)();
    // Built from the harness's first valid input.
    std::vector<uint8_t> (*build)(const std::vector<uint8_t>& valid);
};

std::vector<uint8_t> text(const std::string& s)
{
    return testsupport::bytesOf(s);
}

std::vector<uint8_t> profileWithVolumes(const std::vector<uint8_t>& valid)
{
    // Music volume and effects volume lead the record, after the 8-byte header.
    std::vector<uint8_t> file = valid;
    const uint32_t values[] = {static_cast<uint32_t>(-5), 70000u};
    for (size_t k = 0; k < 2; ++k)
        for (size_t i = 0; i < 4; ++i)
            file[8 + 4 * k + i] = static_cast<uint8_t>(values[k] >> (8 * i));
    return file;
}

std::vector<uint8_t> profileWithLongestStreak(const std::vector<uint8_t>& valid)
{
    // Last login a day and a half before the harness's clock, streak at its top.
    std::vector<uint8_t> file = valid;
    const uint64_t lastLogin = 1'700'000'000u - 129'600u;
    for (size_t i = 0; i < 8; ++i)
        file[8 + 12576 + i] = static_cast<uint8_t>(lastLogin >> (8 * i));
    for (size_t i = 0; i < 4; ++i)
        file[8 + 12584 + i] = static_cast<uint8_t>(0x7FFFFFFFu >> (8 * i));
    return file;
}

// The private key's 256-byte field starts at 17712 in the record.
std::vector<uint8_t> profileWithKeyField(const std::vector<uint8_t>& valid, uint8_t fill)
{
    std::vector<uint8_t> file = valid;
    std::fill_n(file.begin() + 8 + 17712, 256, fill);
    return file;
}

const KnownInput kKnownInputs[] = {
    {"an empty private key", loaders::makeProfileHarness,
     [](const std::vector<uint8_t>& valid) { return profileWithKeyField(valid, 0); }},
    {"a login streak at its top on the day after", loaders::makeProfileHarness, profileWithLongestStreak},
    {"volumes outside 0..100 in a profile", loaders::makeProfileHarness, profileWithVolumes},
    {"the no-account key as a server's key", loaders::makeServerAnswerHarness,
     [](const std::vector<uint8_t>&) { return text(R"({"id":5,"key":"Unconfigured"})"); }},
    {"a sheet frame of \"nan\" size", loaders::makeSheetFontHarness,
     [](const std::vector<uint8_t>&) {
         return text("<plist><dict><key>frames</key><dict><key>a.png</key><dict><key>frame</key>"
                     "<string>{{nan,0},{nan,4}}</string></dict></dict>"
                     "<key>metadata</key><dict><key>textureFileName</key><string>sheet.png</string></dict>"
                     "</dict></plist>");
     }},
    {"a font glyph of \"nan\" and of negative size", loaders::makeSheetFontHarness,
     [](const std::vector<uint8_t>&) {
         return text("<plist><dict><key>fontSize</key><integer>10</integer><key>font</key><dict>"
                     "<key>a</key><string>{{0,0},{nan,13}}</string><key>b</key><string>{{0,0},{-4,13}}</string>"
                     "<key> </key><string>{{0,0},{3,13}}</string></dict></dict></plist>");
     }},
};

}  // namespace

TEST(LoaderKnownInputs, OnceHarmfulInputsAreRefusedOrLoadedSoundly)
{
    for (const KnownInput& known : kKnownInputs) {
        SCOPED_TRACE(known.what);
        auto harness = known.make();
        const auto seeds = harness->seeds();
        ASSERT_FALSE(seeds.empty());
        EXPECT_EQ(harness->feed(known.build(seeds[0])), "");
    }
}
