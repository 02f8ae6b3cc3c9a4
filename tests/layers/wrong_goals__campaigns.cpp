// The goals do not see the campaigns: the campaigns register with them.
#include "campaigns/Campaigns.h"
