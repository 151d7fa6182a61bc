// Measures the game's sound as the player hears it: every scene's effects and
// tune go through the game's own sound code and the real mixer, with SDL's
// disk driver as the device (nothing is heard, and it runs faster than real
// time). The mixed output is read back from the mixer's post-mix hook, so each
// capture starts exactly on the first sample of what it measures.
//
//   ossmire-sound-levels [--check] [--voices NAME,...] [--tick NAME:MS] [--save DIR]
//
// Run in the game directory. Prints per file the peak, the RMS, the clipped
// samples and an ungated K-weighted loudness (LUFS-like); for tunes over one
// loop, with the quietest 400 ms around the loop point. --check exits 1 when a
// level is outside its band:
//   - no sample of any effect or tune clips;
//   - every tune within TUNE_SPREAD_DB loudness of the others, and its loop
//     point no deeper a dip than the quiet moments inside the loop;
//   - an effect's RMS within EFFECT_BAND_DB of its scene's tune, a voice's
//     (--voices) above it;
//   - effects start and end at rest and carry no DC;
//   - the --tick effect sounds for less than MS milliseconds.
// --save writes every capture to DIR as a WAV file, to listen to what was measured.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sound/effects.h"
#include "sound/music.h"

namespace {
const double TUNE_SPREAD_DB = 3.0;
const double EFFECT_BAND_DB = 3.0;
const int EDGE_LIMIT = 64;           // |first|/|last| sample of an effect (-54 dBFS)
const double DC_LIMIT_DBFS = -50.0;  // the mean of an effect
const int AUDIBLE = 33;              // -60 dBFS: where a tick's sound ends
const double EFFECT_SECONDS = 3.0;   // longer than any effect
const Uint32 STALL_MS = 60000;       // a capture that takes longer has stalled
const double SEAM_BEFORE = 1.5;      // seconds of the loop's end looked at
const double SEAM_AFTER = 1.0;       // and of the next loop's start
const double WINDOW_SECONDS = 0.4;   // short-term loudness window
const double HOP_SECONDS = 0.1;
const double SILENT_LUFS = -70.0;
// A loop point may be as quiet as the quiet moments inside the tune (the
// quietest 5% of its windows), give or take a little, but no quieter.
const double QUIET_SHARE = 0.05;
const double SEAM_DIP_DB = 2.0;

struct Scene {
    const char* name;
    const char* const* waves;
    int waveCount;
    const char* music;
};

const Scene SCENES[] = {
    {"title", TITLE_WAVES, (int)(sizeof TITLE_WAVES / sizeof *TITLE_WAVES), TITLE_MUSIC},
    {"story", STORY_WAVES, (int)(sizeof STORY_WAVES / sizeof *STORY_WAVES), STORY_MUSIC},
    {"play", PLAY_WAVES, (int)(sizeof PLAY_WAVES / sizeof *PLAY_WAVES), PLAY_MUSIC},
    {"gameover", GAMEOVER_WAVES, (int)(sizeof GAMEOVER_WAVES / sizeof *GAMEOVER_WAVES),
     GAMEOVER_MUSIC},
    {"ending", ENDING_WAVES, (int)(sizeof ENDING_WAVES / sizeof *ENDING_WAVES), ENDING_MUSIC},
    {"editor", nullptr, 0, EDITOR_MUSIC},
};

// ---- Capture -------------------------------------------------------------------

int rate;
std::vector<int16_t> captured;  // interleaved stereo
size_t wanted;                  // samples to capture
PlatformObject* startSlot;      // what the audio thread starts: an effect slot,
bool startMusic;                // or the scene tune
std::atomic<int> phase;         // 0 idle, 1 start requested, 2 recording, 3 done

// Starting from inside the mixer's callback puts the first sample of the
// sound at the first sample of the next buffer, which is captured whole.
void PostMix(void*, Uint8* stream, int len) {
    if (phase == 2) {
        size_t count = (size_t)len / 2;
        size_t room = wanted - captured.size();
        if (count > room) count = room;
        const int16_t* samples = (const int16_t*)stream;
        captured.insert(captured.end(), samples, samples + count);
        if (captured.size() >= wanted) phase = 3;
    } else if (phase == 1) {
        if (startMusic) {
            PlaySceneMusic();
        } else {
            PlayWave(startSlot, 0);
        }
        phase = 2;
    }
}

// False when the mixer stalled; what was captured stays.
bool Capture(PlatformObject* slot, double seconds) {
    captured.clear();
    wanted = (size_t)(seconds * rate) * 2;
    captured.reserve(wanted);
    startSlot = slot;
    startMusic = slot == nullptr;
    Uint32 start = SDL_GetTicks();
    phase = 1;
    while (phase != 3 && SDL_GetTicks() - start < STALL_MS) SDL_Delay(1);
    bool done = phase == 3;
    phase = 0;  // the callback stops capturing before the next buffer
    if (slot) {
        PlatformStopWave(*slot);
    } else {
        PlatformStopMusic();
    }
    return done;
}

// The capture as a 16-bit stereo WAV file.
void Save(const char* folder, const std::string& name, const std::vector<int16_t>& samples) {
    std::string path = std::string(folder) + "/" + name + ".wav";
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return;
    }
    uint32_t bytes = (uint32_t)(samples.size() * 2);
    auto u32 = [&](uint32_t v) {
        uint8_t b[4] = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
        fwrite(b, 1, 4, file);
    };
    auto u16 = [&](uint16_t v) {
        uint8_t b[2] = {(uint8_t)v, (uint8_t)(v >> 8)};
        fwrite(b, 1, 2, file);
    };
    fwrite("RIFF", 1, 4, file);
    u32(36 + bytes);
    fwrite("WAVEfmt ", 1, 8, file);
    u32(16);
    u16(1);
    u16(2);
    u32((uint32_t)rate);
    u32((uint32_t)rate * 4);
    u16(4);
    u16(16);
    fwrite("data", 1, 4, file);
    u32(bytes);
    for (int16_t s : samples) u16((uint16_t)s);
    fclose(file);
}

