// tesmora-server: the world-sharing server. Serves the gallery API over plain
// HTTP from one SQLite file until SIGINT or SIGTERM.
//   tesmora-server [--bind ADDRESS] [--port PORT] [--db FILE]
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/Folders.h"
#include "server/GalleryServer.h"
#include "server/SqliteGalleryStore.h"
#include "server/UploadCheck.h"
#include "world/ParticleCreator.h"

namespace {

struct Options {
    std::string bind = "127.0.0.1";
    int port = 8080;
    std::string database;
};

const char* const kUsage = "usage: tesmora-server [--bind ADDRESS] [--port PORT] [--db FILE]\n"
                           "  --bind ADDRESS  address to listen on (default 127.0.0.1)\n"
                           "  --port PORT     port to listen on, 0 for any free one (default 8080)\n"
                           "  --db FILE       the gallery's database (default gallery.db in the user's data folder)\n";

// 0 to go on, else the exit code.
int readOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return -1;
        }
        if (i + 1 >= argc || (arg != "--bind" && arg != "--port" && arg != "--db")) {
            std::fprintf(stderr, "tesmora-server: unknown or incomplete option \"%s\"\n%s", arg.c_str(), kUsage);
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--bind") {
            options.bind = value;
        } else if (arg == "--db") {
            options.database = value;
        } else {
            char* end = nullptr;
            const long port = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "tesmora-server: \"%s\" is not a port (0 to 65535)\n", value.c_str());
                return 2;
            }
            options.port = static_cast<int>(port);
        }
    }
    return 0;
}

// gallery.db in the user's data folder, made when missing; "" (said why)
// when there is none.
std::string defaultDatabase()
{
    const platform::FolderResult folder = platform::Folders::saveFolder();
    std::string why;
    if (!folder.ok || !platform::Folders::makeDirectories(folder.path, &why)) {
        std::fprintf(stderr, "tesmora-server: no data folder for the database (%s); give --db\n",
                     folder.ok ? why.c_str() : folder.error.c_str());
        return std::string();
    }
    return folder.path + "/gallery.db";
}

// The database's file and side files that are not there (or cannot be
// looked at: those are left alone).
std::vector<std::string> absentFiles(const std::string& database)
{
    std::vector<std::string> absent;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        struct stat info;
        const std::string path = database + suffix;
        if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT)
            absent.push_back(path);
    }
    return absent;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (int code = readOptions(argc, argv, options))
        return code < 0 ? 0 : code;

    // The signals are taken by one thread that stops the server; every other
    // thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    registerAllElements();
    gallery::UploadCheck check;
    gallery::SqliteGalleryStore store;
    // The port first: a start that cannot listen must not make a database
    // (nor a data folder) where there was none.
    gallery::GalleryServer server(store, check);
    const int port = server.bind(options.bind, options.port);
    if (port < 0) {
        const int error = errno;
        if (error == EADDRINUSE)
            std::fprintf(stderr,
                         "tesmora-server: cannot listen on %s:%d: address already in use (another program "
                         "holds that port)\n",
                         options.bind.c_str(), options.port);
        else
            std::fprintf(stderr, "tesmora-server: cannot listen on %s:%d (%s)\n", options.bind.c_str(), options.port,
                         std::strerror(error));
        return 1;
    }
    if (options.database.empty() && (options.database = defaultDatabase()).empty())
        return 1;
    // What a failed opening made goes again; what was there stays.
    const std::vector<std::string> absent = absentFiles(options.database);
    std::string why;
    if (!store.open(options.database, why)) {
        std::fprintf(stderr, "tesmora-server: cannot open the database %s: %s\n", options.database.c_str(),
                     why.c_str());
        for (const std::string& made : absent)
            std::remove(made.c_str());
        return 1;
    }
    std::printf("tesmora-server: listening on http://%s:%d with %s (worlds up to %zu bytes)\n", options.bind.c_str(),
                port, options.database.c_str(), check.largestBlobSize());
    std::fflush(stdout);

    std::atomic<bool> stopping{false};
    std::thread stopper([&server, &stopSignals, &stopping] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        stopping = true;
        if (signal != SIGUSR1) {
            std::printf("tesmora-server: stopping (signal %d)\n", signal);
            std::fflush(stdout);
        }
        server.stop();
    });
    server.serve();
    const bool failed = !stopping;
    if (failed) {
        // serve() ended by itself: wake the stopper so that it can be joined.
        std::fprintf(stderr, "tesmora-server: the listening socket failed\n");
        pthread_kill(stopper.native_handle(), SIGUSR1);
    }
    stopper.join();
    return failed ? 1 : 0;
}
