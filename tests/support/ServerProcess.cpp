#include "support/ServerProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/Crc32.h"
#include "support/loaders/LoaderHarness.h"

namespace testsupport {

namespace {

// The port from the server's first line ("... listening on http://HOST:PORT ..."),
// or 0 when it ended or said nothing within the time.
int readPort(int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got <= 0)
            return 0;
        if (c == '\n')
            break;
        line += c;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    const size_t at = line.find("http://");
    const size_t colon = at == std::string::npos ? at : line.find(':', at + 7);
    return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
}

}  // namespace

ServerProcess::ServerProcess(const std::string& database, int port)
{
    const std::string portText = std::to_string(port);
    int out[2];
    if (::pipe(out) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        // Never outlives the test, even one that crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(TESMORA_SERVER_BINARY, TESMORA_SERVER_BINARY, "--port", portText.c_str(), "--db", database.c_str(),
                static_cast<char*>(nullptr));
        std::perror("exec tesmora-server");
        ::_exit(127);
    }
    ::close(out[1]);
    if (m_pid > 0)
        m_port = readPort(out[0]);
    // The server writes one more line when it stops: let it go nowhere.
    ::close(out[0]);
}

ServerProcess::~ServerProcess()
{
    stop();
}

void ServerProcess::kill9()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

int ServerProcess::stop()
{
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string sampleWorldBlob(int variant)
{
    const std::string path = loaders::gameResourceRoot() + "/universes/Missions/Day" + std::to_string(1 + variant % 30);
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string samplePng(unsigned char red, unsigned char green, unsigned char blue)
{
    crc32BuildTable();
    auto bigEndian = [](std::string& out, uint32_t v) {
        for (int shift : {24, 16, 8, 0})
            out += static_cast<char>((v >> shift) & 0xFF);
    };
    auto chunk = [&](std::string& out, const char* type, const std::string& data) {
        bigEndian(out, static_cast<uint32_t>(data.size()));
        const std::string typed = std::string(type, 4) + data;
        out += typed;
        bigEndian(out, crc32Bytes(reinterpret_cast<const uint8_t*>(typed.data()), typed.size()));
    };
    std::string header;
    bigEndian(header, 8);
    bigEndian(header, 8);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    std::string rows;
    for (int y = 0; y < 8; ++y) {
        rows += '\0';
        for (int x = 0; x < 8; ++x)
            rows += {static_cast<char>(red), static_cast<char>(green), static_cast<char>(blue)};
    }
    uLongf packedSize = compressBound(rows.size());
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
             rows.size());
    packed.resize(packedSize);
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    return png;
}

}  // namespace testsupport
