// The save dialog's answers through its seams: no dialog program is started.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/Folders.h"
#include "platform/GameClock.h"
#include "platform/SaveFileDialog.h"
#include "support/TempFolders.h"

using platform::ProgramRun;
using platform::SaveDialogAnswer;
using platform::SaveFileDialog;

namespace {

class SaveDialog : public ::testing::Test {
protected:
    void TearDown() override
    {
        SaveFileDialog::clearSeamsForTests();
        platform::clearManualGameTime();
    }
    // Only `installed` is on the PATH; it answers with status and output.
    SaveDialogAnswer ask(const std::string& installed, int status, const std::string& output)
    {
        argv.clear();
        SaveFileDialog::setSeamsForTests(
            [installed](const std::string& program) { return program == installed ? "/usr/bin/" + program : ""; },
            [this, status, output](const std::vector<std::string>& args) {
                argv = args;
                return ProgramRun{status, output};
            });
        return SaveFileDialog::askForPng("Save Screenshot As", folder.file("shots"));
    }
    testsupport::TempDir folder;
    std::vector<std::string> argv;
};

TEST_F(SaveDialog, TheDialogProgramsAnswersBecomeAPathACancelOrAFailure)
{
    const struct {
        const char* program;
        int status;
        const char* output;
        SaveDialogAnswer::Kind kind;
        const char* path;
        int code;
    } cases[] = {
        {"zenity", 0, "/home/a/shot\n", SaveDialogAnswer::Chosen, "/home/a/shot.png", 0},
        {"zenity", 0, "/home/a/shot.jpg\n", SaveDialogAnswer::Chosen, "/home/a/shot.jpg", 0},
        {"zenity", 1, "", SaveDialogAnswer::Cancelled, "", 0},
        {"zenity", 5, "", SaveDialogAnswer::Failed, "", SaveFileDialog::kDialogFailed},
        {"zenity", -1, "", SaveDialogAnswer::Failed, "", SaveFileDialog::kDialogFailed},
        {"zenity", 0, "", SaveDialogAnswer::Failed, "", SaveFileDialog::kDialogFailed},
        {"kdialog", 0, "/tmp/b.png\n", SaveDialogAnswer::Chosen, "/tmp/b.png", 0},
        {"kdialog", 1, "", SaveDialogAnswer::Cancelled, "", 0},
    };
    for (const auto& c : cases) {
        const std::string where = std::string(c.program) + " " + std::to_string(c.status) + " " + c.output;
        const SaveDialogAnswer answer = ask(c.program, c.status, c.output);
        EXPECT_EQ(answer.kind, c.kind) << where;
        EXPECT_EQ(answer.path, c.path) << where;
        EXPECT_EQ(answer.code, c.code) << where;
        ASSERT_FALSE(argv.empty()) << where;
        EXPECT_EQ(argv[0], std::string("/usr/bin/") + c.program) << where << ": started by path, no shell";
    }
    ask("zenity", 1, "");
    const std::vector<std::string> zenity{"/usr/bin/zenity",
                                          "--file-selection",
                                          "--save",
                                          "--confirm-overwrite",
                                          "--title=Save Screenshot As",
                                          "--file-filter=Portable Network Graphics (*.png) | *.png",
                                          "--file-filter=All Files (*.*) | *",
                                          "--filename=" + folder.file("shots") + "/"};
    EXPECT_EQ(argv, zenity) << "PNG first, overwrite confirmed, in the screenshots folder";
    EXPECT_TRUE(platform::Folders::isDirectory(folder.file("shots"))) << "the folder is made first";
}

TEST_F(SaveDialog, WithoutADialogANewTimestampedNameIsTaken)
{
    platform::setManualGameTime(1700000000);  // 2023-11-14 22:13:20 UTC
    SaveDialogAnswer first = ask("none", 0, "");
    ASSERT_EQ(first.kind, SaveDialogAnswer::Chosen);
    EXPECT_EQ(first.path, folder.file("shots/screenshot-2023-11-14-221320.png"));
    EXPECT_TRUE(argv.empty()) << "nothing started";
    std::ofstream(first.path) << "taken";
    EXPECT_EQ(ask("none", 0, "").path, folder.file("shots/screenshot-2023-11-14-221320-2.png"));

    std::ofstream(folder.file("file")) << "not a folder";
    const SaveDialogAnswer blocked = SaveFileDialog::askForPng("Save Screenshot As", folder.file("file/shots"));
    EXPECT_EQ(blocked.kind, SaveDialogAnswer::Failed);
    EXPECT_EQ(blocked.code, SaveFileDialog::kNoFolder);
}

}  // namespace
