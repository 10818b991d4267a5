#include "player/records.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/file_record.h"
#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "engine/random.h"
#include "engine/text_table.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "player/settings.h"

RecordTables records;

namespace {

const char* const kDefaultTables[kModeCount] = {"hi_expert.txt", "hi_normal.txt", "hi_zen.txt"};

// Level times of the default "mode3.dat": entry c of a level is c * a + g * b + c0 ms, g random 0..gMax.
struct TimeBand {
    int lastLevel, a, gMax, b, c0;
};
const TimeBand kTimeBands[] = {
    {3, 20000, 2, 8000, 25000},
    {9, 30000, 2, 10000, 50000},
    {24, 100000, 5, 10000, 150000},
    {69, 150000, 7, 10000, 240000},
};

// Copies a name into a fixed field, cut to fit and always terminated (a profile name may be longer
// than a record's field).
void copyName(char* dest, size_t bytes, const char* name) {
    size_t n = name ? strnlen(name, bytes - 1) : 0;
    if (n > 0) std::memcpy(dest, name, n);
    std::memset(dest + n, 0, bytes - n);
}

// The default player name at a position of the run that starts at "defname1"; empty without that run.
const char* defaultName(int offset) {
    if (!findText("defname1")) return "";
    const char* text = textAt(indexOfText("defname1") + offset);
    return text ? text : "";
}

const char* randomDefaultName() {
    return defaultName(randomInt(rulesRandom, 10));
}

int randomBetween(int lo, int hi) {
    return lo + randomInt(rulesRandom, hi - lo + 1);
}

// A time written as minutes.seconds ("2.5" is two minutes fifty) in ms. The seconds are rounded to the
// millisecond: taken as they stand, 1.3 would give a millisecond short of 1:30.
// A table's time may be any number: it is held to a million seconds either way, so that twice it still
// fits an int.
int minutesSecondsToMs(float t) {
    double whole = std::floor(static_cast<double>(t));
    double fraction = static_cast<double>(t) - whole;
    double ms = whole * 60000.0 + std::round(fraction * 100000.0);
    constexpr double kLongestMs = 1e9;
    return static_cast<int>(ms > kLongestMs ? kLongestMs : ms < -kLongestMs ? -kLongestMs : ms);
}

// A 64-bit result held to the range of a record's int.
int32_t clampToInt(int64_t v) {
    return static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
}

// The records of the four files, each a table of these stored one after the other.
constexpr auto levelRecordFields = [](auto& f, auto& r) {
    f.text(r.comboName);
    f.text(r.scoreName);
    f.text(r.timeName);
    f.text(r.movesName);
    f.i32(r.bestScore);
    f.i32(r.bestCombo);
    f.i32(r.bestTimeMs);
    f.i32(r.fewestMoves);
};
constexpr auto hiscoreFields = [](auto& f, auto& e) {
    f.text(e.name);
    f.i32(e.score);
};
constexpr auto levelTimeFields = [](auto& f, auto& e) {
    f.text(e.name);
    f.i32(e.timeMs);
};
static_assert(recordBytes<LevelRecord>(levelRecordFields) == 96);
static_assert(recordBytes<HiscoreEntry>(hiscoreFields) == 36);
static_assert(recordBytes<LevelTimeEntry>(levelTimeFields) == 36);

// The bytes of a whole table of Rows x Columns records.
template <class T, size_t Rows, size_t Columns, class Fields> constexpr size_t tableBytes(Fields fields) {
    return Rows * Columns * recordBytes<T>(fields);
}
static_assert(tableBytes<LevelRecord, kModeCount, kLevelCount>(levelRecordFields) == 20160);
static_assert(tableBytes<HiscoreEntry, kModeCount, kHiscoreLines>(hiscoreFields) == 1080);
static_assert(tableBytes<LevelTimeEntry, kLevelCount, kLevelTimeEntries>(levelTimeFields) == 7560);
static_assert(tableBytes<LevelRecord, kSurvivalTables, kLevelCount>(levelRecordFields) == 13440);

template <class T, size_t Rows, size_t Columns, class Fields>
bool readTable(const char* fileName, T (&table)[Rows][Columns], Fields fields) {
    constexpr size_t kBytes = tableBytes<T, Rows, Columns>(Fields{});
    std::vector<uint8_t> bytes;
    // A damaged file of any size is never read beyond what the table holds.
    if (!readWholeFile(settingsFolder() + fileName, bytes, kBytes) || bytes.size() != kBytes) return false;
    RecordReader reader(bytes.data(), bytes.size());
    for (auto& row : table) {
        for (T& record : row) fields(reader, record);
    }
    return reader.complete();
}

template <class T, size_t Rows, size_t Columns, class Fields>
bool writeTable(const char* fileName, const T (&table)[Rows][Columns], Fields fields) {
    std::vector<uint8_t> bytes(tableBytes<T, Rows, Columns>(Fields{}));
    RecordWriter writer(bytes.data(), bytes.size());
    for (const auto& row : table) {
        for (const T& record : row) fields(writer, record);
    }
    return writeWholeFile(settingsFolder() + fileName, bytes.data(), bytes.size());
}

void terminate(char* name, size_t bytes) {
    name[bytes - 1] = 0;
}

void terminateRecordNames(LevelRecord& r) {
    terminate(r.comboName, sizeof(r.comboName));
    terminate(r.scoreName, sizeof(r.scoreName));
    terminate(r.timeName, sizeof(r.timeName));
    terminate(r.movesName, sizeof(r.movesName));
}

// Builds the default level records of every mode from its text table; returns the sum of the default
// best scores per mode.
void defaultLevelRecords(int64_t sums[kModeCount]) {
    for (int m = 0; m < kModeCount; ++m) {
        sums[m] = 0;
        int size = 0;
        uint8_t* data = openFile(kDefaultTables[m], &size, false);
        std::string_view text = keyedText(data, size);
        for (int level = 0; level < kLevelCount; ++level) {
            LevelRecord& r = records.levels[m][level];
            std::memset(&r, 0, sizeof(r));
            copyName(r.comboName, sizeof(r.comboName), randomDefaultName());
            copyName(r.scoreName, sizeof(r.scoreName), randomDefaultName());
            copyName(r.timeName, sizeof(r.timeName), randomDefaultName());
            copyName(r.movesName, sizeof(r.movesName), randomDefaultName());
            std::string i = std::to_string(level + 1);
            r.bestCombo = readInt(text, ("combo" + i + "=").c_str());
            r.bestScore =
                static_cast<int>(static_cast<int64_t>(readInt(text, ("score" + i + "=").c_str())) * 2 / 3);
            r.bestTimeMs = 2 * minutesSecondsToMs(readFloat(text, ("time" + i + "=").c_str()));
            r.fewestMoves =
                clampToInt(static_cast<int64_t>(readInt(text, ("move" + i + "=").c_str())) * 3 / 2);
            sums[m] += r.bestScore;
        }
        if (data) releaseFile(data);
    }
}

void defaultHiscores(const int64_t sums[kModeCount]) {
    for (int m = 0; m < kModeCount; ++m) {
        int64_t s = sums[m];
        for (int k = 0; k < kHiscoreLines; ++k) {
            HiscoreEntry& e = records.hiscores[m][k];
            std::memset(&e, 0, sizeof(e));
            copyName(e.name, sizeof(e.name), defaultName(k));
            e.score = clampToInt((s - k * s / 10) * 2 / 300 * 100);
        }
    }
}

void defaultLevelTimes() {
    for (int level = 0; level < kLevelCount; ++level) {
        const TimeBand* band = &kTimeBands[0];
        while (level > band->lastLevel) band++;
        int r = randomInt(rulesRandom, 10);
        for (int c = 0; c < kLevelTimeEntries; ++c) {
            LevelTimeEntry& e = records.levelTimes[level][c];
            std::memset(&e, 0, sizeof(e));
            copyName(e.name, sizeof(e.name), defaultName((r + c) % 10));
            int g = randomInt(rulesRandom, band->gMax + 1);
            e.timeMs = c * band->a + g * band->b + band->c0;
        }
    }
}

void defaultSurvivalRecords() {
    for (int t = 0; t < kSurvivalTables; ++t) {
        for (int level = 0; level < kLevelCount; ++level) {
            LevelRecord& r = records.survival[t][level];
            std::memset(&r, 0, sizeof(r));
            copyName(r.comboName, sizeof(r.comboName), randomDefaultName());
            copyName(r.movesName, sizeof(r.movesName), randomDefaultName());
            if (level <= 2) {
                r.bestCombo = randomBetween(5, 12);
            } else if (level <= 4) {
                r.bestCombo = randomBetween(5, 9);
            } else if (level == 5) {
                r.bestCombo = randomBetween(4, 6);
            } else {
                r.bestCombo = randomBetween(2, 4);
            }
            r.fewestMoves = 50 + randomInt(rulesRandom, 40);
            copyName(r.scoreName, sizeof(r.scoreName), records.levelTimes[level][0].name);
            r.bestScore = records.levelTimes[level][0].timeMs;
        }
    }
}

} // namespace

