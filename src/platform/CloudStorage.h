#pragma once
// The player's cloud file storage, kept in a folder under the save folder.
// Every name is folded to lower case in every operation, so the store holds
// and reports lower-case names only. Names are relative paths with '/'; a name
// that is empty, absolute, holds "." or ".." parts, empty parts, a backslash
// or a NUL is refused, and no symbolic link inside the store is followed.
// Writes are atomic and durable (temporary file, synced, renamed, then its
// folder synced).
// Main thread; a lock keeps the listing cache sound anyway.
#include <cstdint>
#include <string>

namespace platform {

class CloudStorage {
public:
    // The folder the store lives in; made (with parents) when missing.
    static bool setRoot(const std::string& folder, std::string* error = nullptr);
    static std::string root();
    // No store: every file is absent and every write fails.
    static void clearRoot();

    // Replaces the whole file by the bytes; false when it was not written.
    static bool fileWrite(const std::string& name, const void* data, int32_t size);
    // The system's error number of the last write that failed (ENOSPC for a
    // full disk...); 0 after a write that succeeded.
    static int lastWriteError();
    // Removes the temporary files that writes cut short by an earlier run
    // (killed, crashed) left behind; the number removed. Only for the one
    // copy of the game that holds the save folder: another's writes may be
    // under way.
    static int removeUnfinishedWrites();
    // Copies up to `size` bytes of the file into the buffer; the count copied,
    // 0 when the file is absent or unreadable.
    static int32_t fileRead(const std::string& name, void* buffer, int32_t size);
    static bool fileDelete(const std::string& name);
    static bool fileExists(const std::string& name);
    // Size in bytes, 0 when absent.
    static int32_t getFileSize(const std::string& name);
    // Number of files; the listing is sorted by name, so indexes are stable
    // while the store does not change. Only names in folded form are listed.
    static int32_t getFileCount();
    // Name of the file at the index (0 .. count - 1), "" outside; its size
    // goes to `size` when given.
    static std::string getFileNameAndSize(int32_t index, int32_t* size);

    // The folded name, or "" when the name is refused.
    static std::string foldName(const std::string& name);
};

}  // namespace platform
