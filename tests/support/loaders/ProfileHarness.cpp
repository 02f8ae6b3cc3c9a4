// "profile.dat" and its backup, damaged or edited by hand. The store lives in
// memory here: the loader reads through the game's file services, and a fuzz
// run must not wait for a disk at every input.
#include <algorithm>
#include <cmath>
#include <map>

#include "base/Crc32.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "platform/GameClock.h"
#include "support/CleanGame.h"
#include "support/loaders/Common.h"
#include "support/loaders/LoaderHarness.h"
#include "world/GameServices.h"

USING_NS_CC;
using namespace ProfileFile;

namespace loaders {

namespace {

class ProfileHarness : public Harness {
public:
    ProfileHarness()
    {
        platform::setManualGameTime(1'700'000'000);
        installServices();
        Profile::resetInstanceForTests();
        m_defaults = saved(Profile::getInstance());
    }

    ~ProfileHarness() override
    {
        testsupport::resetGame();
        platform::clearManualGameTime();
    }

    const char* name() const override { return "profile"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out{m_defaults};
        Profile::resetInstanceForTests();
        Profile* p = Profile::getInstance();
        p->setMusicVolume(40);
        p->setEffectsVolume(0);
        p->setMana(123456);
        p->setPlayerId(77);
        p->setPrivateKey(CCString::create("k3y"));
        p->setNickname(CCString::create("Ann"));
        p->setProgressWord(ProgressWord::PlayerCreated, 1);
        p->setBestDay(3, 12);
        p->setLevelHint(40, 7);
        p->setAchievementUnlocked(5, 1);
        p->getPurchasedBackgrounds()->addObject(CCString::create("forest"));
        p->getPurchasedElements()->addObject(CCString::create("Plasma"));
        out.push_back(saved(p));
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const Bytes input(data, data + size);
        const bool whole = input.size() >= kFileSize;
        const uint32_t crc = whole ? crc32Block(input.data() + kHeaderSize) : 0;
        // As it is: a damaged file is refused unless its CRC still matches.
        const bool matches = whole && readUInt32(input.data()) == crc;
        std::string why = loadOnly({{kFileName, input}}, false, matches, true, true);
        if (!why.empty())
            return "as profile.dat: " + why;
        // With the CRC made to match, so that every byte of the record is read,
        // as the backup of a profile.dat broken in its middle: the way a
        // damaged profile is recovered. The profile that refused the input is
        // still the default one (just checked), so it takes these files as a
        // new one would. A file too short to be a profile only resets it, and
        // one whose CRC matched was read whole above: no second round trip.
        Bytes sealed = input;
        if (whole)
            writeUInt32(sealed.data(), crc);
        Bytes broken = sealed;
        if (!broken.empty())
            broken[broken.size() / 2] ^= 0x5A;
        why = loadOnly({{kFileName, broken}, {kBackupFileName, sealed}}, true, whole, whole && !matches, matches);
        if (!why.empty())
            return "as backup: " + why;
        return "";
    }

private:
    void installServices()
    {
        testsupport::resetGame();
        GameServices& s = gameServices();
        installMemoryStore(m_files);
        s.setMusicVolume = [this](float v) { m_volumes.push_back(v); };
        s.setEffectsVolume = [this](float v) { m_volumes.push_back(v); };
        s.freeModeIntroDone = [this] { return m_introDone; };
        // Only a record that is read sets the flag: the count tells a load
        // from a reset to the defaults.
        s.setFreeModeIntroDone = [this](uint8_t v) {
            m_introDone = v;
            ++m_recordsRead;
        };
    }

    // What the profile would store now, written into an empty store.
    Bytes saved(Profile* p)
    {
        m_files.clear();
        p->save();
        Bytes out = m_files[kFileName];
        m_files.clear();
        return out;
    }

    // Loads the files into a fresh profile (or, without `fresh`, into the one
    // there is, known to be the default one). Without the backup the profile
    // must have loaded profile.dat when expected, else stay the default one;
    // with it, it must have read one record when expected, none otherwise.
    // A loaded (or reset) one must be sound, and with `roundTrip` store what
    // reads back as the same record.
    std::string loadOnly(std::map<std::string, Bytes> files, bool withBackup, bool expectLoaded, bool roundTrip,
                         bool fresh)
    {
        if (fresh)
            Profile::resetInstanceForTests();
        Profile* p = Profile::getInstance();
        m_files = std::move(files);
        m_volumes.clear();
        m_recordsRead = 0;
        // The free-mode window's flag, as a new run of the game has it.
        m_introDone = 0;
        if (withBackup) {
            p->load(true);
            if (m_recordsRead != (expectLoaded ? 1 : 0))
                return expectLoaded ? "a backup with a matching CRC was not read"
                                    : "a file shorter than a profile was read";
            return sound(p, roundTrip);
        }
        if (p->loadFromFile(kFileName) != expectLoaded)
            return expectLoaded ? "a file with a matching CRC was refused" : "a file with a wrong CRC was loaded";
        if (!expectLoaded) {
            if (!m_volumes.empty())
                return "a refused file changed the volume";
            return saved(p) == m_defaults ? "" : "a refused file changed the profile";
        }
        return sound(p, roundTrip);
    }

    std::string sound(Profile* p, bool roundTrip)
    {
        for (float v : m_volumes)
            if (!std::isfinite(v) || v < 0.0f || v > 1.0f)
                return "volume " + std::to_string(v) + " handed to the sound system";
        for (int32_t v : {p->getMusicVolume(), p->getEffectsVolume()})
            if (v < 0 || v > 100)
                return "volume " + std::to_string(v) + " kept";
        for (CCArray* list : {p->getPurchasedElements(), p->getPurchasedBackgrounds()}) {
            if (!list)
                return "no purchase list";
            std::vector<std::string> names;
            for (CCObject* o : *list) {
                auto* s = dynamic_cast<CCString*>(o);
                if (!s || s->getString().empty() || s->getString().size() > kPurchaseNameSize - 1)
                    return "bad purchase name";
                if (std::find(names.begin(), names.end(), s->getString()) != names.end())
                    return "purchase listed twice: " + s->getString();
                names.push_back(s->getString());
            }
        }
        // A key field without its terminator is read to its end, no further.
        if (!p->getPrivateKey() || p->getPrivateKey()->getString().size() > Profile::kPrivateKeyFieldSize)
            return "private key missing or too long";
        if (p->isRegistered() && p->getPrivateKey()->getString().empty())
            return "registered with an empty key";
        if (!p->getNickname() || p->getNickname()->getString().size() > Profile::kNicknameFieldSize)
            return "nickname missing or too long";
        if (!roundTrip)
            return "";
        // What it stores reads back as the same record.
        const Bytes first = saved(p);
        Profile::resetInstanceForTests();
        Profile* again = Profile::getInstance();
        m_files = {{kFileName, first}};
        if (!again->loadFromFile(kFileName))
            return "its own saved file was refused";
        if (saved(again) != first)
            return "saved, loaded and saved again, the record changed";
        return "";
    }

    std::map<std::string, Bytes> m_files;
    std::vector<float> m_volumes;
    uint8_t m_introDone = 0;
    int m_recordsRead = 0;
    Bytes m_defaults;
};

}  // namespace

std::unique_ptr<Harness> makeProfileHarness()
{
    return std::make_unique<ProfileHarness>();
}

}  // namespace loaders
