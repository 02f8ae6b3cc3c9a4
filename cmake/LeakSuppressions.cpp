// Linked into every program of a sanitizer build. Memory that system
// libraries keep until the process ends is out of the game's reach, so it is
// not reported as a leak: libdbus's, which SDL opens when it finds a session
// bus (a desktop, or any run with DISPLAY set).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
