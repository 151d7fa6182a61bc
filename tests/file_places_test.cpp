// Where the game's files are: its data beside the program or in an installed
// tree, its saves beside a writable copy or in the player's home, and the
// file layer's reads and writes once the two directories differ.
#include <sys/stat.h>

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

// Trees made on demand in the scratch directory.
class FilePlaces : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        char resolved[PATH_MAX];
        ASSERT_NE(realpath(dir, resolved), nullptr);
        root = resolved;
        for (const char* variable : {"HOME", "XDG_DATA_HOME"}) {
            saved.push_back(getenv(variable) ? getenv(variable) : "");
        }
    }
    void TearDown() override {
        PlatformSetFileDirectories(nullptr, nullptr);
        setenv("HOME", saved[0].c_str(), 1);
        if (saved[1].empty()) unsetenv("XDG_DATA_HOME");
        if (!saved[1].empty()) setenv("XDG_DATA_HOME", saved[1].c_str(), 1);
        EXPECT_EQ(system(("chmod -R u+w " + root).c_str()), 0);
        PlayTest::TearDown();
    }

    std::string Make(const std::string& relative, bool withData) {
        std::string path = root + "/" + relative;
        EXPECT_EQ(system(("mkdir -p '" + path + "'").c_str()), 0);
        if (withData) WriteAll((path + "/data.vrk").c_str(), {'D'});
        return path;
    }

    // The data directory found, or "" and the places looked at in `searched`.
    std::string Find(const std::string& chosen, const std::string& exeDir, int* portable,
                     std::string* searched) {
        char out[PATH_MAX] = "", looked[4096] = "";
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
    std::vector<std::string> saved;
};
}  // namespace

// The launch test finds a portable copy, an installed tree and nothing; here
// the choices between them.
TEST_F(FilePlaces, DataDirIsTheOnePlaceLookedAtAndACopyBesideTheProgramWins) {
    std::string copy = Make("copy", true), bin = Make("usr/games", true);
    std::string installed = Make("usr/share/games/ossmire", true);
    int portable = -1;
    std::string searched;
    EXPECT_EQ(Find("", bin, &portable, &searched), bin);
    EXPECT_EQ(portable, 1);
    EXPECT_EQ(Find("usr/share/games/ossmire", copy, &portable, &searched), installed);
    EXPECT_EQ(portable, 1);
    EXPECT_EQ(Find(root + "/usr", copy, &portable, &searched), "");
    EXPECT_EQ(searched, root + "/usr");
    // A data.vrk that is a folder is no data.
    Make("lone/bin/data.vrk", false);
    EXPECT_EQ(Find("", root + "/lone/bin", &portable, &searched), "");
}

TEST_F(FilePlaces, SavesStayBesideWritableDataElseGoToTheHome) {
    std::string data = Make("copy", true);
    setenv("XDG_DATA_HOME", (root + "/xdg").c_str(), 1);
    setenv("HOME", (root + "/home").c_str(), 1);
    // An installed tree: $XDG_DATA_HOME/ossmire if absolute, else
    // ~/.local/share/ossmire, made with its maps folder.
    const std::string home = root + "/home/.local/share/ossmire";
    for (std::string xdg : {root + "/xdg", std::string("relative"), std::string()}) {
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        if (xdg.empty()) unsetenv("XDG_DATA_HOME");
        std::string expected = xdg[0] == '/' ? xdg + "/ossmire" : home;
        EXPECT_EQ(Prepare("", data, 0), expected) << xdg;
        EXPECT_TRUE(IsDirectory(expected + "/EditMap")) << xdg;
    }
    // --save-dir, made when missing, even beside portable data; one that
    // cannot be made is still named, so saves fail loudly there.
    EXPECT_EQ(Prepare(root + "/mine/deep", data, 1), root + "/mine/deep");
    EXPECT_TRUE(IsDirectory(root + "/mine/deep/EditMap"));
    WriteAll((root + "/file").c_str(), {'x'});
    EXPECT_EQ(Prepare(root + "/file/saves", data, 1), "failed:" + root + "/file/saves");

    if (geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
    ASSERT_EQ(chmod(data.c_str(), 0555), 0);
    EXPECT_EQ(Prepare("", data, 1), home);
}

// The launch test's installed tree shows saves kept apart from the data;
// here a map shipped with the data, found until the player saves over it.
TEST_F(FilePlaces, ShippedMapsAreReadUntilTheSaveDirectoryHasItsOwn) {
    std::string data = Make("data/EditMap", false), saves = Make("saves/EditMap", false);
    WriteAll((data + "/map_01.map").c_str(), {'S', 'H', 'I', 'P'});
    PlatformSetFileDirectories((root + "/data").c_str(), (root + "/saves").c_str());
    auto probe = []() {
        char bytes[4] = {};
        int f = OpenGameFile("EditMap\\map_01.map", FILE_MODE_PROBE);
        ReadGameFile(f, bytes, 4);
        CloseGameFile(f);
        return std::string(bytes, 4);
    };
    EXPECT_EQ(probe(), "SHIP");
    int f = OpenGameFile("EditMap\\map_01.map", FILE_MODE_SAVE);
    WriteGameFile(f, "MINE", 4);
    EXPECT_EQ(CloseGameFile(f), 1u);
    EXPECT_EQ(probe(), "MINE");
    EXPECT_EQ(ReadAll((data + "/map_01.map").c_str())[0], 'S');
    EXPECT_EQ(ReadAll((saves + "/map_01.map").c_str())[0], 'M');
}
