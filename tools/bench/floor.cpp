// The least a frame of the game can cost on this machine and software stack:
// the same window, software renderer, texture format and audio settings as
// the game, doing nothing but what every frame must. Its CPU time and start-up
// are the floor beside the game's own figures (tools/bench/bench.py).
//
// usage: ossmire-floor picture|both|tune GAME_DIR
//   picture  one opaque 640x480 sheet copied and presented every 16 ms
//   both     the same, with the title's tune playing through FluidSynth
//   tune     the tune alone, no window (the game minimised)
// With OSSMIRE_FRAME_LOG naming a file, every present is logged as the
// game's benchmark build logs it. SIGTERM or ESC ends it.
#include <SDL.h>
#include <SDL_mixer.h>
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {
const int WIDTH = 640;
const int HEIGHT = 480;
const long FRAME_NS = 16000000;

long long Microseconds(void) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

// The game's audio settings and its cut bank.
bool StartTune(const std::string& game) {
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) return false;
    Mix_AllocateChannels(48);
    std::string bank = game + "/midi/ossmire.sf2";
    if (!getenv("SDL_SOUNDFONTS")) Mix_SetSoundFonts(bank.c_str());
    Mix_Init(MIX_INIT_MID);
    Mix_Music* tune = Mix_LoadMUS((game + "/midi/vell.mid").c_str());
    return tune && Mix_PlayMusic(tune, -1) == 0;
}

// The title's background, in the game's texture format, drawn unblended.
SDL_Texture* LoadPicture(SDL_Renderer* renderer, const std::string& game) {
    SDL_Surface* loaded = SDL_LoadBMP((game + "/bitmap/opening/background01.bmp").c_str());
    if (!loaded) return nullptr;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb || argb->w != WIDTH || argb->h != HEIGHT) {
        SDL_FreeSurface(argb);
        return nullptr;
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STREAMING, WIDTH, HEIGHT);
    if (texture) {
        SDL_UpdateTexture(texture, nullptr, argb->pixels, argb->pitch);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    }
    SDL_FreeSurface(argb);
    return texture;
}

int Fail(const char* what) {
    fprintf(stderr, "ossmire-floor: %s: %s\n", what, SDL_GetError());
    return 1;
}

int TuneOnly(const std::string& game) {
    // Blocked before the audio thread starts, so that only this thread takes them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) return Fail("audio");
    if (!StartTune(game)) return Fail("tune");
    int signal = 0;
    sigwait(&stop, &signal);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}

int Pictures(const std::string& game, bool tune) {
    if (SDL_Init(SDL_INIT_VIDEO | (tune ? SDL_INIT_AUDIO : 0)) != 0) return Fail("init");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_Window* window = SDL_CreateWindow("Ossmire floor", 50, 50, WIDTH, HEIGHT, 0);
    if (!window) return Fail("window");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return Fail("renderer");
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    SDL_RenderSetLogicalSize(renderer, WIDTH, HEIGHT);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    SDL_Texture* picture = LoadPicture(renderer, game);
    if (!picture) return Fail("picture");

    const char* logPath = getenv("OSSMIRE_FRAME_LOG");
    FILE* log = logPath && *logPath ? fopen(logPath, "w") : nullptr;
    if (log) fprintf(log, "# software\n");
    bool started = false;
    timespec due;
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT ||
                (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) {
                if (log) fclose(log);
                SDL_Quit();
                return 0;
            }
        }
        long long start = Microseconds();
        SDL_RenderCopy(renderer, picture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        if (log) {
            fprintf(log, "%lld %lld\n", start, Microseconds());
            fflush(log);
        }
        // The first picture needs no music.
        if (tune && !started) {
            started = true;
            if (!StartTune(game)) return Fail("tune");
        }
        due.tv_nsec += FRAME_NS;
        if (due.tv_nsec >= 1000000000) {
            due.tv_nsec -= 1000000000;
            due.tv_sec++;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    }
}
}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc == 3 ? argv[1] : "";
    if (strcmp(mode, "tune") == 0) return TuneOnly(argv[2]);
    if (strcmp(mode, "picture") == 0 || strcmp(mode, "both") == 0) {
        return Pictures(argv[2], strcmp(mode, "both") == 0);
    }
    fprintf(stderr, "usage: ossmire-floor picture|both|tune GAME_DIR\n");
    return 2;
}
