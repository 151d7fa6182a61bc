// Saves cut short: a save process killed after any number of written bytes,
// or at any moment, leaves the old file or the new one, never a torn one. A
// save that cannot replace its file says so and leaves the old one.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "base/registry.h"
#include "editor/mapfile.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "play/playstate.h"
#include "save/save.h"
#include "shell/shell.h"

namespace {

std::string Slurp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

u8 mapCells[64];

// One kind of save file: its path, its size, a save of values made from
// `seed` and the game's save operation alone.
struct SaveKind {
    const char* path;
    size_t bytes;
    void (*save)(u32 seed);
    void (*store)();
};

const SaveKind KINDS[] = {
    {"sav_1.vrk", 28,
     [](u32 seed) {
         u32* values[] = {&stageNumber,   &storyChapter,   &courseSeconds,     &undergroundSeconds,
                          &courseCleared, &extrasUnlocked, &undergroundCleared};
         for (u32* v : values) *v = seed++ * 0x01010101u;
         SaveProgress();
     },
     SaveProgress},
    {"sav_2.vrk", 32,
     [](u32 seed) {
         bestCourse = BestTime{seed, seed + 1, seed + 2, seed + 3};
         bestUnderground = BestTime{~seed, seed << 8, seed << 16, seed << 24};
         SaveBestTimes();
     },
     SaveBestTimes},
    {"sav_3.vrk", 4,
     [](u32 seed) {
         undergroundBest = seed * 0x01020304u;
         SaveUndergroundBest();
     },
     SaveUndergroundBest},
    {"EditMap/map_03.map", 73,
     [](u32 seed) {
         stageNumber = 3;
         for (int i = 0; i < 64; i++) mapCells[i] = (u8)((seed + i) % 13);
         SaveMap(mapCells, (u8)(seed % 3), (i32)seed, -(i32)seed);
     },
     [] { SaveMap(mapCells, 1, 2, 3); }},
};

class InterruptedSave : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        snprintf(dir, sizeof dir, "/tmp/ossmire-interrupt-XXXXXX");
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        ASSERT_EQ(mkdir("EditMap", 0755), 0);
        HeadlessReset(1000);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(oldDir), 0);
        std::string command = std::string("rm -rf ") + dir;
        ASSERT_EQ(system(command.c_str()), 0);
    }

    // The bytes a complete save of `seed` writes.
    static std::string Saved(const SaveKind& kind, u32 seed) {
        kind.save(seed);
        return Slurp(kind.path);
    }

    char oldDir[PATH_MAX];
    char dir[64];
};

// The child dies of SIGXFSZ on the first byte past `limit`, inside the real
// save function, exactly as a crash after `limit` bytes would leave it.
TEST_F(InterruptedSave, KilledAfterEveryByteCountLeavesTheOldFile) {
    for (const SaveKind& kind : KINDS) {
        const std::string fresh = Saved(kind, 7);
        const std::string old = Saved(kind, 3);
        ASSERT_EQ(old.size(), kind.bytes) << kind.path;
        ASSERT_NE(old, fresh) << kind.path;
        for (size_t limit = 0; limit < kind.bytes; limit++) {
            pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                struct rlimit cap = {limit, limit};
                setrlimit(RLIMIT_FSIZE, &cap);
                kind.save(7);
                _exit(3);  // the save outlived its limit
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ)
                << kind.path << " after " << limit << " bytes: status " << status;
            EXPECT_EQ(Slurp(kind.path), old) << kind.path << " torn after " << limit << " bytes";
        }
        // The temporary files the crashes left do not stand in the way of the next save.
        EXPECT_EQ(Saved(kind, 7), fresh) << kind.path;
    }
}

