#pragma once
// The game's view of the platform: the cloud listing, screenshots and the
// player's platform identity.
#include <initializer_list>
#include <list>
#include <string>

#include "cocos2d.h"

// Cloud file names inside the folder (case-insensitive, a trailing '/' is
// optional), in the store's order; every file for an empty folder name.
std::list<std::string> listCloudFiles(const std::string& folder);
// The same for several folders from one look at the store: each folder's
// names in turn.
std::list<std::string> listCloudFiles(std::initializer_list<std::string> folders);
// Writes the image without alpha; false (logged) on failure or a null image.
// On a failure to write, error (when given) is the system's error number;
// it stays 0 for a null image.
bool saveScreenshotImage(cocos2d::CCImage* image, const std::string& path, int* error = nullptr);
// The low 32 bits of the platform id as a signed decimal.
std::string platformUserId();
// The platform's name for the server.
std::string platformName();
