// The SDL backend's devices as the game reads them: game controllers and raw
// joysticks attached as SDL virtual devices, plugged out and in during a
// stage, and the mouse over the picture at several window sizes. Runs on
// SDL's dummy video driver with the software renderer.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "input/input.h"
#include "platform/platform.h"
#include "play/playstate.h"
#include "play/rules.h"
#include "play_fixture.h"

namespace {

PlatformObject window;

class SdlBackend : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        window = PlatformCreateWindow("Ossmire");
        ASSERT_NE(window, 0u) << SDL_GetError();
        ASSERT_NE(PlatformCreateDevice(window, 2), 0u) << SDL_GetError();
        PlatformShowWindow(window);
        DrainEvents();
    }

    static void DrainEvents() {
        PlatformEvent event;
        while (PlatformPeekEvent(&event)) {
        }
    }
};

const ::testing::Environment* const backend = ::testing::AddGlobalTestEnvironment(new SdlBackend);

// A virtual device; `index` is its device index while attached.
struct Device {
    int index = -1;
    SDL_Joystick* handle = nullptr;
};

Device AttachPad() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Test pad";
    Device device;
    device.index = SDL_JoystickAttachVirtualEx(&desc);
    if (device.index >= 0) device.handle = SDL_JoystickOpen(device.index);
    return device;
}

// Two axes, a hat and six buttons, and no mapping anywhere.
Device AttachStick() {
    Device device;
    device.index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 1);
    if (device.index >= 0) device.handle = SDL_JoystickOpen(device.index);
    return device;
}

void Detach(Device* device) {
    if (device->handle) SDL_JoystickClose(device->handle);
    if (device->index >= 0) SDL_JoystickDetachVirtual(device->index);
    *device = Device();
}

struct Buttons {
    u32 up, down, left, right, a, b;
    bool operator==(const Buttons& o) const { return memcmp(this, &o, sizeof o) == 0; }
};

std::ostream& operator<<(std::ostream& out, const Buttons& b) {
    return out << "up " << b.up << " down " << b.down << " left " << b.left << " right " << b.right
               << " A " << b.a << " B " << b.b;
}

// One poll of the game's input, as the first thing of a frame does.
Buttons Poll() {
    PollInput();
    return {inputUp, inputDown, inputLeft, inputRight, inputA, inputB};
}

const Buttons IDLE = {0, 0, 0, 0, 0, 0};

class Controllers : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
        ResetPlayState();
        joyUp = joyDown = joyLeft = joyRight = joyButton1 = joyButton2 = 0;
        joyResult = 0;
    }
    void TearDown() override {
        Detach(&device);
        SdlBackend::DrainEvents();
    }

    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(device.handle, button, down ? 1 : 0);
    }

    Device device;
};

// Runs first: the game switches the joystick off when none is there at start.
TEST_F(Controllers, NoDeviceAtStartReadsAsUnplugged) {
    EXPECT_EQ(Poll(), IDLE);
    EXPECT_EQ(joyResult, 167u);
}

TEST_F(Controllers, PadSouthEastAndDpadAreTheGameButtons) {
    device = AttachPad();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(device.index));
    EXPECT_EQ(Poll(), IDLE);

    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 3, 0}));
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 2, 1}));
    Button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 0, 2}));

    const SDL_GameControllerButton dpad[4] = {
        SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
        SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    for (int d = 0; d < 4; d++) {
        Button(dpad[d], true);
        Buttons pressed = IDLE;
        (&pressed.up)[d] = 1;
        EXPECT_EQ(Poll(), pressed) << "D-pad " << d;
        Button(dpad[d], false);
        Poll();
    }

    // The other buttons are nothing: alone in the mask they would be directions.
    const SDL_GameControllerButton others[4] = {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                                                SDL_CONTROLLER_BUTTON_START,
                                                SDL_CONTROLLER_BUTTON_LEFTSHOULDER};
    for (SDL_GameControllerButton other : others) {
        Button(other, true);
        EXPECT_EQ(Poll(), IDLE) << "button " << other;
        Button(other, false);
    }
    EXPECT_EQ(joyResult, 0u);
}

