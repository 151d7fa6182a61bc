// Where the game's files are: its data beside the program or in an installed
// tree, its saves beside a writable copy or in the player's home, and the
// file layer's reads and writes once the two directories differ.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "base/services.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "play_fixture.h"

using playtest::ReadAll;
using playtest::WriteAll;

namespace {
bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// A scratch tree: a portable copy, an installed tree and a home, each made on demand.
class FilePlaces : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/ossmire-places-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        char resolved[PATH_MAX];
        ASSERT_NE(realpath(name, resolved), nullptr);
        root = resolved;
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        for (const char* variable : {"HOME", "XDG_DATA_HOME"}) {
            const char* value = getenv(variable);
            saved.push_back(value ? value : "");
        }
    }
    void TearDown() override {
        PlatformSetFileDirectories(nullptr, nullptr);
        EXPECT_EQ(chdir(oldDir), 0);
        setenv("HOME", saved[0].c_str(), 1);
        if (saved[1].empty()) {
            unsetenv("XDG_DATA_HOME");
        } else {
            setenv("XDG_DATA_HOME", saved[1].c_str(), 1);
        }
        EXPECT_EQ(system(("chmod -R u+w " + root + " && rm -rf " + root).c_str()), 0);
    }

    std::string Make(const std::string& relative, bool withData) {
        std::string path = root + "/" + relative;
        EXPECT_EQ(system(("mkdir -p '" + path + "'").c_str()), 0);
        if (withData) WriteAll((path + "/data.vrk").c_str(), {'D'});
        return path;
    }

    std::string Find(const std::string& chosen, const std::string& exeDir, int* portable,
                     std::string* searched) {
        char out[PATH_MAX] = "";
        char looked[4096] = "";
        int found = PlatformFindDataDirectory(chosen.c_str(), exeDir.c_str(), out, sizeof out,
                                              looked, sizeof looked, portable);
        *searched = looked;
        return found ? out : "";
    }

    std::string Prepare(const std::string& chosen, const std::string& dataDir, int portable) {
        char out[PATH_MAX] = "";
        int ok = PlatformPrepareSaveDirectory(chosen.c_str(), dataDir.c_str(), portable, out,
                                              sizeof out);
        return ok ? out : "failed:" + std::string(out);
    }

    std::string root;
    char oldDir[PATH_MAX];
    std::vector<std::string> saved;
};
}  // namespace

TEST_F(FilePlaces, DataBesideTheProgramThenInTheInstalledTreeThenNowhere) {
    std::string portableDir = Make("copy", true);
    std::string bin = Make("usr/games", false);
    std::string installed = Make("usr/share/games/ossmire", true);
    int portable = -1;
    std::string searched;

    EXPECT_EQ(Find("", portableDir, &portable, &searched), portableDir);
    EXPECT_EQ(portable, 1);
    EXPECT_EQ(Find("", bin, &portable, &searched), installed);
    EXPECT_EQ(portable, 0);
    // A copy beside the program wins over an installed tree.
    WriteAll((bin + "/data.vrk").c_str(), {'D'});
    EXPECT_EQ(Find("", bin, &portable, &searched), bin);
    EXPECT_EQ(portable, 1);
    // --data-dir is the one place looked at, relative or not.
    ASSERT_EQ(chdir(root.c_str()), 0);
    EXPECT_EQ(Find("usr/share/games/ossmire", portableDir, &portable, &searched), installed);
    EXPECT_EQ(portable, 1);
    EXPECT_EQ(Find(root + "/usr", portableDir, &portable, &searched), "");
    EXPECT_EQ(searched, root + "/usr");

    // A data.vrk that is a folder is no data.
    std::string lone = Make("lone/bin", false);
    Make("lone/bin/data.vrk", false);
    EXPECT_EQ(Find("", lone, &portable, &searched), "");
    EXPECT_EQ(searched, lone + ", " + root + "/lone/share/games/ossmire");
}

