#include "platform/Folders.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(Folders, XdgVariablesGiveTheGameFolders)
{
    ScopedEnv env;
    env.set("XDG_DATA_HOME", "/data/share/");
    env.set("XDG_DOCUMENTS_DIR", "/home/p/Docs");
    FolderResult save = Folders::saveFolder();
    FolderResult docs = Folders::documentsFolder();
    ASSERT_TRUE(save.ok);
    ASSERT_TRUE(docs.ok);
    EXPECT_EQ(save.path, "/data/share/ORVANE/TesmOra");
    EXPECT_EQ(docs.path, "/home/p/Docs/ORVANE/TesmOra");
}

TEST(Folders, HomeIsTheFallbackAndRelativeValuesAreIgnored)
{
    ScopedEnv env;
    env.set("HOME", "/home/player");
    env.set("XDG_DATA_HOME", "relative/share");
    env.set("XDG_DOCUMENTS_DIR", nullptr);
    env.set("XDG_CONFIG_HOME", "/nonexistent-config");
    EXPECT_EQ(Folders::saveFolder().path, "/home/player/.local/share/ORVANE/TesmOra");
    EXPECT_EQ(Folders::documentsFolder().path, "/home/player/Documents/ORVANE/TesmOra");
}

TEST(Folders, UserDirsFileNamesTheDocumentsFolder)
{
    TempDir dir;
    ScopedEnv env;
    env.set("HOME", "/home/player");
    env.set("XDG_DOCUMENTS_DIR", nullptr);
    env.set("XDG_CONFIG_HOME", dir.path().c_str());
    writeFile(dir.file("user-dirs.dirs"), "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(Folders::documentsFolder().path, "/home/player/Dokumente/ORVANE/TesmOra");
}

TEST(Folders, MissingHomeIsAClearErrorNotAPath)
{
    ScopedEnv env;
    env.set("HOME", nullptr);
    env.set("XDG_DATA_HOME", nullptr);
    env.set("XDG_DOCUMENTS_DIR", nullptr);
    env.set("XDG_CONFIG_HOME", nullptr);
    FolderResult save = Folders::saveFolder();
    EXPECT_FALSE(save.ok);
    EXPECT_TRUE(save.path.empty());
    EXPECT_NE(save.error.find("HOME"), std::string::npos) << save.error;
    EXPECT_FALSE(Folders::documentsFolder().ok);
}

TEST(Folders, MakeDirectoriesCreatesParentsAndReportsFailure)
{
    TempDir dir;
    std::string deep = dir.file("a/b/c");
    EXPECT_TRUE(Folders::makeDirectories(deep));
    EXPECT_TRUE(Folders::isDirectory(deep));
    EXPECT_TRUE(Folders::makeDirectories(deep)) << "an existing folder is fine";

    writeFile(dir.file("plain"), "x");
    std::string error;
    EXPECT_FALSE(Folders::makeDirectories(dir.file("plain/sub"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Folders::makeDirectories(dir.file("plain"), &error)) << "a file is not a folder";
    EXPECT_FALSE(Folders::makeDirectories("", &error));
}
