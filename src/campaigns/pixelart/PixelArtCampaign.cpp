#include "campaigns/pixelart/PixelArtCampaign.h"

#include "campaigns/DrawnTables.inc"
#include "profile/Profile.h"

namespace {

using namespace runs;

constexpr std::string_view kInk = "Obsidian";

// Four square outlines above an open square wave.
CAMPAIGN_TABLE(kSquaresRequired, row(79, 94, 17, kInk), row(79, 94, 32, kInk), column(79, 18, 31, kInk),
               column(94, 18, 31, kInk), row(82, 91, 37, kInk), row(82, 91, 46, kInk), column(82, 38, 45, kInk),
               column(91, 38, 45, kInk), row(84, 89, 51, kInk), row(84, 89, 56, kInk), column(84, 52, 55, kInk),
               column(89, 52, 55, kInk), row(85, 88, 61, kInk), row(85, 88, 64, kInk), column(85, 62, 63, kInk),
               column(88, 62, 63, kInk), row(68, 74, 6, kInk), column(74, 7, 12, kInk), row(75, 81, 12, kInk),
               column(81, 6, 11, kInk), row(82, 88, 6, kInk), column(88, 7, 12, kInk), row(89, 95, 12, kInk),
               column(95, 6, 11, kInk), row(96, 101, 6, kInk), column(101, 7, 12, kInk), row(102, 105, 12, kInk));
// Cells just inside and outside the lines, where a careless stroke lands.
CAMPAIGN_TABLE(kSquaresForbidden, cell(80, 18, kInk), cell(93, 18, kInk), cell(80, 31, kInk), cell(93, 31, kInk),
               cell(87, 18, kInk), cell(87, 31, kInk), cell(80, 25, kInk), cell(93, 25, kInk), cell(87, 16, kInk),
               cell(87, 33, kInk), cell(78, 25, kInk), cell(95, 25, kInk), cell(83, 38, kInk), cell(90, 38, kInk),
               cell(83, 45, kInk), cell(90, 45, kInk), cell(81, 41, kInk), cell(92, 41, kInk), cell(87, 36, kInk),
               cell(87, 47, kInk), cell(85, 52, kInk), cell(88, 52, kInk), cell(85, 55, kInk), cell(88, 55, kInk),
               cell(83, 53, kInk), cell(90, 53, kInk), cell(86, 50, kInk), cell(86, 57, kInk), row(86, 87, 62, kInk),
               row(86, 87, 63, kInk), row(86, 87, 65, kInk), cell(84, 62, kInk), cell(89, 62, kInk), cell(69, 5, kInk),
               cell(72, 5, kInk), cell(84, 5, kInk), cell(86, 5, kInk), cell(98, 5, kInk), cell(100, 5, kInk),
               cell(77, 13, kInk), cell(79, 13, kInk), cell(91, 13, kInk), cell(93, 13, kInk), cell(104, 13, kInk),
               cell(104, 11, kInk));

// A heart, a lightning bolt and an octagon.
CAMPAIGN_TABLE(kLinesRequired, column(90, 12, 15, kInk), cell(91, 11, kInk), cell(91, 16, kInk), cell(91, 22, kInk),
               column(91, 49, 55, kInk), cell(92, 10, kInk), cell(92, 16, kInk), cell(92, 23, kInk), cell(92, 48, kInk),
               cell(92, 56, kInk), cell(93, 9, kInk), cell(93, 17, kInk), cell(93, 24, kInk), cell(93, 47, kInk),
               cell(93, 57, kInk), cell(94, 8, kInk), cell(94, 17, kInk), cell(94, 25, kInk), cell(94, 46, kInk),
               cell(94, 58, kInk), cell(95, 7, kInk), cell(95, 17, kInk), cell(95, 26, kInk), cell(95, 45, kInk),
               cell(95, 59, kInk), cell(96, 6, kInk), cell(96, 17, kInk), cell(96, 27, kInk), cell(96, 44, kInk),
               cell(96, 60, kInk), cell(97, 5, kInk), cell(97, 17, kInk), cell(97, 28, kInk), cell(97, 43, kInk),
               cell(97, 61, kInk), cell(98, 4, kInk), cell(98, 16, kInk), cell(98, 29, kInk), cell(98, 43, kInk),
               cell(98, 61, kInk), cell(99, 3, kInk), column(99, 14, 15, kInk), cell(99, 30, kInk), cell(99, 43, kInk),
               cell(99, 61, kInk), cell(100, 2, kInk), cell(100, 13, kInk), cell(100, 30, kInk), cell(100, 43, kInk),
               cell(100, 61, kInk), cell(101, 3, kInk), column(101, 14, 15, kInk), cell(101, 30, kInk),
               cell(101, 43, kInk), cell(101, 61, kInk), cell(102, 4, kInk), cell(102, 16, kInk), cell(102, 30, kInk),
               cell(102, 43, kInk), cell(102, 61, kInk), cell(103, 5, kInk), cell(103, 17, kInk), cell(103, 30, kInk),
               cell(103, 43, kInk), cell(103, 61, kInk), cell(104, 6, kInk), cell(104, 17, kInk), cell(104, 30, kInk),
               cell(104, 44, kInk), cell(104, 60, kInk), cell(105, 7, kInk), cell(105, 17, kInk), cell(105, 30, kInk),
               cell(105, 45, kInk), cell(105, 59, kInk), cell(106, 8, kInk), cell(106, 17, kInk), cell(106, 30, kInk),
               cell(106, 46, kInk), cell(106, 58, kInk), cell(107, 9, kInk), cell(107, 17, kInk), cell(107, 30, kInk),
               cell(107, 47, kInk), cell(107, 57, kInk), cell(108, 10, kInk), cell(108, 16, kInk),
               column(108, 30, 41, kInk), cell(108, 48, kInk), cell(108, 56, kInk), cell(109, 11, kInk),
               column(109, 15, 16, kInk), column(109, 49, 55, kInk), column(110, 12, 15, kInk));
CAMPAIGN_TABLE(kLinesForbidden, column(89, 11, 12, kInk), cell(90, 11, kInk), cell(90, 49, kInk), cell(90, 54, kInk),
               cell(91, 13, kInk), cell(91, 23, kInk), cell(92, 8, kInk), cell(92, 18, kInk), cell(92, 46, kInk),
               cell(92, 53, kInk), cell(93, 7, kInk), cell(93, 22, kInk), cell(93, 46, kInk), cell(93, 59, kInk),
               cell(94, 16, kInk), cell(94, 23, kInk), cell(94, 45, kInk), cell(94, 60, kInk), cell(95, 16, kInk),
               cell(95, 18, kInk), cell(95, 44, kInk), cell(95, 60, kInk), cell(96, 16, kInk), cell(96, 18, kInk),
               cell(96, 43, kInk), cell(96, 61, kInk), cell(97, 18, kInk), cell(97, 42, kInk), cell(98, 2, kInk),
               cell(98, 15, kInk), cell(98, 31, kInk), cell(99, 2, kInk), cell(99, 17, kInk), cell(99, 60, kInk),
               cell(100, 1, kInk), cell(100, 3, kInk), cell(100, 15, kInk), cell(100, 62, kInk), cell(101, 1, kInk),
               cell(101, 13, kInk), cell(101, 60, kInk), cell(102, 14, kInk), cell(102, 31, kInk), cell(103, 6, kInk),
               cell(103, 16, kInk), cell(103, 31, kInk), cell(103, 62, kInk), cell(104, 16, kInk), cell(104, 18, kInk),
               cell(104, 46, kInk), cell(105, 6, kInk), cell(105, 16, kInk), cell(105, 31, kInk), cell(105, 58, kInk),
               cell(106, 9, kInk), cell(106, 16, kInk), cell(106, 45, kInk), cell(106, 59, kInk), cell(107, 15, kInk),
               cell(107, 34, kInk), cell(107, 39, kInk), cell(107, 48, kInk), cell(107, 59, kInk), cell(108, 15, kInk),
               cell(108, 46, kInk), cell(108, 53, kInk), cell(109, 10, kInk), cell(109, 29, kInk), cell(109, 35, kInk),
               cell(109, 40, kInk), cell(109, 57, kInk), cell(110, 49, kInk), cell(110, 55, kInk), cell(111, 12, kInk));

// A wave and four rounded rings.
CAMPAIGN_TABLE(kCurvesRequired, cell(70, 10, kInk), cell(71, 11, kInk), cell(72, 12, kInk), cell(73, 12, kInk),
               cell(74, 11, kInk), column(75, 9, 10, kInk), column(76, 7, 8, kInk), cell(77, 7, kInk),
               cell(78, 8, kInk), cell(79, 9, kInk), cell(80, 10, kInk), column(80, 25, 28, kInk), cell(81, 10, kInk),
               column(81, 23, 24, kInk), column(81, 29, 30, kInk), cell(82, 11, kInk), cell(82, 22, kInk),
               cell(82, 31, kInk), column(82, 40, 43, kInk), cell(83, 11, kInk), cell(83, 21, kInk), cell(83, 32, kInk),
               cell(83, 39, kInk), cell(83, 44, kInk), cell(84, 12, kInk), cell(84, 21, kInk), cell(84, 32, kInk),
               cell(84, 38, kInk), cell(84, 45, kInk), column(84, 52, 53, kInk), cell(85, 13, kInk), cell(85, 20, kInk),
               cell(85, 33, kInk), cell(85, 37, kInk), cell(85, 46, kInk), cell(85, 51, kInk), cell(85, 54, kInk),
               column(85, 60, 61, kInk), cell(86, 13, kInk), cell(86, 20, kInk), cell(86, 33, kInk), cell(86, 37, kInk),
               cell(86, 46, kInk), cell(86, 50, kInk), cell(86, 55, kInk), cell(86, 59, kInk), cell(86, 62, kInk),
               cell(87, 13, kInk), cell(87, 20, kInk), cell(87, 33, kInk), cell(87, 37, kInk), cell(87, 46, kInk),
               cell(87, 50, kInk), cell(87, 55, kInk), cell(87, 59, kInk), cell(87, 62, kInk), cell(88, 13, kInk),
               cell(88, 20, kInk), cell(88, 33, kInk), cell(88, 37, kInk), cell(88, 46, kInk), cell(88, 51, kInk),
               cell(88, 54, kInk), column(88, 60, 61, kInk), cell(89, 12, kInk), cell(89, 21, kInk), cell(89, 32, kInk),
               cell(89, 38, kInk), cell(89, 45, kInk), column(89, 52, 53, kInk), cell(90, 11, kInk), cell(90, 21, kInk),
               cell(90, 32, kInk), cell(90, 39, kInk), cell(90, 44, kInk), cell(91, 10, kInk), cell(91, 22, kInk),
               cell(91, 31, kInk), column(91, 40, 43, kInk), cell(92, 9, kInk), column(92, 23, 24, kInk),
               column(92, 29, 30, kInk), column(93, 7, 8, kInk), column(93, 25, 28, kInk), cell(94, 7, kInk),
               cell(95, 8, kInk), column(96, 9, 10, kInk), column(97, 11, 12, kInk), cell(98, 12, kInk),
               column(99, 10, 11, kInk), column(100, 8, 9, kInk), cell(101, 7, kInk), cell(102, 8, kInk),
               column(103, 9, 10, kInk));
CAMPAIGN_TABLE(kCurvesForbidden, column(72, 10, 11, kInk), cell(73, 13, kInk), cell(75, 7, kInk), cell(76, 11, kInk),
               cell(78, 7, kInk), cell(79, 7, kInk), cell(79, 25, kInk), cell(80, 8, kInk), cell(80, 24, kInk),
               cell(81, 11, kInk), cell(81, 27, kInk), cell(81, 40, kInk), cell(81, 44, kInk), cell(82, 23, kInk),
               cell(82, 30, kInk), cell(82, 44, kInk), cell(83, 12, kInk), cell(83, 22, kInk), cell(83, 37, kInk),
               cell(83, 43, kInk), cell(83, 53, kInk), cell(84, 19, kInk), cell(84, 34, kInk), cell(84, 43, kInk),
               cell(84, 50, kInk), cell(84, 60, kInk), cell(85, 12, kInk), cell(85, 14, kInk), cell(85, 21, kInk),
               cell(85, 36, kInk), cell(85, 47, kInk), cell(85, 55, kInk), cell(85, 62, kInk), cell(86, 12, kInk),
               cell(86, 14, kInk), cell(86, 21, kInk), cell(86, 45, kInk), cell(86, 53, kInk), cell(86, 61, kInk),
               cell(87, 12, kInk), cell(87, 14, kInk), cell(87, 36, kInk), cell(87, 49, kInk), cell(87, 56, kInk),
               cell(88, 12, kInk), cell(88, 14, kInk), cell(88, 19, kInk), cell(88, 34, kInk), cell(88, 45, kInk),
               cell(88, 53, kInk), cell(88, 62, kInk), cell(89, 20, kInk), cell(89, 36, kInk), cell(89, 44, kInk),
               cell(89, 51, kInk), cell(89, 61, kInk), cell(90, 12, kInk), cell(90, 20, kInk), cell(90, 33, kInk),
               cell(90, 42, kInk), cell(90, 52, kInk), cell(91, 11, kInk), cell(91, 25, kInk), cell(91, 33, kInk),
               cell(92, 7, kInk), cell(92, 22, kInk), cell(92, 28, kInk), cell(92, 41, kInk), cell(93, 10, kInk),
               cell(93, 30, kInk), cell(94, 25, kInk), cell(95, 7, kInk), cell(96, 8, kInk), cell(97, 10, kInk),
               cell(98, 13, kInk), cell(100, 7, kInk), cell(101, 8, kInk));

// Every required cell in Obsidian, and none of the forbidden ones.
bool outlineTest(MissionPattern required, MissionPattern forbidden)
{
    return patternAllMatch(required) && patternNoneMatch(forbidden);
}

// The cells a painting needs: its share of the table's records, counted
// once, when the map is compiled in.
template <size_t N> constexpr int32_t paintingNeeds(const MissionPatternRecord (&)[N], int32_t percent)
{
    return pixelArtThreshold(static_cast<int32_t>(N) - 1, percent);
}

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "Pix_Squares", .level = 1, .textKey = "Pix_Squares", .rewardKey = "Pix_Squares", .delay = 2,
     .points = 100, .test = [] { return outlineTest(kSquaresRequired.data(), kSquaresForbidden.data()); }},
    {.className = "Pix_Lines", .level = 2, .textKey = "Pix_Lines", .rewardKey = "Pix_Lines", .delay = 2,
     .points = 100, .test = [] { return outlineTest(kLinesRequired.data(), kLinesForbidden.data()); }},
    {.className = "Pix_Curves", .level = 3, .textKey = "Pix_Curves", .rewardKey = "Pix_Curves", .delay = 2,
     .points = 100, .test = [] { return outlineTest(kCurvesRequired.data(), kCurvesForbidden.data()); }},
    {.className = "Pix_Geometry", .level = 4, .textKey = "Pix_Geometry", .rewardKey = "Pix_Geometry", .delay = 2,
     .points = 100, .test = [] { return outlineTest(kMapPix_GeometryA, kMapPix_GeometryB); }},
    {.className = "Pix_Outlines", .level = 5, .textKey = "Pix_Outlines", .rewardKey = "Pix_Outlines", .delay = 2,
     .points = 100, .test = [] { return outlineTest(kMapPix_OutlinesA, kMapPix_OutlinesB); }},
    {.className = "Pix_Coloring", .level = 6, .textKey = "Pix_Coloring", .rewardKey = "Pix_Coloring", .delay = 2,
     .points = 100, .test = [] { return patternAllMatch(kMapPix_ColoringA); }},
    {.className = "Pix_Drawing", .level = 7, .textKey = "Pix_Drawing", .rewardKey = "Pix_Drawing", .delay = 2,
     .points = 100, .test = [] { return patternAllMatch(kMapPix_ColoringA); }},
    {.className = "Pix_PaintEasy", .level = 8, .textKey = "Pix_PaintEasy", .rewardKey = "Pix_PaintEasy", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_PaintEasyA, paintingNeeds(kMapPix_PaintEasyA, 99)); }},
    // Its name is kept under a key of its own.
    {.className = "Pix_PaintMedium", .level = 9, .textKey = "Pix_PaintMedium", .rewardKey = "Pix_PaintMedium",
     .delay = 2, .points = 100, .test = [] { return patternCountAtLeast(kMapPix_PaintMediumA, paintingNeeds(kMapPix_PaintMediumA, 95)); },
     .nameKey = "Pix_PaintMediumsName"},
    {.className = "Pix_PaintHard", .level = 10, .textKey = "Pix_PaintHard", .rewardKey = "Pix_PaintHard", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_PaintHardA, paintingNeeds(kMapPix_PaintHardA, 95)); }},
    {.className = "Pix_Font", .level = 11, .textKey = "Pix_Font", .rewardKey = "Pix_Font", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_FontA, paintingNeeds(kMapPix_FontA, 95)); }},
    {.className = "Pix_Gradient", .level = 12, .textKey = "Pix_Gradient", .rewardKey = "Pix_Gradient", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_GradientA, paintingNeeds(kMapPix_GradientA, 95)); }},
    {.className = "Pix_Shading", .level = 13, .textKey = "Pix_Shading", .rewardKey = "Pix_Shading", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_ShadingA, paintingNeeds(kMapPix_ShadingA, 95)); }},
    {.className = "Pix_Font2", .level = 14, .textKey = "Pix_Font2", .rewardKey = "Pix_Font2", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_Font2A, paintingNeeds(kMapPix_Font2A, 95)); }},
    {.className = "Pix_Final", .level = 15, .textKey = "Pix_Final", .rewardKey = "Pix_Final", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kMapPix_FinalA, paintingNeeds(kMapPix_FinalA, 95)); }},
};