// ---- Measures --------------------------------------------------------------------

double Db(double value) { return value > 0 ? 20 * log10(value) : -INFINITY; }

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1, x2, y1, y2;
    double Step(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two stages of the K-weighting of loudness meters (a high shelf for the
// head, a high pass), designed for the mixer's rate.
void KWeighting(Biquad* shelf, Biquad* pass) {
    const double pi = 3.14159265358979323846;
    double a = pow(10.0, 3.999843853973347 / 40);
    double w = 2 * pi * 1681.974450955533 / rate;
    double alpha = sin(w) / (2 * 0.7071752369554196);
    double root = 2 * sqrt(a) * alpha;
    double a0 = (a + 1) - (a - 1) * cos(w) + root;
    *shelf = Biquad{a * ((a + 1) + (a - 1) * cos(w) + root) / a0,
                    -2 * a * ((a - 1) + (a + 1) * cos(w)) / a0,
                    a * ((a + 1) + (a - 1) * cos(w) - root) / a0,
                    2 * ((a - 1) - (a + 1) * cos(w)) / a0,
                    ((a + 1) - (a - 1) * cos(w) - root) / a0,
                    0,
                    0,
                    0,
                    0};
    w = 2 * pi * 38.13547087602444 / rate;
    alpha = sin(w) / (2 * 0.5003270373238773);
    a0 = 1 + alpha;
    *pass = Biquad{(1 + cos(w)) / 2 / a0,
                   -(1 + cos(w)) / a0,
                   (1 + cos(w)) / 2 / a0,
                   -2 * cos(w) / a0,
                   (1 - alpha) / a0,
                   0,
                   0,
                   0,
                   0};
}

// Per frame the K-weighted power summed over both channels.
std::vector<double> WeightedPower(const std::vector<int16_t>& samples) {
    Biquad filters[2][2];
    KWeighting(&filters[0][0], &filters[0][1]);
    filters[1][0] = filters[0][0];
    filters[1][1] = filters[0][1];
    std::vector<double> power(samples.size() / 2);
    for (size_t i = 0; i < power.size(); i++) {
        for (int c = 0; c < 2; c++) {
            double y = filters[c][1].Step(filters[c][0].Step(samples[2 * i + c] / 32768.0));
            power[i] += y * y;
        }
    }
    return power;
}

double Lufs(const std::vector<double>& power, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++) sum += power[i];
    return to > from ? -0.691 + 10 * log10(sum / (double)(to - from) + 1e-20) : -INFINITY;
}

// The loudness of the 400 ms windows starting in [from, to), quietest first.
std::vector<double> Windows(const std::vector<double>& power, size_t from, size_t to) {
    size_t window = (size_t)(WINDOW_SECONDS * rate);
    size_t hop = (size_t)(HOP_SECONDS * rate);
    std::vector<double> loudness;
    for (size_t start = from; start < to && start + window <= power.size(); start += hop) {
        loudness.push_back(Lufs(power, start, start + window));
    }
    std::sort(loudness.begin(), loudness.end());
    if (loudness.empty()) loudness.push_back(-INFINITY);
    return loudness;
}

struct Levels {
    double peak, rms, lufs, dc;
    long clipped;
    int first, last;
    double audibleMs;
};

// Over the frames [from, to) of the capture.
Levels Measure(const std::vector<int16_t>& samples, size_t from, size_t to) {
    Levels levels{};
    if (to <= from) {
        levels.peak = levels.rms = levels.lufs = levels.dc = -INFINITY;
        return levels;
    }
    double squares = 0, sum = 0;
    int top = 0;
    size_t firstLoud = to, lastLoud = from;
    for (size_t i = 2 * from; i < 2 * to; i++) {
        int s = samples[i];
        top = abs(s) > top ? abs(s) : top;
        squares += (double)s * s;
        sum += s;
        if (s >= 32767 || s <= -32768) levels.clipped++;
        if (abs(s) > AUDIBLE) {
            firstLoud = firstLoud < i / 2 ? firstLoud : i / 2;
            lastLoud = i / 2;
        }
    }
    double count = 2.0 * (double)(to - from);
    levels.peak = Db(top / 32768.0);
    levels.rms = Db(sqrt(squares / count) / 32768.0);
    levels.dc = Db(fabs(sum / count) / 32768.0);
    levels.lufs = Lufs(WeightedPower(samples), from, to);
    levels.first = samples[2 * from];
    levels.last = samples[2 * to - 2];
    levels.audibleMs =
        lastLoud >= firstLoud ? 1000.0 * (double)(lastLoud - firstLoud + 1) / rate : 0;
    return levels;
}

// ---- The run -----------------------------------------------------------------------

struct Options {
    int check;
    std::string voices;  // ",a,b," of wave names without folder and extension
    std::string tick;
    double tickMs;
    const char* save;  // folder, or null
};

int failures;

void Fail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printf("FAIL: ");
    vprintf(format, args);
    printf("\n");
    va_end(args);
    failures++;
}

