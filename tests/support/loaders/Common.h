#pragma once
// What several harnesses share: a cloud store in memory behind the game's
// file services.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace loaders {

using Bytes = std::vector<uint8_t>;

// Puts the map behind gameServices()' file functions and gives the sound,
// window and registration services quiet stand-ins.
void installMemoryStore(std::map<std::string, Bytes>& files);

}  // namespace loaders