// Everything written but the file never closed: the old file stays until the close.
// A process saving two versions in turn, killed with SIGKILL at random moments.
TEST_F(InterruptedSave, KillNineMidSaveLeavesOneWholeVersion) {
    const SaveKind& kind = KINDS[0];
    const std::string a = Saved(kind, 1);
    const std::string b = Saved(kind, 2);
    srand(12345);
    int killedMidWay = 0;
    for (int round = 0; round < 40; round++) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (u32 i = 0;; i++) kind.save(1 + (i & 1));
        }
        usleep((useconds_t)(rand() % 3000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        std::string now = Slurp(kind.path);
        EXPECT_TRUE(now == a || now == b)
            << "torn after round " << round << ": " << now.size() << " bytes";
        killedMidWay +=
            access((std::string(kind.path) + ".tmp" + std::to_string(child)).c_str(), F_OK) == 0;
    }
    // Most kills land inside a save: the test reached what it means to test.
    EXPECT_GT(killedMidWay, 0);
}

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

// The game's store of each kind, with what it showed and what it changed.
class RefusedSave : public InterruptedSave {
  protected:
    // Runs the store; expects exactly one "セーブ失敗" owned by the main
    // window with an empty caption, and every global as it was.
    void ExpectRefused(const SaveKind& kind) {
        char* text = nullptr;
        size_t size = 0;
        FILE* trace = open_memstream(&text, &size);
        HeadlessSetTrace(TRACE_MSGBOX, trace);
        int before = HeadlessMessageCount();
        std::string globals = AllGlobals();
        kind.store();
        HeadlessSetTrace(0, nullptr);
        fclose(trace);
        EXPECT_EQ(HeadlessMessageCount() - before, 1) << kind.path;
        EXPECT_STREQ(HeadlessLastMessage(), "セーブ失敗") << kind.path;
        EXPECT_NE(std::string(text).find("msgbox owner=main caption=\"\" \"セーブ失敗\""),
                  std::string::npos)
            << text;
        free(text);
        EXPECT_EQ(AllGlobals(), globals) << kind.path;
    }

    // Nothing but the target and `besides` in the target's folder: no temporary left.
    static void ExpectNoTemporary(const SaveKind& kind) {
        std::string command = std::string("ls -A $(dirname ") + kind.path + ") | grep -c tmp";
        FILE* count = popen(command.c_str(), "r");
        int temporaries = -1;
        ASSERT_EQ(fscanf(count, "%d", &temporaries), 1);
        pclose(count);
        EXPECT_EQ(temporaries, 0) << kind.path;
    }
};

TEST_F(RefusedSave, ATargetThatIsAFolderIsRefusedBeforeAnythingIsWritten) {
    for (const SaveKind& kind : KINDS) {
        stageNumber = 3;
        ASSERT_EQ(mkdir(kind.path, 0755), 0);
        ExpectRefused(kind);
        struct stat st;
        ASSERT_EQ(stat(kind.path, &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << kind.path;
        ExpectNoTemporary(kind);
    }
}

// The data written, the file fails to replace the old one: a full disk (here
// a file size limit, which binds root too) or a target that became a folder.
TEST_F(RefusedSave, AFailureAfterTheDataWasWrittenIsReportedAndKeepsTheOldFile) {
    signal(SIGXFSZ, SIG_IGN);
    for (const SaveKind& kind : KINDS) {
        const std::string old = Saved(kind, 4);
        struct rlimit before;
        getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit cap = {2, before.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cap), 0);
        stageNumber = 3;
        ExpectRefused(kind);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &before), 0);
        EXPECT_EQ(Slurp(kind.path), old) << kind.path;
        ExpectNoTemporary(kind);

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

TEST_F(RefusedSave, AReadOnlyFolderIsRefusedAtOpenAndAtClose) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders: run as a normal user";
    for (const SaveKind& kind : KINDS) {
        const std::string old = Saved(kind, 6);
        std::string folder =
            std::string(kind.path).find('/') == std::string::npos ? "." : "EditMap";
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        stageNumber = 3;
        ExpectRefused(kind);
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        EXPECT_EQ(Slurp(kind.path), old) << kind.path;

        // Read-only after the temporary file was made: the old file stands.
        int file = PlatformOpenFile(kind.path, PLATFORM_FILE_SAVE);
        ASSERT_NE(file, PLATFORM_INVALID_FILE);
        PlatformWriteFile(file, "new", 3);
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        EXPECT_EQ(PlatformCloseFile(file), 0) << kind.path;
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        EXPECT_EQ(Slurp(kind.path), old) << kind.path;
    }
}

}  // namespace
