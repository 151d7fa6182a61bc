// The game's command line and settings file, good and bad, and the one over the other.
#include "app/options.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <regex>
#include <string>
#include <vector>

namespace {
struct Parse {
    GameOptions options;
    int status = OPTIONS_RUN;
    std::string out, err;
};

std::string Drain(FILE* f) {
    std::string text;
    rewind(f);
    for (int c; (c = fgetc(f)) != EOF;) text += (char)c;
    fclose(f);
    return text;
}

Parse CommandLine(std::vector<const char*> args, const GameOptions* start = nullptr) {
    Parse p;
    DefaultOptions(&p.options);
    if (start) p.options = *start;
    args.insert(args.begin(), "ossmire");
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    p.status = ParseCommandLine((int)args.size(), (char**)args.data(), &p.options, out, err);
    p.out = Drain(out);
    p.err = Drain(err);
    return p;
}

// Messages name the file; they come back with the name as "F".
Parse Settings(const std::string& text) {
    char path[] = "/tmp/ossmire-conf-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_EQ(write(fd, text.data(), text.size()), (ssize_t)text.size());
    close(fd);
    Parse p;
    DefaultOptions(&p.options);
    FILE* err = tmpfile();
    ReadSettingsFile(path, &p.options, err);
    p.err = std::regex_replace(Drain(err), std::regex(path), "F");
    unlink(path);
    return p;
}

// The options as one line, for whole comparisons.
std::string Summary(const GameOptions& o) {
    char text[2 * OPTION_PATH_BYTES + 80];
    snprintf(text, sizeof text, "full %d scale %d data '%s' save '%s' music %d effects %d mute %d",
             o.fullScreen, o.scale, o.dataDir, o.saveDir, o.musicVolume, o.effectsVolume, o.mute);
    return text;
}
}  // namespace

TEST(Options, DefaultsAreTodaysGameAndEveryOptionHasBothSpellings) {
    Parse p = CommandLine({});
    EXPECT_EQ(p.status, OPTIONS_RUN);
    EXPECT_EQ(Summary(p.options), "full 0 scale 1 data '' save '' music 100 effects 100 mute 0");
    EXPECT_EQ(p.out + p.err, "");

    p = CommandLine({"--fullscreen", "--scale", "3", "--data-dir=/opt/d", "--save-dir", "s d",
                     "--music-volume=0", "--effects-volume", "55", "--mute"});
    ASSERT_EQ(p.status, OPTIONS_RUN) << p.err;
    EXPECT_EQ(Summary(p.options),
              "full 1 scale 3 data '/opt/d' save 's d' music 0 effects 55 mute 1");
    // The last one counts; a flag is turned off by its --no- form.
    p = CommandLine({"--scale=2", "--scale=8", "--no-fullscreen", "--no-mute"}, &p.options);
    EXPECT_EQ(p.status, OPTIONS_RUN);
    EXPECT_EQ(Summary(p.options),
              "full 0 scale 8 data '/opt/d' save 's d' music 0 effects 55 mute 0");
}

TEST(Options, BadOptionsAndValuesAreNamedWithStatusTwo) {
    const struct {
        std::vector<const char*> args;
        const char* says;
    } cases[] = {
        {{"--scale", "0"}, "--scale wants a whole number from 1 to 8, not '0'"},
        {{"--scale", "2x"}, "not '2x'"},
        {{"--music-volume", "101"}, "--music-volume wants a whole number from 0 to 100"},
        {{"--effects-volume="}, "not ''"},
        {{"--scale"}, "a value is missing after --scale"},
        {{"--data-dir="}, "--data-dir wants a folder name"},
        {{"--fullscreen=yes"}, "takes no value: --fullscreen=yes"},
        {{"--no-scale"}, "unknown option --no-scale"},
        {{"-x"}, "unexpected argument -x"},
    };
    for (const auto& c : cases) {
        Parse p = CommandLine(c.args);
        EXPECT_EQ(p.status, OPTIONS_EXIT_USAGE) << c.says;
        EXPECT_NE(p.err.find(c.says), std::string::npos) << p.err;
        EXPECT_NE(p.err.find("ossmire --help"), std::string::npos);
        EXPECT_EQ(p.out, "");
    }
}

TEST(Options, SettingsFileHoldsDefaultsAndNamesItsBadLines) {
    Parse p = Settings(
        "# my settings\n\n  scale = 2  \nfullscreen=yes\nmusic-volume = 40\n"
        "effects-volume = 140\nmute = perhaps\ncolour = blue\njust words\n"
        "save-dir = ~/games/ossmire saves\ndata-dir = /srv/ossmire\nmute = OFF");
    EXPECT_EQ(Summary(p.options), "full 1 scale 2 data '/srv/ossmire' save '" +
                                      std::string(getenv("HOME")) +
                                      "/games/ossmire saves' music 40 effects 100 mute 0");
    EXPECT_EQ(
        p.err,
        "ossmire: F:6: effects-volume wants a whole number from 0 to 100, not '140'; ignored\n"
        "ossmire: F:7: mute wants yes or no, not 'perhaps'; ignored\n"
        "ossmire: F:8: no setting named 'colour'; ignored\n"
        "ossmire: F:9: not a \"name = value\" line; ignored\n");

    // The command line overrides the file.
    p = CommandLine({"--scale", "4", "--no-fullscreen", "--data-dir", "d"}, &p.options);
    EXPECT_EQ(Summary(p.options).substr(0, 31), "full 0 scale 4 data 'd' save '/");
    EXPECT_EQ(p.options.musicVolume, 40);

    // An overlong line is one bad line, not two; a missing file is no error.
    p = Settings("data-dir = /" + std::string(3000, 'a') + "\nscale = 3\n");
    EXPECT_EQ(p.err, "ossmire: F:1: not a \"name = value\" line; ignored\n");
    EXPECT_EQ(p.options.scale, 3);
    EXPECT_STREQ(p.options.dataDir, "");
    FILE* err = tmpfile();
    ReadSettingsFile("/nonexistent/ossmire.conf", &p.options, err);
    EXPECT_EQ(Drain(err), "");
}
