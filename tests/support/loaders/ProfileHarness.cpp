// "profile.dat" and its backup, damaged or edited by hand. The store lives in
// memory here: the loader reads through the game's file services, and a fuzz
// run must not wait for a disk at every input.
#include <algorithm>
#include <cmath>
#include <map>

#include "app/Crc32.h"
#include "app/Profile.h"
#include "app/ProfileFile.h"
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
        // As it is: a damaged file is refused unless its CRC still matches.
        std::string why = loadOnly({{kFileName, input}}, false, crcMatches(input));
        if (!why.empty())
            return "as profile.dat: " + why;
        // With the CRC made to match, so that every byte of the record is read;
        // a file sealing leaves as it was (too short, or its CRC matched
        // already) was just read whole.
        Bytes sealed = input;
        if (sealed.size() >= kFileSize)
            writeUInt32(sealed.data(), crc32Block(sealed.data() + kHeaderSize));
        // The profile that refused the input is still the default one (just
        // checked), so it takes the sealed file as a new one would.
        if (sealed != input) {
            why = loadOnly({{kFileName, sealed}}, false, true, true, false);
            if (!why.empty())
                return "resealed: " + why;
        }
        // A broken profile.dat and the input as the backup. The record was
        // read whole and its save checked to read back the same above; what
        // is new here is the way to it, so the state it leaves is checked
        // without a second round trip.
        Bytes broken = sealed;
        if (!broken.empty())
            broken[broken.size() / 2] ^= 0x5A;
        why = loadOnly({{kFileName, broken}, {kBackupFileName, sealed}}, true, true, false);
        if (!why.empty())
            return "as backup: " + why;
        return "";
    }

private:
    static bool crcMatches(const Bytes& file)
    {
        return file.size() >= kFileSize && readUInt32(file.data()) == crc32Block(file.data() + kHeaderSize);
    }

    void installServices()
    {
        testsupport::resetGame();
        GameServices& s = gameServices();
        installMemoryStore(m_files);
        s.setMusicVolume = [this](float v) { m_volumes.push_back(v); };
        s.setEffectsVolume = [this](float v) { m_volumes.push_back(v); };
        s.freeModeIntroDone = [this] { return m_introDone; };
        s.setFreeModeIntroDone = [this](uint8_t v) { m_introDone = v; };
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
    // there is, known to be the default one); the profile must have loaded
    // them when expected, else stay the default one; a loaded one must be
    // sound, and with `roundTrip` store what reads back as the same record.
    std::string loadOnly(std::map<std::string, Bytes> files, bool withBackup, bool expectLoaded,
                         bool roundTrip = true, bool fresh = true)
    {
        if (fresh)
            Profile::resetInstanceForTests();
        Profile* p = Profile::getInstance();
        m_files = std::move(files);
        m_volumes.clear();
        // The free-mode window's flag, as a new run of the game has it.
        m_introDone = 0;
        if (withBackup)
            p->load(true);
        else if (p->loadFromFile(kFileName) != expectLoaded)
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
    Bytes m_defaults;
};

} // namespace

std::unique_ptr<Harness> makeProfileHarness()
{
    return std::make_unique<ProfileHarness>();
}

} // namespace loaders
