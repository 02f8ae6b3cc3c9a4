// Names in the cloud store: names the game is asked to write, and names a
// saved-worlds listing brings back (files that reached the store's folder by
// other ways). Every name is folded or refused, nothing is written outside
// the store, and every listed world can be read and deleted by its name.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "scene/SaveLoadUtils.h"
#include "hud/GUISaveLoad.h"
#include "platform/CloudStorage.h"
#include "support/TempFolders.h"
#include "support/loaders/LoaderHarness.h"

USING_NS_CC;
namespace fs = std::filesystem;
using platform::CloudStorage;

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kMaxNames = 8;

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string checkFolded(const std::string& name, const std::string& folded)
{
    if (folded.empty())
        return "";
    if (folded != lower(name))
        return "folded into another name";
    if (CloudStorage::foldName(folded) != folded)
        return "folding twice gives another name";
    if (folded[0] == '/' || folded.find('\\') != std::string::npos || folded.find('\0') != std::string::npos)
        return "an absolute name, a backslash or a NUL got through";
    size_t start = 0;
    while (start <= folded.size()) {
        size_t end = folded.find('/', start);
        if (end == std::string::npos)
            end = folded.size();
        const std::string part = folded.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return "an empty, \".\" or \"..\" part got through";
        start = end + 1;
    }
    return "";
}

constexpr const char* kStore = "store";
constexpr const char* kOutside = "outside.txt";

// Calls visit(name) for each entry of the open folder `fd` but "." and "..",
// until it returns false. The folder is read straight into a buffer on the
// stack: the streams and iterators of the standard library allocate for
// each folder and look at each entry, and that was a good part of an input's
// time.
template <class Visit> void forEachEntry(int fd, Visit visit)
{
    alignas(dirent64) char buffer[4096];
    ssize_t filled;
    while ((filled = ::getdents64(fd, buffer, sizeof buffer)) > 0)
        for (ssize_t at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0 && !visit(entry->d_name))
                return;
        }
}

// Empties the open folder `fd` (and closes it), links not followed.
void emptyFolder(int fd)
{
    forEachEntry(fd, [fd](const char* name) {
        if (::unlinkat(fd, name, 0) != 0) {
            const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0) {
                emptyFolder(sub);
                ::unlinkat(fd, name, AT_REMOVEDIR);
            }
        }
        return true;
    });
    ::close(fd);
}

class CloudNameHarness : public Harness {
public:
    CloudNameHarness() : m_root(m_dir.file(kStore)), m_outside(m_dir.file(kOutside))
    {
        m_oldRoot = CloudStorage::root();
        std::ofstream(m_outside) << "keep";
    }

    ~CloudNameHarness() override
    {
        if (m_oldRoot.empty())
            CloudStorage::clearRoot();
        else
            CloudStorage::setRoot(m_oldRoot);
    }

    const char* name() const override { return "cloud names"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out;
        for (const char* text : {"User/My World.sav\nUser/My World.png", "User/a_b.sav\nRewards/Gift.sav\nprofile.dat",
                                 "User/caf\xC3\xA9.sav\nUser/..sav\nUser/.sav",
                                 // A name whose file is the link an earlier name left beside the store.
                                 "-link.\n-link.-link"}) {
            const std::string s = text;
            out.emplace_back(s.begin(), s.end());
        }
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const int root = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (root >= 0)
            emptyFolder(root);
        // The store's folder is there (only emptied): set again only when
        // something else moved the store, as making the folder looks at
        // every folder on its path.
        if (root < 0 || CloudStorage::root() != m_root)
            CloudStorage::setRoot(m_root);
        m_userFolderMade = false;
        std::vector<std::string> names;
        std::string current;
        for (size_t i = 0; i < size && names.size() < kMaxNames; ++i) {
            if (data[i] == '\n') {
                names.push_back(current);
                current.clear();
            } else {
                current += static_cast<char>(data[i]);
            }
        }
        if (names.size() < kMaxNames)
            names.push_back(current);

        for (const std::string& name : names) {
            std::string why = writeThroughStore(name);
            if (why.empty())
                why = writeBesideStore(name);
            if (!why.empty())
                return why;
        }
        std::string why = listReadDelete();
        if (why.empty())
            why = nothingOutside();
        return why;
    }

private:
    std::string writeThroughStore(const std::string& name)
    {
        const std::string folded = CloudStorage::foldName(name);
        std::string why = checkFolded(name, folded);
        if (!why.empty())
            return "\"" + name + "\": " + why;
        const bool existed = CloudStorage::fileExists(name);
        const bool written = CloudStorage::fileWrite(name, name.data(), static_cast<int32_t>(name.size()));
        if (written && folded.empty())
            return "a refused name was written";
        if (!written)
            return existed || !CloudStorage::fileExists(name) ? "" : "a failed write left a file";
        // A written name is not empty: its size is found only for a file that is there.
        if (CloudStorage::getFileSize(name) != static_cast<int32_t>(name.size()))
            return "a written file is not there";
        std::string back(name.size(), '\0');
        if (CloudStorage::fileRead(name, back.data(), static_cast<int32_t>(back.size())) !=
                static_cast<int32_t>(back.size()) ||
            back != name)
            return "a written file reads back otherwise";
        // The universe name the saved-worlds screen would save under.
        std::string file;
        if (SaveLoadUtils::worldFileName(name, file)) {
            if (file.find('/') != std::string::npos || file.find('\\') != std::string::npos)
                return "a world file name holds a folder separator";
            if (file.find("..") != std::string::npos || (!file.empty() && file.back() == '.'))
                return "a world file name holds two dots or ends in one";
            const std::string path = "User/" + file + ".sav";
            if (!CloudStorage::foldName(path).empty() && CloudStorage::foldName(path).rfind("user/", 0) != 0)
                return "a world file lands outside the user folder";
        }
        return "";
    }

