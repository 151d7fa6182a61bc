// The SDL backend's devices as the game reads them: game controllers and raw
// joysticks attached as SDL virtual devices, plugged out and in. Runs on
// SDL's dummy video driver with the software renderer.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "input/input.h"
#include "platform/platform.h"

namespace {

PlatformObject window;

void DrainEvents() {
    PlatformEvent event;
    while (PlatformPeekEvent(&event)) {
    }
}

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
};

const ::testing::Environment* const backend = ::testing::AddGlobalTestEnvironment(new SdlBackend);

// The game's six button states after one poll, as "up down left right A B".
std::string Poll() {
    PollInput();
    char text[32];
    snprintf(text, sizeof text, "%u %u %u %u %u %u", inputUp, inputDown, inputLeft, inputRight,
             inputA, inputB);
    return text;
}

const char* const IDLE = "0 0 0 0 0 0";

class Controllers : public ::testing::Test {
  protected:
    void SetUp() override {
        inputUp = inputDown = inputLeft = inputRight = inputA = inputB = BUTTON_OFF;
        joyUp = joyDown = joyLeft = joyRight = joyButton1 = joyButton2 = 0;
        joyResult = 0;
    }
    void TearDown() override {
        Detach();
        DrainEvents();
    }

    // A game controller, or two axes, a hat and six buttons with no mapping.
    void Attach(bool pad) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = pad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = pad ? SDL_CONTROLLER_AXIS_MAX : 2;
        desc.nbuttons = pad ? SDL_CONTROLLER_BUTTON_MAX : 6;
        desc.nhats = pad ? 0 : 1;
        desc.name = "Test pad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        handle = SDL_JoystickOpen(index);
        ASSERT_NE(handle, nullptr) << SDL_GetError();
        ASSERT_EQ(SDL_IsGameController(index), pad);
    }

    void Detach() {
        if (handle) SDL_JoystickClose(handle);
        if (index >= 0) SDL_JoystickDetachVirtual(index);
        handle = nullptr;
        index = -1;
    }

    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle, button, down); }
    void Axis(int axis, int value) { SDL_JoystickSetVirtualAxis(handle, axis, (Sint16)value); }

    int index = -1;
    SDL_Joystick* handle = nullptr;
};

TEST_F(Controllers, PadSouthEastDpadAndLeftStickAreTheGameButtons) {
    Attach(true);
    EXPECT_EQ(Poll(), IDLE);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Poll(), "0 0 0 0 1 0");
    EXPECT_EQ(Poll(), "0 0 0 0 3 0");
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Poll(), "0 0 0 0 2 1");
    Button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(Poll(), "0 0 0 0 0 2");
    // The other buttons are nothing: alone in the mask they would be directions.
    for (int other : {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_START,
                      SDL_CONTROLLER_BUTTON_LEFTSHOULDER}) {
        Button(other, true);
        EXPECT_EQ(Poll(), IDLE) << "button " << other;
        Button(other, false);
    }
    const char* dpad[4] = {"1 0 0 0 0 0", "0 1 0 0 0 0", "0 0 1 0 0 0", "0 0 0 1 0 0"};
    for (int d = 0; d < 4; d++) {
        Button(SDL_CONTROLLER_BUTTON_DPAD_UP + d, true);
        EXPECT_EQ(Poll(), dpad[d]);
        Button(SDL_CONTROLLER_BUTTON_DPAD_UP + d, false);
        Poll();
    }

    // A third of the way is inside the game's dead zone; all the way is not.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 11000);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -11000);
    EXPECT_EQ(Poll(), IDLE);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(Poll(), "1 0 0 1 0 0");
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(Poll(), "3 0 1 2 0 0") << "the d-pad wins its axis";
    Axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    EXPECT_EQ(Poll(), "3 0 3 0 0 0") << "the right stick is not read";
    EXPECT_EQ(joyResult, 0u);
}

// Plugged out while held, the read fails: the pad reads as let go and the
// game stops reading the joystick for the rest of the run, so a pad plugged
// back in moves nothing.
TEST_F(Controllers, PadPluggedOutIsLetGoAndNotReadAgain) {
    Attach(true);
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    Poll();
    EXPECT_EQ(Poll(), "0 0 0 3 0 0");
    Detach();
    EXPECT_EQ(Poll(), "0 0 0 2 0 0");
    EXPECT_EQ(Poll(), IDLE);
    EXPECT_EQ(joyResult, 167u);
    Attach(true);
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    for (int frame = 0; frame < 10; frame++) EXPECT_EQ(Poll(), IDLE);
}

// Last: the mapping stays for the rest of the process.
TEST_F(Controllers, RawDeviceIsReadRawUntilAMappingFileMakesItAPad) {
    Attach(false);
    Button(0, true);
    EXPECT_EQ(Poll(), "0 0 0 0 1 0");
    Button(0, false);
    Button(1, true);
    EXPECT_EQ(Poll(), "0 0 0 0 2 1");
    Button(1, false);
    // The stick down, the hat left: the hat wins only its own axis.
    Axis(1, 32767);
    SDL_JoystickSetVirtualHat(handle, 0, SDL_HAT_LEFT);
    EXPECT_EQ(Poll(), "0 1 1 0 0 2");
    Axis(1, 0);
    SDL_JoystickSetVirtualHat(handle, 0, SDL_HAT_CENTERED);

    char dir[] = "/tmp/ossmire-pads-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
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
    EXPECT_TRUE(SDL_IsGameController(index));
    Poll();
    Poll();
    Button(3, true);
    EXPECT_EQ(Poll(), "0 0 0 0 1 0");
    // Raw button 1 is no longer the game's first button.
    Button(3, false);
    Button(0, true);
    EXPECT_EQ(Poll(), "0 0 0 0 2 0");
}

}  // namespace
