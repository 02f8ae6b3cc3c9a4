// Saving and loading the profile: "profile.dat", its CRC-32 and its backup.
#include "profile/ProfileFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "base/Crc32.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "world/GameServices.h"
#include "platform/GameClock.h"

USING_NS_CC;

namespace ProfileFile {

std::string readFixedText(const uint8_t* at, size_t fieldSize)
{
    size_t length = 0;
    while (length < fieldSize && at[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(at), length);
}

void writeFixedText(uint8_t* at, size_t fieldSize, const std::string& text, bool terminatorRequired)
{
    std::memset(at, 0, fieldSize);
    size_t limit = terminatorRequired ? fieldSize - 1 : fieldSize;
    size_t length = text.size() < limit ? text.size() : limit;
    std::memcpy(at, text.data(), length);
}

}  // namespace ProfileFile

namespace {

using namespace ProfileFile;

// Reads a profile file from the cloud store, at most its fixed size (the
// bytes after it mean nothing, and an oversized file must not be copied whole
// into memory and into the backup at every save); empty when it is absent,
// empty or unreadable.
std::vector<uint8_t> readCloudFile(const std::string& name)
{
    GameServices& services = gameServices();
    if (!services.fileExists(name))
        return {};
    int32_t size = services.getFileSize(name);
    if (size <= 0)
        return {};
    if (static_cast<size_t>(size) > kFileSize)
        size = static_cast<int32_t>(kFileSize);
    std::vector<uint8_t> data(static_cast<size_t>(size));
    int32_t got = services.fileRead(name, data.data(), size);
    if (got <= 0)
        return {};
    data.resize(static_cast<size_t>(got));
    return data;
}

bool crcMatches(const std::vector<uint8_t>& file)
{
    return file.size() >= kFileSize && readUInt32(file.data()) == crc32Block(file.data() + kHeaderSize);
}

// Appends names a list does not hold yet, in order. The list is read once,
// when the first name comes, not once per name: a table of 512 entries would
// otherwise cost a quarter of a million comparisons.
class UniqueNames {
public:
    explicit UniqueNames(CCArray* list) : m_list(list) { }