// The grant's save also stores the finished flag.
constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Finished, EndAction::Grant};

// Steps 12 to 16 pay on every completion, the earlier ones only the first.
constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"Pix_Squares"}, .step = "Pix_CheckLv2", .threshold = 100, .rewardKey = "Pix_CheckLv2",
     .boardKey = "Pix_CheckLv2"},
    {.level = 2, .missions = {"Pix_Lines"}, .step = "Pix_CheckLv3", .threshold = 200, .rewardKey = "Pix_CheckLv3",
     .boardKey = "Pix_CheckLv3"},
    {.level = 3, .missions = {"Pix_Curves"}, .step = "Pix_CheckLv4", .threshold = 300, .rewardKey = "Pix_CheckLv4",
     .boardKey = "Pix_CheckLv4"},
    {.level = 4, .missions = {"Pix_Geometry"}, .step = "Pix_CheckLv5", .threshold = 400, .rewardKey = "Pix_CheckLv5",
     .boardKey = "Pix_CheckLv5"},
    {.level = 5, .missions = {"Pix_Outlines"}, .step = "Pix_CheckLv6", .threshold = 500, .rewardKey = "Pix_CheckLv6",
     .boardKey = "Pix_CheckLv6"},
    {.level = 6, .missions = {"Pix_Coloring"}, .step = "Pix_CheckLv7", .threshold = 600, .rewardKey = "Pix_CheckLv7",
     .boardKey = "Pix_CheckLv7"},
    {.level = 7, .missions = {"Pix_Drawing"}, .step = "Pix_CheckLv8", .threshold = 700, .rewardKey = "Pix_CheckLv8",
     .boardKey = "Pix_CheckLv8"},
    {.level = 8, .missions = {"Pix_PaintEasy"}, .step = "Pix_CheckLv9", .threshold = 800, .rewardKey = "Pix_CheckLv9",
     .boardKey = "Pix_CheckLv9"},
    {.level = 9, .missions = {"Pix_PaintMedium"}, .step = "Pix_CheckLv10", .threshold = 900,
     .rewardKey = "Pix_CheckLv10", .boardKey = "Pix_CheckLv10"},
    {.level = 10, .missions = {"Pix_PaintHard"}, .step = "Pix_CheckLv11", .threshold = 1000,
     .rewardKey = "Pix_CheckLv11", .boardKey = "Pix_CheckLv11"},
    {.level = 11, .missions = {"Pix_Font"}, .step = "Pix_CheckLv12", .threshold = 1100, .rewardKey = "Pix_CheckLv12",
     .boardKey = "Pix_CheckLv12", .grant = StepGrant::Always},
    {.level = 12, .missions = {"Pix_Gradient"}, .step = "Pix_CheckLv13", .threshold = 1200,
     .rewardKey = "Pix_CheckLv13", .boardKey = "Pix_CheckLv13", .grant = StepGrant::Always},
    {.level = 13, .missions = {"Pix_Shading"}, .step = "Pix_CheckLv14", .threshold = 1300,
     .rewardKey = "Pix_CheckLv14", .boardKey = "Pix_CheckLv14", .grant = StepGrant::Always},
    {.level = 14, .missions = {"Pix_Font2"}, .step = "Pix_CheckLv15", .threshold = 1400,
     .rewardKey = "Pix_CheckLv15", .boardKey = "Pix_CheckLv15", .grant = StepGrant::Always},
    {.level = 15, .missions = {"Pix_Final"}, .step = "Pix_CheckLv16", .threshold = 1500,
     .rewardKey = "Pix_CheckLv16", .boardKey = "Pix_CheckLv16", .grant = StepGrant::Always, .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"SquaresRequired", kSquaresRequired.data(), "Pix_Squares", 'A'},
    {"SquaresForbidden", kSquaresForbidden.data(), "Pix_Squares", 'B'},
    {"LinesRequired", kLinesRequired.data(), "Pix_Lines", 'A'},
    {"LinesForbidden", kLinesForbidden.data(), "Pix_Lines", 'B'},
    {"CurvesRequired", kCurvesRequired.data(), "Pix_Curves", 'A'},
    {"CurvesForbidden", kCurvesForbidden.data(), "Pix_Curves", 'B'},
    {"GeometryRequired", kMapPix_GeometryA, "Pix_Geometry", 'A'},
    {"GeometryForbidden", kMapPix_GeometryB, "Pix_Geometry", 'B'},
    {"OutlinesRequired", kMapPix_OutlinesA, "Pix_Outlines", 'A'},
    {"OutlinesForbidden", kMapPix_OutlinesB, "Pix_Outlines", 'B'},
    // Level 7 draws level 6's picture again, on its own.
    {"Coloring", kMapPix_ColoringA, "Pix_Coloring", 'A'},
    {"Drawing", kMapPix_ColoringA, "Pix_Drawing", 'A'},
    {"PaintEasy", kMapPix_PaintEasyA, "Pix_PaintEasy", 'A'},
    {"PaintMedium", kMapPix_PaintMediumA, "Pix_PaintMedium", 'A'},
    {"PaintHard", kMapPix_PaintHardA, "Pix_PaintHard", 'A'},
    {"Font", kMapPix_FontA, "Pix_Font", 'A'},
    {"Gradient", kMapPix_GradientA, "Pix_Gradient", 'A'},
    {"Shading", kMapPix_ShadingA, "Pix_Shading", 'A'},
    {"Font2", kMapPix_Font2A, "Pix_Font2", 'A'},
    {"Final", kMapPix_FinalA, "Pix_Final", 'A'},
};

constexpr Campaign kPixelArt{.name = "PixelArt",
                             .mode = 4,
                             .completionIndex = CampaignIndex::PixelArt,
                             .levels = kLevels,
                             .missions = kMissions,
                             .tables = kTables};

}  // namespace

const Campaign& pixelArtCampaign()
{
    return kPixelArt;
}
