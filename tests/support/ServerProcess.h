#pragma once
// The real world-sharing server for tests: tesmora-server started as its own
// process on a free loopback port with the given database, stopped (or
// killed) at the end. Plus what its requests need: worlds and pictures.
#include <string>
#include <sys/types.h>

namespace testsupport {

class ServerProcess {
public:
    // Port 0: any free one.
    explicit ServerProcess(const std::string& database, int port = 0);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool started() const { return m_port > 0; }
    int port() const { return m_port; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // To freeze it (SIGSTOP) and let it go on (SIGCONT).
    pid_t pid() const { return m_pid; }
    // SIGKILL, as a crash or a power-less stop would leave it.
    void kill9();
    // SIGTERM; the exit code, or -1.
    int stop();

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

// A world blob the game itself wrote: one of the prepared story worlds.
std::string sampleWorldBlob(int variant);
// A small PNG picture of one colour.
std::string samplePng(unsigned char red, unsigned char green, unsigned char blue);

}  // namespace testsupport
