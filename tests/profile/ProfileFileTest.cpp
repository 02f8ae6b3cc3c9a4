#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ProfileFixture.h"
#include "base/Crc32.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "platform/GameClock.h"
#include "support/LogCapture.h"

USING_NS_CC;
using namespace ProfileFile;

namespace {

uint8_t* recordOf(std::vector<uint8_t>& file)
{
    return file.data() + kHeaderSize;
}

}  // namespace

TEST(Crc32, MatchesTheStandardCheckValue)
{
    const char* text = "123456789";
    EXPECT_EQ(crc32Bytes(reinterpret_cast<const uint8_t*>(text), 9), 0xCBF43926u);
    std::vector<uint8_t> zeros(kCrcBlockSize, 0);
    EXPECT_EQ(crc32Block(zeros.data()), crc32Bytes(zeros.data(), zeros.size()));
}

TEST(Crc32, KnownTextsGiveTheirPublishedValues)
{
    const struct {
        const char* text;
        uint32_t crc;
    } cases[] = {
        {"", 0x00000000u},
        {"a", 0xE8B7BE43u},
        {"abc", 0x352441C2u},
        {"message digest", 0x20159D7Fu},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(crc32Bytes(reinterpret_cast<const uint8_t*>(c.text), std::strlen(c.text)), c.crc) << c.text;
}

TEST(Crc32, EveryLengthAndStartAgreesWithTheBitwiseDefinition)
{
    // Bit by bit, as the polynomial defines it: no table to share a mistake.
    auto bitwise = [](const uint8_t* data, size_t size) {
        uint32_t crc = 0xFFFFFFFFu;
        for (size_t i = 0; i < size; ++i) {
            crc ^= data[i];
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
        }
        return ~crc;
    };
    std::vector<uint8_t> bytes(kCrcBlockSize + 16);
    uint32_t seed = 12345;
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    // Lengths around the eight-byte steps, from unaligned starts, and the
    // whole record.
    for (size_t start : {0u, 1u, 3u, 7u})
        for (size_t size = 0; size <= 40; ++size)
            EXPECT_EQ(crc32Bytes(bytes.data() + start, size), bitwise(bytes.data() + start, size))
                << "start " << start << " size " << size;
    for (size_t start : {0u, 5u})
        EXPECT_EQ(crc32Block(bytes.data() + start), bitwise(bytes.data() + start, kCrcBlockSize)) << start;
}

TEST_F(ProfileTest, SavedFileHasTheFixedLayoutCrcAndVersion)
{
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    ASSERT_EQ(file.size(), 17992u);
    EXPECT_EQ(readUInt32(file.data()), crc32Block(file.data() + 8));
    EXPECT_EQ(readUInt32(file.data() + 4), 2u);
    const uint8_t* record = recordOf(file);
    EXPECT_EQ(readInt32(record + Record::MusicVolume), 100);
    EXPECT_EQ(readInt32(record + Record::Mana), 3500);
    EXPECT_EQ(readInt32(record + Record::BestDay + 4 * 31), 1);
    EXPECT_EQ(readInt32(record + Record::ProgressBlock + ProgressWord::GameVersionNumber), 1513);
    EXPECT_EQ(readInt32(record + Record::ProgressBlock + ProgressWord::DailyQuestIndex), -1);
    EXPECT_EQ(readFixedText(record + Record::PrivateKey, 256), "Unconfigured");
    // Purchase table: the 74 starting elements, then free entries.
    EXPECT_EQ(readFixedText(record + Record::PurchaseTable, 16), "Soil");
    EXPECT_EQ(readUInt32(record + Record::PurchaseTable + 73 * 24 + 20), kCategoryElement);
    EXPECT_EQ(readFixedText(record + Record::PurchaseTable + 73 * 24, 16), "Aluminite");
    EXPECT_EQ(record[Record::PurchaseTable + 74 * 24 + 16], 0);
    EXPECT_EQ(readUInt32(record + Record::PurchaseTable + 74 * 24 + 20), kCategoryFree);
}

TEST_F(ProfileTest, SaveAndLoadRoundTripKeepsWhatLastsAndResetsWhatDoesNot)
{
    profile->setMusicVolume(40);
    profile->setEffectsVolume(7);
    profile->setSettingsFlag(true);
    profile->setMana(1200);
    profile->setPendingMana(300);
    profile->setLevelPoints(50);
    profile->setPouredPixels(12345);
    profile->setFreePlayTime(0x1'0000'0005LL);
    profile->waxCounter() = 9;
    profile->setPlayTimeMilestone3h(true);
    profile->setHasSavedWorld(true);
    profile->setAchievementUnlocked(45, 1);
    profile->setLevelHint(3 * 32 + 7, 5);
    profile->setBestDay(4, 12);
    profile->setLoginStreak(6);
    profile->setPlayerId(-9);
    profile->setCompletionFlag(CampaignIndex::Human, 1);
    profile->getPurchasedBackgrounds()->addObject(CCString::create("forest"));
    profile->getPurchasedElements()->addObject(CCString::create("Plasma"));
    profile->save();

    Profile* loaded = restart();
    loaded->load(false);
    ASSERT_TRUE(loaded->isLoaded());
    EXPECT_EQ(loaded->getMusicVolume(), 40);
    EXPECT_EQ(loaded->getEffectsVolume(), 7);
    EXPECT_TRUE(loaded->isSettingsFlag());
    EXPECT_EQ(loaded->getMana(), 1500);  // mana plus what was pending
    EXPECT_EQ(loaded->getPendingMana(), 0);
    EXPECT_EQ(loaded->getLevelPoints(), 0);
    EXPECT_EQ(loaded->getPouredPixels(), 12345);
    EXPECT_EQ(loaded->getFreePlayTime(), 0x1'0000'0005LL);
    EXPECT_EQ(loaded->waxCounter(), 9);
    EXPECT_TRUE(loaded->isPlayTimeMilestone3h());
    EXPECT_TRUE(loaded->isHasSavedWorld());
    EXPECT_EQ(loaded->getAchievementUnlocked(45), 1);
    EXPECT_EQ(loaded->getLevelHint(3 * 32 + 7), 5u);
    EXPECT_EQ(loaded->getBestDay(4), 12);
    EXPECT_EQ(loaded->getLoginStreak(), 6);
    EXPECT_EQ(loaded->getPlayerId(), -9);
    EXPECT_TRUE(loaded->isCampaignUnlocked(8));
    EXPECT_TRUE(loaded->hasPurchasedBackground(CCString::create("forest")));
    EXPECT_TRUE(loaded->hasPurchasedElement(CCString::create("Plasma")));
    EXPECT_EQ(loaded->getPurchasedElements()->count(), 75u);  // starting list plus one, each once
    EXPECT_EQ(loaded->getUnlockedBackgrounds()->count(), 0u);
}

// The uploads waiting for an answer, one a world, kept across a restart. A
// file of the version that kept one (its id at UploadRequest, its world just
// after) loads with that one; the newest stays where that version reads it,
// and a fifth world pushes out the oldest.
TEST_F(ProfileTest, PendingUploadsAreKeptPerWorldTheNewestWhereAnOlderVersionReadsIt)
{
    const auto id = [](int n) { return std::string(31, '0') + static_cast<char>('1' + n); };
    const uint64_t olderWorld = 0x1234'5678'0000'0010ULL;
    for (size_t word = 0; word < 3; ++word)
        profile->setProgressWord(ProgressWord::UploadRequest + 4 * word, 0);
    profile->setProgressWord(ProgressWord::UploadRequest + 12, 1);
    profile->setProgressWord(ProgressWord::UploadRequest + 16, 0x12345678);
    profile->setProgressWord(ProgressWord::UploadRequest + 20, 0x10);
    profile->save();
    Profile* loaded = restart();
    loaded->load(false);
    EXPECT_EQ(loaded->uploadRequestFor(olderWorld), id(0)) << "the older version's one";

    for (int world = 1; world <= Profile::kUploadRequests; ++world)
        loaded->keepUploadRequest(id(world), static_cast<uint64_t>(world));
    loaded->save();
    loaded = restart();
    loaded->load(false);
    EXPECT_EQ(loaded->uploadRequestFor(olderWorld), "") << "the oldest went";
    for (int world = 1; world <= Profile::kUploadRequests; ++world)
        EXPECT_EQ(loaded->uploadRequestFor(static_cast<uint64_t>(world)), id(world)) << world;
    EXPECT_EQ(loaded->getProgressWord(ProgressWord::UploadRequest + 12), 5) << "the newest where it always was";
    EXPECT_TRUE(loaded->clearUploadRequest(id(2)));
    EXPECT_FALSE(loaded->clearUploadRequest(id(2)));
    EXPECT_EQ(loaded->uploadRequestFor(2), "");
    EXPECT_EQ(loaded->uploadRequestFor(1), id(1)) << "another world's answer leaves it";
    EXPECT_EQ(loaded->uploadRequestFor(4), id(4));
}

TEST_F(ProfileTest, AGoodCrcWithAnotherFormatVersionWordLoads)
{
    profile->setMana(777);
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    writeUInt32(file.data() + 4, 99);
    writeFile(kFileName, file);

    restart()->load(false);
    EXPECT_TRUE(profile->isLoaded());
    EXPECT_EQ(profile->getMana(), 777);
}

TEST_F(ProfileTest, OneChangedByteIsRejectedAndTheBackupIsUsed)
{
    profile->setMana(100);
    profile->save();
    profile->setMana(200);
    profile->save();  // backup holds 100, profile.dat 200
    EXPECT_EQ(readFile(kBackupFileName).size(), kFileSize);

    std::vector<uint8_t> file = readFile(kFileName);
    file[9000] ^= 0x01;
    writeFile(kFileName, file);

    // Without the backup the load fails and leaves the defaults, still unloaded.
    restart()->load(false);
    EXPECT_FALSE(profile->isLoaded());
    EXPECT_EQ(profile->getMana(), 3500);

    profile->load(true);
    EXPECT_TRUE(profile->isLoaded());
    EXPECT_EQ(profile->getMana(), 100);
}

TEST_F(ProfileTest, ShortOrMissingFilesFallBackToDefaultsWhenTheBackupFailsToo)
{
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    file.resize(kFileSize - 1);
    writeFile(kFileName, file);

    Profile* p = restart();
    EXPECT_FALSE(p->loadFromFile(kFileName));
    p->setMana(5);
    p->load(true);  // no backup exists yet
    EXPECT_TRUE(p->isLoaded());
    EXPECT_EQ(p->getMana(), 3500);

    // A longer file loads; the bytes after the record are ignored.
    restart()->load(true);
    profile->save();
    std::vector<uint8_t> longer = readFile(kFileName);
    longer.resize(kFileSize + 100, 0xAB);
    writeFile(kFileName, longer);
    EXPECT_TRUE(restart()->loadFromFile(kFileName));
    // The backup keeps the record, not the trailing bytes.
    profile->save();
    EXPECT_EQ(readFile(kBackupFileName), std::vector<uint8_t>(longer.begin(), longer.begin() + kFileSize));
}

TEST_F(ProfileTest, TheFreeModeIntroductionByteSurvivesALoadAndTheNextSave)
{
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    EXPECT_EQ(recordOf(file)[Record::FreeModeIntroDone], 0);
    recordOf(file)[Record::FreeModeIntroDone] = 1;
    resealCrc(file);
    writeFile(kFileName, file);

    restart()->load(false);
    profile->save();
    EXPECT_EQ(recordOf(file = readFile(kFileName))[Record::FreeModeIntroDone], 1);
}

TEST_F(ProfileTest, ExtremeTimesInTheFileDoNotBreakTheLoginStreak)
{
    profile->setLoginStreak(5);
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    writeInt64(recordOf(file) + Record::LastLoginTime, INT64_MIN);
    resealCrc(file);
    writeFile(kFileName, file);

    restart()->load(false);
    EXPECT_TRUE(profile->isLoaded());
    EXPECT_EQ(profile->getLoginStreak(), 0);
    EXPECT_EQ(profile->getLastLoginTime(), platform::gameTime());
}

TEST_F(ProfileTest, ManaAtTheTopOfItsRangeStaysThereWhenMoreArrives)
{
    profile->setMana(INT32_MAX);
    profile->setPendingMana(50);
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    EXPECT_EQ(readInt32(recordOf(file) + Record::Mana), INT32_MAX);
    EXPECT_TRUE(profile->transferPendingMana());
    EXPECT_EQ(profile->getMana(), INT32_MAX);
    EXPECT_EQ(profile->getPendingMana(), 45);
}

TEST_F(ProfileTest, AnotherGameVersionResetsTheShareRewardAndOpensTheDailyQuest)
{
    profile->setShareCount(3);
    profile->setDailyQuestOpen(false);  // saves
    std::vector<uint8_t> file = readFile(kFileName);

    // Same version: both kept.
    restart()->load(false);
    EXPECT_EQ(profile->getShareCount(), 3);
    EXPECT_FALSE(profile->isDailyQuestOpen());

    // Another version wrote the file.
    writeInt32(recordOf(file) + Record::ProgressBlock + ProgressWord::GameVersionNumber, 1512);
    resealCrc(file);
    writeFile(kFileName, file);
    restart()->load(false);
    EXPECT_EQ(profile->getShareCount(), 0);
    EXPECT_TRUE(profile->isDailyQuestOpen());
    EXPECT_EQ(profile->getProgressWord(ProgressWord::DailyQuestOpen), 1);
}

TEST_F(ProfileTest, PurchaseTableNamesThatDoNotFitOrOtherCategoriesAreSkipped)
{
    // On save, a name of 16 characters is left out, not cut.
    profile->getPurchasedElements()->addObject(CCString::create("SixteenCharsLong"));
    profile->getPurchasedElements()->addObject(CCString::create("FifteenCharLong"));
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    uint8_t* table = recordOf(file) + Record::PurchaseTable;
    EXPECT_EQ(readFixedText(table + 74 * 24, 16), "FifteenCharLong");

    // On load: a 16-byte name without terminator and a category-2 entry are skipped.
    std::memcpy(table + 75 * 24, "ABCDEFGHIJKLMNOP", 16);
    table[75 * 24 + 16] = 1;
    writeUInt32(table + 75 * 24 + 20, 0);
    std::memcpy(table + 76 * 24, "Gizmo", 6);
    writeUInt32(table + 76 * 24 + 20, 2);
    std::memcpy(table + 77 * 24, "Widget", 7);
    table[77 * 24 + 16] = 0;  // the used byte is not examined
    writeUInt32(table + 77 * 24 + 20, 0);
    resealCrc(file);
    writeFile(kFileName, file);

    Profile* p = restart();
    ASSERT_TRUE(p->loadFromFile(kFileName));
    EXPECT_TRUE(p->hasPurchasedElement(CCString::create("FifteenCharLong")));
    EXPECT_TRUE(p->hasPurchasedElement(CCString::create("Widget")));
    EXPECT_FALSE(p->hasPurchasedElement(CCString::create("ABCDEFGHIJKLMNOP")));
    EXPECT_FALSE(p->hasPurchasedElement(CCString::create("ABCDEFGHIJKLMNO")));
    EXPECT_FALSE(p->hasPurchasedElement(CCString::create("Gizmo")));
    EXPECT_FALSE(p->hasPurchasedBackground(CCString::create("Gizmo")));
}

TEST_F(ProfileTest, PurchaseTableNamesAreListedOnceInTheirFirstOrder)
{
    // A hand-edited table: names twice, a name the starting list already
    // holds, one name in both categories, and a whole table of one name.
    struct Entry {
        const char* name;
        uint32_t category;
    };
    const struct {
        const char* what;
        std::vector<Entry> entries;
        std::vector<std::string> elementsAdded;
        std::vector<std::string> backgrounds;
    } cases[] = {
        {"repeats", {{"Gizmo", 0}, {"Widget", 0}, {"Gizmo", 0}, {"Widget", 0}}, {"Gizmo", "Widget"}, {}},
        {"starting element", {{"Soil", 0}, {"Gizmo", 0}}, {"Gizmo"}, {}},
        {"both categories", {{"forest", 1}, {"forest", 0}, {"forest", 1}}, {"forest"}, {"forest"}},
        {"full table", std::vector<Entry>(kPurchaseEntries, Entry{"Gizmo", 1}), {}, {"Gizmo"}},
    };
    const size_t starting = profile->getPurchasedElements()->count();
    for (const auto& c : cases) {
        std::vector<uint8_t> file(kFileSize, 0);
        uint8_t* table = recordOf(file) + Record::PurchaseTable;
        for (size_t i = 0; i < kPurchaseEntries; ++i) {
            uint8_t* at = table + i * kPurchaseEntrySize;
            if (i < c.entries.size()) {
                writeFixedText(at, kPurchaseNameSize, c.entries[i].name, true);
                writeUInt32(at + 20, c.entries[i].category);
            } else {
                writeUInt32(at + 20, kCategoryFree);
            }
        }
        writeFixedText(recordOf(file) + Record::PrivateKey, 256, "key", true);
        resealCrc(file);
        writeFile(kFileName, file);

        Profile* p = restart();
        ASSERT_TRUE(p->loadFromFile(kFileName)) << c.what;
        std::vector<std::string> elements, backgrounds;
        for (CCObject* o : *p->getPurchasedElements())
            elements.push_back(static_cast<CCString*>(o)->getString());
        for (CCObject* o : *p->getPurchasedBackgrounds())
            backgrounds.push_back(static_cast<CCString*>(o)->getString());
        ASSERT_EQ(elements.size(), starting + c.elementsAdded.size()) << c.what;
        EXPECT_EQ(std::vector<std::string>(elements.begin() + static_cast<std::ptrdiff_t>(starting), elements.end()),
                  c.elementsAdded)
            << c.what;
        EXPECT_EQ(backgrounds, c.backgrounds) << c.what;
    }
}

TEST_F(ProfileTest, TextFieldsAreBoundedOnSaveAndLoad)
{
    // Without an account the name is kept too (offline play names once).
    profile->setNickname(CCString::create("Zed"));
    profile->save();
    std::vector<uint8_t> file = readFile(kFileName);
    EXPECT_EQ(readFixedText(recordOf(file) + Record::Nickname, 16), "Zed");
    ASSERT_TRUE(restart()->loadFromFile(kFileName));
    EXPECT_EQ(profile->getNickname()->getString(), "Zed");

    // With one, the nickname is cut to 16 bytes and may fill its field.
    profile->setPrivateKey(CCString::create(std::string(400, 'k')));
    profile->setNickname(CCString::create("ABCDEFGHIJKLMNOPQRSTU"));
    profile->save();
    file = readFile(kFileName);
    ASSERT_EQ(file.size(), kFileSize);
    EXPECT_EQ(readFixedText(recordOf(file) + Record::Nickname, 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(readFixedText(recordOf(file) + Record::PrivateKey, 256), std::string(255, 'k'));

    // A key field without a terminator is read up to its end and no further.
    std::memset(recordOf(file) + Record::PrivateKey, 'x', 256);
    resealCrc(file);
    writeFile(kFileName, file);
    Profile* p = restart();
    ASSERT_TRUE(p->loadFromFile(kFileName));
    EXPECT_EQ(p->getPrivateKey()->getString(), std::string(256, 'x'));
    EXPECT_EQ(p->getNickname()->getString(), "ABCDEFGHIJKLMNOP");
}

TEST_F(ProfileTest, AFailedWriteBetweenBackupAndSaveLosesNothing)
{
    profile->setMana(1111);
    profile->save();

    // The next write of profile.dat fails, as if the game stopped between the
    // backup and the write.
    auto realWrite = gameServices().fileWrite;
    gameServices().fileWrite = [realWrite](const std::string& name, const void* data, int32_t size) {
        if (name == kFileName)
            return false;
        return realWrite(name, data, size);
    };
    profile->setMana(2222);
    profile->save();
    gameServices().fileWrite = realWrite;

    // profile.dat is still the last good save, and so is the backup.
    restart()->load(false);
    EXPECT_TRUE(profile->isLoaded());
    EXPECT_EQ(profile->getMana(), 1111);
    EXPECT_EQ(readFile(kBackupFileName), readFile(kFileName));

    // The next save goes through and keeps the previous one as backup.
    profile->setMana(3333);
    profile->save();
    EXPECT_EQ(restart()->loadFromFile(kFileName), true);
    EXPECT_EQ(profile->getMana(), 3333);
    EXPECT_TRUE(restart()->loadFromFile(kBackupFileName));
    EXPECT_EQ(profile->getMana(), 1111);
}

TEST_F(ProfileTest, ADamagedProfileIsNotCopiedOverAGoodBackup)
{
    profile->setMana(10);
    profile->save();
    profile->save();  // backup = 10
    std::vector<uint8_t> goodBackup = readFile(kBackupFileName);
    std::vector<uint8_t> file = readFile(kFileName);
    file[100] ^= 0xFF;
    writeFile(kFileName, file);

    profile->setMana(20);
    profile->save();
    EXPECT_EQ(readFile(kBackupFileName), goodBackup);
    restart()->load(false);
    EXPECT_EQ(profile->getMana(), 20);
}

TEST_F(ProfileTest, ASaveBeforeTheBackupLoadKeepsADamagedProfilesBackup)
{
    profile->setMana(1234);
    profile->save();
    profile->save();  // backup = 1234
    std::vector<uint8_t> file = readFile(kFileName);
    file[100] ^= 0xFF;
    writeFile(kFileName, file);

    // Start-up's loads fail; going to the background before the intro's load
    // with the backup must not store the defaults in place of the player's.
    Profile* p = restart();
    p->load(false);
    EXPECT_FALSE(p->isLoaded());
    p->save();
    EXPECT_EQ(readFile(kFileName), file);
    p->load(true);
    EXPECT_EQ(p->getMana(), 1234);
}

// With neither the profile nor its backup readable, a new profile starts;
// the damaged files are moved whole into a folder of their own before
// anything is written, and the player is told once.
TEST_F(ProfileTest, AnUnreadableProfileIsKeptAsideAndTheNewOneSaysSoOnce)
{
    profile->save();
    profile->save();
    std::vector<uint8_t> damaged = readFile(kFileName), damagedBackup = readFile(kBackupFileName);
    damaged[100] ^= 0xFF;
    damagedBackup.resize(5000);
    std::string keptIn;
    for (const std::string folder : {"unreadable-profile-1", "unreadable-profile-2"}) {
        SCOPED_TRACE(folder);
        writeFile(kFileName, damaged);
        writeFile(kBackupFileName, damagedBackup);
        Profile* p = restart();
        p->load(false);
        p->load(true);
        ASSERT_TRUE(p->isLoaded());
        EXPECT_EQ(p->getMana(), 3500) << "a new profile";
        EXPECT_EQ(readFile(folder + "/" + kFileName), damaged);
        EXPECT_EQ(readFile(folder + "/" + kBackupFileName), damagedBackup);
        EXPECT_TRUE(readFile(kFileName).empty()) << "moved, not copied";
        ASSERT_TRUE(p->takeUnreadableNotice(keptIn));
        EXPECT_EQ(keptIn, folder);
        EXPECT_FALSE(p->takeUnreadableNotice(keptIn)) << "once";
        p->save();
        EXPECT_TRUE(restart()->loadFromFile(kFileName));
    }
    EXPECT_EQ(readFile("unreadable-profile-1/" + std::string(kFileName)), damaged) << "an earlier one stays";

    // A readable backup, or no profile at all, is nothing to tell.
    profile->save();  // the backup
    writeFile(kFileName, damaged);
    restart()->load(true);
    EXPECT_FALSE(profile->takeUnreadableNotice(keptIn));
    writeFile(kFileName, {});
    gameServices().fileDelete(kFileName);
    gameServices().fileDelete(kBackupFileName);
    restart()->load(true);
    EXPECT_FALSE(profile->takeUnreadableNotice(keptIn));
}

TEST_F(ProfileTest, LoadHappensOnceAndSetsTheStoryMode)
{
    profile->save();
    Profile* p = restart();
    p->setGameMode(7);
    p->load(false);
    EXPECT_EQ(p->getGameMode(), 0);
    p->setMana(42);
    p->load(true);  // already loaded: nothing happens
    EXPECT_EQ(p->getMana(), 42);
}

TEST_F(ProfileTest, TheLogKeepsNoKeyAndReadsANewPlayersStartAsNoFailure)
{
    // A new player: no profile and no backup yet.
    testsupport::LogCapture log;
    Profile* p = restart();
    p->load(true);
    p->save();
    EXPECT_TRUE(log.contains("no profile yet: a new one is made"));
    EXPECT_FALSE(log.contains("Loaded failed"));
    EXPECT_FALSE(log.contains("failed: read data is null"));

    // A registered player: the key is secret, the log says only that it is set.
    const std::string key = "k3y-Of-The-Account-0042";
    p->setPrivateKey(CCString::create(key));
    log.clear();
    p->save();
    EXPECT_TRUE(log.contains("Saving private key: set"));
    for (const std::string& line : log.lines())
        EXPECT_EQ(line.find(key), std::string::npos) << line;
}