    // A file of that name put straight into the user folder, as a listing
    // may bring names the game never wrote.
    std::string writeBesideStore(const std::string& name)
    {
        if (name.empty() || name.size() > 200 || name.find('/') != std::string::npos ||
            name.find('\0') != std::string::npos || name == "." || name == "..")
            return "";
        std::error_code ec;
        if (!m_userFolderMade) {
            fs::create_directories(m_root + "/user", ec);
            m_userFolderMade = true;
        }
        // Plain calls: a stream's buffer for one byte cost more than the write.
        // Never through a link an earlier name left ("a" makes "a-link.sav",
        // which is the very file of the name "a-link"): the harness's own
        // write must not be what changes the file outside.
        const int fd = ::open((m_root + "/user/" + name + ".sav").c_str(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t wrote = ::write(fd, "x", 1);
            ::close(fd);
        }
        // And a link of a similar name out of the store: never to be followed.
        fs::create_symlink(m_outside, m_root + "/user/" + name + "-link.sav", ec);
        fs::create_directory_symlink(m_dir.path(), m_root + "/" + name + "-up", ec);
        return "";
    }

    std::string listReadDelete()
    {
        std::vector<std::string> rewardsThenUser;
        for (const char* folder : {"Rewards", "User"}) {
            CCArray* worlds = GUISaveLoad::listWorlds(CCString::create(folder));
            for (CCObject* object : *worlds) {
                auto* listed = dynamic_cast<CCString*>(object);
                if (!listed)
                    return "a listed world without a name";
                const std::string n = listed->getString();
                if (CloudStorage::foldName(n) != n)
                    return "listed name \"" + n + "\" is not the store's own";
                if (GUISaveLoad::worldNameOf(n).find('/') != std::string::npos)
                    return "a world name holds a folder";
                rewardsThenUser.push_back(n);
            }
        }
        // Every world of both folders, the names just checked one by one.
        CCArray* everyWorld = GUISaveLoad::listWorlds(CCString::create("All"));
        if (everyWorld->count() != rewardsThenUser.size())
            return "all worlds are not the rewards' and the user's";
        for (unsigned i = 0; i < everyWorld->count(); ++i) {
            auto* listed = dynamic_cast<CCString*>(everyWorld->objectAtIndex(i));
            if (!listed)
                return "a listed world without a name";
            if (listed->getString() != rewardsThenUser[i])
                return "all worlds are not the rewards' and the user's";
        }
        const int32_t count = CloudStorage::getFileCount();
        std::vector<std::string> all;
        for (int32_t i = -1; i <= count; ++i) {
            int32_t size = -1;
            const std::string n = CloudStorage::getFileNameAndSize(i, &size);
            if ((i < 0 || i == count) != n.empty())
                return "the listing's ends are wrong";
            if (!n.empty())
                all.push_back(n);
        }
        // A listed world is one of the store's files, and each of those is
        // found and deleted by its name below (the listing is in order).
        for (const std::string& n : rewardsThenUser)
            if (!std::binary_search(all.begin(), all.end(), n))
                return "listed world \"" + n + "\" is not among the store's files";
        for (const std::string& n : all)
            if (!CloudStorage::fileDelete(n) || CloudStorage::fileExists(n))
                return "listed file \"" + n + "\" cannot be deleted";
        if (CloudStorage::getFileCount() != 0)
            return "files left after deleting every listed one";
        return "";
    }

    std::string nothingOutside()
    {
        char text[8] = {};
        const int fd = ::open(m_outside.c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t n = fd >= 0 ? ::read(fd, text, sizeof text) : -1;
        if (fd >= 0)
            ::close(fd);
        if (n != 4 || std::memcmp(text, "keep", 4) != 0)
            return "a file outside the store changed";
        const int dir = ::open(m_dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0)
            return "the temporary folder cannot be read";
        std::string beside;
        forEachEntry(dir, [&beside](const char* name) {
            if (std::strcmp(name, kStore) != 0 && std::strcmp(name, kOutside) != 0)
                beside = name;
            return beside.empty();
        });
        ::close(dir);
        return beside.empty() ? "" : "something was written beside the store: " + beside;
    }

    testsupport::TempDir m_dir;
    std::string m_root;
    std::string m_outside;
    std::string m_oldRoot;
    // Made for this input already (a later name's try would find the same).
    bool m_userFolderMade = false;
};

}  // namespace

std::unique_ptr<Harness> makeCloudNameHarness()
{
    return std::make_unique<CloudNameHarness>();
}

}  // namespace loaders
