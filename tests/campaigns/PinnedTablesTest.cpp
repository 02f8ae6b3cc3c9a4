// Where every mission's cells lie, written out: each table's size, its
// first and last records (tables run by x, then y) and the box round its
// cells, typed from the levels' descriptions. A table shifted by a column
// or a row, or grown or cut, fails here though it reads back the same
// through the code that builds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryTables.h"

namespace {

struct Cell {
    int32_t x, y;
};
struct Box {
    int32_t x0, y0, x1, y1;
};
struct Pinned {
    const char* owner;  // the campaign, or the story
    const char* name;   // the campaign's table name, or the story mission and letter
    int size;
    Cell first, last;
    Box box;
};

// clang-format off
const Pinned kPinned[] = {
    {"Story", "MakeMetalBox A", 140, {42, 22}, {77, 57}, {42, 22, 77, 57}},
    {"Story", "LightBulb A", 2, {31, 20}, {38, 20}, {31, 20, 38, 20}},
    {"Story", "MakeResistance A", 1, {58, 41}, {58, 41}, {58, 41, 58, 41}},
    {"Story", "MakeResistance B", 1, {60, 58}, {60, 58}, {60, 58, 60, 58}},
    {"Story", "MakeSpark A", 1, {58, 41}, {58, 41}, {58, 41, 58, 41}},
    {"Story", "MakeCooler A", 2, {30, 42}, {90, 15}, {30, 15, 90, 42}},
    {"Story", "MakeCooler B", 1, {91, 9}, {91, 9}, {91, 9, 91, 9}},
    {"Story", "LightVolcano A", 6, {57, 20}, {64, 20}, {57, 16, 64, 33}},
    {"Story", "WaterDesti A", 2, {72, 21}, {73, 20}, {72, 20, 73, 21}},
    {"Story", "WaterDesti B", 3, {46, 29}, {72, 17}, {46, 1, 72, 29}},
    {"Story", "MakeOilLamp A", 5, {79, 9}, {107, 10}, {79, 9, 107, 10}},
    {"Story", "MakeOilLamp B", 12, {78, 39}, {111, 39}, {78, 39, 111, 39}},
    {"Story", "MakeBattery A", 2, {56, 24}, {108, 21}, {56, 21, 108, 24}},
    {"Story", "WaterCascade A", 8, {5, 65}, {26, 65}, {5, 65, 26, 65}},
    {"Story", "WaterCascade B", 4, {98, 37}, {99, 38}, {98, 37, 99, 38}},
    {"Story", "VirusGame A", 1, {25, 14}, {25, 14}, {25, 14, 25, 14}},
    {"Story", "WaterDam A", 2, {64, 26}, {65, 26}, {64, 26, 65, 26}},
    {"Story", "PaintEarth A", 9, {30, 32}, {78, 38}, {30, 11, 78, 59}},
    {"Story", "PaintEarth B", 15, {31, 43}, {91, 38}, {31, 5, 91, 67}},
    {"Story", "PaintEarth C", 15, {31, 43}, {91, 38}, {31, 5, 91, 67}},
    {"Story", "PaintEarth D", 15, {31, 43}, {91, 38}, {31, 5, 91, 67}},
    {"Story", "PaintEarth E", 15, {31, 43}, {91, 38}, {31, 5, 91, 67}},
    {"Story", "CloggedFactory A", 14, {50, 11}, {114, 12}, {50, 2, 114, 14}},
    {"Story", "CloggedFactory B", 1, {101, 57}, {101, 57}, {101, 57, 101, 57}},
    {"Story", "CloggedFactory C", 1, {102, 57}, {102, 57}, {102, 57, 102, 57}},
    {"Story", "Alchemy A", 4, {15, 11}, {110, 51}, {15, 11, 110, 51}},
    {"Story", "MakeDiode A", 23, {70, 31}, {72, 32}, {70, 22, 72, 41}},
    {"Story", "MakeDiode B", 1, {71, 22}, {71, 22}, {71, 22, 71, 22}},
    {"Story", "PortalSong A", 1, {54, 50}, {54, 50}, {54, 50, 54, 50}},
    {"Story", "ChristmasLights A", 50, {21, 15}, {32, 17}, {21, 9, 32, 21}},
    {"Story", "ChristmasLights B", 1, {103, 35}, {103, 35}, {103, 35, 103, 35}},
    {"Story", "Compose A", 3, {88, 43}, {96, 43}, {88, 43, 96, 43}},
    {"Story", "FindTree A", 18, {51, 24}, {68, 24}, {51, 24, 68, 24}},
    {"Story", "EightBall A", 6, {57, 50}, {61, 50}, {57, 50, 61, 54}},
    {"Story", "EightBall B", 4, {73, 8}, {97, 14}, {23, 8, 97, 14}},
    {"Music", "M1", 123, {31, 34}, {93, 36}, {31, 34, 93, 37}},
    {"Music", "M2", 1, {84, 38}, {84, 38}, {84, 38, 84, 38}},
    {"Music", "M3", 3, {44, 38}, {84, 38}, {44, 38, 84, 38}},
    {"Music", "M3x", 3, {48, 38}, {86, 38}, {48, 38, 86, 38}},
    {"Music", "M4", 7, {63, 13}, {111, 13}, {63, 13, 111, 17}},
    {"Music", "M6", 4, {44, 36}, {76, 36}, {44, 36, 76, 36}},
    {"Music", "M7", 3, {29, 41}, {29, 43}, {29, 41, 29, 43}},
    {"Music", "M7p", 1, {30, 28}, {30, 28}, {30, 28, 30, 28}},
    {"Music", "M8", 9, {21, 41}, {37, 49}, {21, 41, 37, 49}},
    {"Music", "M9", 13, {55, 56}, {113, 52}, {55, 48, 113, 56}},
    {"Contraptions", "LedsOnLed", 1, {102, 43}, {102, 43}, {102, 43, 102, 43}},
    {"Contraptions", "LedsOnPower", 1, {48, 31}, {48, 31}, {48, 31, 48, 31}},
    {"Contraptions", "LedRow", 15, {90, 38}, {98, 40}, {90, 38, 98, 40}},
    {"Contraptions", "SenseLed", 1, {60, 61}, {60, 61}, {60, 61, 60, 61}},
    {"Contraptions", "Sensors", 5, {39, 9}, {83, 9}, {39, 9, 83, 9}},
    {"Contraptions", "SemaphoreLeds", 4, {14, 41}, {95, 41}, {14, 41, 95, 41}},
    {"Contraptions", "SemaphoreWires", 8, {24, 41}, {108, 41}, {24, 41, 108, 41}},
    {"Contraptions", "WarmUpMetal", 1, {75, 8}, {75, 8}, {75, 8, 75, 8}},
    {"Contraptions", "WarmUpParts", 3, {75, 9}, {89, 17}, {75, 9, 89, 17}},
    {"Contraptions", "Dam", 85, {17, 78}, {92, 78}, {17, 31, 92, 78}},
    {"Contraptions", "DamWater", 1, {66, 12}, {66, 12}, {66, 12, 66, 12}},
    {"Contraptions", "HouseWall", 14, {16, 18}, {28, 18}, {16, 17, 28, 18}},
    {"Contraptions", "HouseBlock", 56, {17, 40}, {25, 42}, {17, 35, 25, 43}},
    {"Contraptions", "HouseC4", 28, {19, 11}, {25, 14}, {19, 11, 25, 14}},
    {"Contraptions", "ShipWires", 9, {84, 18}, {84, 33}, {84, 18, 84, 33}},
    {"Contraptions", "ShipTnt", 1, {107, 33}, {107, 33}, {107, 33, 107, 33}},
    {"Contraptions", "ShipGlass", 1, {13, 36}, {13, 36}, {13, 36, 13, 36}},
    {"Contraptions", "ShipMetal", 1, {84, 34}, {84, 34}, {84, 34, 84, 34}},
    {"Contraptions", "Demolish", 19, {53, 48}, {79, 16}, {53, 9, 79, 61}},
    {"Contraptions", "BombLinkA", 3, {88, 59}, {89, 59}, {88, 57, 89, 59}},
    {"Contraptions", "BombPowerA", 1, {89, 59}, {89, 59}, {89, 59, 89, 59}},
    {"Contraptions", "BombLinkB", 3, {31, 8}, {32, 8}, {31, 6, 32, 8}},
    {"Contraptions", "BombPowerB", 1, {32, 8}, {32, 8}, {32, 8, 32, 8}},
    {"Contraptions", "BombLinkC", 3, {45, 16}, {47, 16}, {45, 15, 47, 16}},
    {"Contraptions", "BombPowerC", 1, {47, 16}, {47, 16}, {47, 16, 47, 16}},
    {"Contraptions", "CounterMetal", 1, {42, 15}, {42, 15}, {42, 15, 42, 15}},
    {"Contraptions", "Counter", 85, {44, 15}, {91, 16}, {44, 12, 91, 16}},
    {"UserMade", "Level1", 1, {61, 15}, {61, 15}, {61, 15, 61, 15}},
    {"UserMade", "Level2", 227, {50, 54}, {68, 64}, {50, 47, 68, 67}},
    {"UserMade", "Level3Mud", 130, {27, 42}, {91, 43}, {27, 42, 91, 43}},
    {"UserMade", "Level3Wax", 130, {27, 42}, {91, 43}, {27, 42, 91, 43}},
    {"UserMade", "NoGlass", 32, {28, 40}, {90, 40}, {28, 40, 90, 40}},
    {"UserMade", "Level5", 220, {17, 50}, {97, 52}, {17, 45, 97, 57}},
    {"UserMade", "LedMetal", 4, {1, 2}, {3, 2}, {1, 1, 3, 3}},
    {"UserMade", "LedLit", 2, {51, 51}, {63, 51}, {51, 51, 63, 51}},
    {"UserMade", "Level6", 24, {24, 30}, {97, 33}, {24, 30, 97, 33}},
    {"UserMade", "NoPixel", 12, {58, 40}, {60, 43}, {58, 40, 60, 43}},
    {"UserMade", "Bulb", 1, {68, 51}, {68, 51}, {68, 51, 68, 51}},
    {"UserMade", "Level7", 12, {63, 51}, {73, 51}, {63, 50, 73, 54}},
    {"UserMade", "Lava", 1, {61, 18}, {61, 18}, {61, 18, 61, 18}},
    {"UserMade", "Level8", 1, {114, 42}, {114, 42}, {114, 42, 114, 42}},
    {"UserMade", "ColdSensor", 1, {82, 10}, {82, 10}, {82, 10, 82, 10}},
    {"UserMade", "HotSensorLava", 1, {115, 54}, {115, 54}, {115, 54, 115, 54}},
    {"UserMade", "WaterSensor", 1, {113, 31}, {113, 31}, {113, 31, 113, 31}},
    {"UserMade", "Level10", 7, {52, 59}, {54, 60}, {52, 58, 54, 60}},
    {"UserMade", "LightSensor", 1, {85, 23}, {85, 23}, {85, 23, 85, 23}},
    {"LasersAndPipes", "Lasers", 15, {3, 9}, {95, 64}, {3, 9, 95, 68}},
    {"LasersAndPipes", "Reflect", 1, {51, 15}, {51, 15}, {51, 15, 51, 15}},
    {"LasersAndPipes", "Extinction", 20, {53, 59}, {72, 59}, {53, 59, 72, 59}},
    {"LasersAndPipes", "Gems", 4, {23, 61}, {95, 61}, {23, 61, 95, 61}},
    {"LasersAndPipes", "Citrine", 1, {23, 64}, {23, 64}, {23, 64, 23, 64}},
    {"LasersAndPipes", "PoweredLeds", 4, {59, 41}, {61, 41}, {59, 40, 61, 41}},
    {"LasersAndPipes", "Pump", 1, {35, 32}, {35, 32}, {35, 32, 35, 32}},
    {"LasersAndPipes", "Pipe", 155, {35, 21}, {88, 49}, {35, 19, 88, 49}},
    {"LasersAndPipes", "DrainOutlet", 1, {89, 49}, {89, 49}, {89, 49, 89, 49}},
    {"LasersAndPipes", "DrainArea", 17, {97, 43}, {99, 46}, {97, 40, 99, 46}},
    {"LasersAndPipes", "FixRowRight", 8, {66, 12}, {73, 12}, {66, 12, 73, 12}},
    {"LasersAndPipes", "FixRowLeft", 7, {43, 12}, {49, 12}, {43, 12, 49, 12}},
    {"LasersAndPipes", "FixInlet", 1, {100, 14}, {100, 14}, {100, 14, 100, 14}},
    {"LasersAndPipes", "ColorCode", 42, {18, 38}, {24, 43}, {18, 38, 24, 43}},
    {"LasersAndPipes", "GasSensor", 1, {42, 64}, {42, 64}, {42, 64, 42, 64}},
    {"LasersAndPipes", "Insulator", 18, {10, 10}, {18, 11}, {10, 10, 18, 11}},
    {"LasersAndPipes", "TntTesting", 4, {97, 10}, {98, 11}, {97, 10, 98, 11}},
    {"PixelArt", "SquaresRequired", 196, {68, 6}, {105, 12}, {68, 6, 105, 64}},
    {"PixelArt", "SquaresForbidden", 48, {69, 5}, {104, 13}, {69, 5, 104, 65}},
    {"PixelArt", "LinesRequired", 126, {90, 12}, {110, 15}, {90, 2, 110, 61}},
    {"PixelArt", "LinesForbidden", 75, {89, 11}, {111, 12}, {89, 1, 111, 62}},
    {"PixelArt", "CurvesRequired", 122, {70, 10}, {103, 10}, {70, 7, 103, 62}},
    {"PixelArt", "CurvesForbidden", 78, {72, 10}, {101, 8}, {72, 7, 101, 62}},
    {"PixelArt", "GeometryRequired", 200, {71, 32}, {95, 32}, {71, 17, 95, 54}},
    {"PixelArt", "GeometryForbidden", 136, {72, 31}, {98, 42}, {72, 16, 98, 55}},
    {"PixelArt", "OutlinesRequired", 229, {71, 32}, {95, 54}, {71, 17, 95, 54}},
    {"PixelArt", "OutlinesForbidden", 146, {71, 31}, {95, 55}, {71, 17, 95, 55}},
    {"PixelArt", "Coloring", 567, {71, 32}, {95, 54}, {71, 17, 95, 54}},
    {"PixelArt", "Drawing", 567, {71, 32}, {95, 54}, {71, 17, 95, 54}},
    {"PixelArt", "PaintEasy", 1318, {66, 22}, {114, 57}, {66, 16, 114, 60}},
    {"PixelArt", "PaintMedium", 1375, {65, 14}, {114, 49}, {65, 4, 114, 67}},
    {"PixelArt", "PaintHard", 4582, {22, 8}, {100, 65}, {22, 8, 100, 65}},
    {"PixelArt", "Font", 297, {11, 1}, {117, 1}, {11, 1, 117, 29}},
    {"PixelArt", "Gradient", 1428, {30, 11}, {97, 31}, {30, 11, 97, 31}},
    {"PixelArt", "Shading", 2232, {54, 1}, {115, 36}, {54, 1, 115, 36}},
    {"PixelArt", "Font2", 1998, {12, 2}, {112, 30}, {12, 1, 112, 33}},
    {"PixelArt", "Final", 2806, {67, 5}, {112, 65}, {67, 5, 112, 65}},
    {"Dinosaurs", "HunterPrey", 178, {81, 27}, {109, 22}, {81, 13, 109, 30}},
    {"Dinosaurs", "PostsGlass", 3, {63, 20}, {63, 31}, {63, 20, 63, 31}},
    {"Dinosaurs", "PitLava", 1, {63, 5}, {63, 5}, {63, 5, 63, 5}},
    {"Dinosaurs", "PostsMetal", 3, {63, 20}, {63, 31}, {63, 20, 63, 31}},
    {"Dinosaurs", "PostsMud", 3, {63, 20}, {63, 31}, {63, 20, 63, 31}},
    {"Dinosaurs", "PostsWall", 3, {63, 20}, {63, 31}, {63, 20, 63, 31}},
    {"Dinosaurs", "PostsWax", 3, {63, 20}, {63, 31}, {63, 20, 63, 31}},
    {"Dinosaurs", "Hunter", 216, {25, 7}, {51, 34}, {25, 7, 51, 35}},
    {"Dinosaurs", "AutoImmune", 258, {37, 14}, {72, 15}, {37, 11, 72, 23}},
    {"Dinosaurs", "MudPools", 130, {14, 8}, {105, 11}, {14, 6, 105, 16}},
    {"Dinosaurs", "CaveWater", 16, {71, 2}, {118, 2}, {71, 2, 118, 2}},
    {"Dinosaurs", "CaveAcid", 1018, {3, 50}, {85, 34}, {3, 1, 85, 70}},
    {"Dinosaurs", "Frozen", 9, {104, 29}, {106, 31}, {104, 29, 106, 31}},
    {"Dinosaurs", "Volcanoes", 3, {99, 24}, {107, 24}, {99, 24, 107, 24}},
    {"Dinosaurs", "HerdOfThree", 538, {1, 24}, {100, 22}, {1, 19, 100, 39}},
    {"Dinosaurs", "AcidVictim", 70, {44, 61}, {71, 64}, {44, 58, 71, 66}},
    {"Dinosaurs", "Survivors", 5, {105, 16}, {117, 14}, {105, 13, 117, 16}},
    {"Dinosaurs", "LastInfected", 1, {54, 27}, {54, 27}, {54, 27, 54, 27}},
    {"Dinosaurs", "VirusField", 3208, {4, 17}, {91, 26}, {4, 7, 91, 61}},
    {"Dinosaurs", "Herd", 198, {5, 44}, {118, 26}, {5, 20, 118, 52}},
    {"Dinosaurs", "OilPumps", 6, {25, 27}, {25, 37}, {25, 27, 25, 37}},
    {"Dinosaurs", "MachineSockets", 2, {55, 8}, {61, 8}, {55, 8, 61, 8}},
    {"Dinosaurs", "Base", 27, {103, 31}, {111, 33}, {103, 31, 111, 33}},
    {"Dinosaurs", "Shelter", 2, {56, 18}, {61, 18}, {56, 18, 61, 18}},
    {"Dinosaurs", "Refuge", 21, {107, 33}, {113, 35}, {107, 33, 113, 35}},
    {"Dinosaurs", "MachineCore", 18, {96, 6}, {104, 8}, {96, 6, 104, 8}},
    {"Human", "Z1Leader", 145, {102, 20}, {114, 26}, {102, 17, 114, 29}},
    {"Human", "Z1Part", 145, {102, 20}, {114, 26}, {102, 17, 114, 29}},
    {"Human", "Z2Water", 45, {38, 24}, {44, 28}, {38, 23, 44, 29}},
    {"Human", "Z3Leader", 77, {92, 4}, {100, 10}, {92, 3, 100, 11}},
    {"Human", "Z3Part", 77, {92, 4}, {100, 10}, {92, 3, 100, 11}},
    {"Human", "Z5Leader", 224, {93, 15}, {110, 24}, {93, 14, 110, 26}},
    {"Human", "Z5Part", 224, {93, 15}, {110, 24}, {93, 14, 110, 26}},
    {"Human", "Z6Leader", 267, {91, 45}, {115, 55}, {91, 43, 115, 57}},
    {"Human", "Z6Part", 267, {91, 45}, {115, 55}, {91, 43, 115, 57}},
    {"Human", "Z7Leader", 364, {90, 20}, {118, 22}, {90, 11, 118, 25}},
    {"Human", "Z7Part", 364, {90, 20}, {118, 22}, {90, 11, 118, 25}},
    {"Human", "Z8Leader", 81, {101, 50}, {107, 61}, {101, 50, 107, 61}},
    {"Human", "Z8Part", 81, {101, 50}, {107, 61}, {101, 50, 107, 61}},
    {"Human", "Z10Leader", 3, {109, 56}, {117, 56}, {109, 56, 117, 56}},
    {"Human", "Z10Part", 3, {109, 56}, {117, 56}, {109, 56, 117, 56}},
    {"Human", "Wax10", 6, {106, 53}, {106, 58}, {106, 53, 106, 58}},
    {"Human", "Z11Leader", 109, {100, 5}, {110, 11}, {100, 3, 110, 13}},
    {"Human", "Z11Part", 109, {100, 5}, {110, 11}, {100, 3, 110, 13}},
    {"Human", "Metal12", 1, {86, 11}, {86, 11}, {86, 11, 86, 11}},
    {"Human", "CrossWire12", 3, {88, 9}, {90, 9}, {88, 9, 90, 9}},
    {"Human", "Notes12", 2, {96, 52}, {97, 51}, {96, 51, 97, 52}},
    {"Human", "Bulbs12", 3, {95, 56}, {103, 56}, {95, 56, 103, 58}},
    {"Human", "Z13FireOrMetal", 119, {1, 22}, {84, 10}, {1, 10, 84, 34}},
    {"Human", "Z14Leader", 108, {96, 64}, {111, 68}, {96, 63, 111, 69}},
    {"Human", "Z14Part", 108, {96, 64}, {111, 68}, {96, 63, 111, 69}},
    {"Human", "C4Column", 9, {113, 61}, {113, 69}, {113, 61, 113, 69}},
    {"Human", "Wall", 15, {47, 18}, {56, 25}, {47, 11, 56, 25}},
    {"Zombie", "T1", 37, {3, 41}, {98, 71}, {3, 24, 98, 77}},
    {"Zombie", "T2", 459, {42, 20}, {107, 26}, {42, 20, 107, 26}},
    {"Zombie", "T3", 1122, {17, 11}, {118, 21}, {17, 11, 118, 21}},
    {"Zombie", "T5", 88, {1, 20}, {35, 24}, {1, 20, 35, 24}},
    {"Zombie", "T6a", 9, {42, 22}, {44, 24}, {42, 22, 44, 24}},
    {"Zombie", "T6b", 7, {59, 33}, {61, 33}, {59, 32, 61, 34}},
    {"Zombie", "T7", 76, {3, 40}, {21, 43}, {3, 40, 21, 43}},
    {"Zombie", "T8", 9, {30, 35}, {32, 37}, {30, 35, 32, 37}},
    {"Zombie", "TM8", 1, {97, 14}, {97, 14}, {97, 14, 97, 14}},
    {"Zombie", "T10a", 7, {91, 5}, {91, 11}, {91, 5, 91, 11}},
    {"Zombie", "T10b", 4, {57, 4}, {60, 4}, {57, 4, 60, 4}},
    {"Zombie", "T10c", 25, {113, 13}, {117, 17}, {113, 13, 117, 17}},
    {"Zombie", "T11", 61, {67, 39}, {107, 31}, {67, 30, 107, 41}},
    {"Zombie", "T13", 3, {98, 58}, {98, 60}, {98, 58, 98, 60}},
    {"Zombie", "T15", 1, {111, 52}, {111, 52}, {111, 52, 111, 52}},
    {"Zombie", "TG15", 3, {76, 23}, {92, 23}, {76, 23, 92, 23}},
    {"Zombie", "TM18", 1, {70, 62}, {70, 62}, {70, 62, 70, 62}},
    {"Zombie", "T19", 32, {90, 36}, {93, 44}, {90, 36, 93, 44}},
    {"Zombie", "TF19", 9, {99, 6}, {107, 48}, {99, 6, 107, 48}},
    {"Robot", "T1", 14, {58, 22}, {59, 28}, {58, 22, 59, 28}},
    {"Robot", "T2", 11, {1, 11}, {107, 42}, {1, 11, 107, 43}},
    {"Robot", "T3", 105, {31, 8}, {87, 8}, {31, 7, 87, 8}},
    {"Robot", "T4a", 4, {109, 25}, {112, 25}, {109, 25, 112, 25}},
    {"Robot", "T4b", 4, {81, 62}, {84, 62}, {81, 62, 84, 62}},
    {"Robot", "T5-1", 6, {23, 54}, {28, 54}, {23, 54, 28, 54}},
    {"Robot", "T5-2", 18, {43, 51}, {75, 46}, {43, 46, 75, 51}},
    {"Robot", "T5-3", 1, {43, 50}, {43, 50}, {43, 50, 43, 50}},
    {"Robot", "T6", 54, {63, 1}, {80, 3}, {63, 1, 80, 3}},
    {"Robot", "T7", 9, {107, 13}, {115, 13}, {107, 13, 115, 13}},
    {"Robot", "T8", 5, {114, 15}, {118, 15}, {114, 15, 118, 15}},
    {"Robot", "T9a", 42, {14, 30}, {29, 66}, {14, 30, 29, 66}},
    {"Robot", "T9b", 5, {114, 62}, {118, 62}, {114, 62, 118, 62}},
    {"Robot", "T10a", 7, {51, 12}, {54, 12}, {51, 11, 54, 12}},
    {"Robot", "T10b", 8, {24, 14}, {31, 14}, {24, 14, 31, 14}},
    {"Robot", "T10c", 3424, {3, 24}, {82, 63}, {3, 14, 82, 63}},
    {"Robot", "T11a-1", 6, {17, 56}, {22, 56}, {17, 56, 22, 56}},
    {"Robot", "T11a-2", 6, {17, 56}, {22, 56}, {17, 56, 22, 56}},
    {"Robot", "T12a", 149, {43, 32}, {110, 8}, {43, 3, 110, 32}},
    {"Robot", "T13a", 9, {105, 54}, {107, 56}, {105, 54, 107, 56}},
    {"Robot", "T14a", 63, {53, 30}, {63, 41}, {53, 30, 63, 41}},
    {"Robot", "T15a", 10, {96, 45}, {100, 46}, {96, 45, 100, 46}},
    {"Invasion", "T1a", 24, {14, 59}, {56, 13}, {14, 7, 56, 59}},
    {"Invasion", "T1b", 216, {5, 12}, {19, 23}, {5, 7, 19, 23}},
    {"Invasion", "T2a", 18, {56, 21}, {93, 34}, {56, 21, 93, 34}},
    {"Invasion", "T2b", 10, {12, 16}, {22, 13}, {12, 11, 22, 23}},
    {"Invasion", "T3a", 7, {69, 9}, {69, 15}, {69, 9, 69, 15}},
    {"Invasion", "T3b", 1, {28, 16}, {28, 16}, {28, 16, 28, 16}},
    {"Invasion", "T3c-1", 3, {52, 18}, {66, 18}, {52, 18, 66, 18}},
    {"Invasion", "T3c-2", 2, {13, 24}, {25, 24}, {13, 24, 25, 24}},
    {"Invasion", "T3c-3", 2, {21, 36}, {31, 36}, {21, 36, 31, 36}},
    {"Invasion", "T4a", 7, {88, 37}, {105, 39}, {88, 37, 105, 49}},
    {"Invasion", "T4b", 299, {90, 37}, {115, 60}, {90, 36, 115, 60}},
    {"Invasion", "T45a", 6, {107, 34}, {111, 36}, {107, 34, 111, 36}},
    {"Invasion", "T45b", 56, {103, 47}, {110, 53}, {103, 47, 110, 53}},
    {"Invasion", "T5", 223, {18, 35}, {37, 41}, {18, 23, 37, 44}},
    {"Invasion", "T6", 34, {49, 4}, {65, 5}, {49, 4, 65, 5}},
    {"Invasion", "T7a", 182, {90, 48}, {115, 54}, {90, 48, 115, 54}},
    {"Invasion", "T7b", 1, {56, 16}, {56, 16}, {56, 16, 56, 16}},
    {"Invasion", "T8", 59, {111, 52}, {118, 63}, {111, 52, 118, 63}},
    {"Invasion", "T9a", 3, {37, 28}, {112, 16}, {37, 16, 112, 28}},
    {"Invasion", "T9b", 2, {17, 54}, {24, 54}, {17, 54, 24, 54}},
};
// clang-format on

void expectPinned(const std::string& owner, const std::string& name, MissionPattern table,
                  std::set<std::pair<std::string, std::string>>& seen)
{
    const Pinned* pin = nullptr;
    for (const Pinned& p : kPinned)
        if (owner == p.owner && name == p.name)
            pin = &p;
    ASSERT_NE(pin, nullptr) << owner << " " << name << " is not written down here";
    seen.insert({owner, name});
    int n = 0;
    Box box{1000, 1000, -1, -1};
    for (MissionPattern r = table; !(r->end & 0xff); ++r, ++n)
        box = {std::min(box.x0, r->x), std::min(box.y0, r->y), std::max(box.x1, r->x), std::max(box.y1, r->y)};
    ASSERT_EQ(n, pin->size) << owner << " " << name;
    const auto& f = table[0];
    const auto& l = table[n - 1];
    EXPECT_TRUE(f.x == pin->first.x && f.y == pin->first.y && l.x == pin->last.x && l.y == pin->last.y)
        << owner << " " << name << ": first (" << f.x << ", " << f.y << "), last (" << l.x << ", " << l.y << ")";
    EXPECT_TRUE(box.x0 == pin->box.x0 && box.y0 == pin->box.y0 && box.x1 == pin->box.x1 && box.y1 == pin->box.y1)
        << owner << " " << name << ": its cells lie over x " << box.x0 << ".." << box.x1 << ", y " << box.y0 << ".."
        << box.y1;
}

TEST(PinnedTables, EveryTableLiesWhereItsLevelSays)
{
    std::set<std::pair<std::string, std::string>> seen;
    for (const StoryTable& t : storyTables())
        expectPinned("Story", std::string(t.mission) + " " + t.letter, t.records, seen);
    for (const Campaign* c : builtCampaigns())
        for (const CampaignTable& t : c->tables)
            expectPinned(c->name, t.name, t.records, seen);
    for (const Pinned& p : kPinned)
        EXPECT_TRUE(seen.count({p.owner, p.name})) << p.owner << " " << p.name << " is no table any more";
}

}  // namespace