TEST_F(Controllers, PadLeftStickMovesAndDpadWinsItsAxis) {
    device = AttachPad();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    Poll();
    // A third of the way is inside the game's dead zone; all the way is not.
    SDL_JoystickSetVirtualAxis(device.handle, SDL_CONTROLLER_AXIS_LEFTX, 11000);
    SDL_JoystickSetVirtualAxis(device.handle, SDL_CONTROLLER_AXIS_LEFTY, -11000);
    EXPECT_EQ(Poll(), IDLE);
    SDL_JoystickSetVirtualAxis(device.handle, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(device.handle, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(Poll(), (Buttons{1, 0, 0, 1, 0, 0}));
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(Poll(), (Buttons{3, 0, 1, 2, 0, 0}));
    // The right stick is not read.
    SDL_JoystickSetVirtualAxis(device.handle, SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    EXPECT_EQ(Poll(), (Buttons{3, 0, 3, 0, 0, 0}));
}

TEST_F(Controllers, DeviceWithoutMappingIsReadRaw) {
    device = AttachStick();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(device.index));
    EXPECT_EQ(Poll(), IDLE);
    SDL_JoystickSetVirtualButton(device.handle, 0, 1);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 1, 0}));
    SDL_JoystickSetVirtualButton(device.handle, 0, 0);
    SDL_JoystickSetVirtualButton(device.handle, 1, 1);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 2, 1}));
    SDL_JoystickSetVirtualButton(device.handle, 1, 0);
    // The stick down, the hat left: the hat wins only its own axis.
    SDL_JoystickSetVirtualAxis(device.handle, 1, 32767);
    SDL_JoystickSetVirtualHat(device.handle, 0, SDL_HAT_LEFT);
    EXPECT_EQ(Poll(), (Buttons{0, 1, 1, 0, 0, 2}));
    SDL_JoystickSetVirtualHat(device.handle, 0, SDL_HAT_RIGHTUP);
    EXPECT_EQ(Poll(), (Buttons{1, 2, 2, 1, 0, 0}));
}

// Plugged out while walking, the read fails: the pad reads as let go and the
// game stops reading the joystick for the rest of the run, so a pad plugged
// back in moves nothing; the keyboard goes on.
TEST_F(Controllers, PadPluggedOutAndInDuringAStage) {
    u8 cells[64];
    playtest::BoardFrom("........|........|........|........|........|........|........|1234....",
                        cells);
    memcpy(board, cells, sizeof cells);
    ResetBoardLayers(board, wallMask, trail);
    introDone = 1;
    StartStage();
    ASSERT_TRUE(stageLoaded);
    auto walkUntilMoved = [](i32 from) {
        for (int frame = 0; frame < 40 && playerX == from; frame++) {
            PollInput();
            RunStep();
        }
        return playerX;
    };

    device = AttachPad();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_EQ(walkUntilMoved(0), 1);
    ASSERT_EQ(inputRight, (u32)BUTTON_HELD);

    Detach(&device);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 2, 0, 0}));
    for (int frame = 0; frame < 40; frame++) {
        EXPECT_EQ(Poll(), IDLE);
        RunStep();
    }
    EXPECT_EQ(playerX, 1);
    EXPECT_EQ(joyResult, 167u);

    device = AttachPad();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    for (int frame = 0; frame < 40; frame++) {
        EXPECT_EQ(Poll(), IDLE);
        RunStep();
    }
    EXPECT_EQ(playerX, 1);
}

// Last: the mapping stays for the rest of the process.
TEST_F(Controllers, MappingFileTurnsARawDeviceIntoAPad) {
    device = AttachStick();
    ASSERT_NE(device.handle, nullptr) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(device.index));
    char dir[] = "/tmp/ossmire-pads-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device.index), guid, sizeof guid);
    memset(guid + 4, '0', 4);  // as mapping databases write them: without the name's CRC
    std::string path = std::string(dir) + "/gamecontrollerdb.txt";
    FILE* file = fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fprintf(file,
            "# button 4 is south, 3 east\n%s,Test stick,a:b3,b:b2,dpup:h0.1,dpdown:h0.4,"
            "dpleft:h0.8,dpright:h0.2,leftx:a0,lefty:a1,platform:Linux,\n",
            guid);
    fclose(file);

    PlatformLoadControllerMappings("/nonexistent");
    PlatformLoadControllerMappings(dir);
    unlink(path.c_str());
    rmdir(dir);
    EXPECT_TRUE(SDL_IsGameController(device.index));
    Poll();
    SDL_JoystickSetVirtualButton(device.handle, 3, 1);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 1, 0}));
    // Raw button 1 is no longer the game's first button.
    SDL_JoystickSetVirtualButton(device.handle, 3, 0);
    SDL_JoystickSetVirtualButton(device.handle, 0, 1);
    EXPECT_EQ(Poll(), (Buttons{0, 0, 0, 0, 2, 0}));
}

