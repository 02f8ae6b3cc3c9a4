// The online tests' loopback server, built into this binary too.
#include "../online/LoopbackHttpServer.cpp"
