// Saves cut short: a save that cannot replace its file says so and leaves
// the old one whole, with no temporary file beside it.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "base/registry.h"
#include "editor/mapfile.h"
#include "play_fixture.h"
#include "shell/shell.h"

namespace {
std::string Slurp(const char* path) {
    std::vector<u8> bytes = playtest::ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

u8 mapCells[64];

// One kind of save file: its path, a save of values made from `seed` and
// the game's save operation alone.
struct SaveKind {
    const char* path;
    void (*save)(u32 seed);
    void (*store)();
};

const SaveKind KINDS[] = {
    {"sav_1.vrk",
     [](u32 seed) {
         u32* values[] = {&stageNumber,   &storyChapter,   &courseSeconds,     &undergroundSeconds,
                          &courseCleared, &extrasUnlocked, &undergroundCleared};
         for (u32* v : values) *v = seed++ * 0x01010101u;
         SaveProgress();
     },
     SaveProgress},
    {"sav_2.vrk",
     [](u32 seed) {
         bestCourse = BestTime{seed, seed + 1, seed + 2, seed + 3};
         bestUnderground = BestTime{~seed, seed << 8, seed << 16, seed << 24};
         SaveBestTimes();
     },
     SaveBestTimes},
    {"sav_3.vrk",
     [](u32 seed) {
         undergroundBest = seed * 0x01020304u;
         SaveUndergroundBest();
     },
     SaveUndergroundBest},
    {"EditMap/map_03.map",
     [](u32 seed) {
         stageNumber = 3;
         for (int i = 0; i < 64; i++) mapCells[i] = (u8)((seed + i) % 13);
         SaveMap(mapCells, (u8)(seed % 3), (i32)seed, -(i32)seed);
     },
     [] { SaveMap(mapCells, 1, 2, 3); }},
};

// Every registered global as the simulator prints it.
std::string AllGlobals() {
    RegisterAllGlobals();
    std::string all;
    static char text[1 << 16];
    for (int i = 0; i < GlobalCount(); i++) {
        FormatGlobal(GlobalAt(i), -1, text, sizeof text);
        all += std::string(GlobalAt(i)->name) + "=" + text + "\n";
    }
    return all;
}

class InterruptedSave : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_EQ(mkdir("EditMap", 0755), 0);
    }

    // The bytes a complete save of `seed` writes.
    static std::string Saved(const SaveKind& kind, u32 seed) {
        kind.save(seed);
        return Slurp(kind.path);
    }

    // Runs the store; expects exactly one "セーブ失敗" owned by the main
    // window with an empty caption, every global as it was, and no
    // temporary file left beside the target.
    void ExpectRefused(const SaveKind& kind) {
        size_t traced = TraceSoFar().size();
        int before = HeadlessMessageCount();
        std::string globals = AllGlobals();
        kind.store();
        EXPECT_EQ(HeadlessMessageCount() - before, 1) << kind.path;
        EXPECT_EQ(TraceSoFar().substr(traced),
                  "f=0 msgbox owner=main caption=\"\" \"セーブ失敗\"\n")
            << kind.path;
        EXPECT_EQ(AllGlobals(), globals) << kind.path;
        ExpectNoTemporary(kind);
    }

    static void ExpectNoTemporary(const SaveKind& kind) {
        DIR* folder = opendir(strchr(kind.path, '/') ? "EditMap" : ".");
        ASSERT_NE(folder, nullptr);
        while (dirent* entry = readdir(folder)) {
            EXPECT_EQ(strstr(entry->d_name, "tmp"), nullptr) << entry->d_name;
        }
        closedir(folder);
    }
};

// A target that is a folder is refused before anything is written. With the
// data written, the file fails to replace the old one: a full disk (here a
// file size limit, which binds root too) or a target that became a folder.
TEST_F(InterruptedSave, AFailedSaveIsReportedAndKeepsTheOldFile) {
    signal(SIGXFSZ, SIG_IGN);
    for (const SaveKind& kind : KINDS) {
        stageNumber = 3;
        ASSERT_EQ(mkdir(kind.path, 0755), 0);
        ExpectRefused(kind);
        ASSERT_EQ(rmdir(kind.path), 0) << "the folder stands";

        const std::string old = Saved(kind, 4);
        struct rlimit before;
        getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit cap = {2, before.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cap), 0);
        stageNumber = 3;
        ExpectRefused(kind);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &before), 0);
        EXPECT_EQ(Slurp(kind.path), old) << kind.path;

        int file = PlatformOpenFile(kind.path, PLATFORM_FILE_SAVE);
        ASSERT_NE(file, PLATFORM_INVALID_FILE);
        EXPECT_EQ(PlatformWriteFile(file, old.data(), (uint32_t)old.size()), old.size());
        ASSERT_EQ(unlink(kind.path), 0);
        ASSERT_EQ(mkdir(kind.path, 0755), 0);
        EXPECT_EQ(PlatformCloseFile(file), 0) << kind.path;
        ExpectNoTemporary(kind);
        ASSERT_EQ(rmdir(kind.path), 0);
    }
    signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
