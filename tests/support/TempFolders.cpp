#include "support/TempFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tesmora-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // Without its folder a test would write relative to "/": stop it loudly.
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    m_path = buffer.data();
}

TempDir::~TempDir()
{
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
}

ScopedEnv::~ScopedEnv()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->had)
            ::setenv(it->name.c_str(), it->value.c_str(), 1);
        else
            ::unsetenv(it->name.c_str());
    }
}

void ScopedEnv::set(const char* name, const char* value)
{
    const char* old = std::getenv(name);
    m_saved.push_back(Saved{name, old != nullptr, old ? old : ""});
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

TempHome::TempHome()
{
    m_env.set("HOME", m_dir.path().c_str());
    m_env.set("XDG_DATA_HOME", dataHome().c_str());
    m_env.set("XDG_DOCUMENTS_DIR", documents().c_str());
    m_env.set("XDG_CONFIG_HOME", (m_dir.path() + "/config").c_str());
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace testsupport
