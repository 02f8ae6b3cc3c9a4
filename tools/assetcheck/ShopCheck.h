#pragma once
// The shop catalogue (data/shop.plist) against the tree: every element of the
// shop's list priced with a whole number, its purchase picture and its texts;
// every background record with a lower-case id of at most 11 characters, used
// once, priced, with its picture (120 x 80, alpha 0 or 255 only) and its
// texts; and no reward picture without a record.
#include <string>
#include <vector>

#include "Required.h"
#include "TreeCheck.h"

namespace assetcheck {

// Runs when the manifest names shop elements ("shop" lines).
void checkShop(const std::string& root, const std::vector<RequiredName>& required, Report& report);

}  // namespace assetcheck
