#pragma once
// Temporary folders and environment for tests: nothing touches the real home.
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& relative) const { return m_path + "/" + relative; }

private:
    std::string m_path;
};

// Sets (or, with nullptr, unsets) environment variables and restores them.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const char* name, const char* value);

private:
    struct Saved {
        std::string name;
        bool had;
        std::string value;
    };
    std::vector<Saved> m_saved;
};

// HOME, XDG_DATA_HOME, XDG_DOCUMENTS_DIR and XDG_CONFIG_HOME all inside one
// temporary folder, for the length of a test.
class TempHome {
public:
    TempHome();
    const std::string& home() const { return m_dir.path(); }
    std::string dataHome() const { return m_dir.path() + "/data"; }
    std::string documents() const { return m_dir.path() + "/docs"; }
    std::string saveFolder() const { return dataHome() + "/ORVANE/TesmOra"; }
    ScopedEnv& env() { return m_env; }

private:
    TempDir m_dir;
    ScopedEnv m_env;
};

std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& bytes);

}  // namespace testsupport