// ---- The mouse over the picture ----------------------------------------------

// The cursor at window point (x, y), as the game reads it.
void MouseAt(int x, int y, int32_t* px, int32_t* py) {
    SDL_WarpMouseInWindow(SDL_GetWindowFromID(1), x, y);
    SdlBackend::DrainEvents();
    PlatformMousePosition(px, py);
}

struct Fit {
    int width, height;  // the window's client area
    float scale;        // of the picture
    int left, top;      // where the picture's top-left lands
};

void ExpectMouseMapsTo(const Fit& fit) {
    SCOPED_TRACE(testing::Message() << fit.width << "x" << fit.height);
    int w = 0, h = 0;
    SDL_GetWindowSize(SDL_GetWindowFromID(1), &w, &h);
    ASSERT_EQ(w, fit.width);
    ASSERT_EQ(h, fit.height);
    // Picture pixels, even so that a half scale hits them exactly.
    const int points[][2] = {{0, 0}, {638, 478}, {320, 240}, {100, 350}};
    for (const auto& p : points) {
        int32_t x = -1, y = -1;
        MouseAt(fit.left + (int)(p[0] * fit.scale), fit.top + (int)(p[1] * fit.scale), &x, &y);
        EXPECT_EQ(x, p[0]);
        EXPECT_EQ(y, p[1]);
        // The far edge of a scaled pixel is still that pixel.
        if (fit.scale > 1) {
            int edge = (int)fit.scale - 1;
            MouseAt(fit.left + (int)(p[0] * fit.scale) + edge,
                    fit.top + (int)(p[1] * fit.scale) + edge, &x, &y);
            EXPECT_EQ(x, p[0]);
            EXPECT_EQ(y, p[1]);
        }
    }
    // The letterbox is outside the picture, not clamped to it.
    if (fit.left > 0) {
        int32_t x = 0, y = 0;
        MouseAt(0, fit.top, &x, &y);
        EXPECT_LT(x, 0);
    }
}

TEST(Mouse, MapsToThePictureAtEveryWindowSize) {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(1);
    ASSERT_NE(sdlWindow, nullptr);
    // The dummy driver gives no window the mouse focus and reports the
    // global position relative to the window: at (0, 0) they agree.
    SDL_SetWindowPosition(sdlWindow, 0, 0);
    const Fit fits[] = {
        {640, 480, 1, 0, 0},      {1280, 960, 2, 0, 0},     {1000, 700, 1, 180, 110},
        {1400, 1000, 2, 60, 20},  {2000, 1000, 2, 360, 20}, {320, 240, 0.5f, 0, 0},
        {320, 480, 0.5f, 0, 120},
    };
    for (const Fit& fit : fits) {
        SDL_SetWindowSize(sdlWindow, fit.width, fit.height);
        SdlBackend::DrainEvents();
        ExpectMouseMapsTo(fit);
    }

    // Full screen on the dummy driver's 1024x768 desktop: once, centred; back
    // in a window, the size it had before.
    SDL_SetWindowSize(sdlWindow, 1400, 1000);
    SdlBackend::DrainEvents();
    PlatformSetWindowMode(window, 1);
    SdlBackend::DrainEvents();
    ExpectMouseMapsTo({1024, 768, 1, 192, 144});
    PlatformSetWindowMode(window, 0);
    SdlBackend::DrainEvents();
    ExpectMouseMapsTo({1400, 1000, 2, 60, 20});
}

}  // namespace