void resetRecords() {
    std::memset(&records, 0, sizeof(records));
}

void loadRecords() {
    int64_t sums[kModeCount] = {};
    if (readTable("records.dat", records.levels, levelRecordFields)) {
        for (auto& mode : records.levels) {
            for (LevelRecord& r : mode) terminateRecordNames(r);
        }
    } else {
        defaultLevelRecords(sums);
    }
    if (readTable("hiscore.dat", records.hiscores, hiscoreFields)) {
        for (auto& table : records.hiscores) {
            for (HiscoreEntry& e : table) terminate(e.name, sizeof(e.name));
        }
    } else {
        defaultHiscores(sums);
    }
    if (readTable("mode3.dat", records.levelTimes, levelTimeFields)) {
        for (auto& level : records.levelTimes) {
            for (LevelTimeEntry& e : level) terminate(e.name, sizeof(e.name));
        }
    } else {
        defaultLevelTimes();
    }
    if (readTable("surrecs.dat", records.survival, levelRecordFields)) {
        for (auto& table : records.survival) {
            for (LevelRecord& r : table) terminateRecordNames(r);
        }
    } else {
        defaultSurvivalRecords();
    }
}

bool saveRecords() {
    if (!makeFolders(settingsFolder())) return false;
    bool ok = writeTable("records.dat", records.levels, levelRecordFields);
    ok = writeTable("hiscore.dat", records.hiscores, hiscoreFields) && ok;
    ok = writeTable("mode3.dat", records.levelTimes, levelTimeFields) && ok;
    ok = writeTable("surrecs.dat", records.survival, levelRecordFields) && ok;
    return ok;
}

