#include "server/GalleryStore.h"
// The game talks to the server over HTTP only, never through its code.
