#pragma once
// Helpers for the engine's picture tests: a temporary folder and pixel reads.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cocos2d/CCImage.h"
#include "cocos2d/ccTypes.h"

namespace enginetest {

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/engine-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        m_path = made ? made : "/tmp";
    }
    ~TempDir()
    {
        if (DIR* dir = opendir(m_path.c_str())) {
            while (dirent* e = readdir(dir)) {
                std::string name = e->d_name;
                if (name != "." && name != "..")
                    std::remove((m_path + "/" + name).c_str());
            }
            closedir(dir);
        }
        rmdir(m_path.c_str());
    }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// (x, y) from the top left of the picture; alpha 255 for RGB pictures.
inline cocos2d::ccColor4B pixelAt(cocos2d::CCImage* image, int x, int y)
{
    const int bpp = image->getBytesPerPixel();
    const unsigned char* p = image->getData() + (static_cast<size_t>(y) * image->getWidth() + x) * bpp;
    return cocos2d::ccc4(p[0], p[1], p[2], bpp == 4 ? p[3] : 255);
}

inline bool near(const cocos2d::ccColor4B& a, const cocos2d::ccColor4B& b, int tolerance = 2)
{
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(a.r, b.r) <= tolerance && d(a.g, b.g) <= tolerance && d(a.b, b.b) <= tolerance && d(a.a, b.a) <= tolerance;
}

inline std::string describe(const cocos2d::ccColor4B& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ", " +
        std::to_string(c.a) + ")";
}

inline void touchLater(const std::string& path)
{
    // A rewrite within the same tick must still look changed: nudge mtime.
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        times[1].tv_sec += 2;
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
}

}  // namespace enginetest
