// The game's command line and settings file: every option and its range,
// flags and their negation, the settings file's lines good and bad, and the
// command line over the file.
#include "app/options.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <regex>
#include <string>
#include <vector>

namespace {
// One parse of `args` over `start`, with what it printed.
struct Parse {
    GameOptions options;
    int status;
    std::string out, err;
};

std::string Drain(FILE* f) {
    std::string text;
    rewind(f);
    int c;
    while ((c = fgetc(f)) != EOF) text += (char)c;
    fclose(f);
    return text;
}

Parse CommandLine(std::vector<const char*> args, const GameOptions* start = nullptr) {
    Parse p;
    if (start) {
        p.options = *start;
    } else {
        DefaultOptions(&p.options);
    }
    args.insert(args.begin(), "ossmire");
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    p.status = ParseCommandLine((int)args.size(), (char**)args.data(), &p.options, out, err);
    p.out = Drain(out);
    p.err = Drain(err);
    return p;
}

Parse Settings(const char* text, const GameOptions* start = nullptr) {
    char path[] = "/tmp/ossmire-conf-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, text, strlen(text)), (ssize_t)strlen(text));
    close(fd);
    Parse p;
    if (start) {
        p.options = *start;
    } else {
        DefaultOptions(&p.options);
    }
    FILE* err = tmpfile();
    ReadSettingsFile(path, &p.options, err);
    p.err = Drain(err);
    // Messages name the file; the tests compare them without the name.
    for (size_t at; (at = p.err.find(path)) != std::string::npos;)
        p.err.replace(at, strlen(path), "F");
    unlink(path);
    p.status = OPTIONS_RUN;
    return p;
}
}  // namespace

TEST(Options, DefaultsAreTodaysGame) {
    Parse p = CommandLine({});
    EXPECT_EQ(p.status, OPTIONS_RUN);
    EXPECT_EQ(p.options.fullScreen, 0);
    EXPECT_EQ(p.options.scale, 1);
    EXPECT_EQ(p.options.musicVolume, 100);
    EXPECT_EQ(p.options.effectsVolume, 100);
    EXPECT_EQ(p.options.mute, 0);
    EXPECT_STREQ(p.options.dataDir, "");
    EXPECT_STREQ(p.options.saveDir, "");
    EXPECT_EQ(p.out + p.err, "");
}

TEST(Options, EveryOptionInBothSpellings) {
    Parse p = CommandLine({"--fullscreen", "--scale", "3", "--data-dir=/opt/d", "--save-dir", "s d",
                           "--music-volume=0", "--effects-volume", "55", "--mute"});
    ASSERT_EQ(p.status, OPTIONS_RUN) << p.err;
    EXPECT_EQ(p.options.fullScreen, 1);
    EXPECT_EQ(p.options.scale, 3);
    EXPECT_STREQ(p.options.dataDir, "/opt/d");
    EXPECT_STREQ(p.options.saveDir, "s d");
    EXPECT_EQ(p.options.musicVolume, 0);
    EXPECT_EQ(p.options.effectsVolume, 55);
    EXPECT_EQ(p.options.mute, 1);
    // The last one counts; a flag is turned off by its --no- form.
    p = CommandLine({"--scale=2", "--scale=8", "--no-fullscreen", "--no-mute"}, &p.options);
    EXPECT_EQ(p.status, OPTIONS_RUN);
    EXPECT_EQ(p.options.scale, 8);
    EXPECT_EQ(p.options.fullScreen, 0);
    EXPECT_EQ(p.options.mute, 0);
}

TEST(Options, BadOptionsAndValuesAreNamedWithStatusTwo) {
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--scale", "0"}, "--scale wants a whole number from 1 to 8, not '0'"},
        {{"--scale=9"}, "not '9'"},
        {{"--scale", "2x"}, "not '2x'"},
        {{"--scale", "-1"}, "not '-1'"},
        {{"--music-volume", "101"}, "--music-volume wants a whole number from 0 to 100"},
        {{"--effects-volume="}, "not ''"},
        {{"--scale"}, "a value is missing after --scale"},
        {{"--data-dir="}, "--data-dir wants a folder name"},
        {{"--fullscreen=yes"}, "takes no value: --fullscreen=yes"},
        {{"--no-scale"}, "unknown option --no-scale"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x"}, "unexpected argument -x"},
        {{"game.vrk"}, "unexpected argument game.vrk"},
    };
    for (const Case& c : cases) {
        Parse p = CommandLine(c.args);
        EXPECT_EQ(p.status, OPTIONS_EXIT_USAGE) << c.says;
        EXPECT_NE(p.err.find(c.says), std::string::npos) << p.err;
        EXPECT_NE(p.err.find("ossmire --help"), std::string::npos);
        EXPECT_EQ(p.out, "");
    }
}

