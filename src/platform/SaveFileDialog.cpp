#include "platform/SaveFileDialog.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/Folders.h"
#include "platform/GameClock.h"

namespace platform {

namespace {

SaveFileDialog::Finder g_finder;
SaveFileDialog::Runner g_runner;

std::string find(const std::string& program)
{
    return g_finder ? g_finder(program) : SaveFileDialog::findProgram(program);
}

ProgramRun run(const std::vector<std::string>& argv)
{
    return g_runner ? g_runner(argv) : SaveFileDialog::runProgram(argv);
}

// The dialog programs end their answer with a newline.
std::string firstLine(const std::string& output)
{
    const size_t end = output.find_first_of("\r\n");
    return end == std::string::npos ? output : output.substr(0, end);
}

std::string withExtension(std::string path)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find('.') == std::string::npos)
        path += ".png";
    return path;
}

SaveDialogAnswer answerOf(const ProgramRun& result)
{
    SaveDialogAnswer answer;
    const std::string path = firstLine(result.output);
    if (result.status == 0 && !path.empty() && path.back() != '/') {
        answer.kind = SaveDialogAnswer::Chosen;
        answer.path = withExtension(path);
    } else if (result.status == 1) {
        answer.kind = SaveDialogAnswer::Cancelled;
    } else {
        answer.kind = SaveDialogAnswer::Failed;
        answer.code = SaveFileDialog::kDialogFailed;
    }
    return answer;
}

// "screenshot-2024-05-01-143005.png", or with "-2", "-3"... when taken.
SaveDialogAnswer timestampedName(const std::string& folder, bool folderMade)
{
    SaveDialogAnswer answer;
    answer.kind = SaveDialogAnswer::Failed;
    if (!folderMade) {
        answer.code = SaveFileDialog::kNoFolder;
        return answer;
    }
    const std::time_t now = static_cast<std::time_t>(gameTime());
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &parts);
    for (int n = 1; n <= 100; ++n) {
        // Appended: GCC 12 warns wrongly (-Wrestrict) on "-" + std::to_string(n).
        std::string path = folder + "/screenshot-" + stamp;
        if (n > 1)
            path.append(1, '-').append(std::to_string(n));
        path += ".png";
        if (!Folders::exists(path)) {
            answer.kind = SaveDialogAnswer::Chosen;
            answer.path = path;
            return answer;
        }
    }
    answer.code = SaveFileDialog::kNoFreeName;
    return answer;
}

}  // namespace

SaveDialogAnswer SaveFileDialog::askForPng(const std::string& title, const std::string& folder)
{
    const bool folderMade = !folder.empty() && Folders::makeDirectories(folder);
    const std::string start = folderMade ? folder + "/" : std::string();
    if (const std::string zenity = find("zenity"); !zenity.empty()) {
        std::vector<std::string> argv{zenity,
                                      "--file-selection",
                                      "--save",
                                      "--confirm-overwrite",
                                      "--title=" + title,
                                      "--file-filter=Portable Network Graphics (*.png) | *.png",
                                      "--file-filter=All Files (*.*) | *"};
        if (!start.empty())
            argv.push_back("--filename=" + start);
        return answerOf(run(argv));
    }
    if (const std::string kdialog = find("kdialog"); !kdialog.empty()) {
        // kdialog's save dialog asks before it overwrites a file.
        return answerOf(run({kdialog, "--title", title, "--getsavefilename", start.empty() ? "." : start,
                             "*.png|Portable Network Graphics (*.png)\n*|All Files (*.*)"}));
    }
    return timestampedName(folder, folderMade);
}

void SaveFileDialog::setSeamsForTests(Finder finder, Runner runner)
{
    g_finder = std::move(finder);
    g_runner = std::move(runner);
}

void SaveFileDialog::clearSeamsForTests()
{
    g_finder = nullptr;
    g_runner = nullptr;
}

std::string SaveFileDialog::findProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            const std::string candidate = folder + "/" + program;
            struct stat info { };
            if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

ProgramRun SaveFileDialog::runProgram(const std::vector<std::string>& argv)
{
    ProgramRun result;
    if (argv.empty())
        return result;
    int out[2];
    if (pipe(out) != 0)
        return result;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    char buffer[512];
    for (;;) {
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got > 0)
            result.output.append(buffer, static_cast<size_t>(got));
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.status = WIFEXITED(status) && WEXITSTATUS(status) != 127 ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace platform