    void add(const std::string& name)
    {
        if (!m_listRead) {
            for (CCObject* object : *m_list)
                if (auto* string = dynamic_cast<CCString*>(object))
                    m_names.insert(string->getString());
            m_listRead = true;
        }
        if (m_names.insert(name).second)
            m_list->addObject(CCString::create(name));
    }

private:
    CCArray* m_list;
    bool m_listRead = false;
    std::unordered_set<std::string> m_names;
};

}  // namespace

const char* Profile::backupFileName()
{
    return kBackupFileName;
}

void Profile::save()
{
    if (saveHolds > 0) {
        saveHeld = true;
        return;
    }
    // Until a load has run, the record in memory is only the defaults: it must
    // not replace a stored profile (or, through the backup step, its backup)
    // that has not been read yet, for instance when the game goes to the
    // background before the intro has loaded the profile with its backup.
    if (!loaded && !recordInSync &&
        (gameServices().fileExists(kFileName) || gameServices().fileExists(kBackupFileName))) {
        LOG_ERROR << "profile not loaded yet: save skipped, the stored profile is kept";
        return;
    }
    crc32BuildTable();

    // The name is kept whether or not the server has made an account for it:
    // an offline player, or one whose registration failed, names once.
    std::string recordNickname = "Unnamed";
    if (hasNickname())
        recordNickname = nickname->getString().substr(0, kNicknameFieldSize);
    if (!privateKey)
        privateKey = new CCString("Unconfigured");
    std::string recordKey = privateKey->getString();
    if (recordKey.size() > kPrivateKeyFieldSize - 1) {
        LOG_ERROR << "private key longer than its field, cut to" << (kPrivateKeyFieldSize - 1) << "bytes";
        recordKey.resize(kPrivateKeyFieldSize - 1);
    }
    LOG << "Saving Name: " << recordNickname;
    // The key is the player's account secret: the log only says whether there is one.
    LOG << "Saving private key:" << (isRegistered() ? "set" : "not set");

    std::vector<uint8_t> file(kFileSize, 0);
    uint8_t* record = file.data() + kHeaderSize;
    writeInt32(record + Record::MusicVolume, musicVolume);
    writeInt32(record + Record::EffectsVolume, effectsVolume);
    record[Record::SettingsFlag] = settingsFlag ? 1 : 0;
    for (int i = 0; i < kModeSlots; ++i)
        writeInt32(record + Record::BestDay + 4 * i, bestDay[i]);
    writeInt32(record + Record::Mana, clampedSum(mana, pendingMana));
    writeInt32(record + Record::PouredPixels, pouredPixels);
    writeInt64(record + Record::FreePlayTime, freePlayTime);
    for (int i = 0; i < kDayEventCount; ++i)
        writeInt32(record + Record::DayEventCounters + 4 * i, dayEventCounters[i]);
    for (int i = 0; i < 3; ++i)
        record[Record::PlayTimeMilestones + i] = playTimeMilestones[i] ? 1 : 0;
    record[Record::HasSavedWorld] = hasSavedWorld ? 1 : 0;
    writeInt64(record + Record::LastLoginTime, lastLoginTime);
    writeInt32(record + Record::LoginStreak, loginStreak);
    writeInt32(record + Record::PlayerId, playerId);

    setProgressWord(ProgressWord::GameVersionNumber, currentVersionNumber());
    std::memcpy(record + Record::ProgressBlock, progressBlock, sizeof(progressBlock));

    record[Record::FreeModeIntroDone] = gameServices().freeModeIntroDone ? gameServices().freeModeIntroDone() : 0;

    // Purchase table: elements, then backgrounds; a name too long for its
    // field is left out rather than cut (a cut name would be another item).
    size_t entry = 0;
    auto addEntries = [&](CCArray* list, uint32_t category) {
        if (!list)
            return;
        for (CCObject* object : *list) {
            auto* name = dynamic_cast<CCString*>(object);
            if (!name || name->getString().empty())
                continue;
            if (name->getString().size() > kPurchaseNameSize - 1) {
                LOG_ERROR << "purchase name too long to save:" << name->getString();
                continue;
            }
            if (entry >= kPurchaseEntries)
                return;
            uint8_t* at = record + Record::PurchaseTable + entry * kPurchaseEntrySize;
            writeFixedText(at, kPurchaseNameSize, name->getString(), true);
            at[16] = 1;
            writeUInt32(at + 20, category);
            ++entry;
        }
    };
    addEntries(purchasedElements, kCategoryElement);
    addEntries(purchasedBackgrounds, kCategoryBackground);
    for (; entry < kPurchaseEntries; ++entry)
        writeUInt32(record + Record::PurchaseTable + entry * kPurchaseEntrySize + 20, kCategoryFree);

    std::memcpy(record + Record::Achievements, achievementUnlocked, sizeof(achievementUnlocked));
    for (int i = 0; i < kLevelHintSlots; ++i)
        writeUInt32(record + Record::LevelHints + 4 * i, levelHints[i]);
    writeFixedText(record + Record::PrivateKey, kPrivateKeyFieldSize, recordKey, true);
    writeFixedText(record + Record::Nickname, kNicknameFieldSize, recordNickname, false);

    uint32_t crc = crc32Block(record);
    writeUInt32(file.data(), crc);
    writeUInt32(file.data() + 4, kFormatVersion);
    LOG << "saving profiles with CRC " << static_cast<int32_t>(crc);

    backupProfileFile(kBackupFileName);

    GameServices& services = gameServices();
    if (!services.fileWrite(kFileName, file.data(), static_cast<int32_t>(file.size()))) {
        LOG_ERROR << "Failed writing file: profile.dat";
        // The stored profile is the last one written whole. The player sees
        // the mana and the missions paid, so the loss must not go unsaid;
        // once is enough until a save succeeds again.
        if (!saveFailureTold) {
            saveFailureTold = true;
            services.tellProgressNotSaved(services.lastFileWriteError());
        }
        return;
    }
    recordInSync = true;
    saveFailureTold = false;
}

void Profile::releaseSaves()
{
    if (saveHolds > 0 && --saveHolds > 0)
        return;
    if (saveHeld) {
        saveHeld = false;
        save();
    }
}

void Profile::backupProfileFile(const char* backupName)
{
    std::string name = backupName ? backupName : kBackupFileName;
    if (!gameServices().fileExists(kFileName)) {
        LOG << "no profile to back up yet: " + name + " is made at the next save";
        return;
    }
    std::vector<uint8_t> current = readCloudFile(kFileName);
    if (current.empty()) {
        LOG_ERROR << "preparing backup file " + name + " failed: read data is null. Skip";
        return;
    }
    if (!crcMatches(current)) {
        LOG_ERROR << "preparing backup file " + name + " failed: invalid crc code. Skip";
        return;
    }
    // The store replaces the backup whole, and "profile.dat" stays where it
    // is until the new one replaces it: a failed write loses nothing.
    if (!gameServices().fileWrite(name, current.data(), static_cast<int32_t>(current.size()))) {
        LOG_ERROR << "preparing backup file " + name + " failed: write refused. Skip";
        return;
    }
    LOG << "preparing backup file " + name + " successful";
}

void Profile::load(bool allowBackup)
{
    if (loaded)
        return;
    if (loadFromFile(kFileName)) {
        LOG << "profile.dat: Loaded OK";
        loaded = true;
    }
    if (allowBackup && !loaded) {
        if (loadFromFile(kBackupFileName)) {
            LOG << "profile.BAK: Loaded OK";
        } else if (!gameServices().fileExists(kFileName) && !gameServices().fileExists(kBackupFileName)) {
            LOG << "no profile yet: a new one is made";
            resetToDefaults();
        } else {
            LOG << "Loaded failed - Resetting!";
            // Before anything is written over them.
            unreadableKeptIn = keepUnreadableFiles();
            unreadableNotice = true;
            resetToDefaults();
        }
        loaded = true;
    }
    if (loaded) {
        gameMode = 0;
        updateDailyLogin();
    }
}

std::string Profile::keepUnreadableFiles()
{
    GameServices& services = gameServices();
    // A folder of its own each time: files kept earlier are never replaced.
    std::string folder;
    for (int n = 1; n <= 10000 && folder.empty(); ++n) {
        const std::string candidate = "unreadable-profile-" + std::to_string(n);
        if (!services.fileExists(candidate + "/" + kFileName) &&
            !services.fileExists(candidate + "/" + kBackupFileName))
            folder = candidate;
    }
    bool kept = !folder.empty();
    for (const char* name : {kFileName, kBackupFileName}) {
        if (!services.fileExists(name))
            continue;
        // Whole, whatever its size: kept as it was found.
        std::string bytes;
        const bool copied = kept && readStoreFile(name, bytes) &&
            services.fileWrite(folder + "/" + name, bytes.data(), static_cast<int32_t>(bytes.size()));
        if (!copied) {
            LOG_ERROR << "the unreadable" << name << "could not be kept aside";
            kept = false;
            continue;
        }
        services.fileDelete(name);
        LOG << "the unreadable" << name << "is kept as" << (folder + "/" + name);
    }
    return kept ? folder : std::string();
}

bool Profile::takeUnreadableNotice(std::string& keptIn)
{
    if (!unreadableNotice)
        return false;
    unreadableNotice = false;
    keptIn = unreadableKeptIn;
    return true;
}

bool Profile::loadFromFile(const char* fileName)
{
    if (!fileName)
        return false;
    std::vector<uint8_t> file = readCloudFile(fileName);
    if (file.size() < kFileSize)
        return false;

    uint32_t stored = readUInt32(file.data());
    uint32_t computed = crc32Block(file.data() + kHeaderSize);
    LOG << "File CRC: " << stored;
    LOG << Logger::Label("checkCrcV2") << computed;
    if (stored != computed)
        return false;

    const uint8_t* record = file.data() + kHeaderSize;
    GameServices& services = gameServices();
    recordInSync = true;

    // Percentages: an edited file must not hand the mixer -5 or 70000.
    musicVolume = std::clamp(readInt32(record + Record::MusicVolume), 0, 100);
    effectsVolume = std::clamp(readInt32(record + Record::EffectsVolume), 0, 100);
    if (services.setMusicVolume)
        services.setMusicVolume(static_cast<float>(musicVolume / 100.0));
    if (services.setEffectsVolume)
        services.setEffectsVolume(static_cast<float>(effectsVolume / 100.0));
    settingsFlag = record[Record::SettingsFlag] != 0;
    // The server never hands out an empty key: an empty field is damaged,
    // and an empty key must not count as an account.
    const uint8_t* keyField = record + Record::PrivateKey;
    if (keyField[0] == 0) {
        LOG_ERROR << "private key field empty: not registered";
        setPrivateKey(CCString::create("Unconfigured"));
    } else {
        setPrivateKey(CCString::create(readFixedText(keyField, kPrivateKeyFieldSize)));
    }
    setNickname(CCString::create(readFixedText(record + Record::Nickname, kNicknameFieldSize)));
    playerId = readInt32(record + Record::PlayerId);
    for (int i = 0; i < kModeSlots; ++i)
        bestDay[i] = readInt32(record + Record::BestDay + 4 * i);
    mana = readInt32(record + Record::Mana);
    pendingMana = 0;
    levelPoints = 0;
    pouredPixels = readInt32(record + Record::PouredPixels);
    freePlayTime = readInt64(record + Record::FreePlayTime);
    freePlayStamp = platform::gameTime();
    for (int i = 0; i < kDayEventCount; ++i)
        dayEventCounters[i] = readInt32(record + Record::DayEventCounters + 4 * i);
    for (int i = 0; i < 3; ++i)
        playTimeMilestones[i] = record[Record::PlayTimeMilestones + i] != 0;
    hasSavedWorld = record[Record::HasSavedWorld] != 0;
    lastLoginTime = readInt64(record + Record::LastLoginTime);
    loginStreak = readInt32(record + Record::LoginStreak);

    if (services.setFreeModeIntroDone)
        services.setFreeModeIntroDone(record[Record::FreeModeIntroDone]);

    std::memcpy(progressBlock, record + Record::ProgressBlock, sizeof(progressBlock));
    int32_t writtenBy = getProgressWord(ProgressWord::GameVersionNumber);
    LOG << "game version " << writtenBy;
    dailyQuestOpenCache = getProgressWord(ProgressWord::DailyQuestOpen) != 0;
    if (std::to_string(writtenBy) != std::to_string(currentVersionNumber())) {
        setProgressWord(ProgressWord::ShareRewardTaken, 0);
        setProgressWord(ProgressWord::DailyQuestOpen, 1);
        dailyQuestOpenCache = true;
    }

    if (!purchasedElements)
        purchasedElements = new CCArray();
    if (!purchasedBackgrounds)
        purchasedBackgrounds = new CCArray();
    UniqueNames elements(purchasedElements);
    UniqueNames backgrounds(purchasedBackgrounds);
    for (size_t entry = 0; entry < kPurchaseEntries; ++entry) {
        const uint8_t* at = record + Record::PurchaseTable + entry * kPurchaseEntrySize;
        // A name without a NUL in its 16 bytes is longer than 15 characters.
        if (std::memchr(at, 0, kPurchaseNameSize) == nullptr)
            continue;
        std::string name = readFixedText(at, kPurchaseNameSize);
        if (name.empty())
            continue;
        uint32_t category = readUInt32(at + 20);
        if (category == kCategoryElement)
            elements.add(name);
        else if (category == kCategoryBackground)
            backgrounds.add(name);
    }

    std::memcpy(achievementUnlocked, record + Record::Achievements, sizeof(achievementUnlocked));
    for (int i = 0; i < kLevelHintSlots; ++i)
        levelHints[i] = readUInt32(record + Record::LevelHints + 4 * i);

    LOG << "purchased elements: ";
    for (CCObject* object : *purchasedElements) {
        auto* name = dynamic_cast<CCString*>(object);
        LOG << "  - " << (name ? name->getString() : std::string());
    }
    return true;
}
