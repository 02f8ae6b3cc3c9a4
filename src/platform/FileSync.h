#pragma once
// What makes a file written in place survive a power cut: after its bytes
// are synced and it is renamed (or a folder is made), the folder holding the
// new entry is synced too; until then the rename lives only in memory, and a
// power cut can bring back the old file, or none.
#include <cstddef>
#include <functional>
#include <string>

namespace platform {

class FileSync {
public:
    // Syncs the folder's entries. False (logged) when the system refuses.
    static bool syncFolder(const std::string& folder);

    // Puts the bytes in place at `path` through `temp`, a new file open on
    // `fd`: written whole, synced, closed, renamed over `path`, its folder
    // synced. 0, or the error of the step that failed (fd closed and temp
    // removed either way).
    static int replaceFile(int fd, const std::string& temp, const std::string& path, const void* data, size_t size);

    // Tests: each folder is handed to the observer once it was synced (an
    // empty function to stop). Called on the writer's thread, with the
    // writer's locks held.
    static void setFolderObserver(std::function<void(const std::string&)> observer);
};

}  // namespace platform
