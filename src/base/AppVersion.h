#pragma once
// The application's version text: empty until start-up sets it to "1.5.13".
#include <string>

extern std::string gameVersion;

constexpr const char* kGameVersion = "1.5.13";