TEST_F(FilePlaces, SavesStayBesideWritableDataElseGoToTheHome) {
    std::string data = Make("copy", true);
    setenv("XDG_DATA_HOME", (root + "/xdg").c_str(), 1);
    // Portable and writable: today's game folder, and nothing is created.
    EXPECT_EQ(Prepare("", data, 1), data);
    EXPECT_FALSE(Exists(root + "/xdg"));
    EXPECT_FALSE(Exists(data + "/EditMap"));

    // An installed tree: $XDG_DATA_HOME/ossmire, made with its maps folder.
    EXPECT_EQ(Prepare("", data, 0), root + "/xdg/ossmire");
    EXPECT_TRUE(IsDirectory(root + "/xdg/ossmire/EditMap"));
    // Without XDG_DATA_HOME, or with a relative one: ~/.local/share/ossmire.
    setenv("HOME", (root + "/home").c_str(), 1);
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(Prepare("", data, 0), root + "/home/.local/share/ossmire");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(Prepare("", data, 0), root + "/home/.local/share/ossmire");
    EXPECT_TRUE(IsDirectory(root + "/home/.local/share/ossmire/EditMap"));

    // --save-dir, made when missing, even beside portable data.
    EXPECT_EQ(Prepare(root + "/mine/deep", data, 1), root + "/mine/deep");
    EXPECT_TRUE(IsDirectory(root + "/mine/deep/EditMap"));
    // One that cannot be made is still named, so saves fail loudly there.
    WriteAll((root + "/file").c_str(), {'x'});
    EXPECT_EQ(Prepare(root + "/file/saves", data, 1), "failed:" + root + "/file/saves");

    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only folder: run as a normal user for that case";
    }
    ASSERT_EQ(chmod(data.c_str(), 0555), 0);
    EXPECT_EQ(Prepare("", data, 1), root + "/home/.local/share/ossmire");
}

TEST_F(FilePlaces, SeparateSavesAreReadFirstAndWrittenOnlyThere) {
    std::string data = Make("data", true);
    std::string saves = Make("saves/EditMap", false);
    saves.resize(saves.size() - strlen("/EditMap"));
    Make("data/EditMap", false);
    Make("data/bitmap/play", false);
    WriteAll((data + "/EditMap/map_01.map").c_str(), {'S', 'H', 'I', 'P'});
    WriteAll((data + "/bitmap/play/chip.bmp").c_str(), {'B'});
    PlatformSetFileDirectories(data.c_str(), saves.c_str());
    EXPECT_EQ(std::string(PlatformSaveDirectory()), saves);

    // A first load creates the save where saves go, never in the data.
    int f = OpenGameFile("sav_1.vrk", FILE_MODE_LOAD);
    ASSERT_NE(f, INVALID_FILE);
    EXPECT_EQ(CloseGameFile(f), 1u);
    EXPECT_TRUE(Exists(saves + "/sav_1.vrk"));
    EXPECT_FALSE(Exists(data + "/sav_1.vrk"));
    // The data file is read where it is.
    char byte = 0;
    f = OpenGameFile("data.vrk", FILE_MODE_LOAD);
    EXPECT_EQ(ReadGameFile(f, &byte, 1), 1u);
    CloseGameFile(f);
    EXPECT_EQ(byte, 'D');
    EXPECT_FALSE(Exists(saves + "/data.vrk"));
    char path[PATH_MAX];
    ASSERT_TRUE(PlatformMapReadPath("bitmap\\play\\chip.bmp", path, sizeof path));
    EXPECT_EQ(std::string(path), data + "/bitmap/play/chip.bmp");

    // A map shipped with the game is found until the player saves over it.
    char bytes[4] = {};
    f = OpenGameFile("EditMap\\map_01.map", FILE_MODE_PROBE);
    EXPECT_EQ(ReadGameFile(f, bytes, 4), 4u);
    CloseGameFile(f);
    EXPECT_EQ(std::string(bytes, 4), "SHIP");
    f = OpenGameFile("EditMap\\map_01.map", FILE_MODE_SAVE);
    WriteGameFile(f, "MINE", 4);
    EXPECT_EQ(CloseGameFile(f), 1u);
    f = OpenGameFile("EditMap\\map_01.map", FILE_MODE_PROBE);
    EXPECT_EQ(ReadGameFile(f, bytes, 4), 4u);
    CloseGameFile(f);
    EXPECT_EQ(std::string(bytes, 4), "MINE");
    EXPECT_EQ(ReadAll((data + "/EditMap/map_01.map").c_str()).size(), 4u);
    EXPECT_EQ(ReadAll((data + "/EditMap/map_01.map").c_str())[0], 'S');
    EXPECT_EQ(OpenGameFile("EditMap\\map_02.map", FILE_MODE_PROBE), INVALID_FILE);

    // Back to the working directory, as the simulator and the tests use it.
    PlatformSetFileDirectories(nullptr, nullptr);
    EXPECT_STREQ(PlatformSaveDirectory(), ".");
    ASSERT_TRUE(PlatformMapReadPath("EditMap\\map_01.map", path, sizeof path));
    EXPECT_STREQ(path, "EditMap/map_01.map");
}
