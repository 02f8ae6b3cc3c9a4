#include "support/ResourceMirror.h"

#include <filesystem>
#include <system_error>

#include "cocos2d.h"

namespace fs = std::filesystem;

namespace testsupport {

namespace {

// Links every file below `from` into `to`, making the folders.
void linkFiles(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::create_directories(to, ec);
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory())
            linkFiles(entry.path(), target);
        else
            fs::create_symlink(entry.path(), target, ec);
    }
}

}  // namespace

ResourceMirror::ResourceMirror()
{
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    m_previousRoot = files->getResourceRoot();
    const fs::path real(m_previousRoot);
    const fs::path mine(m_dir.path());
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(real, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "data" || name == "universes")
            linkFiles(entry.path(), mine / name);
        else
            fs::create_symlink(entry.path(), mine / name, ec);
    }
    fs::create_directories(mine / "data", ec);
    fs::create_directories(mine / "universes" / "Missions", ec);
    files->setResourceRoot(m_dir.path());
}

ResourceMirror::~ResourceMirror()
{
    cocos2d::CCFileUtils::sharedFileUtils()->setResourceRoot(m_previousRoot);
}

void ResourceMirror::write(const std::string& relative, const std::string& bytes)
{
    const fs::path file = fs::path(m_dir.path()) / relative;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    fs::remove(file, ec);
    writeFile(file.string(), bytes);
}

void ResourceMirror::remove(const std::string& relative)
{
    std::error_code ec;
    fs::remove(fs::path(m_dir.path()) / relative, ec);
}

std::string plistText(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

}  // namespace testsupport
