// The server sees base and world (the blob reader that checks uploads) and its own headers.
#include "base/json/Json.h"
#include "server/GalleryServer.h"
#include "world/WorldBlob.h"
