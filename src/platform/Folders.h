#pragma once
// The per-user folders of the game, found from the XDG variables the way a
// Linux desktop expects, and folder creation on the local disk.
#include <string>

namespace platform {

// A folder path, or why it could not be found.
struct FolderResult {
    bool ok = false;
    std::string path;   // '/'-separated, no trailing '/'
    std::string error;  // why, when !ok
};

class Folders {
public:
    // The game's tail below the base folders.
    static constexpr const char* kGameTail = "/ORVANE/TesmOra";

    // The user's documents folder: XDG_DOCUMENTS_DIR, else the DOCUMENTS entry
    // of user-dirs.dirs, else HOME/Documents. Relative values are ignored.
    static FolderResult documentsBase();
    // The user's data folder: XDG_DATA_HOME, else HOME/.local/share.
    static FolderResult dataBase();

    // documentsBase() + kGameTail, and dataBase() + kGameTail.
    static FolderResult documentsFolder();
    static FolderResult saveFolder();

    // Makes the folder and its missing parents (0755). True when it exists as
    // a folder afterwards; otherwise false with the system's reason in `error`.
    static bool makeDirectories(const std::string& path, std::string* error = nullptr);
    static bool isDirectory(const std::string& path);
    static bool exists(const std::string& path);
};

}  // namespace platform