void enterHighScore(int mode) {
    if (mode < 0 || mode >= kModeCount || settings.profileCount <= 0) return;
    const Profile& p = currentProfile();
    int s = p.score[mode];
    HiscoreEntry* table = records.hiscores[mode];
    int i = 0;
    while (i < kHiscoreLines && table[i].score >= s) i++;
    if (i == kHiscoreLines) return;
    int j = kHiscoreLines - 1;
    for (int k = kHiscoreLines - 1; k >= 0; --k) {
        if (std::strncmp(table[k].name, p.name, sizeof(table[k].name)) == 0) {
            j = k;
            break;
        }
    }
    // The player already stands higher.
    if (j < i) return;
    for (int k = j; k > i; --k) table[k] = table[k - 1];
    std::memset(&table[i], 0, sizeof(table[i]));
    copyName(table[i].name, sizeof(table[i].name), p.name);
    table[i].score = s;
}

void updateLevelRecord(int mode, int level, int score, int combo, int timeMs, int moves) {
    if (mode < 0 || mode >= kModeCount || level < 0 || level >= kLevelCount || settings.profileCount <= 0)
        return;
    LevelRecord& r = records.levels[mode][level];
    const char* name = currentProfile().name;
    if (score > r.bestScore) {
        r.bestScore = score;
        copyName(r.scoreName, sizeof(r.scoreName), name);
    }
    if (combo > r.bestCombo) {
        r.bestCombo = combo;
        copyName(r.comboName, sizeof(r.comboName), name);
    }
    // A time or move count of 0 was never set (a default table without the key): any result beats it.
    if (timeMs < r.bestTimeMs || r.bestTimeMs <= 0) {
        r.bestTimeMs = timeMs;
        copyName(r.timeName, sizeof(r.timeName), name);
    }
    if (moves < r.fewestMoves || r.fewestMoves <= 0) {
        r.fewestMoves = moves;
        copyName(r.movesName, sizeof(r.movesName), name);
    }
}
