#pragma once
// The one name of a reward background that the shop catalogue, the gallery,
// the profile and the goals share: its id, the lower-case base name of its
// picture ("sunset" for "backgrounds/Rewards/sunset.png"). Records, goals and
// old saves may spell it with capitals or with ".png"; everything that keys
// ownership, prices or "in use" goes through backgroundIdOf first.
#include <cstddef>
#include <string>

// Ids fit the world blob's background name with ".png" (15 bytes), and so
// the profile's purchase names too.
constexpr size_t kMaxBackgroundIdLength = 11;

// Lower-cased, without a trailing ".png" (of any case).
std::string backgroundIdOf(const std::string& name);
// 1 to 11 lower-case letters, digits or '_': a name that can be bought,
// saved with a world and looked up as a picture without leaving its folder.
bool isUsableBackgroundId(const std::string& id);
// "<id>.png", the picture's file name in "backgrounds/Rewards/".
std::string backgroundFileOf(const std::string& id);
// The key of its texts: the id with its first letter upper-cased
// ("<key>BkgName", "<key>BkgDescription").
std::string backgroundTextKeyOf(const std::string& id);