TEST(Options, HelpAndVersionPrintAndStop) {
    Parse p = CommandLine({"--scale=2", "--version", "--bogus"});
    EXPECT_EQ(p.status, OPTIONS_EXIT_OK);
    EXPECT_TRUE(std::regex_match(p.out, std::regex("ossmire [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << p.out;
    p = CommandLine({"--help"});
    EXPECT_EQ(p.status, OPTIONS_EXIT_OK);
    for (const char* name :
         {"--fullscreen", "--scale N", "--data-dir DIR", "--save-dir DIR", "--music-volume 0..100",
          "--effects-volume 0..100", "--mute", "--editor-solver", "--version", "ossmire.conf"}) {
        EXPECT_NE(p.out.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(p.err, "");
}

TEST(Options, SettingsFileHoldsDefaultsAndNamesItsBadLines) {
    Parse p = Settings(
        "# my settings\n"
        "\n"
        "  scale = 2  \n"
        "fullscreen=yes\n"
        "music-volume = 40\n"
        "effects-volume = 140\n"
        "mute = perhaps\n"
        "colour = blue\n"
        "just words\n"
        "save-dir = ~/games/ossmire saves\n"
        "data-dir = /srv/ossmire\n"
        "mute = OFF");
    EXPECT_EQ(p.options.scale, 2);
    EXPECT_EQ(p.options.fullScreen, 1);
    EXPECT_EQ(p.options.musicVolume, 40);
    EXPECT_EQ(p.options.effectsVolume, 100);
    EXPECT_EQ(p.options.mute, 0);
    EXPECT_EQ(std::string(p.options.saveDir), std::string(getenv("HOME")) + "/games/ossmire saves");
    EXPECT_STREQ(p.options.dataDir, "/srv/ossmire");
    EXPECT_EQ(
        p.err,
        "ossmire: F:6: effects-volume wants a whole number from 0 to 100, not '140'; ignored\n"
        "ossmire: F:7: mute wants yes or no, not 'perhaps'; ignored\n"
        "ossmire: F:8: no setting named 'colour'; ignored\n"
        "ossmire: F:9: not a \"name = value\" line; ignored\n");

    // The command line overrides the file.
    p = CommandLine({"--scale", "4", "--no-fullscreen"}, &p.options);
    EXPECT_EQ(p.options.scale, 4);
    EXPECT_EQ(p.options.fullScreen, 0);
    EXPECT_EQ(p.options.musicVolume, 40);

    // An overlong line is one bad line, not two.
    std::string huge = "data-dir = /" + std::string(3000, 'a') + "\nscale = 3\n";
    p = Settings(huge.c_str());
    EXPECT_EQ(p.err, "ossmire: F:1: not a \"name = value\" line; ignored\n");
    EXPECT_EQ(p.options.scale, 3);
    EXPECT_STREQ(p.options.dataDir, "");
}

TEST(Options, SettingsFileFollowsXdgConfigHome) {
    char path[OPTION_PATH_BYTES];
    std::string oldConfig = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", "/home/p", 1);
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ASSERT_TRUE(SettingsFilePath(path, sizeof path));
    EXPECT_STREQ(path, "/cfg/ossmire/ossmire.conf");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    ASSERT_TRUE(SettingsFilePath(path, sizeof path));
    EXPECT_STREQ(path, "/home/p/.config/ossmire/ossmire.conf");
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(SettingsFilePath(path, sizeof path));
    EXPECT_STREQ(path, "/home/p/.config/ossmire/ossmire.conf");
    // A missing file is no error.
    GameOptions options;
    DefaultOptions(&options);
    FILE* err = tmpfile();
    ReadSettingsFile("/nonexistent/ossmire.conf", &options, err);
    EXPECT_EQ(Drain(err), "");
    setenv("HOME", oldHome.c_str(), 1);
    if (oldConfig.empty()) {
        unsetenv("XDG_CONFIG_HOME");
    } else {
        setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
    }
}
