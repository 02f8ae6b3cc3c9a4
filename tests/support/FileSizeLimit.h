#pragma once
// Files limited to a size while it lives, as a full disk refuses them: a
// longer write fails with the system's own error (EFBIG), not a signal.
// Header only: the engine's tests, which have no support library, share it.
#include <sys/resource.h>

#include <csignal>

namespace testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        m_applied = ::getrlimit(RLIMIT_FSIZE, &m_before) == 0;
        m_limited = m_before;
        m_limited.rlim_cur = bytes;
        m_applied = m_applied && ::setrlimit(RLIMIT_FSIZE, &m_limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_applied)
            ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool applied() const { return m_applied; }
    // What `step` returns, run with the limit lifted for its length.
    template <typename Step> auto lifted(Step&& step)
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        auto result = step();
        ::setrlimit(RLIMIT_FSIZE, &m_limited);
        return result;
    }

private:
    void (*m_handler)(int);
    rlimit m_before{};
    rlimit m_limited{};
    bool m_applied = false;
};

}  // namespace testsupport
