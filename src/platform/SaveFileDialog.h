#pragma once
// The desktop's "save as" dialog for a PNG file: zenity, else kdialog,
// started without a shell. With neither installed the answer is a new
// timestamped name in the given folder, so a screenshot is still kept.
// The call blocks until the player answers, as a modal dialog does.
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct SaveDialogAnswer {
    enum Kind { Chosen, Cancelled, Failed };
    Kind kind = Cancelled;
    std::string path;  // Chosen: where to write; ".png" added to a name without an extension
    int code = 0;      // Cancelled: 0; Failed: one of the codes below
};

// What a started program gave back: its exit status (-1 when it could not
// be started or did not exit normally) and what it printed.
struct ProgramRun {
    int status = -1;
    std::string output;
};

class SaveFileDialog {
public:
    static constexpr int kNoFolder = 1;      // the folder could not be made
    static constexpr int kNoFreeName = 2;    // every timestamped name is taken
    static constexpr int kDialogFailed = 3;  // the dialog program failed or gave no path

    // Starts in `folder` (made when missing), asks with that title, filters
    // PNG files first and all files second, and confirms before overwriting.
    static SaveDialogAnswer askForPng(const std::string& title, const std::string& folder);

    // Seams: where a program is installed ("" when it is not) and how it is run.
    using Finder = std::function<std::string(const std::string& program)>;
    using Runner = std::function<ProgramRun(const std::vector<std::string>& argv)>;
    static void setSeamsForTests(Finder finder, Runner runner);
    static void clearSeamsForTests();

    // The program's path on PATH, or "".
    static std::string findProgram(const std::string& program);
    // Runs argv[0] (a path) with the arguments, no shell, and waits.
    static ProgramRun runProgram(const std::vector<std::string>& argv);
};

}  // namespace platform