// "wave\\get.wav" -> "get"
std::string BaseName(const char* path) {
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The length of one pass through a standard MIDI file, from its tempo map and
// its longest track; 0 when the file cannot be read.
double LoopSeconds(const char* gamePath) {
    std::string path = gamePath;
    for (char& c : path) c = c == '\\' ? '/' : c;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return 0;
    std::vector<uint8_t> data;
    uint8_t buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        data.insert(data.end(), buffer, buffer + got);
    fclose(file);
    auto u32 = [&](size_t at) {
        return (uint32_t)data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
    };
    if (data.size() < 14 || memcmp(data.data(), "MThd", 4) != 0) return 0;
    unsigned division = data[12] << 8 | data[13];
    if (division == 0 || division & 0x8000) return 0;
    std::vector<std::pair<uint64_t, uint32_t>> tempos;  // tick, microseconds per quarter
    uint64_t end = 0;
    size_t at = 8 + u32(4);
    while (at + 8 <= data.size()) {
        size_t length = u32(at + 4);
        size_t pos = at + 8, stop = at + 8 + length < data.size() ? at + 8 + length : data.size();
        bool track = memcmp(&data[at], "MTrk", 4) == 0;
        at = stop;
        if (!track) continue;
        uint64_t tick = 0;
        uint8_t status = 0;
        auto number = [&]() {
            uint64_t value = 0;
            for (int i = 0; i < 4 && pos < stop; i++) {
                uint8_t byte = data[pos++];
                value = value << 7 | (byte & 0x7F);
                if (!(byte & 0x80)) break;
            }
            return value;
        };
        while (pos < stop) {
            tick += number();
            if (pos >= stop) break;
            if (data[pos] & 0x80) status = data[pos++];
            if (status == 0xFF && pos < stop) {
                uint8_t type = data[pos++];
                size_t size = number();
                if (type == 0x51 && size == 3 && pos + 3 <= stop) {
                    tempos.push_back(
                        {tick, (uint32_t)(data[pos] << 16 | data[pos + 1] << 8 | data[pos + 2])});
                }
                pos += size;
            } else if (status == 0xF0 || status == 0xF7) {
                pos += number();
            } else {
                int kind = status >> 4;
                pos += kind == 0xC || kind == 0xD ? 1 : 2;
            }
        }
        end = tick > end ? tick : end;
    }
    std::sort(tempos.begin(), tempos.end());
    double seconds = 0;
    uint64_t last = 0;
    uint32_t tempo = 500000;
    for (auto& change : tempos) {
        if (change.first > end) break;
        seconds += (double)(change.first - last) * tempo / division / 1e6;
        last = change.first;
        tempo = change.second;
    }
    return seconds + (double)(end - last) * tempo / division / 1e6;
}

struct Tune {
    const char* path;
    double loop;
    Levels levels;
    double seam;   // the quietest window around the loop point, against the loop
    double quiet;  // the loudness the quietest windows inside the loop stay under
};

Tune MeasureTune(const Options& options, const char* path) {
    Tune tune{path, LoopSeconds(path), {}, 0, 0};
    if (tune.loop <= 2 * SEAM_BEFORE) {
        Fail("%s: cannot read its length", path);
        return tune;
    }
    if (!Capture(nullptr, tune.loop + SEAM_AFTER + WINDOW_SECONDS)) {
        Fail("%s: the mixer stalled", path);
        return tune;
    }
    if (options.save) Save(options.save, BaseName(path), captured);
    size_t loop = (size_t)(tune.loop * rate);
    tune.levels = Measure(captured, 0, loop);
    std::vector<double> power = WeightedPower(captured);
    size_t seamFrom = loop - (size_t)(SEAM_BEFORE * rate);
    tune.seam = Windows(power, seamFrom, loop + (size_t)(SEAM_AFTER * rate))[0] - tune.levels.lufs;
    std::vector<double> inside = Windows(power, (size_t)(1.0 * rate), seamFrom);
    tune.quiet = inside[(size_t)(QUIET_SHARE * (double)inside.size())] - tune.levels.lufs;
    return tune;
}

void PrintHeader(void) {
    printf("%-22s %8s %8s %8s %8s %7s %s\n", "file", "peak", "rms", "lufs", "dc", "clipped",
           "notes");
}

void PrintLevels(const char* name, const Levels& l, const char* notes) {
    printf("%-22s %8.1f %8.1f %8.1f %8.1f %7ld %s\n", name, l.peak, l.rms, l.lufs, l.dc, l.clipped,
           notes);
}

void CheckEffect(const Options& options, const char* scene, const char* path, const Levels& l,
                 const Tune& tune) {
    std::string name = BaseName(path);
    bool voice = options.voices.find("," + name + ",") != std::string::npos;
    double over = l.rms - tune.levels.rms;
    if (l.clipped) Fail("%s clips (%ld samples)", path, l.clipped);
    if (voice && over <= 0) {
        Fail("%s: the voice is %.1f dB under the %s tune", path, -over, scene);
    } else if (!voice && fabs(over) > EFFECT_BAND_DB) {
        Fail("%s: %+.1f dB against the %s tune (band +-%.0f dB)", path, over, scene,
             EFFECT_BAND_DB);
    }
    if (abs(l.first) > EDGE_LIMIT || abs(l.last) > EDGE_LIMIT) {
        Fail("%s: starts at %d, ends at %d (a click)", path, l.first, l.last);
    }
    if (l.dc > DC_LIMIT_DBFS) Fail("%s: DC offset at %.1f dBFS", path, l.dc);
    if (name == options.tick && l.audibleMs >= options.tickMs) {
        Fail("%s: sounds for %.1f ms, a tick must stop under %.0f ms", path, l.audibleMs,
             options.tickMs);
    }
}

// Every scene as its init sets it up: effects loaded and turned down, the tune loaded.
void Run(const Options& options) {
    std::vector<Tune> tunes;
    PrintHeader();
    for (const Scene& scene : SCENES) {
        if (scene.waveCount) LoadSceneWaves(scene.waves, (u8)scene.waveCount);
        LoadSceneMusic(scene.music);
        TurnDownSceneWaves();
        Tune tune = MeasureTune(options, scene.music);
        char notes[96];
        snprintf(notes, sizeof notes, "loop %.1f s, loop point %+.1f dB, quiet inside %+.1f dB",
                 tune.loop, tune.seam, tune.quiet);
        printf("[%s]\n", scene.name);
        PrintLevels(BaseName(scene.music).c_str(), tune.levels, notes);
        tunes.push_back(tune);
        for (int i = 0; i < scene.waveCount; i++) {
            if (!waveBuffers[i]) {
                Fail("%s does not load", scene.waves[i]);
                continue;
            }
            if (!Capture(&waveBuffers[i], EFFECT_SECONDS)) {
                Fail("%s: the mixer stalled", scene.waves[i]);
                continue;
            }
            size_t frames = captured.size() / 2;
            while (frames > 1 && captured[2 * frames - 2] == 0 && captured[2 * frames - 1] == 0) {
                frames--;
            }
            captured.resize(2 * frames);
            if (options.save) Save(options.save, BaseName(scene.waves[i]), captured);
            Levels l = Measure(captured, 0, frames);
            snprintf(notes, sizeof notes, "%+.1f dB against the tune, %.0f ms audible",
                     l.rms - tune.levels.rms, l.audibleMs);
            PrintLevels(BaseName(scene.waves[i]).c_str(), l, notes);
            CheckEffect(options, scene.name, scene.waves[i], l, tune);
        }
        ReleaseSceneMusic();
        ReleaseSceneWaves();
    }
    double quietest = INFINITY, loudest = -INFINITY;
    for (const Tune& tune : tunes) {
        quietest = fmin(quietest, tune.levels.lufs);
        loudest = fmax(loudest, tune.levels.lufs);
        if (!(tune.levels.lufs > SILENT_LUFS)) Fail("%s is silent", tune.path);
        if (tune.levels.clipped) Fail("%s clips (%ld samples)", tune.path, tune.levels.clipped);
        if (tune.seam < tune.quiet - SEAM_DIP_DB) {
            Fail("%s: its loop point dips to %+.1f dB, the quiet moments inside to %+.1f dB",
                 tune.path, tune.seam, tune.quiet);
        }
    }
    printf("tunes span %.1f dB of loudness\n", loudest - quietest);
    if (loudest - quietest > TUNE_SPREAD_DB) {
        Fail("the tunes span %.1f dB (at most %.0f)", loudest - quietest, TUNE_SPREAD_DB);
    }
}

int Usage(const char* self) {
    fprintf(stderr, "usage: %s [--check] [--voices NAME,...] [--tick NAME:MS] [--save DIR]\n",
            self);
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    Options options{0, ",", "", 0, nullptr};
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--check") {
            options.check = 1;
        } else if (arg == "--voices" && i + 1 < argc) {
            options.voices = std::string(",") + argv[++i] + ",";
        } else if (arg == "--tick" && i + 1 < argc) {
            std::string value = argv[++i];
            size_t colon = value.find(':');
            if (colon == std::string::npos) return Usage(argv[0]);
            options.tick = value.substr(0, colon);
            options.tickMs = atof(value.c_str() + colon + 1);
        } else if (arg == "--save" && i + 1 < argc) {
            options.save = argv[++i];
        } else {
            return Usage(argv[0]);
        }
    }
    // The disk driver as the device, mixing as fast as it can.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    if (!InitSound() || !InitMusic()) return 1;
    Uint16 format;
    int channels;
    if (!Mix_QuerySpec(&rate, &format, &channels) || format != AUDIO_S16SYS || channels != 2) {
        fprintf(stderr, "the mixer did not open as 16-bit stereo\n");
        return 1;
    }
    Mix_SetPostMix(PostMix, nullptr);
    Run(options);
    Mix_SetPostMix(nullptr, nullptr);
    ReleaseMusicSystem();
    ReleaseSound();
    return options.check && failures ? 1 : 0;
}
